// The connection itself failing: an instrument that stops answering, a reply
// that comes after its time-out, a closed port, a peer gone while the driver
// writes. Every failure is bounded and named, and the session is usable (or
// closes and opens again) afterwards.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "platform/visa/visa_library.h"
#include "tests/e2e/sim_process.h"
#include "tests/faults/fault_session.h"
#include "tests/faults/wire_instrument.h"

namespace motqr::faults {
namespace {

constexpr std::int32_t kTimeoutMs = 300;

// A time-out error arrives no earlier than the time-out and no later than
// 10 % after it (plus an allowance for a loaded test machine).
void ExpectTimedOut(const std::function<com::HRESULT()>& call, com::HRESULT status,
                    const char* what) {
  const auto start = Clock::now();
  EXPECT_EQ(call(), status) << what;
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(kTimeoutMs)) << what;
  EXPECT_LE(elapsed, milliseconds(kTimeoutMs * 11 / 10 + 200)) << what;
  const std::string message = LastError();
  EXPECT_FALSE(message.empty()) << what;
}

TEST(ConnectionFaults, EveryOperationOnAStalledInstrumentEndsAtItsTimeout) {
  WireInstrument inst;  // answers nothing but *IDN?, *ESR? and *OPC?
  FaultSession s;
  ASSERT_EQ(s.Open(inst.SocketResource(), kTimeoutMs), com::S_OK) << LastError();
  double volts = 0;
  ExpectTimedOut([&] { return s.channel->get_VoltageLevel(&volts); }, e2e::kIoTimeout, "query");
  com::SafeArray all;
  ExpectTimedOut([&] { return s.channel->MeasureAll(all.Put()); }, e2e::kIoTimeout, "list");
  com::Bstr text;
  ExpectTimedOut([&] { return s.system->ReadString(text.Put()); }, e2e::kIoTimeout, "direct read");
  std::int32_t code = 0;
  ExpectTimedOut([&] { return As<IIviDriverUtility>(s.driver)->ErrorQuery(&code, text.Put()); },
                 kUnexpectedResponse, "error query");
  // A command is written at once; the status poll after it is what waits.
  inst.Answer("*ESR?", {});
  ExpectTimedOut([&] { return s.channel->put_VoltageLevel(5); }, e2e::kInstrumentStatus, "command");
  EXPECT_EQ(s.Close(), com::S_OK);

  // The identity query of Initialize waits the same (its own, default) way.
  inst.Answer("*IDN?", {});
  const auto start = Clock::now();
  EXPECT_EQ(e2e::Initialize(s.driver.Get(), inst.SocketResource(), true, false), e2e::kIoTimeout);
  EXPECT_LT(Clock::now() - start, milliseconds(2000 * 11 / 10 + 100));
  EXPECT_FALSE(LastError().empty());
}

TEST(ConnectionFaults, AfterATimeoutTheNextQueryReadsItsOwnReply) {
  e2e::SimProcess sim({"--delay-ms", "200"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  FaultSession s;
  ASSERT_EQ(s.Open(sim.SocketResource(), 1000), com::S_OK) << LastError();
  ASSERT_EQ(s.channel->put_VoltageLevel(7.5), com::S_OK) << LastError();
  ASSERT_EQ(s.channel->put_CurrentLevel(2.25), com::S_OK) << LastError();

  ASSERT_EQ(s.system->put_IOTimeout(100), com::S_OK);
  double value = 0;
  EXPECT_EQ(s.channel->get_VoltageLevel(&value), e2e::kIoTimeout);
  std::this_thread::sleep_for(milliseconds(300));  // the late "7.5" is waiting now
  ASSERT_EQ(s.system->put_IOTimeout(1000), com::S_OK);
  EXPECT_EQ(s.channel->get_CurrentLevel(&value), com::S_OK) << LastError();
  EXPECT_EQ(value, 2.25);
  EXPECT_EQ(s.channel->get_VoltageLevel(&value), com::S_OK) << LastError();
  EXPECT_EQ(value, 7.5);
}

TEST(ConnectionFaults, AReplyJustAfterItsTimeoutIsDroppedBeforeTheNextExchange) {
  // An instrument that answers in order: the reset's "1" comes 100 ms after
  // the reset's 2 s time-out, while the disable's exchange begins.
  WireInstrument inst;
  FaultSession s;
  ASSERT_EQ(s.OpenPlain(inst.SocketResource(), kTimeoutMs), com::S_OK) << LastError();
  inst.Queue("*RST;*OPC?", {"1\n", 2100, false, /*in_order=*/true});
  inst.Queue("*RST;*OPC?", {"1\n"});
  inst.Answer(":VOLT?", {"5.5\n"});
  auto utility = As<IIviDriverUtility>(s.driver);
  EXPECT_EQ(utility->Reset(), e2e::kIoTimeout);
  EXPECT_EQ(utility->Disable(), com::S_OK) << LastError();
  // Had the disable taken the reset's "1", its own would answer this query.
  double volts = 0;
  EXPECT_EQ(s.channel->get_VoltageLevel(&volts), com::S_OK) << LastError();
  EXPECT_EQ(volts, 5.5);
  EXPECT_EQ(s.Close(), com::S_OK);
}

TEST(ConnectionFaults, ARefusedConnectionFailsInitializeAtOnce) {
  // A loopback port that was just free: nothing listens there.
  const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length), 0);
  ::close(probe);
  const std::string resource =
      "TCPIP::127.0.0.1::" + std::to_string(ntohs(address.sin_port)) + "::SOCKET";

  com::ComPtr<IIviDriver> driver = e2e::NewDriver();
  const auto start = Clock::now();
  const com::HRESULT hr = e2e::Initialize(driver.Get(), resource, true, false);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
  EXPECT_EQ(hr, e2e::kUnknownResource);
  // The text names the resource, the address and the system's reason.
  const std::string error = LastError();
  EXPECT_NE(error.find("Resource descriptor = " + resource), std::string::npos) << error;
  EXPECT_NE(error.find("127.0.0.1 port " + std::to_string(ntohs(address.sin_port))),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("Connection refused"), std::string::npos) << error;
  // The driver object stays usable.
  WireInstrument inst;
  EXPECT_EQ(e2e::Initialize(driver.Get(), inst.SocketResource(), true, false), com::S_OK)
      << LastError();
  EXPECT_EQ(driver->Close(), com::S_OK);
}

TEST(ConnectionFaults, ChoosingTheSystemVisaLibraryWithNoneLoadableFailsInitializeNamingIt) {
  WireInstrument inst;  // reachable over the built-in socket transport
  visa::SetVisaLibraryNames({"/nonexistent/libmotqr-absent-visa.so"});
  com::ComPtr<IIviDriver> driver = e2e::NewDriver();
  EXPECT_TRUE(com::Failed(e2e::Initialize(driver.Get(), inst.SocketResource(), true, false,
                                          "DriverSetup=VisaLibrary=system")));
  const std::string error = LastError();
  EXPECT_NE(error.find("needs a system VISA library"), std::string::npos) << error;
  EXPECT_NE(error.find("/nonexistent/libmotqr-absent-visa.so"), std::string::npos) << error;
  // The built-in transport (the default, or asked for by name) reaches the same instrument.
  EXPECT_EQ(e2e::Initialize(driver.Get(), inst.SocketResource(), true, false,
                            "DriverSetup=VisaLibrary=Builtin"),
            com::S_OK)
      << LastError();
  EXPECT_EQ(driver->Close(), com::S_OK);
  visa::SetVisaLibraryNames({});
}

TEST(ConnectionFaults, WritesToAClosedPeerAreIoErrorsNotSignals) {
  ::signal(SIGPIPE, SIG_DFL);  // a SIGPIPE would end this test process
  WireInstrument inst;
  FaultSession s;
  ASSERT_EQ(s.Open(inst.SocketResource(), kTimeoutMs), com::S_OK) << LastError();
  inst.Answer(":VOLT?", {"", 0, /*close_after=*/true});
  double volts = 0;
  EXPECT_EQ(s.channel->get_VoltageLevel(&volts), e2e::kIoGeneral);
  // The first write may still be taken by the kernel; later ones meet the reset.
  for (int i = 0; i < 5; ++i) {
    const com::HRESULT hr = s.system->WriteString(com::Bstr::FromUtf8(":VOLT 1\n").Get());
    if (com::Failed(hr)) {
      EXPECT_EQ(hr, e2e::kIoGeneral);
      EXPECT_NE(LastError().find("connection"), std::string::npos);
    }
  }
  EXPECT_NE(s.channel->put_VoltageLevel(1), com::S_OK);
  EXPECT_EQ(s.Close(), com::S_OK);
  ASSERT_EQ(s.Open(inst.SocketResource(), kTimeoutMs), com::S_OK) << LastError();
  EXPECT_EQ(inst.connections(), 2);
}

}  // namespace
}  // namespace motqr::faults
