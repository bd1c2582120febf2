// VXI-11 instrument link (TCPIP[board]::host[::device]::INSTR, device default "inst0"): the
// core channel's port comes from the host's portmapper, a link is created for the device, and
// reads and writes are device_read/device_write calls carrying END, the termination character
// and the time-out to the instrument. The time-out is also kept here: a call that gets no
// answer in time is aborted on the abort channel and fails with VI_ERROR_TMO, and its late
// reply is never taken for the answer of a later call. An exclusive lock is the instrument's
// link lock (other clients see it); a shared lock is kept in this process.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

Status OpenVxi11Transport(const ResourceName& name, ViUInt32 open_timeout_ms,
                          std::unique_ptr<Transport>* transport);

// The port the portmapper is asked on (111 unless changed); tests point it at a simulator's.
void SetPortmapperPortForTesting(std::uint16_t port);
std::uint16_t PortmapperPort();

}  // namespace motqr::visa
