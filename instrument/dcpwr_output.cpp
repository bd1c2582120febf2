#include "instrument/dcpwr_output.h"

#include <cstdint>
#include <optional>

#include "platform/com/error_info.h"

namespace motqr::instrument::dcpwr {
namespace {

using driver::CallFrame;

template <driver::FixedString M>
const errors::MethodDescriptor& Method() {
  return driver::Describe<IIviDCPwrOutput, M>();
}

// Which condition word, and which bit of it, tells whether the output is in `state`.
struct StateBit {
  bool questionable;
  std::int32_t mask;
};

std::optional<StateBit> BitOfState(IviDCPwrOutputStateEnum state) {
  switch (state) {
    case IviDCPwrOutputConstantVoltage:
      return StateBit{false, 1};
    case IviDCPwrOutputConstantCurrent:
      return StateBit{false, 2};
    case IviDCPwrOutputOverVoltage:
      return StateBit{true, 1};
    case IviDCPwrOutputOverCurrent:
      return StateBit{true, 2};
    case IviDCPwrOutputUnregulated:
      return std::nullopt;
  }
  return std::nullopt;  // a value outside the enumeration
}

}  // namespace

HRESULT ConfigureCurrentLimit(driver::CNode& node, IviDCPwrCurrentLimitBehaviorEnum Behavior,
                              double Limit) {
  return driver::RunFrame(
      node, Method<"ConfigureCurrentLimit">(), driver::Check::kInitialized,
      [&](CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(
            f.Trace(trace::InParameter("Behavior", Behavior), trace::InParameter("Limit", Limit)));
        if (Behavior == IviDCPwrCurrentLimitTrip) {
          return f.reporter().ValueNotSupportedCurrent("IviDCPwrCurrentLimitTrip", "Behavior");
        }
        return driver::RunMethod(f, kConfigureCurrentLimitRow, driver::Args(Limit));
      });
}

HRESULT ConfigureOVP(driver::CNode& node, VARIANT_BOOL Enabled, double Limit) {
  return driver::RunFrame(
      node, Method<"ConfigureOVP">(), driver::Check::kInitialized, [&](CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Enabled", Enabled, com::VT_BOOL),
                                       trace::InParameter("Limit", Limit)));
        // The overvoltage protection cannot be switched off.
        if (Enabled == com::VARIANT_FALSE) {
          return f.reporter().ValueNotSupportedCurrent("VALIANT_TRUE", "Enabled");
        }
        return driver::RunMethod(f, kConfigureOVPRow, driver::Args(Limit));
      });
}

HRESULT ConfigureRange(driver::CNode& node, IviDCPwrRangeTypeEnum RangeType, double Range) {
  return driver::RunFrame(
      node, Method<"ConfigureRange">(), driver::Check::kInitialized, [&](CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("RangeType", RangeType),
                                       trace::InParameter("Range", Range)));
        return f.reporter().FunctionNotSupported("IIviDCPwrOutput_ConfigureRange");
      });
}

HRESULT QueryState(driver::CNode& node, IviDCPwrOutputStateEnum OutputState,
                   VARIANT_BOOL* InState) {
  return driver::RunFrame(
      node, Method<"QueryState">(), driver::Check::kInitialized, [&](CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Out(InState, "InState"));
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("OutputState", OutputState),
                                       trace::OutParameter("InState", InState, com::VT_BOOL)));
        std::int32_t operation = 0;
        std::int32_t questionable = 0;
        // Both condition words are queried whatever the state asked for, the
        // second even when the first exchange failed; the second exchange's
        // result is the member's, and a word that was not read tests as 0.
        driver::RunMethod(f, kOperationConditionRow, driver::Args(),
                          driver::Out<std::int32_t>{&operation, "InState"});
        const HRESULT hr = driver::RunMethod(f, kQuestionableConditionRow, driver::Args(),
                                             driver::Out<std::int32_t>{&questionable, "InState"});
        MOTQR_RETURN_IF_FAILED(hr);
        com::SetErrorInfo(0, nullptr);  // a failure of the first exchange is not the member's
        const std::optional<StateBit> bit = BitOfState(OutputState);
        if (!bit) return f.reporter().InvalidValueStringCurrent("OutputState", "");
        const std::int32_t word = bit->questionable ? questionable : operation;
        // The class reports the state as 1, not as VARIANT_TRUE.
        if ((word & bit->mask) != 0) *InState = 1;
        return hr;
      });
}

HRESULT GetCurrentLimitBehavior(driver::CNode& node, IviDCPwrCurrentLimitBehaviorEnum* val) {
  return driver::RunFrame(node, Method<"get_CurrentLimitBehavior">(), driver::Check::kInitialized,
                          [&](CallFrame& f) -> HRESULT {
                            MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                            MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                            *val = IviDCPwrCurrentLimitRegulate;  // the only behaviour there is
                            return com::S_OK;
                          });
}

HRESULT PutCurrentLimitBehavior(driver::CNode& node, IviDCPwrCurrentLimitBehaviorEnum val) {
  return driver::RunFrame(node, Method<"put_CurrentLimitBehavior">(), driver::Check::kInitialized,
                          [&](CallFrame& f) -> HRESULT {
                            MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("val", val)));
                            if (val == IviDCPwrCurrentLimitRegulate) return com::S_OK;
                            return f.reporter().ValueNotSupportedCurrent(
                                "IviDCPwrCurrentLimitRegulate", "*val");
                          });
}

}  // namespace motqr::instrument::dcpwr
