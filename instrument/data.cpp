#include "instrument/data.h"

namespace motqr::instrument {

HRESULT RemoveIntegralData(driver::CallFrame& f, std::int32_t Count, com::SAFEARRAY** Data) {
  if (!Data) return f.reporter().NullPointerCurrent("Data");
  MOTQR_RETURN_IF_FAILED(
      f.Trace(trace::InParameter("Count", Count), trace::OutParameter("Data", Data)));
  // Handed out once read (a failed status poll after the reply included).
  com::SafeArray values;
  bool read = false;
  const HRESULT hr = driver::RunQuery(f, kRemoveIntegralData, driver::Args(Count), &read,
                                      driver::Out<com::SAFEARRAY*>{values.Put(), "Data"});
  if (!read) return hr;
  if (*Data) com::SafeArrayDestroy(*Data);
  *Data = values.Detach();
  return hr;
}

}  // namespace motqr::instrument
