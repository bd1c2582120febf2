// Status: how a command ended, and the exit code the tool returns for it.
//
//   MOTQR_CLI_TRY(Check(channel->put_VoltageLevel(5.0), "output.voltage-level"));
//   return Status::Usage("unknown property 'x'");
//
// Exit codes: 0 done, 1 the driver or the instrument failed (the message is
// the driver's), 2 the command line or an input file was wrong, 130 stopped by
// Ctrl-C.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/types.h"

namespace motqr::cli {

// One entry of the instrument's error queue.
struct InstrumentError {
  int code = 0;
  std::string message;
};

class [[nodiscard]] Status {
 public:
  static constexpr int kFailureExit = 1;
  static constexpr int kUsageExit = 2;
  static constexpr int kInterruptedExit = 130;

  static Status Ok() { return Status(0, {}, 0); }
  static Status Usage(std::string message) { return Status(kUsageExit, std::move(message), 0); }
  static Status Failed(std::string message, com::HRESULT code = 0) {
    return Status(kFailureExit, std::move(message), code);
  }

  static Status Interrupted(std::string message) {
    return Status(kInterruptedExit, std::move(message), 0);
  }

  bool ok() const { return exit_code_ == 0; }
  int exit_code() const { return exit_code_; }
  const std::string& message() const { return message_; }
  // The driver's status code when the driver reported the failure, else 0.
  com::HRESULT code() const { return code_; }
  // The same failure with more words, or with the instrument's errors.
  Status WithMessage(std::string message) const {
    Status s = *this;
    s.message_ = std::move(message);
    return s;
  }
  const std::vector<InstrumentError>& instrument_errors() const { return instrument_errors_; }
  void set_instrument_errors(std::vector<InstrumentError> errors) {
    instrument_errors_ = std::move(errors);
  }

 private:
  Status(int exit_code, std::string message, com::HRESULT code)
      : exit_code_(exit_code), message_(std::move(message)), code_(code) {}

  int exit_code_;
  std::string message_;
  com::HRESULT code_;
  std::vector<InstrumentError> instrument_errors_;
};

// The status the C interface returns for a driver result (its docs and
// motqr_GetError use it): the driver's own results keep their low 16 bits
// under 0xBFFA (errors) or 0x3FFA (warnings); other failures are 0x80000000.
std::uint32_t CStatusOf(com::HRESULT hr);

// Success for any non-negative status (warnings included). A failure takes the
// calling thread's error object: "<what>: <the driver's message>".
Status Check(com::HRESULT hr, std::string_view what);

#define MOTQR_CLI_TRY(expr)                                                   \
  do {                                                                        \
    if (::motqr::cli::Status status_ = (expr); !status_.ok()) return status_; \
  } while (false)

}  // namespace motqr::cli
