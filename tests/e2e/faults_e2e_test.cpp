// A stalled instrument and a dropped connection: bounded failures, then the
// session closes and a new one opens.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(FaultsE2e, AStalledInstrumentTimesOutWithinTheSetTimeAndTheSessionCloses) {
  SimProcess sim({"--stall-after", "1"});  // answers "*IDN?" of Initialize, then nothing
  ASSERT_TRUE(sim.ok()) << sim.error();
  com::ComPtr<IIviDriver> driver = NewDriver();
  ASSERT_EQ(Initialize(driver.Get(), sim.SocketResource(), true, false), com::S_OK) << LastError();
  std::int32_t result = 0;
  com::Bstr message;
  const auto start = Clock::now();
  // "*TST?" runs under the self-test time-out of 2000 ms.
  EXPECT_EQ(As<IIviDriverUtility>(driver)->SelfTest(&result, message.Put()), kIoTimeout);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(1900));
  EXPECT_LT(elapsed, milliseconds(3500));
  EXPECT_NE(LastError().find("I/O timeout error"), std::string::npos);
  EXPECT_EQ(driver->Close(), com::S_OK);
}

TEST(FaultsE2e, ADroppedConnectionIsAnIoErrorThenCloseAndANewInitializeWork) {
  SimProcess sim({"--drop-after", "1"});  // closes after answering "*IDN?"
  ASSERT_TRUE(sim.ok()) << sim.error();
  com::ComPtr<IIviDriver> driver = NewDriver();
  ASSERT_EQ(Initialize(driver.Get(), sim.SocketResource(), true, false), com::S_OK) << LastError();
  std::int32_t result = 0;
  com::Bstr message;
  const auto start = Clock::now();
  EXPECT_EQ(As<IIviDriverUtility>(driver)->SelfTest(&result, message.Put()), kIoGeneral);
  EXPECT_LT(Clock::now() - start, milliseconds(1500));  // no waiting for a time-out
  EXPECT_EQ(driver->Close(), com::S_OK);

  ASSERT_EQ(Initialize(driver.Get(), sim.SocketResource(), true, false), com::S_OK) << LastError();
  EXPECT_EQ(Model(driver), "TQR-M4");
  EXPECT_EQ(driver->Close(), com::S_OK);
}

}  // namespace
}  // namespace motqr::e2e
