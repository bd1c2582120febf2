// The IviDCPwr class interfaces, with the member order, types and identifiers
// the IVI Foundation publishes. Unlike the inherent interfaces, these declare a
// property's setter before its getter.
//
//   IIviDCPwrOutputs* outputs;  driver->get_Outputs(&outputs);
//   IIviDCPwrOutput* output;    outputs->get_Item(name, &output);
//   output->put_VoltageLevel(5.0);
#pragma once

#include <cstdint>

#include "interfaces/common.h"
#include "interfaces/enums.h"
#include "interfaces/ivi_driver.h"

namespace motqr {

class IIviDCPwrOutputs;
class IIviDCPwrOutput;
class IIviDCPwrTrigger;

class IIviDCPwr : public IIviDriver {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED51B6);
  static constexpr const char* kName = "IIviDCPwr";
  virtual HRESULT get_Outputs(IIviDCPwrOutputs** val) = 0;
  virtual HRESULT get_Trigger(IIviDCPwrTrigger** val) = 0;

 protected:
  ~IIviDCPwr() = default;
};

// The output channels by name (Item) and by 1-based index (Name).
class IIviDCPwrOutputs : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED51B7);
  static constexpr const char* kName = "IIviDCPwrOutputs";
  virtual HRESULT get_Item(BSTR Name, IIviDCPwrOutput** val) = 0;
  virtual HRESULT get_Count(std::int32_t* val) = 0;
  virtual HRESULT get_Name(std::int32_t Index, BSTR* val) = 0;

 protected:
  ~IIviDCPwrOutputs() = default;
};

class IIviDCPwrOutput : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED51B8);
  static constexpr const char* kName = "IIviDCPwrOutput";
  virtual HRESULT ConfigureCurrentLimit(IviDCPwrCurrentLimitBehaviorEnum Behavior,
                                        double Limit) = 0;
  virtual HRESULT ConfigureRange(IviDCPwrRangeTypeEnum RangeType, double Range) = 0;
  virtual HRESULT ConfigureOVP(VARIANT_BOOL Enabled, double Limit) = 0;
  virtual HRESULT Measure(IviDCPwrMeasurementTypeEnum MeasurementType, double* Measurement) = 0;
  virtual HRESULT QueryCurrentLimitMax(double VoltageLevel, double* MaxCurrentLimit) = 0;
  virtual HRESULT QueryState(IviDCPwrOutputStateEnum OutputState, VARIANT_BOOL* InState) = 0;
  virtual HRESULT QueryVoltageLevelMax(double CurrentLimit, double* MaxVoltageLevel) = 0;
  virtual HRESULT ResetOutputProtection() = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_TriggerSource(IviDCPwrTriggerSourceEnum val) = 0;
  virtual HRESULT get_TriggerSource(IviDCPwrTriggerSourceEnum* val) = 0;
  virtual HRESULT put_TriggeredCurrentLimit(double val) = 0;
  virtual HRESULT get_TriggeredCurrentLimit(double* val) = 0;
  virtual HRESULT put_TriggeredVoltageLevel(double val) = 0;
  virtual HRESULT get_TriggeredVoltageLevel(double* val) = 0;
  virtual HRESULT put_VoltageLevel(double val) = 0;
  virtual HRESULT get_VoltageLevel(double* val) = 0;
  virtual HRESULT put_CurrentLimit(double val) = 0;
  virtual HRESULT get_CurrentLimit(double* val) = 0;
  virtual HRESULT put_CurrentLimitBehavior(IviDCPwrCurrentLimitBehaviorEnum val) = 0;
  virtual HRESULT get_CurrentLimitBehavior(IviDCPwrCurrentLimitBehaviorEnum* val) = 0;
  virtual HRESULT put_OVPLimit(double val) = 0;
  virtual HRESULT get_OVPLimit(double* val) = 0;
  virtual HRESULT put_OVPEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_OVPEnabled(VARIANT_BOOL* val) = 0;

 protected:
  ~IIviDCPwrOutput() = default;
};

class IIviDCPwrTrigger : public com::IUnknown {
 public:
  static constexpr com::IID kIid = IviIid(0x47ED51B9);
  static constexpr const char* kName = "IIviDCPwrTrigger";
  virtual HRESULT Abort() = 0;
  virtual HRESULT Initiate() = 0;
  virtual HRESULT SendSoftwareTrigger() = 0;

 protected:
  ~IIviDCPwrTrigger() = default;
};

}  // namespace motqr
