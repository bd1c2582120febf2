#include "commands/find_enum_converter.h"

#include "commands/enumerations.h"

namespace motqr::commands {

const IEnumCommandConverter* FindEnumConverter(std::string_view enum_name,
                                               std::string_view qualified_member) {
  const Enumeration* enumeration = FindEnumeration(enum_name);
  if (!enumeration || !enumeration->members) return nullptr;
  const MemberTables tables = enumeration->members();
  if (qualified_member.empty()) return tables.empty() ? nullptr : &tables.front().converter();
  for (const MemberTable& table : tables) {
    if (table.member == qualified_member) return &table.converter();
  }
  return enumeration->unlisted_member ? &enumeration->unlisted_member() : nullptr;
}

}  // namespace motqr::commands
