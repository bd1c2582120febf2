#include "platform/ivi/text_result.h"

#include <cstring>
#include <limits>

namespace motqr::ivi {

std::int32_t CopyTextResult(std::string_view text, std::int32_t buffer_size, char* buffer) {
  constexpr std::size_t kMaxStatus = std::numeric_limits<std::int32_t>::max();
  const std::int32_t needed = text.size() >= kMaxStatus
                                  ? std::numeric_limits<std::int32_t>::max()
                                  : static_cast<std::int32_t>(text.size() + 1);
  if (buffer == nullptr || buffer_size == 0) return needed;
  if (buffer_size < 0 || static_cast<std::size_t>(buffer_size) > text.size()) {
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return 0;
  }
  const auto kept = static_cast<std::size_t>(buffer_size - 1);
  std::memcpy(buffer, text.data(), kept);
  buffer[kept] = '\0';
  return needed;
}

}  // namespace motqr::ivi
