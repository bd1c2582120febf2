// HiSLIP instrument session (TCPIP[board]::host::hislip<n>[,port]::INSTR, port 4880).
#pragma once

#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

Status OpenHislipTransport(const ResourceName& name, ViUInt32 open_timeout_ms,
                           std::unique_ptr<Transport>* transport);

}  // namespace motqr::visa
