// IMorvaneTqrOutputChannel: the output's levels and on/off state, its function
// modes, priority, response speeds and slew rates, the power, negative and
// seamless levels, measurements, the output sync signal, and the channel's
// other interfaces (Protection, Pulse, Sine, IV).
//
// Measure takes a new reading of the quantity MeasurementType names, Read
// too, Fetch returns the last one taken; MeasureAll, FetchAll and ReadAll
// read every quantity at once (voltage, current, power, elapsed time,
// capacity, energy, in reply order) into a new array of doubles.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/output_channel.h"

// clang-format off
#define MOTQR_OUTPUT_CHANNEL_MEMBERS(S) \
  S##_QUERY_1(Measure, ":MEAS:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf", MorvaneTqrMeasurementTypeEnum, MeasurementType, double, "Measurement") \
  S##_QUERY_1(Read, ":READ:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf", MorvaneTqrMeasurementTypeEnum, MeasurementType, double, "Measurement") \
  S##_QUERY_1(Fetch, ":FETC:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf", MorvaneTqrMeasurementTypeEnum, MeasurementType, double, "Measurement") \
  S##_COMMAND_1(ExecuteMSync, ":OUTP:MSYN %{VARIANT_BOOL}s", VARIANT_BOOL, MSync) \
  S##_MIN_MAX(double, QueryCurrentLevelMinMax, ":CURR? MIN;CURR? MAX") \
  S##_MIN_MAX(double, QueryCurrentSlewRateMinMax, ":CURR:SLEW? MIN;SLEW? MAX") \
  S##_MIN_MAX(double, QueryNegativeCurrentLevelMinMax, ":CURR:NEG? MIN;NEG? MAX") \
  S##_MIN_MAX(double, QuerySeamlessCurrentLevelMinMax, ":CURR:SEAM? MIN;SEAM? MAX") \
  S##_MIN_MAX(double, QueryNegativePowerLevelMinMax, ":POW:NEG? MIN;NEG? MAX") \
  S##_MIN_MAX(double, QueryPowerLevelMinMax, "POWER? MIN;POWER? MAX") \
  S##_MIN_MAX(double, QuerySeamlessPowerLevelMinMax, ":POW:SEAM? MIN;SEAM? MAX") \
  S##_MIN_MAX(double, QueryResistanceIRMinMax, ":RES:IR? MIN;IR? MAX") \
  S##_MIN_MAX(double, QueryVoltageLevelMinMax, ":VOLT? MIN;VOLT? MAX") \
  S##_MIN_MAX(double, QueryVoltageSlewRateMinMax, ":VOLT:SLEW? MIN;SLEW? MAX") \
  S##_QUERY(MeasureAll, ":MEAS:ALL?", "%,$Slf", com::SAFEARRAY*, "Measurements") \
  S##_QUERY(FetchAll, ":FETC:ALL?", "%,$Slf", com::SAFEARRAY*, "Measurements") \
  S##_QUERY(ReadAll, ":READ:ALL?", "%,$Slf", com::SAFEARRAY*, "Measurements") \
  S##_PROPERTY(VARIANT_BOOL, Enabled, ":OUTP?", "%{VARIANT_BOOL}[^\n]", ":OUTP %{VARIANT_BOOL}s;", kYes) \
  S##_PROPERTY(MorvaneTqrPowerOnModeEnum, PowerOnMode, ":OUTP:PON?", "%{MorvaneTqrPowerOnModeEnum}[^\n]", ":OUTP:PON %{MorvaneTqrPowerOnModeEnum}s", kYes) \
  S##_PROPERTY(VARIANT_BOOL, MsyncAcceptEnabled, ":OUTP:MSYN:ACC?", "%{VARIANT_BOOL}[^\n]", ":OUTP:MSYN:ACC %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(MorvaneTqrOutputPriorityEnum, Priority, ":FUNC:MODE?", "%{MorvaneTqrOutputPriorityEnum}[^\n]", ":FUNC:MODE %{MorvaneTqrOutputPriorityEnum}s", kNo) \
  S##_PROPERTY(MorvaneTqrOutputOffImpedanceModeEnum, ImpedanceMode, ":FUNC:OFF:MODE?", "%{MorvaneTqrOutputOffImpedanceModeEnum}[^\n]", ":FUNC:OFF:MODE %{MorvaneTqrOutputOffImpedanceModeEnum}s", kYes) \
  S##_PROPERTY(double, CurrentLevel, ":CURR?", nullptr, ":CURR %0.6lg", kYes) \
  S##_PROPERTY(MorvaneTqrOutputFunctionModeEnum, CurrentMode, ":CURR:FUNC:MODE?", "%{MorvaneTqrOutputFunctionModeEnum}[^\n]", ":CURR:FUNC:MODE %{MorvaneTqrOutputFunctionModeEnum}s", kYes) \
  S##_PROPERTY(MorvaneTqrResponseSpeedEnum, CurrentResponseSpeed, ":CURR:RESP?", "%{MorvaneTqrResponseSpeedEnum}[^\n]", ":CURR:RESP %{MorvaneTqrResponseSpeedEnum}s", kYes) \
  S##_PROPERTY(double, CurrentSlewRate, ":CURR:SLEW?", nullptr, ":CURR:SLEW %0.6lg", kYes) \
  S##_PROPERTY(double, NegativeCurrentLevel, ":CURR:NEG?", nullptr, ":CURR:NEG %0.6lg", kYes) \
  S##_PROPERTY(double, SeamlessCurrentLevel, ":CURR:SEAM?", nullptr, ":CURR:SEAM %0.6lg", kYes) \
  S##_PROPERTY(double, NegativePowerLevel, ":POW:NEG?", nullptr, ":POW:NEG %0.6lg", kYes) \
  S##_PROPERTY(double, PowerLevel, ":POW?", nullptr, ":POW %0.6lg", kYes) \
  S##_PROPERTY(MorvaneTqrOutputFunctionModeEnum, PowerMode, ":POW:FUNC:MODE?", "%{MorvaneTqrOutputFunctionModeEnum}[^\n]", ":POW:FUNC:MODE %{MorvaneTqrOutputFunctionModeEnum}s", kYes) \
  S##_PROPERTY(double, SeamlessPowerLevel, ":POW:SEAM?", nullptr, ":POW:SEAM %0.6lg", kYes) \
  S##_PROPERTY(double, IRLevel, ":RES:IR?", nullptr, ":RES:IR %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageLevel, ":VOLT?", nullptr, ":VOLT %0.6lg", kYes) \
  S##_PROPERTY(MorvaneTqrOutputFunctionModeEnum, VoltageMode, ":VOLT:FUNC:MODE?", "%{MorvaneTqrOutputFunctionModeEnum}[^\n]", ":VOLT:FUNC:MODE %{MorvaneTqrOutputFunctionModeEnum}s", kYes) \
  S##_PROPERTY(MorvaneTqrResponseSpeedEnum, VoltageReponseSpeed, ":VOLT:RESP?", "%{MorvaneTqrResponseSpeedEnum}[^\n]", ":VOLT:RESP %{MorvaneTqrResponseSpeedEnum}s", kNo) \
  S##_INTERFACE(IMorvaneTqrOutputChannelProtection, Protection) \
  S##_PROPERTY(double, VoltageSlewRate, ":VOLT:SLEW?", nullptr, ":VOLT:SLEW %0.6lg", kYes) \
  S##_INTERFACE(IMorvaneTqrOutputChannelPulse, Pulse) \
  S##_INTERFACE(IMorvaneTqrOutputChannelSine, Sine) \
  S##_INTERFACE(IMorvaneTqrOutputChannelIV, IV)
// clang-format on

namespace motqr::instrument {

template <class Self>
class OutputChannel : public driver::MemberSet<Self, IMorvaneTqrOutputChannel> {
 public:
  using Interface = IMorvaneTqrOutputChannel;
  MOTQR_OUTPUT_CHANNEL_MEMBERS(MOTQR_MEMBER)

 protected:
  ~OutputChannel() = default;
};

inline constexpr RowView kOutputChannelRows[] = {MOTQR_OUTPUT_CHANNEL_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
