// Driver-wide operations on the outputs of a multichannel domain: switch them
// on and off together, choose the channel being configured (Activate), read
// the rated values.
#pragma once

#include <cstdint>

#include "interfaces/common.h"

namespace motqr {

class IMorvaneTqrGlobal : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x14);
  static constexpr const char* kName = "IMorvaneTqrGlobal";
  virtual HRESULT ConfigureEnabled(VARIANT_BOOL Enabled) = 0;
  virtual HRESULT QueryInformation(double* RatedVolt, double* RatedCurr, double* RatedPower,
                                   BSTR* ModelName) = 0;
  virtual HRESULT QueryVerifyChannel(com::SAFEARRAY** ChannelList) = 0;
  virtual HRESULT get_Activate(std::int32_t* val) = 0;
  virtual HRESULT put_Activate(std::int32_t val) = 0;

 protected:
  ~IMorvaneTqrGlobal() = default;
};

}  // namespace motqr
