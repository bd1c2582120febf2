#include "commands/enum_token_port.h"

#include "commands/find_enum_converter.h"

namespace motqr::commands {
namespace {

using driver::EnumTokenLookup;

class TokenTables final : public driver::IEnumTokenPort {
 public:
  EnumTokenLookup Token(std::string_view enum_name, std::string_view member, std::string_view model,
                        std::int32_t value, std::string* token) const override {
    const IEnumCommandConverter* c = FindEnumConverter(enum_name, member);
    if (!c) return EnumTokenLookup::kNoTable;
    return c->GetCommand(model, value, token) ? EnumTokenLookup::kFound : EnumTokenLookup::kNoMatch;
  }

  EnumTokenLookup Value(std::string_view enum_name, std::string_view member, std::string_view model,
                        std::string_view text, std::int32_t* value) const override {
    const IEnumCommandConverter* c = FindEnumConverter(enum_name, member);
    if (!c) return EnumTokenLookup::kNoTable;
    return c->GetValue(model, text, value) ? EnumTokenLookup::kFound : EnumTokenLookup::kNoMatch;
  }

  std::int32_t MaxTokenLength(std::string_view enum_name, std::string_view member) const override {
    const IEnumCommandConverter* c = FindEnumConverter(enum_name, member);
    return c ? c->GetMaxCommandLength() : 0;
  }
};

}  // namespace

const driver::IEnumTokenPort& EnumTokenPort() {
  static constinit const TokenTables tables;
  return tables;
}

}  // namespace motqr::commands
