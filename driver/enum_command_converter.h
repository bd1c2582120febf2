// IEnumCommandConverter: one enumeration's token table for one interface
// member, by instrument model. The command tables implement it; the driver
// object finds the right one for each conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace motqr::driver {

class IEnumCommandConverter {
 public:
  // The command token of `value` for `model`; false when the table has none.
  virtual bool GetCommand(std::string_view model, std::int32_t value, std::string* token) const = 0;
  // The value whose token equals the trimmed `reply` (exact, case-sensitive).
  virtual bool GetValue(std::string_view model, std::string_view reply,
                        std::int32_t* value) const = 0;
  virtual std::int32_t GetMaxCommandLength() const = 0;

 protected:
  ~IEnumCommandConverter() = default;
};

// Finds the converter of an enumeration for a qualified member name; null when
// there is none. Installed once by the command tables.
using EnumConverterFinder = const IEnumCommandConverter* (*)(std::string_view enum_name,
                                                             std::string_view qualified_member);

}  // namespace motqr::driver
