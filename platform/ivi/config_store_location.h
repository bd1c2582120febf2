// Where the IVI configuration store file lies.
//
// A process may name its own store (the process-default location); without
// one the master store under the IVI standard root directory is used:
//
//   <IVI root>/Data/IviConfigurationStore.xml
//
// (the root is read from /etc/ivi/IviStandardRootDir, see ivi_root.h). With
// neither, there is no store, which the driver treats like a store that cannot
// be opened: resource names are used as given.
//
//   #include "platform/ivi/config_store_location.h"   // libmotqr.so exports these
//   motqr::ivi::SetConfigStoreProcessDefaultLocation("/home/me/ivi-store.xml");
//   ... Initialize("MyPsu", ...)   // a logical name from that store
//   motqr::ivi::SetConfigStoreProcessDefaultLocation("");   // back to the master store
//
// All functions are thread-safe; the location is read again at every Initialize.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

namespace motqr::ivi {

// The master store's path below the IVI root directory.
inline constexpr std::string_view kMasterStoreRelativePath = "Data/IviConfigurationStore.xml";

// Sets this process's store location; empty goes back to the master store.
MOTQR_EXPORT void SetConfigStoreProcessDefaultLocation(std::string_view location);
MOTQR_EXPORT std::string ConfigStoreProcessDefaultLocation();
// The master store under the IVI root, or empty when there is no IVI root.
std::string ConfigStoreMasterLocation();
// The store to load: the process-default location, else the master location
// (empty: none).
std::string ConfigStoreLocation();

}  // namespace motqr::ivi
