// Setting memories on tqr-sim: settings saved to memory 1, changed, recalled.
#include "tests/e2e/sim_session.h"

namespace motqr::e2e {
namespace {

class MemoryE2e : public SimSessionTest {
 protected:
  struct Levels {
    double voltage = 0, current = 0, ovp = 0;
  };
  void Set(const Levels& levels) {
    ASSERT_EQ(output_->put_VoltageLevel(levels.voltage), com::S_OK) << LastError();
    ASSERT_EQ(output_->put_CurrentLimit(levels.current), com::S_OK) << LastError();
    ASSERT_EQ(output_->put_OVPLimit(levels.ovp), com::S_OK) << LastError();
  }
  Levels Get() {
    Levels levels;
    EXPECT_EQ(output_->get_VoltageLevel(&levels.voltage), com::S_OK) << LastError();
    EXPECT_EQ(output_->get_CurrentLimit(&levels.current), com::S_OK) << LastError();
    EXPECT_EQ(output_->get_OVPLimit(&levels.ovp), com::S_OK) << LastError();
    return levels;
  }
};

TEST_F(MemoryE2e, RecallBringsBackWhatWasSaved) {
  auto memory = Root<IMorvaneTqrSystemMemory>();
  Set({7.5, 2.25, 50});
  ASSERT_EQ(memory->SaveSettings(1), com::S_OK) << LastError();
  Set({3, 1, 20});
  ASSERT_EQ(memory->SaveSettings(2), com::S_OK) << LastError();
  Set({1, 0.5, 10});

  ASSERT_EQ(memory->RecallSettings(1), com::S_OK) << LastError();
  Levels back = Get();
  EXPECT_EQ(back.voltage, 7.5);
  EXPECT_EQ(back.current, 2.25);
  EXPECT_EQ(back.ovp, 50);
  ASSERT_EQ(memory->RecallSettings(2), com::S_OK) << LastError();
  EXPECT_EQ(Get().voltage, 3);

  // A memory the instrument does not have is its error, read by the status check.
  EXPECT_EQ(memory->RecallSettings(11), kInstrumentStatus);
  EXPECT_EQ(Get().voltage, 3);
}

}  // namespace
}  // namespace motqr::e2e
