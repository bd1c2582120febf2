// The acquire (measurement) and transient (program) trigger systems.
//
//   trigger->put_AcquireTriggerSource(MorvaneTqrAcquireTriggerSourceBus);
//   trigger->Initiate(MorvaneTqrTriggerSystemAcquire);
//   trigger->SendSoftwareTrigger();
#pragma once

#include <cstdint>

#include "interfaces/common.h"
#include "interfaces/enums.h"

namespace motqr {

class IMorvaneTqrTrigger : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x13);
  static constexpr const char* kName = "IMorvaneTqrTrigger";
  virtual HRESULT QueryAcquireTriggerDelayMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryAcquireIntervalMinMax(double* Min, double* Max) = 0;
  virtual HRESULT Initiate(MorvaneTqrTriggerSystemEnum TriggerSystem) = 0;
  virtual HRESULT SendSoftwareTrigger() = 0;
  virtual HRESULT PauseTransient() = 0;
  virtual HRESULT ResumeTransient() = 0;
  virtual HRESULT QueryTransientInfo(MorvaneTqrTransientStateEnum* State, BSTR* ProgramName,
                                     std::int32_t* StepNumber, std::int32_t* LoopNumber) = 0;
  virtual HRESULT Abort(MorvaneTqrTriggerSystemEnum TriggerSystem) = 0;
  virtual HRESULT QueryAcquireTriggerCountMinMax(std::int32_t* Min, std::int32_t* Max) = 0;
  virtual HRESULT get_AcquireTriggerSource(MorvaneTqrAcquireTriggerSourceEnum* val) = 0;
  virtual HRESULT put_AcquireTriggerSource(MorvaneTqrAcquireTriggerSourceEnum val) = 0;
  virtual HRESULT get_AcquireTriggerCount(std::int32_t* val) = 0;
  virtual HRESULT put_AcquireTriggerCount(std::int32_t val) = 0;
  virtual HRESULT get_AcquireTriggerDelay(double* val) = 0;
  virtual HRESULT put_AcquireTriggerDelay(double val) = 0;
  virtual HRESULT get_AcquireIntervalEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_AcquireIntervalEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_AcquireInterval(double* val) = 0;
  virtual HRESULT put_AcquireInterval(double val) = 0;
  virtual HRESULT get_TransientTriggerSource(MorvaneTqrTransientTriggerSourceEnum* val) = 0;
  virtual HRESULT put_TransientTriggerSource(MorvaneTqrTransientTriggerSourceEnum val) = 0;

 protected:
  ~IMorvaneTqrTrigger() = default;
};

}  // namespace motqr
