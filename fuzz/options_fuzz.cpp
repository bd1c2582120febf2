// libFuzzer target: option strings and driver setup strings as Initialize
// receives them. Every string is processed or refused with a report, never a
// crash; name/value pairs never reach across a comma.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "driver/options.h"
#include "io/testing/recording_error_reporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  using motqr::driver::SessionSettings;
  {
    SessionSettings settings;
    motqr::io::testing::RecordingErrorReporter reporter;
    const auto hr = motqr::driver::ProcessOptionString(text, settings, reporter);
    if (motqr::com::Failed(hr) && reporter.LastKind().empty()) std::abort();  // unexplained
  }
  {
    SessionSettings settings;
    motqr::io::testing::RecordingErrorReporter reporter;
    const auto hr = motqr::driver::ProcessDriverSetup(text, settings, reporter);
    if (motqr::com::Failed(hr) && reporter.LastKind().empty()) std::abort();
  }
  for (const auto& [name, value] : motqr::driver::ParseOptionPairs(text)) {
    if (name.find(',') != std::string::npos) std::abort();  // pairs never span a comma
    (void)motqr::driver::ParseBooleanWord(value);
  }
  (void)motqr::driver::DecimalPrefix(text);
  return 0;
}
