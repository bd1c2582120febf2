#include "repcap/channel_names.h"

#include <algorithm>

namespace motqr::repcap {
namespace {

// Channel names are ASCII; the process locale must not change how they compare.
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::string Upper(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), AsciiUpper);
  return r;
}

std::string Qualified(std::string_view rep_cap, std::string_view physical) {
  return std::string(rep_cap) + "!!" + std::string(physical);
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a == b) return true;  // names mostly come as written: one compare settles it
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

void AddVirtualName(VirtualNameMap& names, std::string_view virtual_name, std::string_view maps_to,
                    std::string_view rep_cap) {
  names.to_physical[Upper(virtual_name)] = std::string(maps_to);
  const std::string qualified = maps_to.find("!!") == std::string_view::npos
                                    ? Qualified(rep_cap, maps_to)
                                    : std::string(maps_to);
  names.to_virtual.emplace(qualified, std::string(virtual_name));
}

std::string ResolveChannelName(const VirtualNameMap& names, std::string_view name) {
  std::string result(name);
  if (!names.to_physical.empty()) {
    if (auto it = names.to_physical.find(Upper(name)); it != names.to_physical.end()) {
      result = it->second;
    }
  }
  if (std::size_t p = result.find("!!"); p != std::string::npos) result.erase(0, p + 2);
  return result;
}

std::string PresentationName(const VirtualNameMap& names, std::string_view rep_cap,
                             std::string_view physical_name) {
  auto it = names.to_virtual.find(Qualified(rep_cap, physical_name));
  return it == names.to_virtual.end() ? std::string(physical_name) : it->second;
}

}  // namespace motqr::repcap
