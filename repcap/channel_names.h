// Channel name resolution: virtual names from the configuration store,
// qualified physical names ("MorvaneTqrOutputChannel!!OutputChannel1") and
// plain physical names, and the presentation name of an instance.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "driver/options.h"

namespace motqr::repcap {

using driver::VirtualNameMap;

// Adds one configured virtual name of repeated capability `rep_cap`.
void AddVirtualName(VirtualNameMap& names, std::string_view virtual_name, std::string_view maps_to,
                    std::string_view rep_cap);

// The physical name a user name stands for.
std::string ResolveChannelName(const VirtualNameMap& names, std::string_view name);
// The name to present for a physical instance: its virtual name if it has one.
std::string PresentationName(const VirtualNameMap& names, std::string_view rep_cap,
                             std::string_view physical_name);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace motqr::repcap
