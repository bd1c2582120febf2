// A protocol server that shares the simulator's poll loop: it adds its descriptors to each
// round's poll set and handles what the round found on them.
#pragma once

#include <poll.h>

#include <span>
#include <vector>

namespace tqrsim {

class Service {
 public:
  virtual ~Service() = default;
  // Appends the descriptors to watch this round.
  virtual void CollectPollFds(std::vector<pollfd>& fds) = 0;
  // Handles the round: `fds` are the entries appended by CollectPollFds, with their revents.
  virtual void Dispatch(std::span<const pollfd> fds) = 0;
  // The longest wait (milliseconds) before something of this service falls due; `limit` if none.
  virtual int NextTimeoutMs(int limit) const = 0;
};

}  // namespace tqrsim
