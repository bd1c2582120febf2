// The panel's JSON: replies built field by field, and the one thing a request
// body carries, {"value": <number | true | false | "text">}.
//
//   std::string reply = JsonObject().Text("control", "voltage").Number("value", 5).Close();
//   std::optional<RequestValue> value = ReadValueField(R"({"value": 5})");
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace motqr::panel {

class JsonObject {
 public:
  JsonObject& Number(std::string_view key, double value);  // null when not finite
  JsonObject& Integer(std::string_view key, std::int64_t value);
  JsonObject& Boolean(std::string_view key, bool value);
  JsonObject& Text(std::string_view key, std::string_view value);
  JsonObject& Null(std::string_view key);
  // `json` is already JSON (an object, an array or a literal).
  JsonObject& Raw(std::string_view key, std::string_view json);
  std::string Close() const { return text_ + "}"; }

 private:
  void Key(std::string_view key);
  std::string text_ = "{";
};

std::string JsonNumber(double value);
// An array of elements that are already JSON.
std::string JsonArray(const std::vector<std::string>& elements);
std::string JsonTextArray(const std::vector<std::string>& texts);

using RequestValue = std::variant<double, bool, std::string>;
// The "value" member of a request body that is one JSON object; other members
// are skipped. Empty when the body is not such an object or has no value.
std::optional<RequestValue> ReadValueField(std::string_view body);

}  // namespace motqr::panel
