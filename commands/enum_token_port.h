// EnumTokenPort: the command tables behind the driver's token port, the one
// the driver object is given when it is made:
//
//   MorvaneTqr::MorvaneTqr(driver::SessionPortFactory sessions)
//       : CDriver(CLSID_MorvaneTqr, sessions, &commands::EnumTokenPort()) {}
//
// It finds the member's table with FindEnumConverter; the object lives until
// the module unloads and may be shared by any thread.
#pragma once

#include "driver/enum_token_port.h"

namespace motqr::commands {

const driver::IEnumTokenPort& EnumTokenPort();

}  // namespace motqr::commands
