#include "instrument/output_channel_iv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "errors/status_codes.h"
#include "instrument/testing/member_fixture.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::OutputChannelIV>;

com::SafeArray Doubles(const std::vector<double>& values) {
  auto a = com::SafeArray::CreateVector(com::VT_R8, static_cast<std::uint32_t>(values.size()));
  std::copy(values.begin(), values.end(), a.Data<double>().begin());
  return a;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(IV, RowsSendTheirCommands) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  ASSERT_EQ(f.status, com::S_OK);
  auto& iv = *f.channel;
  EXPECT_EQ(iv.SetCurrentIVPoint(3, 12.5, 0.8), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":CURR:IV:MAP3 12.5,0.8");
  EXPECT_EQ(iv.SetVoltageIVPoint(-1, 1e-7, -20), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":VOLT:IV:MAP-1 1e-07,-20");
  EXPECT_EQ(iv.ClearCurrentIVMap(), com::S_OK);
  EXPECT_EQ(iv.ClearVoltageIVMap(), com::S_OK);
  EXPECT_EQ(iv.put_VoltageIVPointCount(12), com::S_OK);
  EXPECT_EQ(inst.sent,
            (std::vector<std::string>{":CURR:IV:MAP3 12.5,0.8", ":VOLT:IV:MAP-1 1e-07,-20",
                                      ":CURR:IV:CLE", ":VOLT:IV:CLE", ":VOLT:IV:COUN 12"}));
  inst.Reply(":CURR:IV:COUN?", "7\n");
  std::int32_t count = 0;
  EXPECT_EQ(iv.get_CurrentIVPointCount(&count), com::S_OK);
  EXPECT_EQ(count, 7);
}

TEST(IV, CatalogueArrivesInReplyOrder) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  inst.Reply(":VOLT:IV:CAT?", "1.5,0.25,2,-0.5\n");
  com::SafeArray points;
  ASSERT_EQ(f.channel->GetAllVoltageIVPoints(points.Put()), com::S_OK);
  const auto v = points.Data<double>();
  EXPECT_EQ(std::vector<double>(v.begin(), v.end()), (std::vector<double>{1.5, 0.25, 2, -0.5}));
  EXPECT_EQ(f.channel->GetAllCurrentIVPoints(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), 1u);
}

TEST(IV, MapsGoOutLeastSignificantByteFirst) {
  // Each command ends with the line feed that ends its message, after the data.
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  auto& iv = *f.channel;
  EXPECT_EQ(iv.SetVoltageIVMap(Doubles({1.5, -0.25}).Get()), com::S_OK);
  EXPECT_EQ(inst.sent.back(),
            ":VOLT:IV:DATA #18" + Bytes({0x60, 0xE3, 0x16, 0x00, 0x70, 0x2F, 0xFC, 0xFF}) + "\n");
  // Halves round away from zero; what cannot be represented is sent as 0.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(iv.SetCurrentIVMap(Doubles({0.0000025, -0.0000025, 2147.484, nan}).Get()), com::S_OK);
  EXPECT_EQ(inst.sent.back(),
            ":CURR:IV:DATA #216" +
                Bytes({3, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}) + "\n");
  EXPECT_EQ(iv.SetCurrentIVMap(Doubles({0, 2147.483647, -2147.483648}).Get()), com::S_OK);
  EXPECT_EQ(
      inst.sent.back(),
      ":CURR:IV:DATA #212" + Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0x80}) + "\n");
  // 167.77216 is 0x0A000000 micro-units: its last data byte is a line feed,
  // and the message still gets its own.
  EXPECT_EQ(iv.SetVoltageIVMap(Doubles({167.77216}).Get()), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":VOLT:IV:DATA #14" + Bytes({0, 0, 0, 0x0A}) + "\n");
  // An empty map hands the block writer no array; a missing one fails its bounds.
  const std::size_t sent = inst.sent.size();
  EXPECT_EQ(iv.SetCurrentIVMap(Doubles({}).Get()), com::E_INVALIDARG);
  EXPECT_TRUE(com::Failed(iv.SetVoltageIVMap(nullptr)));
  EXPECT_EQ(inst.sent.size(), sent);
}

// The word of each value is std::round of its micro-units, 0 outside the 32-bit range:
// checked on halves, values just beside them, the range's ends and beyond.
TEST(IV, MapWordsRoundHalvesAwayFromZeroUpToTheRangeEnds) {
  std::vector<double> micro_units = {0.5,
                                     1.5,
                                     2.5,
                                     0.49999999999999994,
                                     1e-300,
                                     2147483647.0,
                                     2147483647.4,
                                     2147483647.5,
                                     2147483648.0,
                                     2147483648.5,
                                     4e9,
                                     1e300,
                                     std::numeric_limits<double>::infinity()};
  for (double step = 0.125; step < 64; step += 0.125) micro_units.push_back(step);
  for (double u : micro_units) {
    for (double v : {u / 1e6, -u / 1e6}) {
      const double r = std::round(v * 1e6);
      const std::int32_t want = (r >= std::numeric_limits<std::int32_t>::min() &&
                                 r <= std::numeric_limits<std::int32_t>::max())
                                    ? static_cast<std::int32_t>(r)
                                    : 0;
      EXPECT_EQ(instrument::IVMapWord(v), want) << v;
    }
  }
}

TEST(IV, MapsReadBackIntoTheCallersArray) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst);
  auto& iv = *f.channel;
  const std::string word = Bytes({0x70, 0x2F, 0xFC, 0xFF});
  inst.Reply(":VOLT:IV:DATA?\n", "#14" + word + "\n");
  inst.Reply(":CURR:IV:DATA?\n", "#14" + word + "\n");
  com::SafeArray values = Doubles({9});
  com::SAFEARRAY* a = values.Get();
  ASSERT_EQ(iv.GetVoltageIVMap(&a), com::S_OK);
  EXPECT_EQ(values.Data<double>()[0], -0.25);
  ASSERT_EQ(iv.GetCurrentIVMap(&a), com::S_OK);
  EXPECT_DOUBLE_EQ(values.Data<double>()[0], 4294.717296);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":VOLT:IV:DATA?\n", ":CURR:IV:DATA?\n"}));

  // A three-point map into a two-element array: the third value has no place.
  inst.Reply(":CURR:IV:DATA?\n",
             "#212" + Bytes({0x40, 0x42, 0x0F, 0, 0x80, 0x84, 0x1E, 0, 1, 0, 0, 0}) + "\n");
  com::SafeArray two = Doubles({-1, -1});
  a = two.Get();
  ASSERT_EQ(iv.GetCurrentIVMap(&a), com::S_OK);
  EXPECT_EQ(two.Data<double>()[0], 1.0);
  EXPECT_EQ(two.Data<double>()[1], 2.0);

  EXPECT_EQ(iv.GetCurrentIVMap(nullptr), errors::E_IVI_NULL_POINTER);
  com::SAFEARRAY* none = nullptr;
  EXPECT_TRUE(com::Failed(iv.GetVoltageIVMap(&none)));
  com::SafeArray ints = com::SafeArray::CreateVector(com::VT_I4, 2);
  a = ints.Get();
  EXPECT_EQ(iv.GetVoltageIVMap(&a), com::E_INVALIDARG);
  EXPECT_EQ(inst.sent.size(), 3u);  // nothing sent for the refused arrays
}

}  // namespace
}  // namespace motqr::testing
