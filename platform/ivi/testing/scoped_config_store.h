// ScopedConfigStore: a configuration store file for one test. It writes the
// text to a fresh file in the temporary directory, makes it this process's
// store location, and on destruction removes the file and goes back to the
// master location.
//
//   ScopedConfigStore store(R"(<IviConfigStore>...</IviConfigStore>)");
//   ... Initialize("MyLogicalName", ...)
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/ivi/config_store_location.h"

namespace motqr::ivi::testing {

class ScopedConfigStore {
 public:
  explicit ScopedConfigStore(std::string_view text) {
    static std::atomic<int> serial{0};
    path_ = (std::filesystem::temp_directory_path() / ("motqr-store-" + std::to_string(::getpid()) +
                                                       "-" + std::to_string(++serial) + ".xml"))
                .string();
    std::ofstream(path_, std::ios::binary) << text;
    SetConfigStoreProcessDefaultLocation(path_);
  }
  ~ScopedConfigStore() {
    SetConfigStoreProcessDefaultLocation("");
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  ScopedConfigStore(const ScopedConfigStore&) = delete;
  ScopedConfigStore& operator=(const ScopedConfigStore&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace motqr::ivi::testing
