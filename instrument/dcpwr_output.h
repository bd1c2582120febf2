// IIviDCPwrOutput: the IviDCPwr class view of the output channel -- levels,
// on/off, the overvoltage limit, the configure methods, the output-state query,
// measurement and protection reset. The class features this instrument lacks
// (OVP enable, current-limit trip, ranges, triggered levels) report the
// class-feature-not-supported errors; those that hold a simulation value
// still store and return it while simulating.
#pragma once

#include <string_view>

#include "instrument/member_shapes.h"
#include "instrument/output_channel_protection.h"
#include "interfaces/ivi_dcpwr.h"

// The members in the interface's order. The level queries read the largest
// level the instrument accepts; their argument is only traced.
// clang-format off
#define MOTQR_DCPWR_OUTPUT_MEMBERS(S) \
  S##_BY_HAND(ConfigureCurrentLimit, "command", nullptr, nullptr, ::motqr::instrument::dcpwr::kConfigureCurrentLimitRow.command) \
  S##_BY_HAND(ConfigureRange, "command", nullptr, nullptr, nullptr) \
  S##_BY_HAND(ConfigureOVP, "command", nullptr, nullptr, ::motqr::instrument::dcpwr::kConfigureOVPRow.command) \
  S##_QUERY_1(Measure, ":MEAS:%{IviDCPwrMeasurementTypeEnum}s?", "%lf", IviDCPwrMeasurementTypeEnum, MeasurementType, double, "Measurement") \
  S##_QUERY_1(QueryCurrentLimitMax, ":CURR? MAX", "%lf", double, VoltageLevel, double, "MaxCurrentLimit") \
  S##_BY_HAND(QueryState, "query", ::motqr::instrument::dcpwr::kOperationConditionRow.command, ::motqr::instrument::dcpwr::kOperationConditionRow.reply, nullptr) \
  S##_QUERY_1(QueryVoltageLevelMax, ":VOLT? MAX", "%lf", double, CurrentLimit, double, "MaxVoltageLevel") \
  S##_COMMAND(ResetOutputProtection, ::motqr::instrument::kClearProtectionCommand) \
  S##_PROPERTY(VARIANT_BOOL, Enabled, ":OUTP?", "%{VARIANT_BOOL}[^\n]", ":OUTP %{VARIANT_BOOL}s", kYes) \
  S##_UNSUPPORTED_PROPERTY(IviDCPwrTriggerSourceEnum, TriggerSource, "TriggerSource", kNo) \
  S##_UNSUPPORTED_PROPERTY(double, TriggeredCurrentLimit, "TriggeredCurrentLimit", kYes) \
  S##_UNSUPPORTED_PROPERTY(double, TriggeredVoltageLevel, "TriggeredVoltageLevel", kYes) \
  S##_PROPERTY(double, VoltageLevel, ":VOLT?", nullptr, ":VOLT %0.6lg", kYes) \
  S##_PROPERTY(double, CurrentLimit, ":CURR?", nullptr, ":CURR %0.6lg", kYes) \
  S##_BY_HAND(CurrentLimitBehavior, "property", nullptr, nullptr, nullptr) \
  S##_PROPERTY(double, OVPLimit, ":VOLT:PROT?", nullptr, ":VOLT:PROT %0.6lg", kYes) \
  S##_UNSUPPORTED_PROPERTY(VARIANT_BOOL, OVPEnabled, "", kYes)
// clang-format on

namespace motqr::instrument {
namespace dcpwr {

// The rows of the hand-written members.
inline constexpr driver::MethodRow kConfigureCurrentLimitRow{":CURR %f", nullptr};
inline constexpr driver::MethodRow kConfigureOVPRow{"VOLT:PROT %f", nullptr};
inline constexpr driver::MethodRow kOperationConditionRow{":STAT:OPER:COND?", "%d"};
inline constexpr driver::MethodRow kQuestionableConditionRow{":STAT:QUES:COND?", "%d"};

HRESULT ConfigureCurrentLimit(driver::CNode& node, IviDCPwrCurrentLimitBehaviorEnum Behavior,
                              double Limit);
HRESULT ConfigureOVP(driver::CNode& node, VARIANT_BOOL Enabled, double Limit);
HRESULT ConfigureRange(driver::CNode& node, IviDCPwrRangeTypeEnum RangeType, double Range);
HRESULT QueryState(driver::CNode& node, IviDCPwrOutputStateEnum OutputState, VARIANT_BOOL* InState);
HRESULT GetCurrentLimitBehavior(driver::CNode& node, IviDCPwrCurrentLimitBehaviorEnum* val);
HRESULT PutCurrentLimitBehavior(driver::CNode& node, IviDCPwrCurrentLimitBehaviorEnum val);

}  // namespace dcpwr

template <class Self>
class DCPwrOutput : public driver::MemberSet<Self, IIviDCPwrOutput> {
 public:
  using Interface = IIviDCPwrOutput;
  MOTQR_DCPWR_OUTPUT_MEMBERS(MOTQR_MEMBER)

  HRESULT ConfigureCurrentLimit(IviDCPwrCurrentLimitBehaviorEnum Behavior, double Limit) override {
    return dcpwr::ConfigureCurrentLimit(this->node(), Behavior, Limit);
  }
  HRESULT ConfigureOVP(VARIANT_BOOL Enabled, double Limit) override {
    return dcpwr::ConfigureOVP(this->node(), Enabled, Limit);
  }
  HRESULT ConfigureRange(IviDCPwrRangeTypeEnum RangeType, double Range) override {
    return dcpwr::ConfigureRange(this->node(), RangeType, Range);
  }
  HRESULT QueryState(IviDCPwrOutputStateEnum OutputState, VARIANT_BOOL* InState) override {
    return dcpwr::QueryState(this->node(), OutputState, InState);
  }
  HRESULT get_CurrentLimitBehavior(IviDCPwrCurrentLimitBehaviorEnum* val) override {
    return dcpwr::GetCurrentLimitBehavior(this->node(), val);
  }
  HRESULT put_CurrentLimitBehavior(IviDCPwrCurrentLimitBehaviorEnum val) override {
    return dcpwr::PutCurrentLimitBehavior(this->node(), val);
  }

 protected:
  ~DCPwrOutput() = default;
};

inline constexpr RowView kDCPwrOutputRows[] = {MOTQR_DCPWR_OUTPUT_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
