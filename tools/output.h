// Output: what a command reports, printed as text for people or as one JSON
// object for programs (--json).
//
//   Output out(Output::Style::kText);
//   out.Field("voltage", Scalar::Number(4.99, "V"));
//   out.Field("current", Scalar::Number(0.5, "A"));
//   std::fputs(out.Render().c_str(), stdout);
//
// Text: a lone field prints its bare value (handy in shell scripts); several
// print as aligned "name  value" lines; a list prints one item per line; a
// table prints a header row and aligned columns.
// JSON: {"voltage": 4.99, "current": 0.5}; lists are arrays, tables are arrays
// of objects keyed by the column names.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tools/scalar.h"
#include "tools/status.h"

namespace motqr::cli {

class Output {
 public:
  enum class Style { kText, kJson };

  explicit Output(Style style) : style_(style) {}
  Style style() const { return style_; }

  void Field(std::string_view name, Scalar value);
  void List(std::string_view name, std::vector<Scalar> items);
  void Table(std::string_view name, std::vector<std::string> columns,
             std::vector<std::vector<Scalar>> rows);
  bool empty() const { return entries_.empty(); }
  // The command printed its results itself as they came (a measurement
  // series): nothing is left to render.
  void MarkPrinted() { printed_ = true; }

  std::string Render() const;

 private:
  struct TableData {
    std::vector<std::string> columns;
    std::vector<std::vector<Scalar>> rows;
  };
  struct Entry {
    std::string name;
    std::variant<Scalar, std::vector<Scalar>, TableData> value;
  };

  std::string RenderText() const;
  std::string RenderJson() const;

  Style style_;
  std::vector<Entry> entries_;
  bool printed_ = false;
};

// A JSON string literal for `text` (quotes included).
std::string JsonString(std::string_view text);
// The JSON object an error prints in --json mode: the message, the C status of
// the driver's result ("0xBFFA0001"; null when the driver reported nothing)
// and the instrument's errors (a list, maybe empty).
std::string JsonError(const Status& status);

}  // namespace motqr::cli
