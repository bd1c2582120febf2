// The operations of an output channel: the IviDCPwr output, the channel's own
// interface and its Protection, Pulse, Sine and IV interfaces. Functions that
// set or act run on every channel the selector names; functions that return a
// value use the first.
#include "capi/operation_shapes.h"

using namespace motqr;
using namespace motqr::capi;

namespace {

using Output = IIviDCPwrOutput;
using Channel = IMorvaneTqrOutputChannel;
using Protection = IMorvaneTqrOutputChannelProtection;
using Pulse = IMorvaneTqrOutputChannelPulse;
using Sine = IMorvaneTqrOutputChannelSine;
using IV = IMorvaneTqrOutputChannelIV;

template <class E>
E Enum(ViInt32 value) {
  return static_cast<E>(value);
}

}  // namespace

// ---- IviDCPwr output ----------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_ConfigureCurrentLimit(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 Behavior, ViReal64 Limit) {
  return OnEveryChannel<Output>(vi, ChannelName, [&](Output& o) {
    return o.ConfigureCurrentLimit(Enum<IviDCPwrCurrentLimitBehaviorEnum>(Behavior), Limit);
  });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureOutputRange(ViSession vi, ViConstString ChannelName,
                                                   ViInt32 RangeType, ViReal64 Range) {
  return OnEveryChannel<Output>(vi, ChannelName, [&](Output& o) {
    return o.ConfigureRange(Enum<IviDCPwrRangeTypeEnum>(RangeType), Range);
  });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureOVP(ViSession vi, ViConstString ChannelName,
                                           ViBoolean Enabled, ViReal64 Limit) {
  return OnEveryChannel<Output>(
      vi, ChannelName, [&](Output& o) { return o.ConfigureOVP(ToVariantBool(Enabled), Limit); });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureOutputEnabled(ViSession vi, ViConstString ChannelName,
                                                     ViBoolean Enabled) {
  return OnEveryChannel<Output>(vi, ChannelName,
                                [&](Output& o) { return o.put_Enabled(ToVariantBool(Enabled)); });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureVoltageLevel(ViSession vi, ViConstString ChannelName,
                                                    ViReal64 Level) {
  return OnEveryChannel<Output>(vi, ChannelName,
                                [&](Output& o) { return o.put_VoltageLevel(Level); });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureTriggerSource(ViSession vi, ViConstString ChannelName,
                                                     ViInt32 Source) {
  return OnEveryChannel<Output>(vi, ChannelName, [&](Output& o) {
    return o.put_TriggerSource(Enum<IviDCPwrTriggerSourceEnum>(Source));
  });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureTriggeredCurrentLimit(ViSession vi,
                                                             ViConstString ChannelName,
                                                             ViReal64 Limit) {
  return OnEveryChannel<Output>(vi, ChannelName,
                                [&](Output& o) { return o.put_TriggeredCurrentLimit(Limit); });
}

MOTQR_C_EXPORT ViStatus motqr_ConfigureTriggeredVoltageLevel(ViSession vi,
                                                             ViConstString ChannelName,
                                                             ViReal64 Level) {
  return OnEveryChannel<Output>(vi, ChannelName,
                                [&](Output& o) { return o.put_TriggeredVoltageLevel(Level); });
}

MOTQR_C_EXPORT ViStatus motqr_ResetOutputProtection(ViSession vi, ViConstString ChannelName) {
  return OnEveryChannel<Output>(vi, ChannelName,
                                [](Output& o) { return o.ResetOutputProtection(); });
}

MOTQR_C_EXPORT ViStatus motqr_Measure(ViSession vi, ViConstString ChannelName,
                                      ViInt32 MeasurementType, ViReal64* Measurement) {
  return ChannelValue<Output, double>(
      vi, ChannelName, Measurement, "Measurement", [&](Output& o, double* v) {
        return o.Measure(Enum<IviDCPwrMeasurementTypeEnum>(MeasurementType), v);
      });
}

MOTQR_C_EXPORT ViStatus motqr_QueryMaxCurrentLimit(ViSession vi, ViConstString ChannelName,
                                                   ViReal64 VoltageLevel,
                                                   ViReal64* MaxCurrentLimit) {
  return ChannelValue<Output, double>(
      vi, ChannelName, MaxCurrentLimit, "MaxCurrentLimit",
      [&](Output& o, double* v) { return o.QueryCurrentLimitMax(VoltageLevel, v); });
}

MOTQR_C_EXPORT ViStatus motqr_QueryMaxVoltageLevel(ViSession vi, ViConstString ChannelName,
                                                   ViReal64 CurrentLimit,
                                                   ViReal64* MaxVoltageLevel) {
  return ChannelValue<Output, double>(
      vi, ChannelName, MaxVoltageLevel, "MaxVoltageLevel",
      [&](Output& o, double* v) { return o.QueryVoltageLevelMax(CurrentLimit, v); });
}

MOTQR_C_EXPORT ViStatus motqr_QueryOutputState(ViSession vi, ViConstString ChannelName,
                                               ViInt32 OutputState, ViBoolean* InState) {
  return ChannelValue<Output, com::VARIANT_BOOL>(
      vi, ChannelName, InState, "InState", [&](Output& o, com::VARIANT_BOOL* v) {
        return o.QueryState(Enum<IviDCPwrOutputStateEnum>(OutputState), v);
      });
}

// ---- The channel's own interface
// ------------------------------------------------------------------

#define MOTQR_CHANNEL_MEASUREMENT(CName, Member)                                          \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi, ViConstString ChannelName,          \
                                        ViInt32 MeasurementType, ViReal64* Measurement) { \
    return ChannelValue<Channel, double>(                                                 \
        vi, ChannelName, Measurement, "Measurement", [&](Channel& c, double* v) {         \
          return c.Member(Enum<MorvaneTqrMeasurementTypeEnum>(MeasurementType), v);       \
        });                                                                               \
  }
MOTQR_CHANNEL_MEASUREMENT(Measure2, Measure)
MOTQR_CHANNEL_MEASUREMENT(Read, Read)
MOTQR_CHANNEL_MEASUREMENT(Fetch, Fetch)
#undef MOTQR_CHANNEL_MEASUREMENT

#define MOTQR_CHANNEL_MEASUREMENTS(Name)                                                        \
  MOTQR_C_EXPORT ViStatus motqr_##Name(ViSession vi, ViConstString ChannelName,                 \
                                       ViInt32 MeasurementsBufferSize, ViReal64 Measurements[], \
                                       ViInt32* MeasurementsActualSize) {                       \
    return ChannelArray(vi, ChannelName, "Measurements", MeasurementsBufferSize, Measurements,  \
                        MeasurementsActualSize, &Channel::Name);                                \
  }
MOTQR_CHANNEL_MEASUREMENTS(MeasureAll)
MOTQR_CHANNEL_MEASUREMENTS(FetchAll)
MOTQR_CHANNEL_MEASUREMENTS(ReadAll)
#undef MOTQR_CHANNEL_MEASUREMENTS

MOTQR_C_EXPORT ViStatus motqr_ExecuteMSync(ViSession vi, ViConstString ChannelName,
                                           ViBoolean MSync) {
  return OnEveryChannel<Channel>(vi, ChannelName,
                                 [&](Channel& c) { return c.ExecuteMSync(ToVariantBool(MSync)); });
}

MOTQR_C_EXPORT ViStatus motqr_Clear(ViSession vi, ViConstString ChannelName) {
  return OnEveryChannel<Protection>(vi, ChannelName, [](Protection& p) { return p.Clear(); });
}

// Minimum and maximum queries: C name, interface, member.
#define MOTQR_CHANNEL_MIN_MAX(CName, Interface, Member)                                         \
  MOTQR_C_EXPORT ViStatus motqr_##CName(ViSession vi, ViConstString ChannelName, ViReal64* Min, \
                                        ViReal64* Max) {                                        \
    return ChannelMinMax(vi, ChannelName, Min, Max, &Interface::Member);                        \
  }
MOTQR_CHANNEL_MIN_MAX(QueryCurrentLevelMinMax, Channel, QueryCurrentLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentSlewRateMinMax, Channel, QueryCurrentSlewRateMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryNegativeCurrentLevelMinMax, Channel, QueryNegativeCurrentLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QuerySeamlessCurrentLevelMinMax, Channel, QuerySeamlessCurrentLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryNegativePowerLevelMinMax, Channel, QueryNegativePowerLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryPowerLevelMinMax, Channel, QueryPowerLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QuerySeamlessPowerLevelMinMax, Channel, QuerySeamlessPowerLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryResistanceIRMinMax, Channel, QueryResistanceIRMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageLevelMinMax, Channel, QueryVoltageLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageSlewRateMinMax, Channel, QueryVoltageSlewRateMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryWatchdogTimeMinMax, Protection, QueryWatchdogTimeMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryOCPLevelMinMax, Protection, QueryOCPLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryOCPGraceTimeMinMax, Protection, QueryOCPGraceTimeMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryNOCPLevelMinMax, Protection, QueryNOCPLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryOPPLevelMinMax, Protection, QueryOPPLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryNOPPLevelMinMax, Protection, QueryNOPPLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryLowerOVPLevelMinMax, Protection, QueryLowerOVPLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryOVPLevelMinMax, Protection, QueryOVPLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryLineVoltageMinMax, Protection, QueryLineVoltageMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentDutyCycleMinMax, Pulse, QueryCurrentDutyCycleMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentPulseFrequencyMinMax, Pulse, QueryCurrentFrequencyMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentHighLevelMinMax, Pulse, QueryCurrentHighLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentLowLevelMinMax, Pulse, QueryCurrentLowLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageDutyCycleMinMax, Pulse, QueryVoltageDutyCycleMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltagePulseFrequencyMinMax, Pulse, QueryVoltageFrequencyMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageHighLevelMinMax, Pulse, QueryVoltageHighLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageLowLevelMinMax, Pulse, QueryVoltageLowLevelMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentAmplitudeMinMax, Sine, QueryCurrentAmplitudeMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentSineFrequencyMinMax, Sine, QueryCurrentFrequencyMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryCurrentOffsetMinMax, Sine, QueryCurrentOffsetMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageAmplitudeMinMax, Sine, QueryVoltageAmplitudeMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageSineFrequencyMinMax, Sine, QueryVoltageFrequencyMinMax)
MOTQR_CHANNEL_MIN_MAX(QueryVoltageOffsetMinMax, Sine, QueryVoltageOffsetMinMax)
#undef MOTQR_CHANNEL_MIN_MAX

// ---- I-V maps
// ---------------------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_ClearCurrentIVMap(ViSession vi, ViConstString ChannelName) {
  return OnEveryChannel<IV>(vi, ChannelName, [](IV& iv) { return iv.ClearCurrentIVMap(); });
}

MOTQR_C_EXPORT ViStatus motqr_ClearVoltageIVMap(ViSession vi, ViConstString ChannelName) {
  return OnEveryChannel<IV>(vi, ChannelName, [](IV& iv) { return iv.ClearVoltageIVMap(); });
}

#define MOTQR_IV_SET_MAP(Name)                                                                     \
  MOTQR_C_EXPORT ViStatus motqr_##Name(ViSession vi, ViConstString ChannelName, ViInt32 DataCount, \
                                       const ViReal64 Data[]) {                                    \
    return Guard(vi, [&]() -> ViStatus {                                                           \
      com::SafeArray data = MakeArray(com::VT_R8, DataCount, Data);                                \
      return OnEveryChannel<IV>(vi, ChannelName, [&](IV& iv) { return iv.Name(data.Get()); });     \
    });                                                                                            \
  }
MOTQR_IV_SET_MAP(SetCurrentIVMap)
MOTQR_IV_SET_MAP(SetVoltageIVMap)
#undef MOTQR_IV_SET_MAP

MOTQR_C_EXPORT ViStatus motqr_GetCurrentIVMap(ViSession vi, ViConstString ChannelName,
                                              ViInt32 CurrentBufferSize, ViReal64 Current[],
                                              ViInt32* CurrentActualSize) {
  return ChannelFillArray(vi, ChannelName, "Current", CurrentBufferSize, Current, CurrentActualSize,
                          &IV::GetCurrentIVMap);
}

MOTQR_C_EXPORT ViStatus motqr_GetVoltageIVMap(ViSession vi, ViConstString ChannelName,
                                              ViInt32 VoltageBufferSize, ViReal64 Voltage[],
                                              ViInt32* VoltageActualSize) {
  return ChannelFillArray(vi, ChannelName, "Voltage", VoltageBufferSize, Voltage, VoltageActualSize,
                          &IV::GetVoltageIVMap);
}

MOTQR_C_EXPORT ViStatus motqr_GetAllCurrentIVPoints(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 AllPointsBufferSize,
                                                    ViReal64 AllPoints[],
                                                    ViInt32* AllPointsActualSize) {
  return ChannelArray(vi, ChannelName, "AllPoints", AllPointsBufferSize, AllPoints,
                      AllPointsActualSize, &IV::GetAllCurrentIVPoints);
}

MOTQR_C_EXPORT ViStatus motqr_GetAllVoltageIVPoints(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 AllPointsBufferSize,
                                                    ViReal64 AllPoints[],
                                                    ViInt32* AllPointsActualSize) {
  return ChannelArray(vi, ChannelName, "AllPoints", AllPointsBufferSize, AllPoints,
                      AllPointsActualSize, &IV::GetAllVoltageIVPoints);
}

MOTQR_C_EXPORT ViStatus motqr_SetCurrentIVPoint(ViSession vi, ViConstString ChannelName,
                                                ViInt32 Index, ViReal64 Voltage, ViReal64 Current) {
  return OnEveryChannel<IV>(vi, ChannelName,
                            [&](IV& iv) { return iv.SetCurrentIVPoint(Index, Voltage, Current); });
}

MOTQR_C_EXPORT ViStatus motqr_SetVoltageIVPoint(ViSession vi, ViConstString ChannelName,
                                                ViInt32 Index, ViReal64 Voltage, ViReal64 Current) {
  return OnEveryChannel<IV>(vi, ChannelName,
                            [&](IV& iv) { return iv.SetVoltageIVPoint(Index, Voltage, Current); });
}

#define MOTQR_IV_POINT(Name)                                                                     \
  MOTQR_C_EXPORT ViStatus motqr_##Name(ViSession vi, ViConstString ChannelName, ViInt32 Index) { \
    return OnEveryChannel<IV>(vi, ChannelName, [&](IV& iv) { return iv.Name(Index); });          \
  }
MOTQR_IV_POINT(DeleteCurrentIVPoint)
MOTQR_IV_POINT(InsertCurrentIVPoint)
MOTQR_IV_POINT(DeleteVoltageIVPoint)
MOTQR_IV_POINT(InsertVoltageIVPoint)
#undef MOTQR_IV_POINT
