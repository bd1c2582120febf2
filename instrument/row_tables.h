// Every interface's row views, for tests, tools and generated bindings that
// walk all members: the interfaces of the driver's objects in the order the
// objects hand them out, each with its members in the interface's order.
#pragma once

#include <span>

#include "instrument/member_shapes.h"

namespace motqr::instrument {

struct RowTable {
  const char* interface_name;
  std::span<const RowView> rows;
};

std::span<const RowTable> AllRowTables();

}  // namespace motqr::instrument
