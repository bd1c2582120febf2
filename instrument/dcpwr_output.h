// IIviDCPwrOutput: the IviDCPwr class view of the output channel -- levels,
// on/off, the overvoltage limit, the configure methods, the output-state query,
// measurement and protection reset. The class features this instrument lacks
// (OVP enable, current-limit trip, ranges, triggered levels) report the
// class-feature-not-supported errors; those that hold a simulation value
// still store and return it while simulating.
#pragma once

#include <string_view>

#include "driver/member_macros.h"
#include "instrument/output_channel_protection.h"
#include "interfaces/ivi_dcpwr.h"

// (type, name, query, reply, set, sim)
#define MOTQR_DCPWR_OUTPUT_PROPERTIES(P)                                                     \
  P(double, VoltageLevel, ":VOLT?", nullptr, ":VOLT %0.6lg", kYes)                           \
  P(double, CurrentLimit, ":CURR?", nullptr, ":CURR %0.6lg", kYes)                           \
  P(VARIANT_BOOL, Enabled, ":OUTP?", "%{VARIANT_BOOL}[^\n]", ":OUTP %{VARIANT_BOOL}s", kYes) \
  P(double, OVPLimit, ":VOLT:PROT?", nullptr, ":VOLT:PROT %0.6lg", kYes)

// The largest level the instrument accepts; the argument is only traced.
// (name, argument, result, command)
#define MOTQR_DCPWR_OUTPUT_MAX_QUERIES(Q)                              \
  Q(QueryCurrentLimitMax, VoltageLevel, MaxCurrentLimit, ":CURR? MAX") \
  Q(QueryVoltageLevelMax, CurrentLimit, MaxVoltageLevel, ":VOLT? MAX")

// (name, command)
#define MOTQR_DCPWR_OUTPUT_COMMANDS(C) \
  C(ResetOutputProtection, ::motqr::instrument::kClearProtectionCommand)

// Properties of the class that this instrument does not have: (type, name,
// property named in the report or "" for the current member, sim).
#define MOTQR_DCPWR_OUTPUT_UNSUPPORTED(U)                           \
  U(VARIANT_BOOL, OVPEnabled, "", kYes)                             \
  U(IviDCPwrTriggerSourceEnum, TriggerSource, "TriggerSource", kNo) \
  U(double, TriggeredCurrentLimit, "TriggeredCurrentLimit", kYes)   \
  U(double, TriggeredVoltageLevel, "TriggeredVoltageLevel", kYes)

#define MOTQR_MEMBER_DCPWR_MAX_QUERY(Name, Argument, Result, Command)    \
  ::motqr::com::HRESULT Name(double Argument, double* Result) override { \
    return ::motqr::instrument::dcpwr::QueryMax<Interface, #Name>(       \
        this->node(), Command, #Argument, Argument, #Result, Result);    \
  }
#define MOTQR_MEMBER_DCPWR_UNSUPPORTED(Type, Name, Reported, SimFlag)                        \
  ::motqr::com::HRESULT get_##Name(Type* val) override {                                     \
    return ::motqr::instrument::dcpwr::UnsupportedGet<Interface, "get_" #Name>(              \
        this->node(), ::motqr::driver::Sim::SimFlag, Reported, val, MOTQR_TRACE_TYPE(Type)); \
  }                                                                                          \
  ::motqr::com::HRESULT put_##Name(Type val) override {                                      \
    return ::motqr::instrument::dcpwr::UnsupportedPut<Interface, "put_" #Name>(              \
        this->node(), ::motqr::driver::Sim::SimFlag, Reported, val, MOTQR_TRACE_TYPE(Type)); \
  }
#define MOTQR_ROW_VIEW_DCPWR_MAX_QUERY(Name, Argument, Result, Command) \
  ::motqr::driver::RowView{#Name, "method", Command, "%lf", nullptr, ::motqr::driver::Sim::kNo},

namespace motqr::instrument {
namespace dcpwr {

// The rows of the hand-written members.
inline constexpr driver::MethodRow kMeasureRow{":MEAS:%{IviDCPwrMeasurementTypeEnum}s?", "%lf"};
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

// The property-not-supported report naming `property`, or the current member
// when `property` is empty.
HRESULT ReportPropertyNotSupported(driver::CallFrame& f, std::string_view property);

// The largest level: `argument` is only traced, the query has no argument.
template <class I, driver::FixedString M>
HRESULT QueryMax(driver::CNode& node, const char* query, const char* argument_name, double argument,
                 const char* result_name, double* result) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kInitialized,
      [&](driver::CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Out(result, result_name));
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter(argument_name, argument),
                                       trace::OutParameter(result_name, result)));
        return driver::RunMethod(f, driver::MethodRow{query, "%lf"}, driver::Args(),
                                 driver::Out<double>{result, result_name});
      });
}

template <class I, driver::FixedString M, class T>
HRESULT UnsupportedGet(driver::CNode& node, driver::Sim sim, std::string_view property, T* val,
                       com::VARTYPE trace_type) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kInitialized,
      [&](driver::CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val, trace_type)));
        if (sim == driver::Sim::kYes && f.simulating()) {
          return driver::SimulatedGet(f, val);
        }
        return ReportPropertyNotSupported(f, property);
      });
}

template <class I, driver::FixedString M, class T>
HRESULT UnsupportedPut(driver::CNode& node, driver::Sim sim, std::string_view property, T val,
                       com::VARTYPE trace_type) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kInitialized,
      [&](driver::CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("val", val, trace_type)));
        if (sim == driver::Sim::kYes && f.simulating()) {
          return driver::SimulatedPut(f, val);
        }
        return ReportPropertyNotSupported(f, property);
      });
}

}  // namespace dcpwr

template <class Self>
class DCPwrOutput : public driver::MemberSet<Self, IIviDCPwrOutput> {
 public:
  using Interface = IIviDCPwrOutput;
  MOTQR_DCPWR_OUTPUT_PROPERTIES(MOTQR_MEMBER_PROPERTY)
  MOTQR_DCPWR_OUTPUT_MAX_QUERIES(MOTQR_MEMBER_DCPWR_MAX_QUERY)
  MOTQR_DCPWR_OUTPUT_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_DCPWR_OUTPUT_UNSUPPORTED(MOTQR_MEMBER_DCPWR_UNSUPPORTED)

  HRESULT Measure(IviDCPwrMeasurementTypeEnum MeasurementType, double* Measurement) override {
    return driver::Call<Interface, "Measure">(
        this->node(), dcpwr::kMeasureRow,
        driver::Inputs(MOTQR_ARG(IviDCPwrMeasurementTypeEnum, MeasurementType)),
        driver::Out<double>{Measurement, "Measurement"});
  }
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

inline constexpr driver::RowView kDCPwrOutputRows[] = {
    MOTQR_DCPWR_OUTPUT_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
        MOTQR_DCPWR_OUTPUT_MAX_QUERIES(MOTQR_ROW_VIEW_DCPWR_MAX_QUERY)
            MOTQR_DCPWR_OUTPUT_COMMANDS(MOTQR_ROW_VIEW_COMMAND)
    // clang-format off
    {"Measure", "method", dcpwr::kMeasureRow.command, dcpwr::kMeasureRow.reply, nullptr, driver::Sim::kNo},
    {"ConfigureCurrentLimit", "method", nullptr, nullptr, dcpwr::kConfigureCurrentLimitRow.command, driver::Sim::kNo},
    {"ConfigureOVP", "method", nullptr, nullptr, dcpwr::kConfigureOVPRow.command, driver::Sim::kNo},
    {"QueryState", "method", dcpwr::kOperationConditionRow.command, dcpwr::kOperationConditionRow.reply, nullptr, driver::Sim::kNo},
    {"QueryState", "method", dcpwr::kQuestionableConditionRow.command, dcpwr::kQuestionableConditionRow.reply, nullptr, driver::Sim::kNo},
    // clang-format on
};

}  // namespace motqr::instrument
