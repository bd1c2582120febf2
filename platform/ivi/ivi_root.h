// The IVI standard root directory: where the IVI shared components keep their
// files (the configuration store, per-company component folders, trace files).
//
// On Linux it is read from one fixed system file, kIviRootConfigFile
// ("/etc/ivi/IviStandardRootDir"), that holds the directory path as its text:
//
//   $ cat /etc/ivi/IviStandardRootDir
//   /opt/ivi
//
// Trailing white space (the newline an editor adds) is dropped; nothing is
// expanded. A missing or unreadable file, an empty value, a value with a
// second non-blank line or a zero byte, or one longer than kIviRootDirMaxLength
// bytes gives the empty string: callers treat "" as "no IVI root". Nothing is
// read from environment variables.
//
// API:
//   std::string IviStandardRootDir();
//       the override when one is set, else ReadIviStandardRootDir(kIviRootConfigFile).
//   std::string ReadIviStandardRootDir(const std::string& config_file);
//       the same rules applied to any file (the fixed file in production).
//   void SetIviStandardRootDirForTesting(std::optional<std::string> root);
//       an in-process override for tests; std::nullopt goes back to the file.
//
//   ivi::SetIviStandardRootDirForTesting(temp_dir);   // in a test fixture
//   std::string root = ivi::IviStandardRootDir();     // temp_dir
//   ivi::SetIviStandardRootDirForTesting(std::nullopt);
//
// All functions are thread-safe; the file is read on every call (callers ask
// once per session, not per operation).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace motqr::ivi {

inline constexpr const char* kIviRootConfigFile = "/etc/ivi/IviStandardRootDir";
// The registry value this file stands in for holds at most 260 bytes with its
// terminator.
inline constexpr std::size_t kIviRootDirMaxLength = 259;

std::string IviStandardRootDir();
std::string ReadIviStandardRootDir(const std::string& config_file);
void SetIviStandardRootDirForTesting(std::optional<std::string> root);

}  // namespace motqr::ivi
