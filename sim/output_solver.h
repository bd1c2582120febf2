// Steady-state operating point of the output on a resistive load: the set level of the
// priority mode, limited by the voltage, current (source and sink) and power limits.
#pragma once

#include "sim/settings.h"

namespace tqrsim {

enum class Regulation {
  kOff,
  kConstantVoltage,
  kConstantCurrent,
  kConstantPower,
  kConstantResistance
};

struct OperatingPoint {
  double volts = 0.0;
  double amperes = 0.0;
  Regulation regulation = Regulation::kOff;
  double watts() const { return volts * amperes; }
};

// The operating point with the output on; `load_ohms` must be positive.
OperatingPoint SolveOutput(const OutputSettings& settings, double load_ohms);

}  // namespace tqrsim
