// HiSLIP instrument session (TCPIP[board]::host::hislip<n>[,port]::INSTR, port 4880): a
// synchronous channel for data and an asynchronous one for clear, status, lock and the
// maximum message size, in synchronized mode. Every message carries a message id; a reply
// tagged with any other id than the query's (one that arrived after its read timed out, or
// after a device clear) is dropped, so it is never taken for the answer of a later query.
// Error and fatal-error messages become I/O errors with the instrument's text. An exclusive
// lock is the instrument's (other clients see it); a shared lock is kept in this process.
#pragma once

#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

Status OpenHislipTransport(const ResourceName& name, ViUInt32 open_timeout_ms,
                           std::unique_ptr<Transport>* transport);

}  // namespace motqr::visa
