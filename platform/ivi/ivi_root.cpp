#include "platform/ivi/ivi_root.h"

#include <fstream>
#include <mutex>
#include <string_view>
#include <utility>

namespace motqr::ivi {
namespace {

std::mutex& OverrideMutex() {
  static std::mutex mutex;
  return mutex;
}

std::optional<std::string>& Override() {
  static std::optional<std::string> root;
  return root;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string ReadIviStandardRootDir(const std::string& config_file) {
  std::ifstream in(config_file, std::ios::binary);
  if (!in) return {};
  // One byte more than any valid file (value plus a generous tail of blanks)
  // tells a too-long value apart without reading an unbounded file.
  constexpr std::size_t kReadLimit = kIviRootDirMaxLength + 64;
  std::string text(kReadLimit + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > kReadLimit) return {};
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  if (text.empty() || text.size() > kIviRootDirMaxLength) return {};
  if (text.find_first_of(std::string_view("\0\n\r", 3)) != std::string::npos) return {};
  return text;
}

std::string IviStandardRootDir() {
  {
    std::lock_guard lock(OverrideMutex());
    if (Override()) return *Override();
  }
  return ReadIviStandardRootDir(kIviRootConfigFile);
}

void SetIviStandardRootDirForTesting(std::optional<std::string> root) {
  std::lock_guard lock(OverrideMutex());
  Override() = std::move(root);
}

}  // namespace motqr::ivi
