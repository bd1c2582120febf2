// The enumerations the component interfaces use: the driver's own type-library
// enumerations and the IviDCPwr class enumerations, all 32-bit. They are plain
// enums because every member name already carries its enumeration's prefix:
//
//   channel->put_CurrentMode(MorvaneTqrOutputFunctionModePulse);
//   trigger->Initiate(MorvaneTqrTriggerSystemAcquire);
//
// The rows live in enums.def, which other tables (the C header's constants)
// are generated from as well.
#pragma once

#include <cstdint>

namespace motqr {

#define MOTQR_ENUM_BEGIN(Enum) enum Enum : std::int32_t {
#define MOTQR_ENUM_VALUE(Enum, Member, value) Member = (value),
#define MOTQR_ENUM_END(Enum) \
  }                          \
  ;
#include "interfaces/enums.def"

}  // namespace motqr
