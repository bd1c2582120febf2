// The driver's I/O session over VISA-COM: driver::ISessionPort on a
// CVisaComSession. The first Open registers the VISA-COM classes of
// platform/visa (once per process); a re-Open of a session that is still open
// closes it first.
//
//   CDriver driver(clsid, &MakeVisaSessionPort, finder);
//   // Initialize then opens "TCPIP::127.0.0.1::5025::SOCKET" through it.
#pragma once

#include <memory>

#include "driver/session_port.h"

namespace motqr::driver {

// A new, closed session (the shape of SessionPortFactory).
std::unique_ptr<ISessionPort> MakeVisaSessionPort();

}  // namespace motqr::driver
