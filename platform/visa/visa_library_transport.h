// A resource opened through the system VISA library (GPIB, USB, TCPIP INSTR, ...): every
// operation is the VISA C call of the same name, and the library's status passes through.
#pragma once

#include <memory>

#include "platform/visa/resource_name.h"
#include "platform/visa/transport.h"

namespace motqr::visa {

// Opens `name.text` with viOpen (no lock, `open_timeout_ms`). Fails with
// VI_ERROR_LIBRARY_NFOUND when no VISA library is installed, otherwise with the library's
// status.
Status OpenVisaLibraryTransport(const ResourceName& name, ViUInt32 open_timeout_ms,
                                std::unique_ptr<Transport>* transport);

}  // namespace motqr::visa
