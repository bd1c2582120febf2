// IMorvaneTqrSystemMemory: the preset setting memories and the factory
// defaults.
#pragma once

#include <cstdint>

#include "driver/member_macros.h"
#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// (name, command)
#define MOTQR_MEMORY_COMMANDS(C) C(FactoryDefault, ":MEM:CLE")

// (name, command, MemoryNumber)
#define MOTQR_MEMORY_SET_1(S)                                  \
  S(RecallSettings, ":MEM:REC %d", std::int32_t, MemoryNumber) \
  S(SaveSettings, ":MEM:SAVE %d", std::int32_t, MemoryNumber)

namespace motqr::instrument {

template <class Self>
class SystemMemory : public driver::MemberSet<Self, IMorvaneTqrSystemMemory> {
 public:
  using Interface = IMorvaneTqrSystemMemory;
  MOTQR_MEMORY_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_MEMORY_SET_1(MOTQR_MEMBER_SET_1)

 protected:
  ~SystemMemory() = default;
};

inline constexpr driver::RowView kSystemMemoryRows[] = {
    MOTQR_MEMORY_COMMANDS(MOTQR_ROW_VIEW_COMMAND) MOTQR_MEMORY_SET_1(MOTQR_ROW_VIEW_SET)};

}  // namespace motqr::instrument
