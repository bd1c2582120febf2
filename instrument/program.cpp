#include "instrument/program.h"

#include <span>

namespace motqr::instrument {

com::HRESULT QueryQuotedName(driver::CallFrame& f, const driver::MethodRow& row, BSTR* name) {
  driver::detail::StackedCommand stacked(f.node(), row.command, row.reply);
  // The name is handed out once the reply was read, even when the status
  // poll after it failed; a failed exchange leaves nothing to free.
  com::Bstr held;
  const io::ScanArg target(std::span<BSTR>(held.Put(), 1));
  bool read = false;
  const com::HRESULT hr = driver::ExecuteQuery(f, io::ScanArgs(&target, 1), &read);
  if (read) {
    com::SysFreeString(*name);
    *name = held.Detach();
  }
  return hr;
}

}  // namespace motqr::instrument
