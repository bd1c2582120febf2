// The output channels: the collection on the driver object, and the channel
// object's own interfaces. Protection, Pulse, Sine and IV hand out the same
// channel object through its other interfaces.
//
//   IMorvaneTqrOutputChannel* channel;
//   outputs->get_Item(name, &channel);          // "OutputChannel1" or a virtual name
//   channel->put_CurrentMode(MorvaneTqrOutputFunctionModePulse);
//   IMorvaneTqrOutputChannelPulse* pulse;
//   channel->get_Pulse(&pulse);
//   pulse->put_CurrentFrequency(100.0);
//
// Arrays are one-dimensional, zero-based SAFEARRAYs of the element type; an
// out array belongs to the caller afterwards.
#pragma once

#include <cstdint>

#include "interfaces/common.h"
#include "interfaces/enums.h"

namespace motqr {

class IMorvaneTqrOutputChannel;
class IMorvaneTqrOutputChannelProtection;
class IMorvaneTqrOutputChannelPulse;
class IMorvaneTqrOutputChannelSine;
class IMorvaneTqrOutputChannelIV;

// The output channels by name (Item) and by 1-based index (Name).
class IMorvaneTqrOutputs : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x02);
  static constexpr const char* kName = "IMorvaneTqrOutputs";
  virtual HRESULT get_Count(std::int32_t* val) = 0;
  virtual HRESULT get_Item(BSTR Name, IMorvaneTqrOutputChannel** val) = 0;
  virtual HRESULT get_Name(std::int32_t Index, BSTR* val) = 0;

 protected:
  ~IMorvaneTqrOutputs() = default;
};

class IMorvaneTqrOutputChannel : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x03);
  static constexpr const char* kName = "IMorvaneTqrOutputChannel";
  virtual HRESULT Measure(MorvaneTqrMeasurementTypeEnum MeasurementType, double* Measurement) = 0;
  virtual HRESULT Read(MorvaneTqrMeasurementTypeEnum MeasurementType, double* Measurement) = 0;
  virtual HRESULT Fetch(MorvaneTqrMeasurementTypeEnum MeasurementType, double* Measurement) = 0;
  virtual HRESULT ExecuteMSync(VARIANT_BOOL MSync) = 0;
  virtual HRESULT QueryCurrentLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryCurrentSlewRateMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryNegativeCurrentLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QuerySeamlessCurrentLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryNegativePowerLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryPowerLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QuerySeamlessPowerLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryResistanceIRMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageSlewRateMinMax(double* Min, double* Max) = 0;
  virtual HRESULT MeasureAll(com::SAFEARRAY** Measurements) = 0;
  virtual HRESULT FetchAll(com::SAFEARRAY** Measurements) = 0;
  virtual HRESULT ReadAll(com::SAFEARRAY** Measurements) = 0;
  virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_PowerOnMode(MorvaneTqrPowerOnModeEnum* val) = 0;
  virtual HRESULT put_PowerOnMode(MorvaneTqrPowerOnModeEnum val) = 0;
  virtual HRESULT get_MsyncAcceptEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_MsyncAcceptEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_Priority(MorvaneTqrOutputPriorityEnum* val) = 0;
  virtual HRESULT put_Priority(MorvaneTqrOutputPriorityEnum val) = 0;
  virtual HRESULT get_ImpedanceMode(MorvaneTqrOutputOffImpedanceModeEnum* val) = 0;
  virtual HRESULT put_ImpedanceMode(MorvaneTqrOutputOffImpedanceModeEnum val) = 0;
  virtual HRESULT get_CurrentLevel(double* val) = 0;
  virtual HRESULT put_CurrentLevel(double val) = 0;
  virtual HRESULT get_CurrentMode(MorvaneTqrOutputFunctionModeEnum* val) = 0;
  virtual HRESULT put_CurrentMode(MorvaneTqrOutputFunctionModeEnum val) = 0;
  virtual HRESULT get_CurrentResponseSpeed(MorvaneTqrResponseSpeedEnum* val) = 0;
  virtual HRESULT put_CurrentResponseSpeed(MorvaneTqrResponseSpeedEnum val) = 0;
  virtual HRESULT get_CurrentSlewRate(double* val) = 0;
  virtual HRESULT put_CurrentSlewRate(double val) = 0;
  virtual HRESULT get_NegativeCurrentLevel(double* val) = 0;
  virtual HRESULT put_NegativeCurrentLevel(double val) = 0;
  virtual HRESULT get_SeamlessCurrentLevel(double* val) = 0;
  virtual HRESULT put_SeamlessCurrentLevel(double val) = 0;
  virtual HRESULT get_NegativePowerLevel(double* val) = 0;
  virtual HRESULT put_NegativePowerLevel(double val) = 0;
  virtual HRESULT get_PowerLevel(double* val) = 0;
  virtual HRESULT put_PowerLevel(double val) = 0;
  virtual HRESULT get_PowerMode(MorvaneTqrOutputFunctionModeEnum* val) = 0;
  virtual HRESULT put_PowerMode(MorvaneTqrOutputFunctionModeEnum val) = 0;
  virtual HRESULT get_SeamlessPowerLevel(double* val) = 0;
  virtual HRESULT put_SeamlessPowerLevel(double val) = 0;
  virtual HRESULT get_IRLevel(double* val) = 0;
  virtual HRESULT put_IRLevel(double val) = 0;
  virtual HRESULT get_VoltageLevel(double* val) = 0;
  virtual HRESULT put_VoltageLevel(double val) = 0;
  virtual HRESULT get_VoltageMode(MorvaneTqrOutputFunctionModeEnum* val) = 0;
  virtual HRESULT put_VoltageMode(MorvaneTqrOutputFunctionModeEnum val) = 0;
  // "Reponse" is the published spelling of this member.
  virtual HRESULT get_VoltageReponseSpeed(MorvaneTqrResponseSpeedEnum* val) = 0;
  virtual HRESULT put_VoltageReponseSpeed(MorvaneTqrResponseSpeedEnum val) = 0;
  virtual HRESULT get_Protection(IMorvaneTqrOutputChannelProtection** val) = 0;
  virtual HRESULT get_VoltageSlewRate(double* val) = 0;
  virtual HRESULT put_VoltageSlewRate(double val) = 0;
  virtual HRESULT get_Pulse(IMorvaneTqrOutputChannelPulse** val) = 0;
  virtual HRESULT get_Sine(IMorvaneTqrOutputChannelSine** val) = 0;
  virtual HRESULT get_IV(IMorvaneTqrOutputChannelIV** val) = 0;

 protected:
  ~IMorvaneTqrOutputChannel() = default;
};

class IMorvaneTqrOutputChannelProtection : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x04);
  static constexpr const char* kName = "IMorvaneTqrOutputChannelProtection";
  virtual HRESULT Clear() = 0;
  virtual HRESULT QueryWatchdogTimeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryOCPLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryOCPGraceTimeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryNOCPLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryOPPLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryNOPPLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryLowerOVPLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryOVPLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryLineVoltageMinMax(double* Min, double* Max) = 0;
  virtual HRESULT get_RemoteSensingErrorEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_RemoteSensingErrorEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_WatchdogEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_WatchdogEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_WatchdogTime(double* val) = 0;
  virtual HRESULT put_WatchdogTime(double val) = 0;
  virtual HRESULT get_OCPLevel(double* val) = 0;
  virtual HRESULT put_OCPLevel(double val) = 0;
  virtual HRESULT get_OCPGraceTime(double* val) = 0;
  virtual HRESULT put_OCPGraceTime(double val) = 0;
  virtual HRESULT get_NOCPLevel(double* val) = 0;
  virtual HRESULT put_NOCPLevel(double val) = 0;
  virtual HRESULT get_OPPLevel(double* val) = 0;
  virtual HRESULT put_OPPLevel(double val) = 0;
  virtual HRESULT get_NOPPLevel(double* val) = 0;
  virtual HRESULT put_NOPPLevel(double val) = 0;
  virtual HRESULT get_LowerOVPLevel(double* val) = 0;
  virtual HRESULT put_LowerOVPLevel(double val) = 0;
  virtual HRESULT get_LowerOVPEnabled(VARIANT_BOOL* val) = 0;
  virtual HRESULT put_LowerOVPEnabled(VARIANT_BOOL val) = 0;
  virtual HRESULT get_OVPLevel(double* val) = 0;
  virtual HRESULT put_OVPLevel(double val) = 0;
  virtual HRESULT get_LineVoltage(double* val) = 0;
  virtual HRESULT put_LineVoltage(double val) = 0;

 protected:
  ~IMorvaneTqrOutputChannelProtection() = default;
};

class IMorvaneTqrOutputChannelPulse : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x05);
  static constexpr const char* kName = "IMorvaneTqrOutputChannelPulse";
  virtual HRESULT QueryCurrentDutyCycleMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryCurrentFrequencyMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryCurrentHighLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryCurrentLowLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageDutyCycleMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageFrequencyMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageHighLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageLowLevelMinMax(double* Min, double* Max) = 0;
  virtual HRESULT get_CurrentDutyCycle(double* val) = 0;
  virtual HRESULT put_CurrentDutyCycle(double val) = 0;
  virtual HRESULT get_CurrentFrequency(double* val) = 0;
  virtual HRESULT put_CurrentFrequency(double val) = 0;
  virtual HRESULT get_CurrentHighLevel(double* val) = 0;
  virtual HRESULT put_CurrentHighLevel(double val) = 0;
  virtual HRESULT get_CurrentLowLevel(double* val) = 0;
  virtual HRESULT put_CurrentLowLevel(double val) = 0;
  virtual HRESULT get_VoltageDutyCycle(double* val) = 0;
  virtual HRESULT put_VoltageDutyCycle(double val) = 0;
  virtual HRESULT get_VoltageFrequency(double* val) = 0;
  virtual HRESULT put_VoltageFrequency(double val) = 0;
  virtual HRESULT get_VoltageHighLevel(double* val) = 0;
  virtual HRESULT put_VoltageHighLevel(double val) = 0;
  virtual HRESULT get_VoltageLowLevel(double* val) = 0;
  virtual HRESULT put_VoltageLowLevel(double val) = 0;

 protected:
  ~IMorvaneTqrOutputChannelPulse() = default;
};

class IMorvaneTqrOutputChannelSine : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x06);
  static constexpr const char* kName = "IMorvaneTqrOutputChannelSine";
  virtual HRESULT QueryCurrentAmplitudeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryCurrentFrequencyMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryCurrentOffsetMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageAmplitudeMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageFrequencyMinMax(double* Min, double* Max) = 0;
  virtual HRESULT QueryVoltageOffsetMinMax(double* Min, double* Max) = 0;
  virtual HRESULT get_CurrentAmplitude(double* val) = 0;
  virtual HRESULT put_CurrentAmplitude(double val) = 0;
  virtual HRESULT get_CurrentFrequency(double* val) = 0;
  virtual HRESULT put_CurrentFrequency(double val) = 0;
  virtual HRESULT get_CurrentOffset(double* val) = 0;
  virtual HRESULT put_CurrentOffset(double val) = 0;
  virtual HRESULT get_VoltageAmplitude(double* val) = 0;
  virtual HRESULT put_VoltageAmplitude(double val) = 0;
  virtual HRESULT get_VoltageFrequency(double* val) = 0;
  virtual HRESULT put_VoltageFrequency(double val) = 0;
  virtual HRESULT get_VoltageOffset(double* val) = 0;
  virtual HRESULT put_VoltageOffset(double val) = 0;

 protected:
  ~IMorvaneTqrOutputChannelSine() = default;
};

// The current map (CC mode) and the voltage map (CV mode) of I-V points.
// GetCurrentIVMap and GetVoltageIVMap fill the array the caller passes in
// *Current / *Voltage, at the indexes it already has; the other out arrays
// are created by the member.
class IMorvaneTqrOutputChannelIV : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x07);
  static constexpr const char* kName = "IMorvaneTqrOutputChannelIV";
  virtual HRESULT ClearCurrentIVMap() = 0;
  virtual HRESULT SetCurrentIVMap(com::SAFEARRAY* Data) = 0;
  virtual HRESULT GetCurrentIVMap(com::SAFEARRAY** Current) = 0;
  virtual HRESULT SetCurrentIVPoint(std::int32_t Index, double Voltage, double Current) = 0;
  virtual HRESULT DeleteCurrentIVPoint(std::int32_t Index) = 0;
  virtual HRESULT InsertCurrentIVPoint(std::int32_t Index) = 0;
  virtual HRESULT GetAllCurrentIVPoints(com::SAFEARRAY** AllPoints) = 0;
  virtual HRESULT ClearVoltageIVMap() = 0;
  virtual HRESULT SetVoltageIVMap(com::SAFEARRAY* Data) = 0;
  virtual HRESULT DeleteVoltageIVPoint(std::int32_t Index) = 0;
  virtual HRESULT InsertVoltageIVPoint(std::int32_t Index) = 0;
  virtual HRESULT GetAllVoltageIVPoints(com::SAFEARRAY** AllPoints) = 0;
  virtual HRESULT GetVoltageIVMap(com::SAFEARRAY** Voltage) = 0;
  virtual HRESULT SetVoltageIVPoint(std::int32_t Index, double Voltage, double Current) = 0;
  virtual HRESULT get_CurrentIVPointCount(std::int32_t* val) = 0;
  virtual HRESULT put_CurrentIVPointCount(std::int32_t val) = 0;
  virtual HRESULT get_VoltageIVPointCount(std::int32_t* val) = 0;
  virtual HRESULT put_VoltageIVPointCount(std::int32_t val) = 0;

 protected:
  ~IMorvaneTqrOutputChannelIV() = default;
};

}  // namespace motqr
