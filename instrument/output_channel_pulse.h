// IMorvaneTqrOutputChannelPulse: the pulse function's levels, frequency and
// duty cycle, for the current and the voltage loop.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/output_channel.h"

// clang-format off
#define MOTQR_PULSE_MEMBERS(S) \
  S##_MIN_MAX(double, QueryCurrentDutyCycleMinMax, ":CURR:PULS:DCYC? MIN;DCYC? MAX") \
  S##_MIN_MAX(double, QueryCurrentFrequencyMinMax, ":CURR:PULS:FREQ? MIN;FREQ? MAX") \
  S##_MIN_MAX(double, QueryCurrentHighLevelMinMax, ":CURR:PULS:HIGH? MIN;HIGH? MAX") \
  S##_MIN_MAX(double, QueryCurrentLowLevelMinMax, ":CURR:PULS:LOW? MIN;LOW? MAX") \
  S##_MIN_MAX(double, QueryVoltageDutyCycleMinMax, ":VOLT:PULS:DCYC? MIN;DCYC? MAX") \
  S##_MIN_MAX(double, QueryVoltageFrequencyMinMax, ":VOLT:PULS:FREQ? MIN;FREQ? MAX") \
  S##_MIN_MAX(double, QueryVoltageHighLevelMinMax, ":VOLT:PULS:HIGH? MIN;HIGH? MAX") \
  S##_MIN_MAX(double, QueryVoltageLowLevelMinMax, ":VOLT:PULS:LOW? MIN;LOW? MAX") \
  S##_PROPERTY(double, CurrentDutyCycle, ":CURR:PULS:DCYC?", nullptr, ":CURR:PULS:DCYC %0.6lg", kYes) \
  S##_PROPERTY(double, CurrentFrequency, ":CURR:PULS:FREQ?", nullptr, ":CURR:PULS:FREQ %0.6lg", kYes) \
  S##_PROPERTY(double, CurrentHighLevel, ":CURR:PULS:HIGH?", nullptr, ":CURR:PULS:HIGH %0.6lg", kYes) \
  S##_PROPERTY(double, CurrentLowLevel, ":CURR:PULS:LOW?", nullptr, ":CURR:PULS:LOW %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageDutyCycle, ":VOLT:PULS:DCYC?", nullptr, ":VOLT:PULS:DCYC %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageFrequency, ":VOLT:PULS:FREQ?", nullptr, ":VOLT:PULS:FREQ %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageHighLevel, ":VOLT:PULS:HIGH?", nullptr, ":VOLT:PULS:HIGH %0.6lg", kYes) \
  S##_PROPERTY(double, VoltageLowLevel, ":VOLT:PULS:LOW?", nullptr, ":VOLT:PULS:LOW %0.6lg", kYes)
// clang-format on

namespace motqr::instrument {

template <class Self>
class OutputChannelPulse : public driver::MemberSet<Self, IMorvaneTqrOutputChannelPulse> {
 public:
  using Interface = IMorvaneTqrOutputChannelPulse;
  MOTQR_PULSE_MEMBERS(MOTQR_MEMBER)

 protected:
  ~OutputChannelPulse() = default;
};

inline constexpr RowView kPulseRows[] = {MOTQR_PULSE_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
