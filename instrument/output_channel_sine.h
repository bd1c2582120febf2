// IMorvaneTqrOutputChannelSine: the sine function's peak-to-peak amplitude,
// frequency and offset, for the current and the voltage loop.
#pragma once

#include "driver/member_macros.h"
#include "interfaces/output_channel.h"

// (type, name, query, reply, set, sim)
#define MOTQR_SINE_PROPERTIES(P)                                                           \
  P(double, CurrentAmplitude, ":CURR:SINE:AMPL?", nullptr, ":CURR:SINE:AMPL %0.6lg", kYes) \
  P(double, CurrentFrequency, ":CURR:SINE:FREQ?", nullptr, ":CURR:SINE:FREQ %0.6lg", kYes) \
  P(double, CurrentOffset, ":CURR:SINE:OFFS?", nullptr, ":CURR:SINE:OFFS %0.6lg", kYes)    \
  P(double, VoltageAmplitude, ":VOLT:SINE:AMPL?", nullptr, ":VOLT:SINE:AMPL %0.6lg", kYes) \
  P(double, VoltageFrequency, ":VOLT:SINE:FREQ?", nullptr, ":VOLT:SINE:FREQ %0.6lg", kYes) \
  P(double, VoltageOffset, ":VOLT:SINE:OFFS?", nullptr, ":VOLT:SINE:OFFS %0.6lg", kYes)

// (name, command)
#define MOTQR_SINE_MIN_MAX(M)                                      \
  M(QueryCurrentAmplitudeMinMax, ":CURR:SINE:AMPL? MIN;AMPL? MAX") \
  M(QueryCurrentFrequencyMinMax, ":CURR:SINE:FREQ? MIN;FREQ? MAX") \
  M(QueryCurrentOffsetMinMax, ":CURR:SINE:OFFS? MIN;OFFS? MAX")    \
  M(QueryVoltageAmplitudeMinMax, ":VOLT:SINE:AMPL? MIN;AMPL? MAX") \
  M(QueryVoltageFrequencyMinMax, ":VOLT:SINE:FREQ? MIN;FREQ? MAX") \
  M(QueryVoltageOffsetMinMax, ":VOLT:SINE:OFFS? MIN;OFFS? MAX")

namespace motqr::instrument {

template <class Self>
class OutputChannelSine : public driver::MemberSet<Self, IMorvaneTqrOutputChannelSine> {
 public:
  using Interface = IMorvaneTqrOutputChannelSine;
  MOTQR_SINE_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_SINE_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~OutputChannelSine() = default;
};

inline constexpr driver::RowView kSineRows[] = {MOTQR_SINE_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
                                                    MOTQR_SINE_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)};

}  // namespace motqr::instrument
