#include "sim/setting_tables.h"

#include <array>
#include <cmath>

namespace tqrsim {
namespace {

// A captureless accessor for one field, usable as a plain function pointer.
#define TQR_FIELD(Struct, member) [](Struct& s) -> decltype(auto) { return (s.member); }

using O = OutputSettings;
using Y = SystemSettings;
using P = ProgramStep;

double Rounded(double value) {
  // Keeps factors such as 1.1 x 20 from showing 22.000000000000004.
  return std::round(value * 1e9) / 1e9;
}

template <typename S, typename Rows>
void ApplyDefaults(S& target, const Rows& rows, const ModelRatings& model) {
  for (const auto& row : rows) {
    if constexpr (requires { row.scale; }) {
      row.field(target) = RowLimits(row, model).def;
    } else {
      row.field(target) = row.def;
    }
  }
}

}  // namespace

Limits ResolveLimits(Scale scale, double min, double max, double def, const ModelRatings& model) {
  double unit = 1.0;
  switch (scale) {
    case Scale::kUnit:
      unit = 1.0;
      break;
    case Scale::kVolt:
      unit = model.volts;
      break;
    case Scale::kAmp:
      unit = model.amperes;
      break;
    case Scale::kWatt:
      unit = model.watts;
      break;
    case Scale::kOhm:
      unit = model.volts / model.amperes;
      break;
  }
  return {Rounded(min * unit), Rounded(max * unit), Rounded(def * unit)};
}

std::span<const RealRow<O>> OutputRealRows() {
  static const std::array<RealRow<O>, 35> kRows{{
      {"[:SOURce]:VOLTage[:LEVel][:IMMediate][:AMPLitude]", TQR_FIELD(O, voltage), Scale::kVolt, -1,
       1, 0},
      {"[:SOURce]:CURRent[:LEVel][:IMMediate][:AMPLitude]", TQR_FIELD(O, current), Scale::kAmp, 0,
       1, 1},
      {"[:SOURce]:CURRent:NEGative", TQR_FIELD(O, current_negative), Scale::kAmp, 0, 1, 1},
      {"[:SOURce]:POWer[:LEVel][:IMMediate][:AMPLitude]", TQR_FIELD(O, power), Scale::kWatt, 0, 1,
       1},
      {"[:SOURce]:POWer:NEGative", TQR_FIELD(O, power_negative), Scale::kWatt, 0, 1, 1},
      {"[:SOURce]:CURRent:SEAMless", TQR_FIELD(O, current_seamless), Scale::kAmp, -1, 1, 0},
      {"[:SOURce]:POWer:SEAMless", TQR_FIELD(O, power_seamless), Scale::kWatt, -1, 1, 0},
      {"[:SOURce]:RESistance:IR", TQR_FIELD(O, internal_resistance), Scale::kOhm, 0, 10, 0},
      {"[:SOURce]:CURRent:SLEW", TQR_FIELD(O, current_slew), Scale::kAmp, 0.001, 10, 10},
      {"[:SOURce]:VOLTage:SLEW", TQR_FIELD(O, voltage_slew), Scale::kVolt, 0.001, 10, 10},
      {"[:SOURce]:CURRent:PULSe:FREQuency", TQR_FIELD(O, current_pulse_frequency), Scale::kUnit,
       0.01, 100000, 1000},
      {"[:SOURce]:CURRent:PULSe:DCYCle", TQR_FIELD(O, current_pulse_duty), Scale::kUnit, 1, 99, 50},
      {"[:SOURce]:CURRent:PULSe:HIGH", TQR_FIELD(O, current_pulse_high), Scale::kAmp, -1, 1, 0},
      {"[:SOURce]:CURRent:PULSe:LOW", TQR_FIELD(O, current_pulse_low), Scale::kAmp, -1, 1, 0},
      {"[:SOURce]:VOLTage:PULSe:FREQuency", TQR_FIELD(O, voltage_pulse_frequency), Scale::kUnit,
       0.01, 100000, 1000},
      {"[:SOURce]:VOLTage:PULSe:DCYCle", TQR_FIELD(O, voltage_pulse_duty), Scale::kUnit, 1, 99, 50},
      {"[:SOURce]:VOLTage:PULSe:HIGH", TQR_FIELD(O, voltage_pulse_high), Scale::kVolt, -1, 1, 0},
      {"[:SOURce]:VOLTage:PULSe:LOW", TQR_FIELD(O, voltage_pulse_low), Scale::kVolt, -1, 1, 0},
      {"[:SOURce]:CURRent:SINE:AMPLitude", TQR_FIELD(O, current_sine_amplitude), Scale::kAmp, 0, 2,
       0},
      {"[:SOURce]:CURRent:SINE:FREQuency", TQR_FIELD(O, current_sine_frequency), Scale::kUnit, 0.01,
       100000, 1000},
      {"[:SOURce]:CURRent:SINE:OFFSet", TQR_FIELD(O, current_sine_offset), Scale::kAmp, -1, 1, 0},
      {"[:SOURce]:VOLTage:SINE:AMPLitude", TQR_FIELD(O, voltage_sine_amplitude), Scale::kVolt, 0, 2,
       0},
      {"[:SOURce]:VOLTage:SINE:FREQuency", TQR_FIELD(O, voltage_sine_frequency), Scale::kUnit, 0.01,
       100000, 1000},
      {"[:SOURce]:VOLTage:SINE:OFFSet", TQR_FIELD(O, voltage_sine_offset), Scale::kVolt, -1, 1, 0},
      {"[:SOURce]:CURRent:PROTection[:LEVel]", TQR_FIELD(O, ocp), Scale::kAmp, 0.01, 1.1, 1.1},
      {"[:SOURce]:CURRent:PROTection:DELay", TQR_FIELD(O, ocp_delay), Scale::kUnit, 0, 10, 0},
      {"[:SOURce]:CURRent:NEGative:PROTection[:LEVel]", TQR_FIELD(O, nocp), Scale::kAmp, 0.01, 1.1,
       1.1},
      {"[:SOURce]:POWer:PROTection[:LEVel]", TQR_FIELD(O, opp), Scale::kWatt, 0.01, 1.1, 1.1},
      {"[:SOURce]:POWer:NEGative:PROTection[:LEVel]", TQR_FIELD(O, nopp), Scale::kWatt, 0.01, 1.1,
       1.1},
      {"[:SOURce]:VOLTage:PROTection[:LEVel]", TQR_FIELD(O, ovp), Scale::kVolt, 0.01, 1.1, 1.1},
      {"[:SOURce]:VOLTage:PROTection:LOWer[:LEVel]", TQR_FIELD(O, ovp_lower), Scale::kVolt, -1.1,
       1.1, -1.1},
      {"OUTPut:PROTection:WDOG:DELay", TQR_FIELD(O, watchdog_delay), Scale::kUnit, 1, 3600, 60},
      {"TRIGger:ACQuire:DELay", TQR_FIELD(O, acquire_delay), Scale::kUnit, 0, 100, 0},
      {"TRIGger:ACQuire:INTerval:TIME", TQR_FIELD(O, acquire_interval), Scale::kUnit, 0.001, 3600,
       1},
      {"SENSe:APERture", TQR_FIELD(O, aperture), Scale::kUnit, 0.0001, 1, 0.02},
  }};
  return kRows;
}

std::span<const IntRow<O>> OutputIntRows() {
  static const std::array<IntRow<O>, 1> kRows{{
      {"TRIGger:ACQuire:COUNt", TQR_FIELD(O, acquire_count), 1, 10000, 1},
  }};
  return kRows;
}

std::span<const BoolRow<O>> OutputBoolRows() {
  static const std::array<BoolRow<O>, 5> kRows{{
      {"[:SOURce]:VOLTage:PROTection:LOWer:STATe", TQR_FIELD(O, ovp_lower_enabled), false},
      {"OUTPut:PROTection:WDOG[:STATe]", TQR_FIELD(O, watchdog_enabled), false},
      {"OUTPut:PROTection:RSENse[:STATe]", TQR_FIELD(O, sense_error_enabled), false},
      {"TRIGger:ACQuire:INTerval:STATe", TQR_FIELD(O, acquire_interval_enabled), false},
      {"OUTPut:MSYNc:ACCept", TQR_FIELD(O, msync_accept), false},
  }};
  return kRows;
}

std::span<const EnumRow<O>> OutputEnumRows() {
  static const std::array<EnumRow<O>, 11> kRows{{
      {"[:SOURce]:VOLTage:FUNCtion:MODE", TQR_FIELD(O, voltage_mode), kOutputFunctionTokens, 0},
      {"[:SOURce]:CURRent:FUNCtion:MODE", TQR_FIELD(O, current_mode), kOutputFunctionTokens, 0},
      {"[:SOURce]:POWer:FUNCtion:MODE", TQR_FIELD(O, power_mode), kPowerFunctionTokens, 0},
      {"[:SOURce]:FUNCtion:MODE", TQR_FIELD(O, priority), kPriorityTokens, 0},
      {"[:SOURce]:FUNCtion:OFF:MODE", TQR_FIELD(O, off_impedance), kOffImpedanceTokens, 0},
      {"[:SOURce]:CURRent:RESPonse", TQR_FIELD(O, current_response), kResponseSpeedTokens, 1},
      {"[:SOURce]:VOLTage:RESPonse", TQR_FIELD(O, voltage_response), kResponseSpeedTokens, 1},
      {"TRIGger:ACQuire:SOURce", TQR_FIELD(O, acquire_source), kAcquireSourceTokens, 0},
      {"TRIGger:TRANsient:SOURce", TQR_FIELD(O, transient_source), kTransientSourceTokens, 0},
      {"DATA:INTegral:GATE[:CONDition]", TQR_FIELD(O, gate_condition), kGateConditionTokens, 0},
      {"DATA:INTegral:GATE:RESet", TQR_FIELD(O, gate_reset), kGateResetTokens, 0},
  }};
  return kRows;
}

std::span<const RealRow<Y>> SystemRealRows() {
  static const std::array<RealRow<Y>, 5> kRows{{
      {"SYSTem:PROTection:LINE:VOLTage", TQR_FIELD(Y, line_voltage_limit), Scale::kUnit, 100, 300,
       264},
      {"ANALog:CONTrol:SELected:RANGe", TQR_FIELD(Y, analog_control_selected), Scale::kUnit, 1, 10,
       10},
      {"ANALog:CONTrol:VOLTage:RANGe", TQR_FIELD(Y, analog_control_voltage), Scale::kUnit, 1, 10,
       10},
      {"ANALog:MONitor:CURRent:RANGe", TQR_FIELD(Y, analog_monitor_current), Scale::kUnit, 1, 10,
       10},
      {"ANALog:MONitor:VOLTage:RANGe", TQR_FIELD(Y, analog_monitor_voltage), Scale::kUnit, 1, 10,
       10},
  }};
  return kRows;
}

std::span<const IntRow<Y>> SystemIntRows() {
  static const std::array<IntRow<Y>, 1> kRows{{
      {"SYSTem:KLOCk:LEVel", TQR_FIELD(Y, key_lock_level), 1, 3, 1},
  }};
  return kRows;
}

std::span<const BoolRow<Y>> SystemBoolRows() {
  static const std::array<BoolRow<Y>, 3> kRows{{
      {"SYSTem:KLOCk[:STATe]", TQR_FIELD(Y, key_lock), false},
      {"SYSTem:RSENse[:STATe]", TQR_FIELD(Y, remote_sensing), false},
      {"IO:STATe", TQR_FIELD(Y, io_enabled), false},
  }};
  return kRows;
}

std::span<const EnumRow<Y>> SystemEnumRows() {
  static const std::array<EnumRow<Y>, 3> kRows{{
      {"SYSTem:COMMunicate:RLSTate", TQR_FIELD(Y, remote_local), kRemoteLocalTokens, 0},
      {"SYSTem:PON", TQR_FIELD(Y, power_on_recall), kPowerOnRecallTokens, 0},
      {"OUTPut:PON", TQR_FIELD(Y, output_power_on), kPowerOnModeTokens, 0},
  }};
  return kRows;
}

std::span<const RealRow<P>> StepRealRows() {
  static const std::array<RealRow<P>, 9> kRows{{
      {"PROGram:STEP#:DWELl", TQR_FIELD(P, dwell), Scale::kUnit, 0.001, 360000, 1},
      {"PROGram:STEP#:CURRent[:LEVel]", TQR_FIELD(P, current), Scale::kAmp, 0, 1, 1},
      {"PROGram:STEP#:CURRent:NEGative", TQR_FIELD(P, current_negative), Scale::kAmp, 0, 1, 1},
      {"PROGram:STEP#:CURRent:SEAMless", TQR_FIELD(P, current_seamless), Scale::kAmp, -1, 1, 0},
      {"PROGram:STEP#:POWer[:LEVel]", TQR_FIELD(P, power), Scale::kWatt, 0, 1, 1},
      {"PROGram:STEP#:POWer:NEGative", TQR_FIELD(P, power_negative), Scale::kWatt, 0, 1, 1},
      {"PROGram:STEP#:POWer:SEAMless", TQR_FIELD(P, power_seamless), Scale::kWatt, -1, 1, 0},
      {"PROGram:STEP#:VOLTage[:LEVel]", TQR_FIELD(P, voltage), Scale::kVolt, -1, 1, 0},
      {"PROGram:STEP#:RESistance:IR", TQR_FIELD(P, internal_resistance), Scale::kOhm, 0, 10, 0},
  }};
  return kRows;
}

std::span<const BoolRow<P>> StepBoolRows() {
  static const std::array<BoolRow<P>, 1> kRows{{
      {"PROGram:STEP#:OUTPut[:STATe]", TQR_FIELD(P, output_on), true},
  }};
  return kRows;
}

std::span<const EnumRow<P>> StepEnumRows() {
  static const std::array<EnumRow<P>, 5> kRows{{
      {"PROGram:STEP#:OUTPut:MODE:TRANsition", TQR_FIELD(P, transition), kStepTransitionTokens, 0},
      {"PROGram:STEP#:FUNCtion:MODE", TQR_FIELD(P, function_mode), kStepFunctionTokens, 0},
      {"PROGram:STEP#:RAMP", TQR_FIELD(P, ramp), kStepRampTokens, 0},
      {"PROGram:STEP#:TRIGger:WAIT", TQR_FIELD(P, trigger_wait), kStepTriggerTokens, 0},
      {"PROGram:STEP#:TRIGger:GENerate", TQR_FIELD(P, signal), kStepSignalTokens, 0},
  }};
  return kRows;
}

std::span<const IntRow<Program>> ProgramIntRows() {
  static const std::array<IntRow<Program>, 1> kRows{{
      {"PROGram:LOOP", TQR_FIELD(Program, loop_count), 0, 9999, 1},
  }};
  return kRows;
}

std::span<const EnumRow<Program>> ProgramEnumRows() {
  static const std::array<EnumRow<Program>, 2> kRows{{
      {"PROGram:CURRent:FUNCtion:MODE", TQR_FIELD(Program, current_function_mode),
       kProgramFunctionTokens, 0},
      {"PROGram:POWer:FUNCtion:MODE", TQR_FIELD(Program, power_function_mode),
       kProgramFunctionTokens, 0},
  }};
  return kRows;
}

#undef TQR_FIELD

OutputSettings DefaultOutputSettings(const ModelRatings& model) {
  OutputSettings s;
  ApplyDefaults(s, OutputRealRows(), model);
  ApplyDefaults(s, OutputIntRows(), model);
  ApplyDefaults(s, OutputBoolRows(), model);
  ApplyDefaults(s, OutputEnumRows(), model);
  return s;
}

SystemSettings DefaultSystemSettings(const ModelRatings& model) {
  SystemSettings s;
  ApplyDefaults(s, SystemRealRows(), model);
  ApplyDefaults(s, SystemIntRows(), model);
  ApplyDefaults(s, SystemBoolRows(), model);
  ApplyDefaults(s, SystemEnumRows(), model);
  s.time_zone = "UTC";
  return s;
}

ProgramStep DefaultStep(const ModelRatings& model) {
  ProgramStep step;
  ApplyDefaults(step, StepRealRows(), model);
  ApplyDefaults(step, StepBoolRows(), model);
  ApplyDefaults(step, StepEnumRows(), model);
  return step;
}

}  // namespace tqrsim
