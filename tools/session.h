// Session: one driver object opened on the instrument the global options name,
// closed when the command ends.
//
//   std::unique_ptr<Session> session;
//   MOTQR_CLI_TRY(Session::Open(options, &session));
//   com::ComPtr<IMorvaneTqrProgram> program;
//   MOTQR_CLI_TRY(session->Driver(&program));
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"
#include "tools/cli_options.h"
#include "tools/status.h"

namespace motqr::cli {

class Session {
 public:
  // `check_status`: see BuildOptionString.
  static Status Open(const CliOptions& options, bool check_status,
                     std::unique_ptr<Session>* session);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  IMorvaneTqr* driver() const { return driver_.Get(); }
  bool simulating() const { return simulating_; }

  // The driver object through another of its interfaces.
  template <class I>
  Status Driver(com::ComPtr<I>* out) const {
    return Check(driver_->QueryInterface(I::kIid, out->PutVoid()), I::kName);
  }
  // A channel by name, virtual name or 1-based index; empty: the --channel
  // option, else the first channel.
  Status Channel(std::string_view name, com::ComPtr<IMorvaneTqrOutputChannel>* out) const;
  // Reads the instrument's error queue, at most `most` entries; empty when
  // there are none or it cannot be read.
  std::vector<InstrumentError> DrainErrorQueue(int most) const;
  template <class I>
  Status ChannelAs(std::string_view name, com::ComPtr<I>* out) const {
    com::ComPtr<IMorvaneTqrOutputChannel> channel;
    MOTQR_CLI_TRY(Channel(name, &channel));
    return Check(channel->QueryInterface(I::kIid, out->PutVoid()), I::kName);
  }

 private:
  Session() = default;

  com::ComPtr<IMorvaneTqr> driver_;
  std::string default_channel_;
  bool simulating_ = false;
};

}  // namespace motqr::cli
