#include "driver/configuration_store.h"

#include <type_traits>
#include <variant>

#include "driver/driver.h"
#include "driver/identity.h"
#include "platform/ivi/config_store_location.h"

namespace motqr::driver {
namespace {

constexpr std::string_view kInitialSettingsStructure = "Configurable Initial Settings";
constexpr std::string_view kModelSetting = "model";

com::Variant ToVariant(const ivi::DataComponent& component) {
  return std::visit(
      [](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) return com::Variant::Bool(v);
        if constexpr (std::is_same_v<T, std::int32_t>) return com::Variant::Int32(v);
        if constexpr (std::is_same_v<T, double>) return com::Variant::Double(v);
        if constexpr (std::is_same_v<T, std::string>) return com::Variant::Text(v);
        if constexpr (std::is_same_v<T, std::monostate>) return com::Variant();  // a structure
      },
      component.value);
}

}  // namespace

HRESULT LoadDriverConfiguration(const ivi::DriverSession* session, SessionSettings& s,
                                errors::IErrorReporter& reporter) {
  if (!session)
    return reporter.InvalidValueString("LoadDriverConfiguration", "pDriverSession", "0");
  s.resource_descriptor = session->io_resource_descriptor;
  s.flags.cache = session->cache;
  s.flags.interchange_check = session->interchange_check;
  s.flags.query_instrument_status = session->query_instr_status;
  s.flags.range_check = session->range_check;
  s.flags.record_coercions = session->record_coercions;
  s.flags.simulate = session->simulate;
  return ProcessDriverSetup(session->driver_setup, s, reporter);
}

HRESULT LoadConfigurableInitialSettings(const std::vector<ivi::DataComponent>* components,
                                        std::string_view parameter, SessionSettings& s,
                                        errors::IErrorReporter& reporter) {
  if (!components) {
    return reporter.InvalidValueString("LoadConfigurableInitialSettings", parameter, "0");
  }
  for (const ivi::DataComponent& c : *components) {
    if (c.type != ivi::DataComponentType::kStructure || c.name != kInitialSettingsStructure)
      continue;
    for (const ivi::DataComponent& setting : c.members) {
      s.configurable_settings[setting.name] = ToVariant(setting);
    }
    break;
  }
  if (auto it = s.configurable_settings.find(std::string(kModelSetting));
      it != s.configurable_settings.end()) {
    s.model = it->second.ToText();
  }
  return com::S_OK;
}

HRESULT ApplyConfigStore(const ivi::ConfigStore& store, std::string_view resource_name,
                         std::string_view options, SessionSettings& s,
                         errors::IErrorReporter& reporter,
                         const VirtualNameSink& add_virtual_name) {
  if (const ivi::DriverSession* session = store.FindDriverSession(resource_name)) {
    s.logical_name = std::string(resource_name);
    HRESULT hr = LoadDriverConfiguration(session, s, reporter);
    if (com::Succeeded(hr))
      hr = LoadConfigurableInitialSettings(&session->data_components, "spDriverSession", s,
                                           reporter);
    if (com::Succeeded(hr)) hr = ProcessOptionString(options, s, reporter);
    if (com::Failed(hr)) return hr;
    for (const ivi::VirtualName& v : session->virtual_names) {
      add_virtual_name(s.virtual_names, v.name, v.map_to);
    }
    return com::S_OK;
  }
  s.resource_descriptor = std::string(resource_name);
  const ivi::SoftwareModule* module = store.FindSoftwareModule(DriverConstants::kPrefix);
  if (!module) {
    return reporter.CannotRecover(
        "Software module could not be loaded from the IVI Configuration Store.");
  }
  HRESULT hr =
      LoadConfigurableInitialSettings(&module->data_components, "spSoftwareModule", s, reporter);
  if (com::Failed(hr)) return hr;
  return ProcessOptionString(options, s, reporter);
}

// CDriver's store step: the store at the process-default or master location.
bool CDriver::ApplyConfigurationStore(const std::string& resource_name, const std::string& options,
                                      SessionSettings* s, HRESULT* status) {
  const std::string location = ivi::ConfigStoreLocation();
  ivi::ConfigStore store;
  std::string error;
  switch (ivi::LoadConfigStore(location, &store, &error)) {
    case ivi::StoreLoadStatus::kCannotOpen:
      return false;
    case ivi::StoreLoadStatus::kMalformed:
      // A store that cannot be loaded is no store: the session goes on without
      // it, and the reason stays readable (configuration_store_warning()).
      store_warning_ = "The IVI configuration store " + location +
                       " could not be loaded and was not used: " + error + ".";
      return false;
    case ivi::StoreLoadStatus::kLoaded:
      break;
  }
  *status = ApplyConfigStore(
      store, resource_name, options, *s, reporter(),
      [this](VirtualNameMap& names, std::string_view virtual_name, std::string_view maps_to) {
        AddVirtualName(names, virtual_name, maps_to);
      });
  return true;
}

}  // namespace motqr::driver
