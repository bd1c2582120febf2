#include "sim/output_solver.h"

#include <cmath>

#include "sim/tokens.h"

namespace tqrsim {
namespace {

void SetVolts(OperatingPoint& point, double volts, double ohms, Regulation regulation) {
  point.volts = volts;
  point.amperes = volts / ohms;
  point.regulation = regulation;
}

void SetAmperes(OperatingPoint& point, double amperes, double ohms, Regulation regulation) {
  point.amperes = amperes;
  point.volts = amperes * ohms;
  point.regulation = regulation;
}

void LimitVoltage(OperatingPoint& point, const OutputSettings& s, double ohms) {
  double limit = std::fabs(s.voltage);
  if (std::fabs(point.volts) > limit) {
    SetVolts(point, std::copysign(limit, point.volts), ohms, Regulation::kConstantVoltage);
  }
}

void LimitCurrent(OperatingPoint& point, const OutputSettings& s, double ohms) {
  if (point.amperes > s.current) {
    SetAmperes(point, s.current, ohms, Regulation::kConstantCurrent);
  } else if (point.amperes < -s.current_negative) {
    SetAmperes(point, -s.current_negative, ohms, Regulation::kConstantCurrent);
  }
}

void LimitPower(OperatingPoint& point, const OutputSettings& s, double ohms) {
  // A resistor only takes power, so the source-side power limit is the one that applies.
  if (point.watts() > s.power) {
    SetVolts(point, std::copysign(std::sqrt(s.power * ohms), point.volts), ohms,
             Regulation::kConstantPower);
  }
}

}  // namespace

OperatingPoint SolveOutput(const OutputSettings& s, double ohms) {
  OperatingPoint point;
  switch (s.priority) {
    case priority::kCC:
      SetAmperes(point, s.current, ohms, Regulation::kConstantCurrent);
      LimitVoltage(point, s, ohms);
      LimitPower(point, s, ohms);
      break;
    case priority::kCP:
      SetVolts(point, std::sqrt(s.power * ohms), ohms, Regulation::kConstantPower);
      LimitVoltage(point, s, ohms);
      LimitCurrent(point, s, ohms);
      break;
    case priority::kCR:
      SetVolts(point, s.voltage * ohms / (ohms + s.internal_resistance), ohms,
               Regulation::kConstantResistance);
      LimitCurrent(point, s, ohms);
      LimitPower(point, s, ohms);
      break;
    default:
      SetVolts(point, s.voltage, ohms, Regulation::kConstantVoltage);
      LimitCurrent(point, s, ohms);
      LimitPower(point, s, ohms);
      break;
  }
  return point;
}

}  // namespace tqrsim
