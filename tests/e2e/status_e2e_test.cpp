// Instrument status checking and the error queue against tqr-sim.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/raw_instrument.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

class StatusE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.ok()) << sim_.error();
    driver_ = NewDriver();
    ASSERT_EQ(
        Initialize(driver_.Get(), sim_.SocketResource(), true, false, "QueryInstrStatus=true"),
        com::S_OK)
        << LastError();
    utility_ = As<IIviDriverUtility>(driver_);
  }
  void TearDown() override {
    if (driver_) driver_->Close();
  }

  // Sends a command the instrument refuses from a second connection: the
  // status registers and the error queue belong to the instrument, not to a
  // connection, so the driver's next status check sees it.
  void RejectedCommand(const std::string& command) {
    RawClient other(sim_.port());
    ASSERT_TRUE(other.connected());
    ASSERT_TRUE(other.Send(command));
    ASSERT_TRUE(other.Send("*OPC?"));
    ASSERT_EQ(other.ReadLine(), "1");  // the command has been processed
  }

  SimProcess sim_;
  com::ComPtr<IIviDriver> driver_;
  com::ComPtr<IIviDriverUtility> utility_;
};

TEST_F(StatusE2e, ARejectedCommandFailsTheNextCheckedOperationAndErrorQueryReadsIt) {
  EXPECT_EQ(utility_->Reset(), com::S_OK) << LastError();
  RejectedCommand(":VOLT 1000");  // beyond the 100 V of the TQR-M4
  EXPECT_EQ(utility_->Reset(), kInstrumentStatus);
  EXPECT_NE(LastError().find("Instrument error detected."), std::string::npos);

  std::int32_t code = 0;
  com::Bstr message;
  EXPECT_EQ(utility_->ErrorQuery(&code, message.Put()), com::S_OK) << LastError();
  EXPECT_EQ(code, -222);
  EXPECT_FALSE(message.ToUtf8().empty());
  EXPECT_EQ(message.ToUtf8().find('"'), std::string::npos);  // quotes removed
  EXPECT_EQ(utility_->ErrorQuery(&code, message.Put()), com::S_OK);
  EXPECT_EQ(code, 0);

  // The register was read (and so cleared) by the check: the next operation passes.
  EXPECT_EQ(utility_->Reset(), com::S_OK) << LastError();
}

}  // namespace
}  // namespace motqr::e2e
