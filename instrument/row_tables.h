// Every interface's row views, for tests and tools that walk all members.
#pragma once

#include <span>

#include "driver/member_macros.h"

namespace motqr::instrument {

struct RowTable {
  const char* interface_name;
  std::span<const driver::RowView> rows;
};

std::span<const RowTable> AllRowTables();

}  // namespace motqr::instrument
