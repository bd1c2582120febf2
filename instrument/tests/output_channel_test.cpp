#include "instrument/output_channel.h"

#include <gtest/gtest.h>

#include "commands/enum_token_port.h"
#include "errors/status_codes.h"
#include "instrument/output_channel_protection.h"
#include "instrument/output_channel_sine.h"
#include "instrument/testing/member_fixture.h"
#include "platform/com/safearray.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::OutputChannel>;

struct LiveChannel : ::testing::Test {
  ScriptedInstrument inst;
  MemberFixture<Channel> f{&inst, &commands::EnumTokenPort()};
  Channel* ch = f.channel.Get();
};

TEST_F(LiveChannel, PropertiesWriteAndReadTheirCommands) {
  ASSERT_EQ(f.status, com::S_OK);
  // Small values go out in exponent form; the on/off command keeps its semicolon.
  EXPECT_EQ(ch->put_VoltageLevel(0.0000001), com::S_OK);
  EXPECT_EQ(ch->put_Enabled(com::VARIANT_FALSE), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":OUTP 0;");
  EXPECT_EQ(inst.sent.end()[-2], ":VOLT 1e-07");
}

TEST_F(LiveChannel, MinMaxQueriesReadBothLimits) {
  // The power query goes in long form, without a leading colon.
  double lo = 0, hi = 0;
  inst.Reply("POWER? MIN;POWER? MAX", "-1.5;2.5\n");
  EXPECT_EQ(ch->QueryPowerLevelMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(inst.sent.back(), "POWER? MIN;POWER? MAX");
  EXPECT_EQ(lo, -1.5);
  EXPECT_EQ(hi, 2.5);
}

TEST_F(LiveChannel, PulseIsSpelledPulseOnlyForThePowerMode) {
  EXPECT_EQ(ch->put_PowerMode(MorvaneTqrOutputFunctionModePulse), com::S_OK);
  EXPECT_EQ(ch->put_CurrentMode(MorvaneTqrOutputFunctionModePulse), com::S_OK);
  EXPECT_EQ(ch->put_VoltageMode(MorvaneTqrOutputFunctionModePulse), com::S_OK);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":POW:FUNC:MODE PULSE", ":CURR:FUNC:MODE PULS",
                                                 ":VOLT:FUNC:MODE PULS"}));
  MorvaneTqrOutputFunctionModeEnum mode{};
  inst.Reply(":POW:FUNC:MODE?", "PULS\n");
  EXPECT_EQ(ch->get_PowerMode(&mode), errors::E_IVI_UNEXPECTED_RESPONSE);
  inst.Reply(":POW:FUNC:MODE?", "PULSE\n");
  EXPECT_EQ(ch->get_PowerMode(&mode), com::S_OK);
  EXPECT_EQ(mode, MorvaneTqrOutputFunctionModePulse);
  inst.Reply(":CURR:FUNC:MODE?", "PULSE\n");
  EXPECT_EQ(ch->get_CurrentMode(&mode), errors::E_IVI_UNEXPECTED_RESPONSE);
  inst.Reply(":CURR:FUNC:MODE?", " PULS\n");
  mode = MorvaneTqrOutputFunctionModeDC;
  EXPECT_EQ(ch->get_CurrentMode(&mode), com::S_OK);
  EXPECT_EQ(mode, MorvaneTqrOutputFunctionModePulse);
}

TEST_F(LiveChannel, BooleansUseEachMembersTokens) {
  // The sync signal is sent as a word; any non-zero value is true.
  EXPECT_EQ(ch->ExecuteMSync(com::VARIANT_TRUE), com::S_OK);
  EXPECT_EQ(ch->ExecuteMSync(1), com::S_OK);
  EXPECT_EQ(ch->ExecuteMSync(com::VARIANT_FALSE), com::S_OK);
  EXPECT_EQ(inst.sent,
            (std::vector<std::string>{":OUTP:MSYN ON", ":OUTP:MSYN ON", ":OUTP:MSYN OFF"}));
  VARIANT_BOOL on = 0;
  inst.Reply(":OUTP:MSYN:ACC?", "ON\n");  // accepts numbers only
  EXPECT_EQ(ch->get_MsyncAcceptEnabled(&on), errors::E_IVI_UNEXPECTED_RESPONSE);
}

TEST_F(LiveChannel, SingleMeasurementsNameTheirQuantity) {
  double v = 0;
  inst.Reply(":READ:VOLT?", "+1.2345E+01\n");
  EXPECT_EQ(ch->Read(MorvaneTqrMeasurementTypeVoltage, &v), com::S_OK);
  EXPECT_EQ(v, 12.345);
  inst.Reply(":MEAS:ENER?", "0.5\n");
  EXPECT_EQ(ch->Measure(MorvaneTqrMeasurementTypeEnergy, &v), com::S_OK);
  EXPECT_EQ(v, 0.5);
  inst.Reply(":FETC:ETIM?", "-3e-2\n");
  EXPECT_EQ(ch->Fetch(MorvaneTqrMeasurementTypeETime, &v), com::S_OK);
  EXPECT_EQ(v, -0.03);
}

TEST_F(LiveChannel, AllMeasurementsArriveAsOneArray) {
  struct Case {
    HRESULT (Channel::*member)(com::SAFEARRAY**);
    const char* command;
  };
  for (const Case& c :
       {Case{&Channel::MeasureAll, ":MEAS:ALL?"}, Case{&Channel::FetchAll, ":FETC:ALL?"},
        Case{&Channel::ReadAll, ":READ:ALL?"}}) {
    SCOPED_TRACE(c.command);
    inst.Reply(c.command, "12.5,-0.25,-3.125,60,1E-3,0.0125\n");
    com::SafeArray values;
    ASSERT_EQ((ch->*c.member)(values.Put()), com::S_OK);
    EXPECT_EQ(inst.sent.back(), c.command);
    ASSERT_EQ(values.vt(), com::VT_R8);
    const std::span<double> got = values.Data<double>();
    EXPECT_EQ(std::vector<double>(got.begin(), got.end()),
              (std::vector<double>{12.5, -0.25, -3.125, 60, 0.001, 0.0125}));
  }
  // A reply that breaks off leaves the caller without an array.
  inst.Reply(":MEAS:ALL?", "12.5,-0.25,volts\n");
  com::SAFEARRAY* partial = nullptr;
  EXPECT_TRUE(com::Failed(ch->MeasureAll(&partial)));
  EXPECT_EQ(partial, nullptr);
  const std::size_t sent = inst.sent.size();
  EXPECT_EQ(ch->ReadAll(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(inst.sent.size(), sent);
}

// A channel that answers QueryInterface for the interfaces it is made of.
class NavigableChannel final
    : public com::ComObject<NavigableChannel, instrument::OutputChannel<NavigableChannel>,
                            instrument::OutputChannelProtection<NavigableChannel>,
                            instrument::OutputChannelSine<NavigableChannel>>,
      public repcap::CRepCap {
 public:
  explicit NavigableChannel(driver::CDriver& driver)
      : CRepCap(driver.session_lock(), repcap::kOutputChannelRepCap, repcap::kOutputChannel1) {
    Attach(&driver, &driver);
  }
  driver::CNode& node() { return *this; }
  com::IUnknown* unknown() { return static_cast<IMorvaneTqrOutputChannel*>(this); }
  HRESULT QueryInterface(const com::IID& iid, void** object) override {
    return QueryInterfaceTable(
        this, iid, object,
        {Entry<IMorvaneTqrOutputChannel>(), Entry<IMorvaneTqrOutputChannelProtection>(),
         Entry<IMorvaneTqrOutputChannelSine>(), Entry<com::IUnknown, IMorvaneTqrOutputChannel>()});
  }
};

TEST(ChannelNavigation, HandsOutTheSameObjectThroughItsOtherInterfaces) {
  MemberFixture<NavigableChannel> f(nullptr);
  NavigableChannel* ch = f.channel.Get();
  IMorvaneTqrOutputChannelProtection* protection = nullptr;
  ASSERT_EQ(ch->get_Protection(&protection), com::S_OK);
  EXPECT_EQ(protection, static_cast<IMorvaneTqrOutputChannelProtection*>(ch));
  EXPECT_EQ(protection->Release(), 2u);  // the fixture's reference and the channel list's
  IMorvaneTqrOutputChannelSine* sine = nullptr;
  ASSERT_EQ(ch->get_Sine(&sine), com::S_OK);
  sine->Release();
  IMorvaneTqrOutputChannelIV* iv = reinterpret_cast<IMorvaneTqrOutputChannelIV*>(ch);
  EXPECT_EQ(ch->get_IV(&iv), com::E_NOINTERFACE);  // not part of this object
  EXPECT_EQ(iv, nullptr);
  EXPECT_EQ(ch->get_Pulse(nullptr), errors::E_IVI_NULL_POINTER);
}

}  // namespace
}  // namespace motqr::testing
