// The driver's side of the method trace: starting it from Initialize,
// ending it with the session, and reporting a trace file that cannot be
// written as the failure of the traced call.
#pragma once

#include <system_error>

#include "platform/com/types.h"

namespace motqr::driver {

class CDriver;

// The system error `ec` as the failure of the current call: status
// 0x8007xxxx with the error number in the low 16 bits, and the system's
// message with the trace file's name.
com::HRESULT ReportTraceFailure(CDriver& driver, std::error_code ec);

}  // namespace motqr::driver
