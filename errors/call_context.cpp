#include "errors/call_context.h"

#include <string_view>

namespace motqr::errors {

std::string QualifiedMemberName(const char* interface_name, const char* member_name) {
  const std::string_view interface_part = interface_name ? interface_name : "";
  std::string_view member = member_name ? member_name : "";
  if (member.starts_with("get_") || member.starts_with("put_")) member.remove_prefix(4);
  std::string name;
  name.reserve(interface_part.size() + 1 + member.size());
  name.append(interface_part).append(".").append(member);
  return name;
}

}  // namespace motqr::errors
