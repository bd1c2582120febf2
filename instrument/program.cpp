#include "instrument/program.h"

#include <span>

namespace motqr::instrument {

com::HRESULT QueryQuotedName(driver::CallFrame& f, const driver::MethodRow& row, BSTR* name) {
  driver::detail::StackedCommand stacked(f.node(), row.command, row.reply);
  // The name is handed out only when the whole exchange succeeded.
  com::Bstr read;
  const io::ScanArg target(std::span<BSTR>(read.Put(), 1));
  const com::HRESULT hr = driver::ExecuteQuery(f, io::ScanArgs(&target, 1));
  if (com::Succeeded(hr)) {
    com::SysFreeString(*name);
    *name = read.Detach();
  }
  return hr;
}

}  // namespace motqr::instrument
