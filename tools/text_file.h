// Whole small text files in and out, bounded in size: step files, I-V maps.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/status.h"

namespace motqr::cli {

inline constexpr std::size_t kMaxInputFileBytes = 4u << 20;

// "-" reads standard input.
Status ReadTextFile(const std::string& path, std::string* text);
// "-" writes standard output.
Status WriteTextFile(const std::string& path, std::string_view text);

// The cells of one line of a step or map file: split at commas when the line
// has any, else at runs of blanks; each cell trimmed.
std::vector<std::string> SplitCells(std::string_view line);
// The line without its '#' comment, trimmed.
std::string_view StripComment(std::string_view line);

}  // namespace motqr::cli
