#include "tools/iv_file.h"

#include "tools/scalar.h"
#include "tools/text_file.h"

namespace motqr::cli {

Status ParseIvFile(std::string_view text, std::vector<IvPoint>* points) {
  points->clear();
  bool voltage_first = true;
  bool first_row = true;
  MOTQR_CLI_TRY(ForEachContentLine(text, [&](std::string_view line, std::size_t line_number) {
    const std::string where = "line " + std::to_string(line_number) + ": ";
    const std::vector<std::string> cells = SplitCells(line);
    if (cells.size() != 2) return Status::Usage(where + "a point is a voltage and a current");
    const auto a = ParseReal(cells[0]), b = ParseReal(cells[1]);
    if (first_row && !a && !b) {
      const std::string x = ToLower(cells[0]), y = ToLower(cells[1]);
      if (!((x == "voltage" && y == "current") || (x == "current" && y == "voltage")))
        return Status::Usage(where + "the header names the columns voltage and current");
      voltage_first = x == "voltage";
      first_row = false;
      return Status::Ok();
    }
    first_row = false;
    if (!a || !b) return Status::Usage(where + "'" + std::string(line) + "' is not two numbers");
    points->push_back(voltage_first ? IvPoint{*a, *b, line_number} : IvPoint{*b, *a, line_number});
    return Status::Ok();
  }));
  if (points->empty()) return Status::Usage("no points");
  return Status::Ok();
}

std::string FormatIvFile(std::span<const IvPoint> points) {
  std::string out = "voltage,current\n";
  for (const IvPoint& p : points) out += FormatReal(p.voltage) + "," + FormatReal(p.current) + "\n";
  return out;
}

}  // namespace motqr::cli
