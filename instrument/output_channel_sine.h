// IMorvaneTqrOutputChannelSine: the sine function's peak-to-peak amplitude,
// frequency and offset, for the current and the voltage loop.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/output_channel.h"

// clang-format off
#define MOTQR_SINE_MEMBERS(S) \
  S##_MIN_MAX(double, QueryCurrentAmplitudeMinMax, ":CURR:SINE:AMPL? MIN;AMPL? MAX") \
  S##_MIN_MAX(double, QueryCurrentFrequencyMinMax, ":CURR:SINE:FREQ? MIN;FREQ? MAX") \
  S##_MIN_MAX(double, QueryCurrentOffsetMinMax, ":CURR:SINE:OFFS? MIN;OFFS? MAX") \
  S##_MIN_MAX(double, QueryVoltageAmplitudeMinMax, ":VOLT:SINE:AMPL? MIN;AMPL? MAX") \
  S##_MIN_MAX(double, QueryVoltageFrequencyMinMax, ":VOLT:SINE:FREQ? MIN;FREQ? MAX") \
  S##_MIN_MAX(double, QueryVoltageOffsetMinMax, ":VOLT:SINE:OFFS? MIN;OFFS? MAX") \
  S##_PROPERTY(double, CurrentAmplitude, ":CURR:SINE:AMPL?", nullptr, ":CURR:SINE:AMPL %0.6lg", kYes) \
  S##_PROPERTY(double, CurrentFrequency, ":CURR:SINE:FREQ?", nullptr, ":CURR:SINE:FREQ %0.6lg", kYes) \
  S##_PROPERTY(double, CurrentOffset, ":CURR:SINE:OFFS?", nullptr, ":CURR:SINE:OFFS %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageAmplitude, ":VOLT:SINE:AMPL?", nullptr, ":VOLT:SINE:AMPL %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageFrequency, ":VOLT:SINE:FREQ?", nullptr, ":VOLT:SINE:FREQ %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageOffset, ":VOLT:SINE:OFFS?", nullptr, ":VOLT:SINE:OFFS %0.6lg", kYes)
// clang-format on

namespace motqr::instrument {

template <class Self>
class OutputChannelSine : public driver::MemberSet<Self, IMorvaneTqrOutputChannelSine> {
 public:
  using Interface = IMorvaneTqrOutputChannelSine;
  MOTQR_SINE_MEMBERS(MOTQR_MEMBER)

 protected:
  ~OutputChannelSine() = default;
};

inline constexpr RowView kSineRows[] = {MOTQR_SINE_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
