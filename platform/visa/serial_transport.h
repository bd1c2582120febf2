// Serial line (ASRL<n>::INSTR, ASRL/dev/...::INSTR) through termios: raw mode, 9600 baud 8N1
// without flow control until changed through the VI_ATTR_ASRL_* attributes, poll() time-outs.
// Reads end at the termination character (VI_ATTR_ASRL_END_IN = VI_ASRL_END_TERMCHAR, the
// default) or, with END_IN = NONE, when VI_ATTR_TERMCHAR_EN is set; writes send the bytes as
// given unless VI_ATTR_ASRL_END_OUT asks for the termination character or a break.
// A device clear flushes both directions of the line.
#pragma once

#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

// Opens `name.device_path`. A missing device fails with VI_ERROR_RSRC_NFOUND, a file that is
// not a terminal with VI_ERROR_RSRC_NFOUND, a port another session holds (flock) with
// VI_ERROR_RSRC_BUSY, other failures with VI_ERROR_IO.
Status OpenSerialTransport(const ResourceName& name, std::unique_ptr<Transport>* transport);

}  // namespace motqr::visa
