// motqr find: the instruments reachable from here, with their "*IDN?" answers; the TQR
// supplies this driver drives are marked. Bounded by --timeout (default 2000 ms).
#include "component/find_instruments.hpp"
#include "tools/command.h"

namespace motqr::cli {
namespace {

constexpr std::int32_t kDefaultFindTimeoutMs = 2000;

}  // namespace

Status RunFind(Context& c) {
  if (!c.args().empty()) return Status::Usage("find takes no arguments (bound it with --timeout)");
  const std::int32_t timeout_ms = c.options().timeout_ms.value_or(kDefaultFindTimeoutMs);
  std::vector<std::vector<Scalar>> rows;
  for (const FoundInstrument& found : FindInstruments(timeout_ms)) {
    rows.push_back({Scalar::Text(found.resource), Scalar::Boolean(found.supported),
                    Scalar::Text(found.identity)});
  }
  c.out().Table("instruments", {"resource", "supported", "identity"}, std::move(rows));
  return Status::Ok();
}

}  // namespace motqr::cli
