// IEnumFormatter: converts enumeration values to and from the instrument's
// tokens for the interface member being executed. The formatted I/O engines
// hand it the enumeration name of a {Type} directive; the driver object
// implements it with the command tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/io_status.h"

namespace motqr::io {

class IEnumFormatter {
 public:
  // The command token of `value`; reports and returns a failure when the
  // enumeration or the value has no token for the current member.
  virtual HRESULT FormatEnum(std::string_view enum_name, std::int32_t value,
                             std::string* token) = 0;
  // The value of the reply text `text` (white space around it ignored; exact,
  // case-sensitive match); reports and returns a failure when nothing matches.
  virtual HRESULT ParseEnum(std::string_view enum_name, std::string_view text,
                            std::int32_t* value) = 0;
  // Length of the longest command token of the enumeration for the current
  // member; 0 when it has no converter.
  virtual std::int32_t GetMaxEnumLength(std::string_view enum_name) = 0;

 protected:
  ~IEnumFormatter() = default;
};

}  // namespace motqr::io
