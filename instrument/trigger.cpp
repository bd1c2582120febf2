#include "instrument/trigger.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace motqr::instrument {
namespace {

// The state word of ":TRIG:TRAN:EXEC?", compared exactly.
bool TransientStateFromWord(std::string_view word, MorvaneTqrTransientStateEnum* state) {
  static constexpr struct {
    std::string_view word;
    MorvaneTqrTransientStateEnum state;
  } kWords[] = {
      {"IDLE", MorvaneTqrTransientStateIdle},
      {"WTG", MorvaneTqrTransientStateWatiTrigger},
      {"RUN", MorvaneTqrTransientStateRun},
      {"PAUS", MorvaneTqrTransientStatePause},
  };
  for (const auto& w : kWords) {
    if (w.word == word) {
      *state = w.state;
      return true;
    }
  }
  return false;
}

}  // namespace

HRESULT QueryTransientInfo(driver::CallFrame& f, MorvaneTqrTransientStateEnum* State,
                           BSTR* ProgramName, std::int32_t* StepNumber, std::int32_t* LoopNumber) {
  // State keeps the caller's value unless the reply names a known state.
  if (!State) return f.reporter().NullPointerCurrent("State");
  MOTQR_RETURN_IF_FAILED(f.Out(ProgramName, "ProgramName"));
  MOTQR_RETURN_IF_FAILED(f.Out(StepNumber, "StepNumber"));
  MOTQR_RETURN_IF_FAILED(f.Out(LoopNumber, "LoopNumber"));
  MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("State", State),
                                 trace::OutParameter("ProgramName", ProgramName),
                                 trace::OutParameter("StepNumber", StepNumber),
                                 trace::OutParameter("LoopNumber", LoopNumber)));

  std::string state_word;
  std::string name;
  std::int32_t step = 0;
  std::int32_t loop = 0;
  // Handed out once read (a failed status poll after the reply included).
  bool read = false;
  const HRESULT hr = driver::RunQuery(f, kQueryTransientInfo, driver::Args(), &read,
                                      driver::Out<std::string>{&state_word, "State"},
                                      driver::Out<std::string>{&name, "ProgramName"},
                                      driver::Out<std::int32_t>{&step, "StepNumber"},
                                      driver::Out<std::int32_t>{&loop, "LoopNumber"});
  if (!read) return hr;

  std::erase(name, '"');
  com::Bstr wide = com::Bstr::FromUtf8(name);
  if (wide.IsNull()) return f.reporter().OutOfMemory();
  TransientStateFromWord(state_word, State);
  *ProgramName = wide.Detach();
  *StepNumber = step;
  *LoopNumber = loop;
  return hr;
}

}  // namespace motqr::instrument
