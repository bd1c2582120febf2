// A stored program built step by step, saved and run by tqr-sim's sequencer in
// simulated time, watched through QueryTransientInfo and the levels it sets.
#include <string>

#include "tests/e2e/sim_session.h"

namespace motqr::e2e {
namespace {

class ProgramE2e : public SimSessionTest {
 protected:
  struct TransientInfo {
    MorvaneTqrTransientStateEnum state = static_cast<MorvaneTqrTransientStateEnum>(-1);
    std::string name;
    std::int32_t step = -1;
    std::int32_t loop = -1;
  };
  TransientInfo Info() {
    TransientInfo info;
    com::Bstr name;
    EXPECT_EQ(Root<IMorvaneTqrTrigger>()->QueryTransientInfo(&info.state, name.Put(), &info.step,
                                                             &info.loop),
              com::S_OK)
        << LastError();
    info.name = name.ToUtf8();
    return info;
  }
  double VoltageLevel() {
    double level = -1;
    EXPECT_EQ(output_->get_VoltageLevel(&level), com::S_OK) << LastError();
    return level;
  }
};

// Three steps of 100 s each at 2, 4 and 6 V; the clock is moved to the middle
// of each step in turn, so real time passing during the test cannot blur them.
TEST_F(ProgramE2e, AThreeStepProgramRunsThroughItsSteps) {
  auto program = Root<IMorvaneTqrProgram>();
  ASSERT_EQ(program->ConfigureSelectedProgram(Text("RAMP3").Get()), com::S_OK) << LastError();
  ASSERT_EQ(program->put_ProgramStepCount(3), com::S_OK) << LastError();
  for (std::int32_t step = 1; step <= 3; ++step) {
    ASSERT_EQ(program->ConfigureProgramStepVoltage(step, 2.0 * step), com::S_OK) << LastError();
    ASSERT_EQ(program->ConfigureProgramStepCurrent(step, MorvaneTqrPositiveNegativePositive, 1.5),
              com::S_OK)
        << LastError();
    ASSERT_EQ(program->ConfigureProgramStepDwell(step, 100), com::S_OK) << LastError();
    ASSERT_EQ(program->ConfigureProgramStepOutputEnabled(step, com::VARIANT_TRUE), com::S_OK);
  }
  ASSERT_EQ(program->put_ProgramLoopCount(1), com::S_OK);
  ASSERT_EQ(program->SaveProgram(), com::S_OK) << LastError();

  std::int32_t steps = 0;
  ASSERT_EQ(program->QueryProgramStepCount(&steps), com::S_OK);
  EXPECT_EQ(steps, 3);
  double dwell = 0;
  ASSERT_EQ(program->QueryProgramStepDwell(2, &dwell), com::S_OK);
  EXPECT_EQ(dwell, 100);
  com::Bstr selected;
  ASSERT_EQ(program->QuerySelectedProgram(selected.Put()), com::S_OK);
  EXPECT_EQ(selected.ToUtf8(), "RAMP3");

  auto trigger = Root<IMorvaneTqrTrigger>();
  EXPECT_EQ(Info().state, MorvaneTqrTransientStateIdle);
  ASSERT_EQ(trigger->put_TransientTriggerSource(MorvaneTqrTransientTriggerSourceImmediate),
            com::S_OK);
  ASSERT_EQ(trigger->Initiate(MorvaneTqrTriggerSystemProgram), com::S_OK) << LastError();

  for (std::int32_t step = 1; step <= 3; ++step) {
    SCOPED_TRACE(step);
    const TransientInfo info = Info();
    EXPECT_EQ(info.state, MorvaneTqrTransientStateRun);
    EXPECT_EQ(info.name, "RAMP3");
    EXPECT_EQ(info.step, step);
    EXPECT_EQ(info.loop, 1);
    EXPECT_EQ(VoltageLevel(), 2.0 * step);
    AdvanceSeconds(step == 1 ? 150 : 100);
  }
  const TransientInfo done = Info();
  EXPECT_EQ(done.state, MorvaneTqrTransientStateIdle);
  EXPECT_EQ(done.step, 0);
  EXPECT_EQ(VoltageLevel(), 6.0);  // the last step's setting stays
}

// A stepped program that is paused keeps its step; the chain runs programs in order.
TEST_F(ProgramE2e, PauseHoldsTheStepAndAChainRunsProgramsInTurn) {
  auto program = Root<IMorvaneTqrProgram>();
  for (const char* name : {"FIRST", "SECOND"}) {
    ASSERT_EQ(program->ConfigureSelectedProgram(Text(name).Get()), com::S_OK) << LastError();
    ASSERT_EQ(program->ConfigureProgramStepDwell(1, 100), com::S_OK);
    ASSERT_EQ(program->put_ProgramLoopCount(1), com::S_OK);
    ASSERT_EQ(program->ChainProgram(Text(name).Get()), com::S_OK) << LastError();
  }
  com::SafeArray chain;
  ASSERT_EQ(program->QueryProgramChain(chain.Put()), com::S_OK) << LastError();
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_EQ(com::BstrToUtf8(chain.Data<BSTR>()[1]), "SECOND");

  auto trigger = Root<IMorvaneTqrTrigger>();
  ASSERT_EQ(trigger->Initiate(MorvaneTqrTriggerSystemProgram), com::S_OK) << LastError();
  EXPECT_EQ(Info().name, "FIRST");
  ASSERT_EQ(trigger->PauseTransient(), com::S_OK) << LastError();
  AdvanceSeconds(500);
  EXPECT_EQ(Info().state, MorvaneTqrTransientStatePause);
  EXPECT_EQ(Info().name, "FIRST");
  ASSERT_EQ(trigger->ResumeTransient(), com::S_OK) << LastError();
  AdvanceSeconds(150);
  EXPECT_EQ(Info().name, "SECOND");
  ASSERT_EQ(trigger->Abort(MorvaneTqrTriggerSystemProgram), com::S_OK) << LastError();
  EXPECT_EQ(Info().state, MorvaneTqrTransientStateIdle);
}

}  // namespace
}  // namespace motqr::e2e
