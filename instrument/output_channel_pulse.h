// IMorvaneTqrOutputChannelPulse: the pulse function's levels, frequency and
// duty cycle, for the current and the voltage loop.
#pragma once

#include "driver/member_macros.h"
#include "interfaces/output_channel.h"

// (type, name, query, reply, set, sim)
#define MOTQR_PULSE_PROPERTIES(P)                                                          \
  P(double, CurrentDutyCycle, ":CURR:PULS:DCYC?", nullptr, ":CURR:PULS:DCYC %0.6lg", kYes) \
  P(double, CurrentFrequency, ":CURR:PULS:FREQ?", nullptr, ":CURR:PULS:FREQ %0.6lg", kYes) \
  P(double, CurrentHighLevel, ":CURR:PULS:HIGH?", nullptr, ":CURR:PULS:HIGH %0.6lg", kYes) \
  P(double, CurrentLowLevel, ":CURR:PULS:LOW?", nullptr, ":CURR:PULS:LOW %0.6lg", kYes)    \
  P(double, VoltageDutyCycle, ":VOLT:PULS:DCYC?", nullptr, ":VOLT:PULS:DCYC %0.6lg", kYes) \
  P(double, VoltageFrequency, ":VOLT:PULS:FREQ?", nullptr, ":VOLT:PULS:FREQ %0.6lg", kYes) \
  P(double, VoltageHighLevel, ":VOLT:PULS:HIGH?", nullptr, ":VOLT:PULS:HIGH %0.6lg", kYes) \
  P(double, VoltageLowLevel, ":VOLT:PULS:LOW?", nullptr, ":VOLT:PULS:LOW %0.6lg", kYes)

// (name, command)
#define MOTQR_PULSE_MIN_MAX(M)                                     \
  M(QueryCurrentDutyCycleMinMax, ":CURR:PULS:DCYC? MIN;DCYC? MAX") \
  M(QueryCurrentFrequencyMinMax, ":CURR:PULS:FREQ? MIN;FREQ? MAX") \
  M(QueryCurrentHighLevelMinMax, ":CURR:PULS:HIGH? MIN;HIGH? MAX") \
  M(QueryCurrentLowLevelMinMax, ":CURR:PULS:LOW? MIN;LOW? MAX")    \
  M(QueryVoltageDutyCycleMinMax, ":VOLT:PULS:DCYC? MIN;DCYC? MAX") \
  M(QueryVoltageFrequencyMinMax, ":VOLT:PULS:FREQ? MIN;FREQ? MAX") \
  M(QueryVoltageHighLevelMinMax, ":VOLT:PULS:HIGH? MIN;HIGH? MAX") \
  M(QueryVoltageLowLevelMinMax, ":VOLT:PULS:LOW? MIN;LOW? MAX")

namespace motqr::instrument {

template <class Self>
class OutputChannelPulse : public driver::MemberSet<Self, IMorvaneTqrOutputChannelPulse> {
 public:
  using Interface = IMorvaneTqrOutputChannelPulse;
  MOTQR_PULSE_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_PULSE_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~OutputChannelPulse() = default;
};

inline constexpr driver::RowView kPulseRows[] = {MOTQR_PULSE_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
                                                     MOTQR_PULSE_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)};

}  // namespace motqr::instrument
