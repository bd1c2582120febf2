// libFuzzer target: configuration store text from arbitrary bytes. A parse
// either fails with a message and an empty store, or succeeds with every
// collection, text and structure nesting within the loader's bounds, and every
// logical name that names a driver session resolving to one.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ivi/config_store.h"

namespace ivi = motqr::ivi;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckText(std::string_view text) { Require(text.size() <= ivi::kMaxStoreText); }

void CheckComponents(const std::vector<ivi::DataComponent>& components, int depth) {
  Require(depth <= ivi::kMaxStructureDepth + 1);
  Require(components.size() <= ivi::kMaxStoreCollection);
  for (const ivi::DataComponent& c : components) {
    Require(!c.name.empty());
    CheckText(c.name);
    Require(!ivi::DataComponentTypeName(c.type).empty());
    Require(c.type == ivi::DataComponentType::kStructure || c.members.empty());
    CheckComponents(c.members, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  ivi::ConfigStore store;
  std::string error;
  if (!ivi::ParseConfigStore(xml, &store, &error)) {
    Require(!error.empty());
    Require(store.driver_sessions.empty() && store.software_modules.empty() &&
            store.logical_names.empty());
    return 0;
  }
  Require(store.driver_sessions.size() <= ivi::kMaxStoreCollection);
  Require(store.software_modules.size() <= ivi::kMaxStoreCollection);
  Require(store.logical_names.size() <= ivi::kMaxStoreCollection);
  for (const ivi::DriverSession& s : store.driver_sessions) {
    const bool shadowed = std::any_of(store.logical_names.begin(), store.logical_names.end(),
                                      [&](const ivi::LogicalName& l) { return l.name == s.name; });
    Require(shadowed || store.FindDriverSession(s.name) == &s);
    CheckText(s.io_resource_descriptor);
    CheckText(s.driver_setup);
    CheckComponents(s.data_components, 0);
    Require(s.virtual_names.size() <= ivi::kMaxStoreCollection);
    for (const ivi::VirtualName& v : s.virtual_names) Require(!v.name.empty() && !v.map_to.empty());
  }
  for (const ivi::SoftwareModule& m : store.software_modules) {
    Require(store.FindSoftwareModule(m.name) == &m);
    CheckComponents(m.data_components, 0);
  }
  for (const ivi::LogicalName& l : store.logical_names) {
    const ivi::DriverSession* s = store.FindDriverSession(l.name);
    Require((s != nullptr) == !l.driver_session.empty());
  }
  return 0;
}
