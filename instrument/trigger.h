// IMorvaneTqrTrigger: arms, fires, pauses and aborts the acquire (measurement)
// and the transient (program) trigger systems, sets their sources, count,
// delay and interval, and reads where a running program is.
#pragma once

#include <cstdint>

#include "instrument/driver_member_shapes.h"
#include "interfaces/trigger.h"

// (type, name, query, reply, set, sim)
#define MOTQR_TRIGGER_PROPERTIES(P)                                                             \
  P(MorvaneTqrAcquireTriggerSourceEnum, AcquireTriggerSource, ":TRIG:ACQ:SOUR?",                \
    "%{MorvaneTqrAcquireTriggerSourceEnum}[^\n]",                                               \
    ":TRIG:ACQ:SOUR %{MorvaneTqrAcquireTriggerSourceEnum}s", kYes)                              \
  P(std::int32_t, AcquireTriggerCount, ":TRIG:ACQ:COUN?", nullptr, ":TRIG:ACQ:COUN %d", kNo)    \
  P(double, AcquireTriggerDelay, ":TRIG:ACQ:DEL?", nullptr, ":TRIG:ACQ:DEL %0.6lg", kYes)       \
  P(VARIANT_BOOL, AcquireIntervalEnabled, ":TRIG:ACQ:INT:STAT?", "%{VARIANT_BOOL}[^\n]",        \
    ":TRIG:ACQ:INT:STAT %{VARIANT_BOOL}s", kYes)                                                \
  P(double, AcquireInterval, ":TRIG:ACQ:INT:TIME?", nullptr, ":TRIG:ACQ:INT:TIME %0.6lg", kYes) \
  P(MorvaneTqrTransientTriggerSourceEnum, TransientTriggerSource, ":TRIG:TRAN:SOUR?",           \
    "%{MorvaneTqrTransientTriggerSourceEnum}[^\n]",                                             \
    ":TRIG:TRAN:SOUR %{MorvaneTqrTransientTriggerSourceEnum}s", kYes)

// (name, command)
#define MOTQR_TRIGGER_MIN_MAX(M)                                     \
  M(QueryAcquireTriggerDelayMinMax, ":TRIG:ACQ:DEL? MIN;DELAY? MAX") \
  M(QueryAcquireIntervalMinMax, ":TRIG:ACQ:INT:TIME? MIN;TIME? MAX")
#define MOTQR_TRIGGER_MIN_MAX_INT32(M) \
  M(QueryAcquireTriggerCountMinMax, ":TRIG:ACQ:COUN? MIN;COUN? MAX")

// (name, argument type, argument name, command)
#define MOTQR_TRIGGER_METHODS_IN(M)                                                                \
  M(Initiate, MorvaneTqrTriggerSystemEnum, TriggerSystem, ":INIT:%{MorvaneTqrTriggerSystemEnum}s") \
  M(Abort, MorvaneTqrTriggerSystemEnum, TriggerSystem, ":ABOR:%{MorvaneTqrTriggerSystemEnum}s")

// (name, command)
#define MOTQR_TRIGGER_COMMANDS(C)      \
  C(SendSoftwareTrigger, ":TRIG:ACQ")  \
  C(PauseTransient, ":TRIG:TRAN:PAUS") \
  C(ResumeTransient, ":TRIG:TRAN:RES")

namespace motqr::instrument {

// The transient state, the program name, the step and the loop of a running program.
inline constexpr driver::MethodRow kQueryTransientInfo{":TRIG:TRAN:EXEC?",
                                                       "%$C[^,], %$C[^,], %d, %d"};

// Reads the transient execution state. `State` is written only for a state
// word the driver knows; the program name loses its double quotes.
HRESULT QueryTransientInfo(driver::CallFrame& f, MorvaneTqrTransientStateEnum* State,
                           BSTR* ProgramName, std::int32_t* StepNumber, std::int32_t* LoopNumber);

template <class Self>
class Trigger : public driver::MemberSet<Self, IMorvaneTqrTrigger> {
 public:
  using Interface = IMorvaneTqrTrigger;
  MOTQR_TRIGGER_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_TRIGGER_METHODS_IN(MOTQR_MEMBER_METHOD_IN)
  MOTQR_TRIGGER_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_TRIGGER_MIN_MAX_INT32(MOTQR_MEMBER_MIN_MAX_INT32)
  MOTQR_TRIGGER_PROPERTIES(MOTQR_MEMBER_PROPERTY)

  HRESULT QueryTransientInfo(MorvaneTqrTransientStateEnum* State, BSTR* ProgramName,
                             std::int32_t* StepNumber, std::int32_t* LoopNumber) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "QueryTransientInfo">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) {
                              return instrument::QueryTransientInfo(f, State, ProgramName,
                                                                    StepNumber, LoopNumber);
                            });
  }

 protected:
  ~Trigger() = default;
};

// clang-format off
inline constexpr driver::RowView kTriggerRows[] = {
    MOTQR_TRIGGER_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
    MOTQR_TRIGGER_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)
    MOTQR_TRIGGER_MIN_MAX_INT32(MOTQR_ROW_VIEW_MIN_MAX_INT32)
    MOTQR_TRIGGER_METHODS_IN(MOTQR_ROW_VIEW_METHOD_IN)
    MOTQR_TRIGGER_COMMANDS(MOTQR_ROW_VIEW_COMMAND)
    MethodRowView("QueryTransientInfo", "transient info", kQueryTransientInfo)};
// clang-format on

}  // namespace motqr::instrument
