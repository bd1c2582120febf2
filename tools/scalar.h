// Scalar: one value as the tool prints it, already formatted, with what JSON
// needs to know about it; and the locale-independent number and word parsing
// every command uses for what the user typed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace motqr::cli {

struct Scalar {
  enum class Kind { kNumber, kBoolean, kText };
  std::string text;
  Kind kind = Kind::kText;
  std::string unit;  // shown after the value in text output only

  static Scalar Number(double value, std::string unit = {});
  static Scalar Integer(std::int64_t value);
  static Scalar Boolean(bool value);
  static Scalar Text(std::string value) { return {std::move(value), Kind::kText, {}}; }
};

// Shortest text that reads back as the same double ("5", "0.1", "1e-06").
std::string FormatReal(double value);
// Engineering notation with six significant digits and an SI prefix on the
// unit: (0.0015, "A") "1.50000 mA", (2, "V") "2.00000 V", (0, "W") "0.00000 W".
std::string FormatEngineering(double value, std::string_view unit);

// Whole-text parses; nothing is read from the process locale.
std::optional<double> ParseReal(std::string_view text);           // finite values only
std::optional<std::int64_t> ParseInteger(std::string_view text);  // decimal or 0x hex
// on/off, true/false, yes/no, 1/0 in any letter case.
std::optional<bool> ParseBoolean(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
std::string ToLower(std::string_view text);
std::string_view Trim(std::string_view text);

}  // namespace motqr::cli
