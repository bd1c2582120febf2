// The result of a transport operation: a VISA completion or error code plus a readable text.
//
//   motqr::visa::Status status = transport.Write(bytes, /*end=*/true, &written);
//   if (!status.ok()) log(status.message());
#pragma once

#include <string>
#include <string_view>

#include "platform/visa/visa_types.h"

namespace motqr::visa {

class [[nodiscard]] Status {
 public:
  Status() = default;
  // A success or warning code; its text is the standard description.
  explicit Status(ViStatus code) : code_(code) {}
  Status(ViStatus code, std::string message) : code_(code), message_(std::move(message)) {}

  ViStatus code() const { return code_; }
  bool ok() const { return code_ >= VI_SUCCESS; }
  // The specific text given at the failure, else the standard description of the code.
  std::string message() const;

 private:
  ViStatus code_ = VI_SUCCESS;
  std::string message_;
};

// The standard description of a VISA completion or error code ("Timeout expired before
// operation completed." for VI_ERROR_TMO); "Unknown VISA status code 0x...." otherwise.
std::string StatusDescription(ViStatus code);

// The operating system's text for errno value `error` (thread-safe).
std::string OsErrorText(int error);

#define MOTQR_VISA_RETURN_IF_ERROR(expr)    \
  do {                                      \
    ::motqr::visa::Status status_ = (expr); \
    if (!status_.ok()) return status_;      \
  } while (false)

}  // namespace motqr::visa
