#include "instrument/data.h"

namespace motqr::instrument {

HRESULT RemoveIntegralData(driver::CallFrame& f, std::int32_t Count, com::SAFEARRAY** Data) {
  if (!Data) return f.reporter().NullPointerCurrent("Data");
  MOTQR_RETURN_IF_FAILED(
      f.Trace(trace::InParameter("Count", Count), trace::OutParameter("Data", Data)));
  com::SafeArray values;
  const HRESULT hr = driver::RunMethod(f, kRemoveIntegralData, driver::Args(Count),
                                       driver::Out<com::SAFEARRAY*>{values.Put(), "Data"});
  if (com::Failed(hr)) return hr;
  if (*Data) com::SafeArrayDestroy(*Data);
  *Data = values.Detach();
  return hr;
}

}  // namespace motqr::instrument
