// IMorvaneTqrSystemMemory: the preset setting memories and the factory
// defaults.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// clang-format off
#define MOTQR_MEMORY_MEMBERS(S) \
  S##_COMMAND(FactoryDefault, ":MEM:CLE") \
  S##_COMMAND_1(RecallSettings, ":MEM:REC %d", std::int32_t, MemoryNumber) \
  S##_COMMAND_1(SaveSettings, ":MEM:SAVE %d", std::int32_t, MemoryNumber)
// clang-format on

namespace motqr::instrument {

template <class Self>
class SystemMemory : public driver::MemberSet<Self, IMorvaneTqrSystemMemory> {
 public:
  using Interface = IMorvaneTqrSystemMemory;
  MOTQR_MEMORY_MEMBERS(MOTQR_MEMBER)

 protected:
  ~SystemMemory() = default;
};

inline constexpr RowView kSystemMemoryRows[] = {MOTQR_MEMORY_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
