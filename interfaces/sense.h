// The measurement aperture.
#pragma once

#include "interfaces/common.h"

namespace motqr {

class IMorvaneTqrSense : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x0F);
  static constexpr const char* kName = "IMorvaneTqrSense";
  virtual HRESULT QueryApertureTimeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT get_ApertureTime(double* val) = 0;
  virtual HRESULT put_ApertureTime(double val) = 0;

 protected:
  ~IMorvaneTqrSense() = default;
};

}  // namespace motqr
