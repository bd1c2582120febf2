// Channel name resolution: virtual names from the configuration store,
// qualified physical names ("MorvaneTqrOutputChannel!!OutputChannel1") and
// plain physical names, and the presentation name of an instance.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace motqr::repcap {

// Virtual name (upper case) -> physical name, possibly qualified; and the
// reverse, qualified physical name -> virtual name as configured.
struct VirtualNameMap {
  std::unordered_map<std::string, std::string> to_physical;
  std::unordered_map<std::string, std::string> to_virtual;

  // Adds one configured virtual name.
  void Add(std::string_view virtual_name, std::string_view maps_to, std::string_view rep_cap);
};

// The physical name a user name stands for.
std::string ResolveChannelName(const VirtualNameMap& names, std::string_view name);
// The name to present for a physical instance: its virtual name if it has one.
std::string PresentationName(const VirtualNameMap& names, std::string_view rep_cap,
                             std::string_view physical_name);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace motqr::repcap
