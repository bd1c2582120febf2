// IMorvaneTqrOutputChannelProtection: the trip thresholds of the output (OCP,
// OPP and their sink-side counterparts, OVP and lower OVP, line OVP), the
// communication watchdog, wrong-sensing detection, and clearing a tripped alarm.
#pragma once

#include "driver/member_macros.h"
#include "interfaces/output_channel.h"

// (type, name, query, reply, set, sim)
#define MOTQR_PROTECTION_PROPERTIES(P)                                                          \
  P(double, OCPLevel, ":CURR:PROT?", nullptr, ":CURR:PROT %0.6lg", kYes)                        \
  P(double, OCPGraceTime, ":CURR:PROT:DEL?", nullptr, ":CURR:PROT:DEL %0.6lg", kYes)            \
  P(double, NOCPLevel, ":CURR:NEG:PROT?", nullptr, ":CURR:NEG:PROT %0.6lg", kYes)               \
  P(double, OPPLevel, ":POW:PROT?", nullptr, ":POW:PROT %0.6lg", kYes)                          \
  P(double, NOPPLevel, ":POW:NEG:PROT?", nullptr, ":POW:NEG:PROT %0.6lg", kYes)                 \
  P(double, OVPLevel, ":VOLT:PROT?", nullptr, ":VOLT:PROT %0.6lg", kYes)                        \
  P(double, LowerOVPLevel, ":VOLT:PROT:LOW?", nullptr, ":VOLT:PROT:LOW %0.6lg", kYes)           \
  P(VARIANT_BOOL, LowerOVPEnabled, ":VOLT:PROT:LOW:STAT?", "%{VARIANT_BOOL}[^\n]",              \
    ":VOLT:PROT:LOW:STAT %{VARIANT_BOOL}s", kYes)                                               \
  P(double, LineVoltage, ":SYST:PROT:LINE:VOLT?", nullptr, ":SYST:PROT:LINE:VOLT %0.6lg", kYes) \
  P(VARIANT_BOOL, WatchdogEnabled, ":OUTP:PROT:WDOG?", "%{VARIANT_BOOL}[^\n]",                  \
    ":OUTP:PROT:WDOG %{VARIANT_BOOL}s", kYes)                                                   \
  P(double, WatchdogTime, ":OUTP:PROT:WDOG:DEL?", nullptr, ":OUTP:PROT:WDOG:DEL %0.6lg", kYes)  \
  P(VARIANT_BOOL, RemoteSensingErrorEnabled, ":OUTP:PROT:RSEN?", "%{VARIANT_BOOL}[^\n]",        \
    ":OUTP:PROT:RSEN %{VARIANT_BOOL}s", kYes)

// (name, command)
#define MOTQR_PROTECTION_MIN_MAX(M)                                \
  M(QueryOCPLevelMinMax, ":CURR:PROT? MIN;PROT? MAX")              \
  M(QueryOCPGraceTimeMinMax, ":CURR:PROT:DEL? MIN;DEL? MAX")       \
  M(QueryNOCPLevelMinMax, ":CURR:NEG:PROT? MIN;PROT? MAX")         \
  M(QueryOPPLevelMinMax, ":POW:PROT? MIN;PROT? MAX")               \
  M(QueryNOPPLevelMinMax, ":POW:NEG:PROT? MIN;PROT? MAX")          \
  M(QueryOVPLevelMinMax, ":VOLT:PROT? MIN;PROT? MAX")              \
  M(QueryLowerOVPLevelMinMax, ":VOLT:PROT:LOW? MIN;LOW? MAX")      \
  M(QueryLineVoltageMinMax, ":SYST:PROT:LINE:VOLT? MIN;VOLT? MAX") \
  M(QueryWatchdogTimeMinMax, ":OUTP:PROT:WDOG:DEL? MIN;DEL? MAX")

namespace motqr::instrument {

// Clears a tripped protection (the low alarm); IIviDCPwrOutput's
// ResetOutputProtection sends it too.
inline constexpr char kClearProtectionCommand[] = ":OUTP:PROT:CLE";

// (name, command)
#define MOTQR_PROTECTION_COMMANDS(C) C(Clear, ::motqr::instrument::kClearProtectionCommand)

template <class Self>
class OutputChannelProtection : public driver::MemberSet<Self, IMorvaneTqrOutputChannelProtection> {
 public:
  using Interface = IMorvaneTqrOutputChannelProtection;
  MOTQR_PROTECTION_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_PROTECTION_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_PROTECTION_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~OutputChannelProtection() = default;
};

inline constexpr driver::RowView kProtectionRows[] = {
    MOTQR_PROTECTION_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
        MOTQR_PROTECTION_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)
            MOTQR_PROTECTION_COMMANDS(MOTQR_ROW_VIEW_COMMAND)};

}  // namespace motqr::instrument
