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

// Calls `row(line, line_number)` for every line that holds more than a comment
// (the line stripped of it), stopping at the first failure.
template <class Row>
Status ForEachContentLine(std::string_view text, Row&& row) {
  std::size_t line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = StripComment(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (line.empty()) continue;
    if (Status s = row(line, line_number); !s.ok()) return s;
  }
  return Status::Ok();
}

}  // namespace motqr::cli
