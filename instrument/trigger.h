// IMorvaneTqrTrigger: arms, fires, pauses and aborts the acquire (measurement)
// and the transient (program) trigger systems, sets their sources, count,
// delay and interval, and reads where a running program is.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/trigger.h"

// clang-format off
#define MOTQR_TRIGGER_MEMBERS(S) \
  S##_MIN_MAX(double, QueryAcquireTriggerDelayMinMax, ":TRIG:ACQ:DEL? MIN;DELAY? MAX") \
  S##_MIN_MAX(double, QueryAcquireIntervalMinMax, ":TRIG:ACQ:INT:TIME? MIN;TIME? MAX") \
  S##_COMMAND_1(Initiate, ":INIT:%{MorvaneTqrTriggerSystemEnum}s", MorvaneTqrTriggerSystemEnum, TriggerSystem) \
  S##_COMMAND(SendSoftwareTrigger, ":TRIG:ACQ") \
  S##_COMMAND(PauseTransient, ":TRIG:TRAN:PAUS") \
  S##_COMMAND(ResumeTransient, ":TRIG:TRAN:RES") \
  S##_BY_HAND(QueryTransientInfo, "query", ::motqr::instrument::kQueryTransientInfo.command, ::motqr::instrument::kQueryTransientInfo.reply, nullptr) \
  S##_COMMAND_1(Abort, ":ABOR:%{MorvaneTqrTriggerSystemEnum}s", MorvaneTqrTriggerSystemEnum, TriggerSystem) \
  S##_MIN_MAX(std::int32_t, QueryAcquireTriggerCountMinMax, ":TRIG:ACQ:COUN? MIN;COUN? MAX") \
  S##_PROPERTY(MorvaneTqrAcquireTriggerSourceEnum, AcquireTriggerSource, ":TRIG:ACQ:SOUR?", "%{MorvaneTqrAcquireTriggerSourceEnum}[^\n]", ":TRIG:ACQ:SOUR %{MorvaneTqrAcquireTriggerSourceEnum}s", kYes) \
  S##_PROPERTY(std::int32_t, AcquireTriggerCount, ":TRIG:ACQ:COUN?", nullptr, ":TRIG:ACQ:COUN %d", kNo) \
  S##_PROPERTY(double, AcquireTriggerDelay, ":TRIG:ACQ:DEL?", nullptr, ":TRIG:ACQ:DEL %0.6lg", kYes) \
  S##_PROPERTY(VARIANT_BOOL, AcquireIntervalEnabled, ":TRIG:ACQ:INT:STAT?", "%{VARIANT_BOOL}[^\n]", ":TRIG:ACQ:INT:STAT %{VARIANT_BOOL}s", kYes) \
  S##_PROPERTY(double, AcquireInterval, ":TRIG:ACQ:INT:TIME?", nullptr, ":TRIG:ACQ:INT:TIME %0.6lg", kYes) \
  S##_PROPERTY(MorvaneTqrTransientTriggerSourceEnum, TransientTriggerSource, ":TRIG:TRAN:SOUR?", "%{MorvaneTqrTransientTriggerSourceEnum}[^\n]", ":TRIG:TRAN:SOUR %{MorvaneTqrTransientTriggerSourceEnum}s", kYes)
// clang-format on

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
  MOTQR_TRIGGER_MEMBERS(MOTQR_MEMBER)

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

inline constexpr RowView kTriggerRows[] = {MOTQR_TRIGGER_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
