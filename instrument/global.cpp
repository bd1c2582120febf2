#include "instrument/global.h"

namespace motqr::instrument {

HRESULT QueryInformation(driver::CallFrame& f, double* RatedVolt, double* RatedCurr,
                         double* RatedPower, BSTR* ModelName) {
  MOTQR_RETURN_IF_FAILED(f.Out(RatedVolt, "RatedVolt"));
  MOTQR_RETURN_IF_FAILED(f.Out(RatedCurr, "RatedCurr"));
  MOTQR_RETURN_IF_FAILED(f.Out(RatedPower, "RatedPower"));
  MOTQR_RETURN_IF_FAILED(f.Out(ModelName, "ModelName"));
  MOTQR_RETURN_IF_FAILED(f.Trace(
      trace::OutParameter("RatedVolt", RatedVolt), trace::OutParameter("RatedCurr", RatedCurr),
      trace::OutParameter("RatedPower", RatedPower), trace::OutParameter("ModelName", ModelName)));
  double volt = 0;
  double curr = 0;
  double power = 0;
  com::Bstr model;
  // Handed out once read (a failed status poll after the reply included).
  bool read = false;
  const HRESULT hr = driver::RunQuery(
      f, kQueryInformation, driver::Args(), &read, driver::Out<double>{&volt, "RatedVolt"},
      driver::Out<double>{&curr, "RatedCurr"}, driver::Out<double>{&power, "RatedPower"},
      driver::Out<BSTR>{model.Put(), "ModelName"});
  if (!read) return hr;
  *RatedVolt = volt;
  *RatedCurr = curr;
  *RatedPower = power;
  *ModelName = model.Detach();
  return hr;
}

HRESULT QueryVerifyChannel(driver::CallFrame& f, com::SAFEARRAY** ChannelList) {
  MOTQR_RETURN_IF_FAILED(f.Out(ChannelList, "ChannelList"));
  MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("ChannelList", ChannelList)));
  com::SafeArray channels;
  bool read = false;
  const HRESULT hr = driver::RunQuery(f, kQueryVerifyChannel, driver::Args(), &read,
                                      driver::Out<com::SAFEARRAY*>{channels.Put(), "ChannelList"});
  if (!read) return hr;
  *ChannelList = channels.Detach();
  return hr;
}

}  // namespace motqr::instrument
