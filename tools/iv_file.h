// I-V map files: one point per row, its voltage and its current.
//
//   voltage,current      # optional header; its order sets the columns' order
//   0,     2.0
//   10.5,  1.5
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/status.h"

namespace motqr::cli {

struct IvPoint {
  double voltage = 0;
  double current = 0;
  std::size_t line = 0;  // where the point stood in its file (0: not from a file)
};

Status ParseIvFile(std::string_view text, std::vector<IvPoint>* points);
std::string FormatIvFile(std::span<const IvPoint> points);

}  // namespace motqr::cli
