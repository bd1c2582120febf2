#include "tools/enum_names.h"

#include <algorithm>

#include "tools/scalar.h"

namespace motqr::cli {
namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

bool IsWordStart(std::string_view name, std::size_t at) {
  if (at == 0 || at >= name.size() || !IsUpper(name[at])) return false;
  return !IsUpper(name[at - 1]) || (at + 1 < name.size() && !IsUpper(name[at + 1]));
}

// The member names share leading words (the enumeration's name, or the class
// prefix); the short name is the words after them, at least one word each, so
// "...ModeDC" and "...ModeDCSeamless" keep "DC". One type-library member
// repeats its prefix words ("...FunctionModeProgramPowerFunctionModeDC"): the
// repeated words go too.
void SetShortNames(std::vector<EnumInfo::Member>& members) {
  if (members.empty()) return;
  const std::string_view first = members.front().name;
  std::size_t cut = 0;
  for (std::size_t at = 1; at < first.size(); ++at) {
    const bool shared = std::all_of(members.begin(), members.end(), [&](const auto& m) {
      return m.name.substr(0, at) == first.substr(0, at) && IsWordStart(m.name, at);
    });
    if (shared) cut = at;
  }
  std::string_view repeated = first.substr(0, cut);
  if (repeated.starts_with("MorvaneTqr")) repeated.remove_prefix(10);
  for (auto& m : members) {
    std::string_view rest = m.name.substr(cut);
    if (!repeated.empty() && rest.starts_with(repeated) && IsWordStart(rest, repeated.size()))
      rest.remove_prefix(repeated.size());
    m.short_name = std::string(rest);
  }
}

}  // namespace

EnumInfo::EnumInfo(std::string_view name, std::initializer_list<Row> rows) : name_(name) {
  for (const Row& row : rows) members_.push_back({row.name, row.value, {}});
  SetShortNames(members_);
}

std::string EnumInfo::ShortName(std::int32_t value) const {
  for (const Member& m : members_)
    if (m.value == value) return m.short_name;
  return std::to_string(value);
}

std::optional<std::int32_t> EnumInfo::Parse(std::string_view text) const {
  text = Trim(text);
  for (const Member& m : members_)
    if (EqualsIgnoringCase(text, m.short_name) || EqualsIgnoringCase(text, m.name)) return m.value;
  if (auto number = ParseInteger(text)) {
    for (const Member& m : members_)
      if (m.value == *number) return m.value;
  }
  return std::nullopt;
}

std::string EnumInfo::Choices() const {
  std::string out;
  for (const Member& m : members_) {
    if (!out.empty()) out += '|';
    out += m.short_name;
  }
  return out;
}

#define MOTQR_ENUM_BEGIN(Enum)         \
  template <>                          \
  const EnumInfo& EnumInfoOf<Enum>() { \
    static const EnumInfo info(#Enum, {
#define MOTQR_ENUM_VALUE(Enum, Member, value) {#Member, value},
#define MOTQR_ENUM_END(Enum) \
  });                        \
  return info;               \
  }
#include "interfaces/enums.def"

std::span<const EnumInfo* const> AllEnums() {
  static const std::vector<const EnumInfo*> all = {
#define MOTQR_ENUM_BEGIN(Enum) &EnumInfoOf<Enum>(),
#include "interfaces/enums.def"
  };
  return all;
}

}  // namespace motqr::cli
