#include "tools/status.h"

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

}  // namespace motqr::cli
