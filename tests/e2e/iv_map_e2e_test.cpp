// I-V maps on tqr-sim: a whole voltage map written as one block and read back,
// and point edits seen in the block.
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "tests/e2e/sim_session.h"

namespace motqr::e2e {
namespace {

constexpr std::size_t kPoints = 1000;

// Voltage and current of each point in turn, in micro-units spread over the
// whole range of a TQR-M4 (+-100 V, +-20 A), signs mixed.
com::SafeArray MapValues() {
  com::SafeArray values = com::SafeArray::CreateVector(com::VT_R8, 2 * kPoints);
  auto data = values.Data<double>();
  for (std::size_t i = 0; i < kPoints; ++i) {
    data[2 * i] =
        static_cast<double>(static_cast<long>(i * 7919 * 25013 % 199999999) - 99999999) / 1e6;
    data[2 * i + 1] =
        static_cast<double>(static_cast<long>(i * 104729 % 39999999) - 19999999) / 1e6;
  }
  return values;
}

class IvMapE2e : public SimSessionTest {
 protected:
  void SetUp() override {
    SimSessionTest::SetUp();
    iv_ = Channel<IMorvaneTqrOutputChannelIV>();
    ASSERT_TRUE(iv_);
  }
  com::SafeArray ReadVoltageMap() {
    com::SafeArray back = com::SafeArray::CreateVector(com::VT_R8, 2 * kPoints);
    com::SAFEARRAY* array = back.Get();
    EXPECT_EQ(iv_->GetVoltageIVMap(&array), com::S_OK) << LastError();
    EXPECT_EQ(array, back.Get());  // filled in place
    return back;
  }

  com::ComPtr<IMorvaneTqrOutputChannelIV> iv_;
};

TEST_F(IvMapE2e, AThousandPointVoltageMapComesBackAsWritten) {
  const com::SafeArray written = MapValues();
  ASSERT_EQ(iv_->SetVoltageIVMap(written.Get()), com::S_OK) << LastError();
  std::int32_t count = 0;
  ASSERT_EQ(iv_->get_VoltageIVPointCount(&count), com::S_OK);
  EXPECT_EQ(count, static_cast<std::int32_t>(kPoints));
  ASSERT_EQ(iv_->get_CurrentIVPointCount(&count), com::S_OK);
  EXPECT_EQ(count, 0);  // the two maps are separate

  const com::SafeArray back = ReadVoltageMap();
  const auto want = written.Data<double>();
  const auto got = back.Data<double>();
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_NEAR(got[i], want[i], 1e-6) << "value " << i;
  }
}

TEST_F(IvMapE2e, PointEditsShowInTheBlock) {
  ASSERT_EQ(iv_->SetVoltageIVMap(MapValues().Get()), com::S_OK) << LastError();
  ASSERT_EQ(iv_->SetVoltageIVPoint(static_cast<std::int32_t>(kPoints), -12.5, 0.75), com::S_OK)
      << LastError();
  ASSERT_EQ(iv_->DeleteVoltageIVPoint(1), com::S_OK) << LastError();
  const com::SafeArray back = ReadVoltageMap();
  const auto got = back.Data<double>();
  EXPECT_EQ(got[2 * kPoints - 4], -12.5);  // the last point moved down by one
  EXPECT_EQ(got[2 * kPoints - 3], 0.75);
  EXPECT_EQ(got[2 * kPoints - 2], 0.0);  // the caller's elements past the map are left alone
  // A point beyond the map is the instrument's error.
  EXPECT_EQ(iv_->SetVoltageIVPoint(static_cast<std::int32_t>(kPoints) + 1, 1, 1),
            kInstrumentStatus);
}

// Maps whose block data begin with a line feed (0x0A, the read termination
// character): 0.000266 is 266 = 0x10A micro-units and goes out least
// significant byte first; 0.00001 is 0x0A itself, and 1.000202 (0xF430A) puts
// another line feed at the start of the next word. Over the socket and over
// the serial line, each comes back as written and the session stays in step.
TEST(IvMapLineFeedE2e, MapsWhoseDataBeginWithALineFeedReadBackOverSocketAndSerialLine) {
  SimProcess sim({"--pty", "--model", "TQR-M2", "--noise", "0"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  const std::vector<std::vector<double>> maps = {
      {0.000266, 1.0}, {0.00001, 1.000202, 2.5, 0.000266}, {0.000266, 0.00001}};
  for (const std::string& resource : {sim.SocketResource(), sim.SerialResource()}) {
    com::ComPtr<IIviDriver> driver = NewDriver();
    ASSERT_EQ(Initialize(driver.Get(), resource, true, true, "QueryInstrStatus=true"), com::S_OK)
        << resource << ": " << LastError();
    com::ComPtr<IIviDCPwrOutputs> outputs;
    ASSERT_EQ(As<IIviDCPwr>(driver)->get_Outputs(outputs.Put()), com::S_OK);
    com::ComPtr<IIviDCPwrOutput> output;
    ASSERT_EQ(outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), output.Put()),
              com::S_OK);
    com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
    ASSERT_EQ(output.As(&iv), com::S_OK);
    for (const std::vector<double>& map : maps) {
      com::SafeArray written =
          com::SafeArray::CreateVector(com::VT_R8, static_cast<std::uint32_t>(map.size()));
      std::copy(map.begin(), map.end(), written.Data<double>().begin());
      ASSERT_EQ(iv->SetCurrentIVMap(written.Get()), com::S_OK) << resource << ": " << LastError();
      com::SafeArray back =
          com::SafeArray::CreateVector(com::VT_R8, static_cast<std::uint32_t>(map.size()));
      com::SAFEARRAY* array = back.Get();
      ASSERT_EQ(iv->GetCurrentIVMap(&array), com::S_OK) << resource << ": " << LastError();
      for (std::size_t i = 0; i < map.size(); ++i) {
        EXPECT_NEAR(back.Data<double>()[i], map[i], 1e-9) << resource << " value " << i;
      }
      // The next query reads its own reply, not a rest of the block.
      ASSERT_EQ(output->put_CurrentLimit(3.0), com::S_OK) << LastError();
      double limit = 0;
      ASSERT_EQ(output->get_CurrentLimit(&limit), com::S_OK) << LastError();
      EXPECT_EQ(limit, 3.0) << resource;
    }
    EXPECT_EQ(driver->Close(), com::S_OK);
  }
}

// A block whose last data byte is a line feed still ends its message: the
// instrument takes the whole command at once (here refusing the 167.77216 A,
// 0x0A000000 micro-units, as out of range) instead of waiting for more data
// and taking the status query after it as part of the block.
TEST_F(IvMapE2e, ABlockEndingInALineFeedIsAWholeMessage) {
  com::SafeArray written = com::SafeArray::CreateVector(com::VT_R8, 2);
  written.Data<double>()[0] = 1.0;
  written.Data<double>()[1] = 167.77216;
  EXPECT_EQ(iv_->SetCurrentIVMap(written.Get()), kInstrumentStatus) << LastError();
  std::int32_t code = 0;
  com::Bstr text;
  ASSERT_EQ(Root<IIviDriverUtility>()->ErrorQuery(&code, text.Put()), com::S_OK) << LastError();
  EXPECT_EQ(code, -222) << text.ToUtf8();
  ASSERT_EQ(output_->put_VoltageLevel(4.0), com::S_OK) << LastError();
  double level = 0;
  ASSERT_EQ(output_->get_VoltageLevel(&level), com::S_OK) << LastError();
  EXPECT_EQ(level, 4.0);
}

}  // namespace
}  // namespace motqr::e2e
