#include "component/find_instruments.hpp"

#include <algorithm>

#include "driver/identity.h"
#include "platform/visa/discovery.h"

namespace motqr {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x | 0x20) == (y | 0x20);
         });
}

}  // namespace

std::vector<FoundInstrument> FindInstruments(std::int32_t timeout_ms) {
  visa::DiscoveryOptions options;
  options.timeout_ms = static_cast<visa::ViUInt32>(std::max(timeout_ms, 1));
  std::vector<FoundInstrument> instruments;
  for (visa::DiscoveredResource& resource : visa::DiscoverResources(options)) {
    const driver::InstrumentIdentity identity = driver::ParseIdentity(resource.identity);
    FoundInstrument found;
    found.resource = std::move(resource.resource);
    found.identity = std::move(resource.identity);
    found.manufacturer = identity.manufacturer;
    found.model = identity.model;
    found.supported = EqualsNoCase(identity.manufacturer, driver::DriverConstants::kVendor) &&
                      driver::IsKnownModel(identity.model);
    found.how = std::move(resource.how);
    instruments.push_back(std::move(found));
  }
  return instruments;
}

}  // namespace motqr
