#include "instrument/program.h"

#include <span>

namespace motqr::instrument {

com::HRESULT QueryQuotedName(driver::CallFrame& f, const driver::MethodRow& row, BSTR* name) {
  driver::detail::StackedCommand stacked(f.node(), row.command, row.reply);
  const io::ScanArg target(std::span<BSTR>(name, 1));
  return driver::ExecuteQuery(f, io::ScanArgs(&target, 1));
}

}  // namespace motqr::instrument
