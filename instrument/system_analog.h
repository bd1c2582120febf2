// IMorvaneTqrSystemAnalog: the voltage ranges of the external analog control
// inputs (CC/CP mode: selected range; CV mode: voltage range) and of the
// monitor outputs.
#pragma once

#include "driver/member_macros.h"
#include "interfaces/system.h"

// (type, name, query, reply, set, sim)
#define MOTQR_ANALOG_PROPERTIES(P)                                       \
  P(double, AnalogControlSelectedRange, ":ANAL:CONT:SEL:RANG?", nullptr, \
    ":ANAL:CONT:SEL:RANG %0.6lg", kYes)                                  \
  P(double, AnalogControlVoltageRange, ":ANAL:CONT:VOLT:RANG?", nullptr, \
    ":ANAL:CONT:VOLT:RANG %0.6lg", kYes)                                 \
  P(double, AnalogMonitorCurrentRange, ":ANAL:MON:CURR:RANG?", nullptr,  \
    ":ANAL:MON:CURR:RANG %0.6lg", kYes)                                  \
  P(double, AnalogMonitorVoltageRange, ":ANAL:MON:VOLT:RANG?", nullptr,  \
    ":ANAL:MON:VOLT:RANG %0.6lg", kYes)

// (name, command)
#define MOTQR_ANALOG_MIN_MAX(M)                                                  \
  M(QueryAnalogControlSelectedRangeMinMax, ":ANAL:CONT:SEL:RANG? MIN;RANG? MAX") \
  M(QueryAnalogControlVoltageRangeMinMax, ":ANAL:CONT:VOLT:RANG? MIN;RANG? MAX") \
  M(QueryAnalogMonitorCurrentRangeMinMax, ":ANAL:MON:CURR:RANG? MIN;RANG? MAX")  \
  M(QueryAnalogMonitorVoltageRangeMinMax, ":ANAL:MON:VOLT:RANG? MIN;RANG? MAX")

namespace motqr::instrument {

template <class Self>
class SystemAnalog : public driver::MemberSet<Self, IMorvaneTqrSystemAnalog> {
 public:
  using Interface = IMorvaneTqrSystemAnalog;
  MOTQR_ANALOG_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_ANALOG_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~SystemAnalog() = default;
};

inline constexpr driver::RowView kSystemAnalogRows[] = {
    MOTQR_ANALOG_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY) MOTQR_ANALOG_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)};

}  // namespace motqr::instrument
