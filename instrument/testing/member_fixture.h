// Test scaffolding for interface members: a bare driver (simulated or on a
// scripted instrument) and a channel object composed of the member classes
// under test.
//
//   using Channel = TestChannel<instrument::OutputChannelPulse>;
//   ScriptedInstrument inst;
//   MemberFixture<Channel> f(&inst);          // or MemberFixture<Channel> f(nullptr): simulated
//   f.channel->put_CurrentFrequency(50);
//   EXPECT_EQ(inst.sent.back(), ":CURR:PULS:FREQ 50");
#pragma once

#include <memory>
#include <string>
#include <tuple>

#include "driver/driver.h"
#include "driver/testing/scripted_session.h"
#include "platform/com/object.h"
#include "repcap/rep_cap.h"

namespace motqr::testing {

// A driver object with nothing but the core: enough to run members on.
class TestDriver final : public driver::CDriver {
 public:
  explicit TestDriver(driver::SessionPortFactory sessions,
                      const driver::IEnumTokenPort* tokens = nullptr)
      : CDriver(com::GUID_NULL, sessions, tokens) {}

 protected:
  com::HRESULT ResetThroughInterface() override { return Reset(); }
  com::HRESULT PutFlagThroughInterface(driver::OperationFlag f, bool v) override {
    return PutFlag(f, v);
  }
};

// A channel object made of the member classes `Members<TestChannel>...`.
template <template <class> class... Members>
class TestChannel final
    : public com::ComObject<TestChannel<Members...>, Members<TestChannel<Members...>>...>,
      public repcap::CRepCap {
 public:
  explicit TestChannel(driver::CDriver& driver)
      : CRepCap(driver.session_lock(), repcap::kOutputChannelRepCap, repcap::kOutputChannel1) {
    Attach(&driver, &driver);
  }
  driver::CNode& node() { return *this; }
  com::IUnknown* unknown() {
    using First = std::tuple_element_t<0, std::tuple<Members<TestChannel>...>>;
    return static_cast<First*>(this);
  }
  com::HRESULT QueryInterface(const com::IID&, void** object) override {
    if (object) *object = nullptr;
    return com::E_NOINTERFACE;
  }
};

// A driver initialized on `instrument` (null: a simulated session) and one
// channel object attached to it.
template <class Channel>
struct MemberFixture {
  explicit MemberFixture(ScriptedInstrument* instrument,
                         const driver::IEnumTokenPort* tokens = nullptr,
                         const char* options = nullptr) {
    if (instrument) {
      instrument->fixed.emplace("*IDN?", "MORVANE,TQR-M4,SN1,1.0");
      UseScriptedInstrument(instrument);
    }
    driver = std::make_unique<TestDriver>(&MakeScriptedSession, tokens);
    const std::string opts = options ? options : (instrument ? "" : "Simulate=true");
    com::Bstr resource = com::Bstr::FromUtf8("TCPIP::127.0.0.1::5025::SOCKET");
    com::Bstr option_string = com::Bstr::FromUtf8(opts);
    status = driver->Initialize(resource.Get(), false, false, option_string.Get());
    channel = com::ComPtr<Channel>::Attach(new Channel(*driver));
    // Registered like the driver's own channel, so Reset and Close reach it.
    driver->child_collections()[repcap::kOutputChannelRepCap].push_back(
        {com::ComPtr<com::IUnknown>(channel->unknown()), channel.Get()});
    if (instrument) instrument->sent.clear();
  }
  com::HRESULT status;
  std::unique_ptr<TestDriver> driver;
  com::ComPtr<Channel> channel;
};

}  // namespace motqr::testing
