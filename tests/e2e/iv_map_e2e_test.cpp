// I-V maps on tqr-sim: a whole voltage map written as one block and read back,
// and point edits seen in the block.
#include <cstddef>

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

}  // namespace
}  // namespace motqr::e2e
