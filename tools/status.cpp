#include "tools/status.h"

#include <cstdint>
#include <cstdio>

#include "platform/com/error_info.h"

namespace motqr::cli {

Status Check(com::HRESULT hr, std::string_view what) {
  com::ErrorRecord error;
  const bool has_error = com::TakeErrorInfo(&error);  // a warning leaves one too: drop it
  if (com::Succeeded(hr)) return Status::Ok();
  std::string message(what);
  message += ": ";
  if (has_error && !error.description.empty()) {
    message += error.description;
  } else {
    char code[32];
    std::snprintf(code, sizeof code, "failed with status 0x%08X", static_cast<unsigned>(hr));
    message += code;
  }
  return Status::Failed(std::move(message), hr);
}

std::uint32_t CStatusOf(com::HRESULT hr) {
  const auto code = static_cast<std::uint32_t>(hr);
  const std::uint32_t low = code & 0xFFFFu;
  const auto in = [low](std::uint32_t first, std::uint32_t last) {
    return low >= first && low <= last;
  };
  if (code == 0) return 0;
  if ((code & 0xFFFF0000u) == 0x80040000u) {
    // The driver's own I/O errors, the IVI errors and the class error.
    if (in(0x4214, 0x4216) || low == 0x1001 || in(0x7000, 0x7004) || low == 0x700B ||
        in(0x7010, 0x7013) || low == 0x701D || low == 0x7020 || low == 0x7023 || low == 0x7044 ||
        in(0x7049, 0x704C) || in(0x7056, 0x7059) || in(0x705B, 0x7067))
      return 0xBFFA0000u | (low >= 0x7000 ? low - 0x7000 : low);
  }
  if ((code & 0xFFFF0000u) == 0x00040000u && in(0x7065, 0x7069))
    return 0x3FFA0000u | (low - 0x7000);
  return (code & 0x80000000u) ? 0x80000000u : code;
}

}  // namespace motqr::cli
