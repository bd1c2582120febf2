// Answers DNS-SD queries over mDNS for the services the simulator offers (_scpi-raw._tcp,
// _vxi-11._tcp, _hislip._tcp, _lxi._tcp absent): PTR, SRV, TXT and A records naming
// 127.0.0.1, sent back to the asker. It listens on 127.0.0.1 only and never sends to the
// multicast group, so nothing leaves the machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/server.h"
#include "sim/service.h"

namespace tqrsim {

struct AnnouncedService {
  std::string type;  // "_scpi-raw._tcp"
  int port = 0;
};

class MdnsResponder : public Service {
 public:
  // `instance`: the name shown to browsers, e.g. "TQR-M4 M4A004217".
  MdnsResponder(std::string instance, std::vector<AnnouncedService> services);

  // Listens on 127.0.0.1:port (5353, or 0 for a free one). Empty on success, else the reason.
  std::string Listen(int port);
  int port() const { return port_; }

  void CollectPollFds(std::vector<pollfd>& fds) override;
  void Dispatch(std::span<const pollfd> fds) override;
  int NextTimeoutMs(int limit) const override { return limit; }

 private:
  // The response to one query; empty when nothing asked is ours.
  std::string Answer(std::string_view query) const;

  std::string instance_;
  std::vector<AnnouncedService> services_;
  UniqueFd socket_;
  int port_ = 0;
};

}  // namespace tqrsim
