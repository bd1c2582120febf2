// IMorvaneTqrSystemAnalog: the voltage ranges of the external analog control
// inputs (CC/CP mode: selected range; CV mode: voltage range) and of the
// monitor outputs.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// clang-format off
#define MOTQR_ANALOG_MEMBERS(S) \
  S##_MIN_MAX(double, QueryAnalogControlSelectedRangeMinMax, ":ANAL:CONT:SEL:RANG? MIN;RANG? MAX") \
  S##_MIN_MAX(double, QueryAnalogControlVoltageRangeMinMax, ":ANAL:CONT:VOLT:RANG? MIN;RANG? MAX") \
  S##_MIN_MAX(double, QueryAnalogMonitorCurrentRangeMinMax, ":ANAL:MON:CURR:RANG? MIN;RANG? MAX") \
  S##_MIN_MAX(double, QueryAnalogMonitorVoltageRangeMinMax, ":ANAL:MON:VOLT:RANG? MIN;RANG? MAX") \
  S##_PROPERTY(double, AnalogControlSelectedRange, ":ANAL:CONT:SEL:RANG?", nullptr, ":ANAL:CONT:SEL:RANG %0.6lg", kYes) \
  S##_PROPERTY(double, AnalogControlVoltageRange, ":ANAL:CONT:VOLT:RANG?", nullptr, ":ANAL:CONT:VOLT:RANG %0.6lg", kYes) \
  S##_PROPERTY(double, AnalogMonitorCurrentRange, ":ANAL:MON:CURR:RANG?", nullptr, ":ANAL:MON:CURR:RANG %0.6lg", kYes) \
  S##_PROPERTY(double, AnalogMonitorVoltageRange, ":ANAL:MON:VOLT:RANG?", nullptr, ":ANAL:MON:VOLT:RANG %0.6lg", kYes)
// clang-format on

namespace motqr::instrument {

template <class Self>
class SystemAnalog : public driver::MemberSet<Self, IMorvaneTqrSystemAnalog> {
 public:
  using Interface = IMorvaneTqrSystemAnalog;
  MOTQR_ANALOG_MEMBERS(MOTQR_MEMBER)

 protected:
  ~SystemAnalog() = default;
};

inline constexpr RowView kSystemAnalogRows[] = {MOTQR_ANALOG_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
