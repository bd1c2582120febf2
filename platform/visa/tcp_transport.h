// Raw SCPI socket (TCPIP::host::port::SOCKET): non-blocking TCP with poll() time-outs,
// TCP_NODELAY, MSG_NOSIGNAL on every send. A socket has no END: a read stops at the enabled
// termination character, at the count, or at the time-out. A lost connection is
// VI_ERROR_CONN_LOST.
#pragma once

#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/stream_transport.h"

namespace motqr::visa {

// Connects to `name.host`:`name.port` within `connect_timeout_ms`. A refused or unreachable
// host fails with VI_ERROR_RSRC_NFOUND at once; no answer in time fails with VI_ERROR_TMO.
Status OpenTcpTransport(const ResourceName& name, ViUInt32 connect_timeout_ms,
                        std::unique_ptr<Transport>* transport);

}  // namespace motqr::visa
