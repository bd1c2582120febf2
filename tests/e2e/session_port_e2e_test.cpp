// The driver's VISA-COM session port against tqr-sim: the generic executors
// and the raw operations direct I/O uses.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "driver/visa_session_port.h"
#include "io/testing/recording_error_reporter.h"
#include "platform/com/com_ptr.h"
#include "platform/visa/visa_com_interfaces.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

class CountingPoller final : public io::IInstrErrorPoller {
 public:
  com::HRESULT PollInstrumentErrors() override {
    ++polls;
    return com::S_OK;
  }
  int polls = 0;
};

class NoEnums final : public io::IEnumFormatter {
 public:
  com::HRESULT FormatEnum(std::string_view, std::int32_t, std::string*) override {
    return com::E_FAIL;
  }
  com::HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return com::E_FAIL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 0; }
};

class SessionPortE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.ok()) << sim_.error();
    ASSERT_EQ(Open(), com::S_OK) << reporter_.LastText();
  }
  com::HRESULT Open() { return port_->Open(sim_.SocketResource(), &poller_, &reporter_, &enums_); }

  SimProcess sim_;
  std::unique_ptr<driver::ISessionPort> port_ = driver::MakeVisaSessionPort();
  CountingPoller poller_;
  io::testing::RecordingErrorReporter reporter_;
  NoEnums enums_;
};

TEST_F(SessionPortE2e, CommandsAndFormattedQueriesPollOnceEach) {
  EXPECT_EQ(port_->WriteCommand(":VOLT 5.5"), com::S_OK);
  EXPECT_EQ(poller_.polls, 1);
  double volts = 0;
  EXPECT_EQ(port_->QueryFormatted(":VOLT?", "%lf", std::array<io::ScanArg, 1>{&volts}), com::S_OK);
  EXPECT_EQ(volts, 5.5);
  double low = 0;
  double high = 0;
  EXPECT_EQ(port_->QueryFormatted(":VOLT? MIN;:VOLT? MAX", "%lf;%lf",
                                  std::array<io::ScanArg, 2>{&low, &high}),
            com::S_OK);
  EXPECT_EQ(low, -100);
  EXPECT_EQ(high, 100);
  EXPECT_EQ(poller_.polls, 3);
  std::int32_t opc = 0;
  EXPECT_EQ(port_->QueryInt32("*OPC?", &opc, false, 500), com::S_OK);
  EXPECT_EQ(opc, 1);
  EXPECT_EQ(poller_.polls, 3);
}

TEST_F(SessionPortE2e, DirectIoBypassesTheFormattedBuffersAndTimeoutsStick) {
  com::Bstr command = com::Bstr::FromUtf8("*IDN?\n");  // raw: the caller's terminator
  ASSERT_EQ(port_->WriteString(command.Get()), com::S_OK);
  com::Bstr reply;
  ASSERT_EQ(port_->ReadString(reply.Put()), com::S_OK);
  EXPECT_NE(reply.ToUtf8().find(",TQR-M4,"), std::string::npos) << reply.ToUtf8();
  EXPECT_EQ(reply.ToUtf8().back(), '\n');
  EXPECT_EQ(poller_.polls, 0);

  EXPECT_EQ(port_->SetIoTimeout(750), com::S_OK);
  std::int32_t timeout = 0;
  EXPECT_EQ(port_->GetIoTimeout(&timeout), com::S_OK);
  EXPECT_EQ(timeout, 750);
  com::ComPtr<visa::IFormattedIO488> formatted;
  EXPECT_EQ(port_->GetIFormattedIO488Pointer(formatted.Put()), com::S_OK);
  EXPECT_TRUE(formatted);

  // Nothing pending: a raw read times out under the session time-out.
  com::SafeArray bytes;
  EXPECT_EQ(port_->ReadBytes(bytes.Put()), io::testing::RecordingErrorReporter::kIoTimeout);
  EXPECT_FALSE(bytes);
}

TEST_F(SessionPortE2e, OpeningAnOpenSessionAgainClosesItFirst) {
  EXPECT_EQ(Open(), com::S_OK);
  EXPECT_TRUE(port_->IsOpen());
  std::string idn;
  EXPECT_EQ(port_->QueryString("*IDN?", &idn, io::kTmoKeep), com::S_OK);
  EXPECT_NE(idn.find(",TQR-M4,"), std::string::npos) << idn;
  EXPECT_EQ(port_->Close(), com::S_OK);
  EXPECT_FALSE(port_->IsOpen());
  EXPECT_EQ(port_->WriteCommand("*CLS"), io::testing::RecordingErrorReporter::kNotInitialized);
}

}  // namespace
}  // namespace motqr::e2e
