// IMorvaneTqrData: integration of the measured values and its gate, and the
// data logger that hands over the recorded values oldest first.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/data.h"

// clang-format off
#define MOTQR_DATA_MEMBERS(S) \
  S##_COMMAND(ResetIntegralData, ":DATA:INT:RES") \
  S##_COMMAND_1(ConfigureIntegralGateResetMethod, ":DATA:INT:GATE:RES %{MorvaneTqrDataIntegralGateResetMethodEnum}s", MorvaneTqrDataIntegralGateResetMethodEnum, Method) \
  S##_COMMAND_1(ConfigureIntegralGateStartStopCondition, ":DATA:INT:GATE %{MorvaneTqrDataIntegralGateStartStopConditionEnum}s", MorvaneTqrDataIntegralGateStartStopConditionEnum, Condition) \
  S##_QUERY(QueryIntegralGateResetMethod, ":DATA:INT:GATE:RES?", "%{MorvaneTqrDataIntegralGateResetMethodEnum}[^\n]", MorvaneTqrDataIntegralGateResetMethodEnum, "Method") \
  S##_QUERY(QueryIntegralGateStartStopCondition, ":DATA:INT:GATE?", "%{MorvaneTqrDataIntegralGateStartStopConditionEnum}[^\n]", MorvaneTqrDataIntegralGateStartStopConditionEnum, "Condition") \
  S##_COMMAND(StartIntegral, ":DATA:INT:STAR") \
  S##_COMMAND(StopIntegral, ":DATA:INT:STOP") \
  S##_BY_HAND(RemoveIntegralData, "array query", ::motqr::instrument::kRemoveIntegralData.command, ::motqr::instrument::kRemoveIntegralData.reply, nullptr) \
  S##_QUERY(QueryIntegralDataRemainPoints, ":DATA:REM:POIN?", "%d", std::int32_t, "Count")
// clang-format on

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
  MOTQR_DATA_MEMBERS(MOTQR_MEMBER)

  HRESULT RemoveIntegralData(std::int32_t Count, com::SAFEARRAY** Data) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "RemoveIntegralData">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) {
                              return instrument::RemoveIntegralData(f, Count, Data);
                            });
  }

 protected:
  ~IntegralData() = default;
};

inline constexpr RowView kDataRows[] = {MOTQR_DATA_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
