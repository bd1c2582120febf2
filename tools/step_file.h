// Program step files: a program written as a table, one step per row.
//
//   # charge profile
//   name = charge
//   loops = 2
//   step, voltage, current, dwell, output
//   1,    4.2,     2,       1.5,   on
//   2,    4.2,     0.5,     3,     on
//   3,    0,       ,        0.5,   off     # an empty cell keeps the instrument's value
//
// Cells are separated by commas or, on lines without any, by blanks. The first
// row that is not a "key = value" line names the columns; "step" is optional
// and, when present, must count 1, 2, 3 ... Keys: name, loops.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/status.h"

namespace motqr::cli {

struct StepFile {
  static constexpr std::size_t kMaxSteps = 1024;

  std::string name;
  std::optional<std::int32_t> loops;
  std::vector<std::string> columns;             // lower case, without "step"
  std::vector<std::vector<std::string>> steps;  // one cell per column; "" keeps the value
};

// `known_columns` are the step fields a column may name. Errors give the line.
Status ParseStepFile(std::string_view text, std::span<const std::string_view> known_columns,
                     StepFile* file);

}  // namespace motqr::cli
