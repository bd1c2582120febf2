#include "tools/step_file.h"

#include <algorithm>
#include <limits>

#include "tools/scalar.h"
#include "tools/text_file.h"

namespace motqr::cli {
namespace {

Status LineError(std::size_t line, const std::string& message) {
  return Status::Usage("line " + std::to_string(line) + ": " + message);
}

Status ApplyKey(std::string_view key, std::string_view value, std::size_t line, StepFile* file) {
  const std::string name = ToLower(Trim(key));
  value = Trim(value);
  if (name == "name") {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.empty()) return LineError(line, "empty program name");
    file->name = std::string(value);
  } else if (name == "loops") {
    auto loops = ParseInteger(value);
    if (!loops || *loops < 0 || *loops > std::numeric_limits<std::int32_t>::max())
      return LineError(line, "loops takes a count (0 repeats for ever)");
    file->loops = static_cast<std::int32_t>(*loops);
  } else {
    return LineError(line, "unknown key '" + name + "' (name, loops)");
  }
  return Status::Ok();
}

Status SetColumns(std::vector<std::string> cells, std::span<const std::string_view> known,
                  std::size_t line, StepFile* file, std::optional<std::size_t>* step_column) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    std::string column = ToLower(cells[i]);
    if (column == "step") {
      if (*step_column) return LineError(line, "two step columns");
      *step_column = i;
      continue;
    }
    if (std::find(known.begin(), known.end(), column) == known.end())
      return LineError(line, "unknown column '" + cells[i] + "'");
    if (std::find(file->columns.begin(), file->columns.end(), column) != file->columns.end())
      return LineError(line, "column '" + column + "' given twice");
    file->columns.push_back(std::move(column));
  }
  if (file->columns.empty()) return LineError(line, "no step fields in the header");
  return Status::Ok();
}

}  // namespace

Status ParseStepFile(std::string_view text, std::span<const std::string_view> known_columns,
                     StepFile* file) {
  *file = StepFile{};
  std::optional<std::size_t> step_column;
  bool have_header = false;
  MOTQR_CLI_TRY(ForEachContentLine(text, [&](std::string_view line, std::size_t line_number) {
    const std::size_t eq = line.find('=');
    if (!have_header && eq != std::string_view::npos && line.find(',') == std::string_view::npos) {
      return ApplyKey(line.substr(0, eq), line.substr(eq + 1), line_number, file);
    }
    std::vector<std::string> cells = SplitCells(line);
    if (!have_header) {
      have_header = true;
      return SetColumns(std::move(cells), known_columns, line_number, file, &step_column);
    }
    const std::size_t width = file->columns.size() + (step_column ? 1 : 0);
    if (cells.size() > width)
      return LineError(line_number, std::to_string(cells.size()) + " cells for " +
                                        std::to_string(width) + " columns");
    if (file->steps.size() == StepFile::kMaxSteps)
      return LineError(line_number, "more than " + std::to_string(StepFile::kMaxSteps) + " steps");
    cells.resize(width);
    if (step_column) {
      const auto number = ParseInteger(cells[*step_column]);
      if (!number || *number != static_cast<std::int64_t>(file->steps.size() + 1))
        return LineError(line_number, "step " + std::to_string(file->steps.size() + 1) +
                                          " expected, not '" + cells[*step_column] + "'");
      cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(*step_column));
    }
    file->steps.push_back(std::move(cells));
    return Status::Ok();
  }));
  if (!have_header) return Status::Usage("no header row naming the step fields");
  if (file->steps.empty()) return Status::Usage("no steps");
  return Status::Ok();
}

}  // namespace motqr::cli
