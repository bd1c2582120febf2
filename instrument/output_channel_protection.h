// IMorvaneTqrOutputChannelProtection: the trip thresholds of the output (OCP,
// OPP and their sink-side counterparts, OVP and lower OVP, line OVP), the
// communication watchdog, wrong-sensing detection, and clearing a tripped alarm.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/output_channel.h"

namespace motqr::instrument {

// Clears a tripped protection (the low alarm); IIviDCPwrOutput's
// ResetOutputProtection sends it too.
inline constexpr char kClearProtectionCommand[] = ":OUTP:PROT:CLE";

}  // namespace motqr::instrument

// clang-format off
#define MOTQR_PROTECTION_MEMBERS(S) \
  S##_COMMAND(Clear, ::motqr::instrument::kClearProtectionCommand) \
  S##_MIN_MAX(double, QueryWatchdogTimeMinMax, ":OUTP:PROT:WDOG:DEL? MIN;DEL? MAX") \
  S##_MIN_MAX(double, QueryOCPLevelMinMax, ":CURR:PROT? MIN;PROT? MAX") \
  S##_MIN_MAX(double, QueryOCPGraceTimeMinMax, ":CURR:PROT:DEL? MIN;DEL? MAX") \
  S##_MIN_MAX(double, QueryNOCPLevelMinMax, ":CURR:NEG:PROT? MIN;PROT? MAX") \
  S##_MIN_MAX(double, QueryOPPLevelMinMax, ":POW:PROT? MIN;PROT? MAX") \
  S##_MIN_MAX(double, QueryNOPPLevelMinMax, ":POW:NEG:PROT? MIN;PROT? MAX") \
  S##_MIN_MAX(double, QueryLowerOVPLevelMinMax, ":VOLT:PROT:LOW? MIN;LOW? MAX") \
  S##_MIN_MAX(double, QueryOVPLevelMinMax, ":VOLT:PROT? MIN;PROT? MAX") \
  S##_MIN_MAX(double, QueryLineVoltageMinMax, ":SYST:PROT:LINE:VOLT? MIN;VOLT? MAX") \
  S##_PROPERTY(VARIANT_BOOL, RemoteSensingErrorEnabled, ":OUTP:PROT:RSEN?", "%{VARIANT_BOOL}[^\n]", ":OUTP:PROT:RSEN %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(VARIANT_BOOL, WatchdogEnabled, ":OUTP:PROT:WDOG?", "%{VARIANT_BOOL}[^\n]", ":OUTP:PROT:WDOG %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(double, WatchdogTime, ":OUTP:PROT:WDOG:DEL?", nullptr, ":OUTP:PROT:WDOG:DEL %0.6lg", kYes) \
  S##_PROPERTY(double, OCPLevel, ":CURR:PROT?", nullptr, ":CURR:PROT %0.6lg", kYes) \
  S##_PROPERTY(double, OCPGraceTime, ":CURR:PROT:DEL?", nullptr, ":CURR:PROT:DEL %0.6lg", kYes) \
  S##_PROPERTY(double, NOCPLevel, ":CURR:NEG:PROT?", nullptr, ":CURR:NEG:PROT %0.6lg", kYes) \
  S##_PROPERTY(double, OPPLevel, ":POW:PROT?", nullptr, ":POW:PROT %0.6lg", kYes) \
  S##_PROPERTY(double, NOPPLevel, ":POW:NEG:PROT?", nullptr, ":POW:NEG:PROT %0.6lg", kYes) \
  S##_PROPERTY(double, LowerOVPLevel, ":VOLT:PROT:LOW?", nullptr, ":VOLT:PROT:LOW %0.6lg", kYes) \
  S##_PROPERTY(VARIANT_BOOL, LowerOVPEnabled, ":VOLT:PROT:LOW:STAT?", "%{VARIANT_BOOL}[^\n]", ":VOLT:PROT:LOW:STAT %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(double, OVPLevel, ":VOLT:PROT?", nullptr, ":VOLT:PROT %0.6lg", kYes) \
  S##_PROPERTY(double, LineVoltage, ":SYST:PROT:LINE:VOLT?", nullptr, ":SYST:PROT:LINE:VOLT %0.6lg", kYes)
// clang-format on

namespace motqr::instrument {

template <class Self>
class OutputChannelProtection : public driver::MemberSet<Self, IMorvaneTqrOutputChannelProtection> {
 public:
  using Interface = IMorvaneTqrOutputChannelProtection;
  MOTQR_PROTECTION_MEMBERS(MOTQR_MEMBER)

 protected:
  ~OutputChannelProtection() = default;
};

inline constexpr RowView kProtectionRows[] = {MOTQR_PROTECTION_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
