// IMorvaneTqrData: integration of the measured values and its gate, and the
// data logger that hands over the recorded values oldest first.
#pragma once

#include <cstdint>

#include "instrument/driver_member_shapes.h"
#include "interfaces/data.h"

// (name, command)
#define MOTQR_DATA_COMMANDS(C)          \
  C(ResetIntegralData, ":DATA:INT:RES") \
  C(StartIntegral, ":DATA:INT:STAR")    \
  C(StopIntegral, ":DATA:INT:STOP")

// (name, argument type, argument name, command)
#define MOTQR_DATA_METHODS_IN(M)                                                               \
  M(ConfigureIntegralGateResetMethod, MorvaneTqrDataIntegralGateResetMethodEnum, Method,       \
    ":DATA:INT:GATE:RES %{MorvaneTqrDataIntegralGateResetMethodEnum}s")                        \
  M(ConfigureIntegralGateStartStopCondition, MorvaneTqrDataIntegralGateStartStopConditionEnum, \
    Condition, ":DATA:INT:GATE %{MorvaneTqrDataIntegralGateStartStopConditionEnum}s")

// (name, result type, result name, query, reply)
#define MOTQR_DATA_QUERIES_OUT(Q)                                                             \
  Q(QueryIntegralGateResetMethod, MorvaneTqrDataIntegralGateResetMethodEnum, Method,          \
    ":DATA:INT:GATE:RES?", "%{MorvaneTqrDataIntegralGateResetMethodEnum}[^\n]")               \
  Q(QueryIntegralGateStartStopCondition, MorvaneTqrDataIntegralGateStartStopConditionEnum,    \
    Condition, ":DATA:INT:GATE?", "%{MorvaneTqrDataIntegralGateStartStopConditionEnum}[^\n]") \
  Q(QueryIntegralDataRemainPoints, std::int32_t, Count, ":DATA:REM:POIN?", "%d")

namespace motqr::instrument {

// Hands over and deletes up to Count of the oldest values; the reply lists
// as many as the instrument gives.
inline constexpr driver::MethodRow kRemoveIntegralData{":DATA:REM? %d", "%,$Slf:"};

// `Data` is in/out: an array the caller passes is replaced (and destroyed)
// only when the exchange succeeded.
HRESULT RemoveIntegralData(driver::CallFrame& f, std::int32_t Count, com::SAFEARRAY** Data);

template <class Self>
class IntegralData : public driver::MemberSet<Self, IMorvaneTqrData> {
 public:
  using Interface = IMorvaneTqrData;
  MOTQR_DATA_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_DATA_METHODS_IN(MOTQR_MEMBER_METHOD_IN)
  MOTQR_DATA_QUERIES_OUT(MOTQR_MEMBER_QUERY_OUT)

  HRESULT RemoveIntegralData(std::int32_t Count, com::SAFEARRAY** Data) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "RemoveIntegralData">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) {
                              return instrument::RemoveIntegralData(f, Count, Data);
                            });
  }

 protected:
  ~IntegralData() = default;
};

// clang-format off
inline constexpr driver::RowView kDataRows[] = {
    MOTQR_DATA_COMMANDS(MOTQR_ROW_VIEW_COMMAND)
    MOTQR_DATA_METHODS_IN(MOTQR_ROW_VIEW_METHOD_IN)
    MOTQR_DATA_QUERIES_OUT(MOTQR_ROW_VIEW_QUERY_OUT)
    MethodRowView("RemoveIntegralData", "double list", kRemoveIntegralData)};
// clang-format on

}  // namespace motqr::instrument
