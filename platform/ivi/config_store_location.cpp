#include "platform/ivi/config_store_location.h"

#include <mutex>

#include "platform/ivi/ivi_root.h"

namespace motqr::ivi {
namespace {

std::mutex& LocationMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& ProcessDefaultLocation() {
  static std::string location;
  return location;
}

}  // namespace

void SetConfigStoreProcessDefaultLocation(std::string_view location) {
  std::lock_guard lock(LocationMutex());
  ProcessDefaultLocation() = std::string(location);
}

std::string ConfigStoreProcessDefaultLocation() {
  std::lock_guard lock(LocationMutex());
  return ProcessDefaultLocation();
}

std::string ConfigStoreMasterLocation() {
  std::string root = IviStandardRootDir();
  if (root.empty()) return {};
  if (root.back() != '/') root += '/';
  return root + std::string(kMasterStoreRelativePath);
}

std::string ConfigStoreLocation() {
  std::string location = ConfigStoreProcessDefaultLocation();
  return location.empty() ? ConfigStoreMasterLocation() : location;
}

}  // namespace motqr::ivi
