// Opens a TCP connection to a host and port within a deadline: every address the host name
// resolves to is tried in turn, the socket is non-blocking with TCP_NODELAY set.
#pragma once

#include <cstdint>
#include <string>

#include "platform/visa/deadline.h"
#include "platform/visa/status.h"
#include "platform/visa/unique_fd.h"

namespace motqr::visa {

// A refused or unreachable host fails with VI_ERROR_RSRC_NFOUND at once; no answer before the
// deadline fails with VI_ERROR_TMO. `timeout_ms` only words the time-out message.
Status ConnectTcp(const std::string& host, std::uint16_t port, const Deadline& deadline,
                  ViUInt32 timeout_ms, UniqueFd* socket_fd);

// Switches a descriptor between blocking and non-blocking mode.
Status SetBlocking(int fd, bool blocking);

}  // namespace motqr::visa
