// Status: how a command ended, and the exit code the tool returns for it.
//
//   MOTQR_CLI_TRY(Check(channel->put_VoltageLevel(5.0), "output.voltage-level"));
//   return Status::Usage("unknown property 'x'");
//
// Exit codes: 0 success, 1 the driver or the instrument reported a failure
// (the message is the driver's), 2 the command line was wrong.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/com/types.h"

namespace motqr::cli {

class [[nodiscard]] Status {
 public:
  static constexpr int kFailureExit = 1;
  static constexpr int kUsageExit = 2;

  static Status Ok() { return Status(0, {}, 0); }
  static Status Usage(std::string message) { return Status(kUsageExit, std::move(message), 0); }
  static Status Failed(std::string message, com::HRESULT code = 0) {
    return Status(kFailureExit, std::move(message), code);
  }

  bool ok() const { return exit_code_ == 0; }
  int exit_code() const { return exit_code_; }
  const std::string& message() const { return message_; }
  // The driver's status code when the driver reported the failure, else 0.
  com::HRESULT code() const { return code_; }

 private:
  Status(int exit_code, std::string message, com::HRESULT code)
      : exit_code_(exit_code), message_(std::move(message)), code_(code) {}

  int exit_code_;
  std::string message_;
  com::HRESULT code_;
};

// Success for any non-negative status (warnings included). A failure takes the
// calling thread's error object: "<what>: <the driver's message>".
Status Check(com::HRESULT hr, std::string_view what);

#define MOTQR_CLI_TRY(expr)                                                   \
  do {                                                                        \
    if (::motqr::cli::Status status_ = (expr); !status_.ok()) return status_; \
  } while (false)

}  // namespace motqr::cli
