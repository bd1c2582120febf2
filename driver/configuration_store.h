// The configuration-store part of Initialize: a resource name that the store
// knows as a logical name (or driver session name) takes its resource
// descriptor, operation flags, driver setup, configurable initial settings and
// virtual channel names from that session; the option string then overrides.
// Any other resource name is used as given, with the initial settings of the
// driver's software module ("motqr").
//
// Precedence, weakest first: defaults, the store's session, the option string
// (whose driver setup part replaces the store's).
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "driver/options.h"
#include "errors/error_reporter.h"
#include "platform/ivi/config_store.h"

namespace motqr::driver {

// Adds one virtual channel name of the session to the map.
using VirtualNameSink = std::function<void(VirtualNameMap& names, std::string_view virtual_name,
                                           std::string_view maps_to)>;

// The session's resource descriptor, six flags and driver setup string.
HRESULT LoadDriverConfiguration(const ivi::DriverSession* session, SessionSettings& s,
                                errors::IErrorReporter& reporter);
// The members of the "Configurable Initial Settings" structure among
// `components`, by name; a setting named "model" sets the instrument model.
// `parameter` names the source in the error for a null one.
HRESULT LoadConfigurableInitialSettings(const std::vector<ivi::DataComponent>* components,
                                        std::string_view parameter, SessionSettings& s,
                                        errors::IErrorReporter& reporter);
// Applies `store` for `resource_name`, then the option string `options`.
HRESULT ApplyConfigStore(const ivi::ConfigStore& store, std::string_view resource_name,
                         std::string_view options, SessionSettings& s,
                         errors::IErrorReporter& reporter, const VirtualNameSink& add_virtual_name);

}  // namespace motqr::driver
