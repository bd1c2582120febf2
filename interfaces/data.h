// Integration of the measured values (capacity, energy) and its gate.
#pragma once

#include <cstdint>

#include "interfaces/common.h"
#include "interfaces/enums.h"

namespace motqr {

class IMorvaneTqrData : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x0D);
  static constexpr const char* kName = "IMorvaneTqrData";
  virtual HRESULT ResetIntegralData() = 0;
  virtual HRESULT ConfigureIntegralGateResetMethod(
      MorvaneTqrDataIntegralGateResetMethodEnum Method) = 0;
  virtual HRESULT ConfigureIntegralGateStartStopCondition(
      MorvaneTqrDataIntegralGateStartStopConditionEnum Condition) = 0;
  virtual HRESULT QueryIntegralGateResetMethod(
      MorvaneTqrDataIntegralGateResetMethodEnum* Method) = 0;
  virtual HRESULT QueryIntegralGateStartStopCondition(
      MorvaneTqrDataIntegralGateStartStopConditionEnum* Condition) = 0;
  virtual HRESULT StartIntegral() = 0;
  virtual HRESULT StopIntegral() = 0;
  virtual HRESULT RemoveIntegralData(std::int32_t Count, com::SAFEARRAY** Data) = 0;
  virtual HRESULT QueryIntegralDataRemainPoints(std::int32_t* Count) = 0;

 protected:
  ~IMorvaneTqrData() = default;
};

}  // namespace motqr
