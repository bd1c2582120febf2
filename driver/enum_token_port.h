// IEnumTokenPort: the driver's port to the enumeration token tables -- what the
// driver object asks of them when its formatted I/O meets an enumeration
// directive. The command tables implement it (commands/enum_token_port.h) and
// the driver is given it when it is made.
//
//   std::string token;
//   tokens.Token("VARIANT_BOOL", "IMorvaneTqrOutputChannel.Enabled", "TQR-M4", 1, &token);
//   // EnumTokenLookup::kFound, token "1"
//
// `member` is the qualified name ("Interface.Member") of the member being
// executed, "" outside any member; `model` is the instrument model, "" before
// Initialize. A look-up may build a table on first use and so throw
// std::bad_alloc, which the call frame turns into the out-of-memory error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace motqr::driver {

enum class EnumTokenLookup {
  kFound,
  // The enumeration has no tokens, or the member does not convert it.
  kNoTable,
  // The member's table has no token for the value, or no value for the text.
  kNoMatch,
};

class IEnumTokenPort {
 public:
  // The token of `value` of enumeration `enum_name` for `member` on `model`.
  virtual EnumTokenLookup Token(std::string_view enum_name, std::string_view member,
                                std::string_view model, std::int32_t value,
                                std::string* token) const = 0;
  // The value whose token equals `text` without white space at either end
  // (exact, case-sensitive).
  virtual EnumTokenLookup Value(std::string_view enum_name, std::string_view member,
                                std::string_view model, std::string_view text,
                                std::int32_t* value) const = 0;
  // The longest token of the member's table; 0 when there is no table.
  virtual std::int32_t MaxTokenLength(std::string_view enum_name,
                                      std::string_view member) const = 0;

 protected:
  ~IEnumTokenPort() = default;
};

}  // namespace motqr::driver
