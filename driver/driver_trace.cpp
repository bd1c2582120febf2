#include "driver/driver_trace.h"

#include <string>

#include "driver/driver.h"
#include "driver/identity.h"

namespace motqr::driver {

com::HRESULT ReportTraceFailure(CDriver& driver, std::error_code ec) {
  constexpr std::uint32_t kSystemFacility = 0x80070000u;
  const auto code =
      com::MakeHresult(kSystemFacility | (static_cast<std::uint32_t>(ec.value()) & 0xFFFFu));
  return driver.reporter().ReportErrorText(
      code, ec.message() + " (trace file '" + driver.trace().file_path() + "')");
}

HRESULT CDriver::StartTrace() {
  const TraceSettings& t = settings_.trace;
  const trace::TraceOptions options{t.name,           t.size_max,      t.array,
                                    t.array_size_max, t.save_interval, t.transform};
  std::error_code ec =
      trace_.Start(t.enabled, options, DriverConstants::kIdentifier, DriverConstants::kVendor);
  return ec ? ReportTraceFailure(*this, ec) : com::S_OK;
}

void CDriver::EndTraceWithSession() {
  trace_.SessionClosing();
  settings_.trace.enabled = false;  // the next session traces only if it asks to
}

}  // namespace motqr::driver
