// The VXI-11 and HiSLIP transports against tqr-sim: how reads end (END, termination
// character, count), time-outs that leave no reply behind for the next query, the status byte
// read without disturbing a pending reply, device clear, locks between two sessions, long
// messages, a connection the instrument drops, a VXI-11 read aborted after the driver's own
// time-out, and the instrument's listen address.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/visa/open_transport.h"
#include "platform/visa/vxi11_transport.h"
#include "tests/e2e/sim_process.h"

namespace motqr::e2e {
namespace {

using namespace visa;  // NOLINT: status codes and attribute names

enum class Lan { kVxi11, kHislip };

std::vector<std::string> SimOptions(Lan lan, std::vector<std::string> extra = {}) {
  std::vector<std::string> options =
      lan == Lan::kVxi11 ? std::vector<std::string>{"--vxi11", "--portmapper-port", "0"}
                         : std::vector<std::string>{"--hislip", "0"};
  options.insert(options.end(), extra.begin(), extra.end());
  return options;
}

std::unique_ptr<Transport> Open(const SimProcess& sim, Lan lan, Status* status = nullptr) {
  std::string resource;
  if (lan == Lan::kVxi11) {
    SetPortmapperPortForTesting(static_cast<std::uint16_t>(sim.portmapper_port()));
    resource = sim.Vxi11Resource();
  } else {
    resource = sim.HislipResource();
  }
  ResourceName name;
  EXPECT_TRUE(ParseResourceName(resource, &name).ok()) << resource;
  std::unique_ptr<Transport> transport;
  const Status opened = OpenTransport(name, {}, &transport);
  if (status != nullptr) *status = opened;
  EXPECT_TRUE(status != nullptr || opened.ok()) << opened.message();
  return transport;
}

struct Reading {
  ViStatus code;
  ReadStop stop;
  std::string text;
};

Reading Read(Transport& transport, std::size_t count = 256) {
  std::vector<std::uint8_t> buffer(count);
  ReadResult result;
  const Status status = transport.Read(buffer, &result);
  return {status.code(), result.stop,
          std::string(buffer.begin(), buffer.begin() + static_cast<long>(result.count))};
}

Status Send(Transport& transport, const std::string& text, bool end = true) {
  std::size_t written = 0;
  return transport.Write(AsBytes(text), end, &written);
}

std::string Query(Transport& transport, const std::string& text) {
  EXPECT_TRUE(Send(transport, text).ok());
  return Read(transport, 4096).text;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

class LanTransportTest : public ::testing::TestWithParam<Lan> {};

TEST_P(LanTransportTest, ReadsEndAtEndTermCharOrCount) {
  SimProcess sim(SimOptions(GetParam()));
  ASSERT_TRUE(sim.ok()) << sim.error();
  auto io = Open(sim, GetParam());
  ASSERT_TRUE(io);

  // The message goes in two writes; END on the second completes it.
  ASSERT_TRUE(Send(*io, "*ID", false).ok());
  ASSERT_TRUE(Send(*io, "N?").ok());
  const Reading head = Read(*io, 4);
  EXPECT_EQ(head.code, VI_SUCCESS_MAX_CNT);
  EXPECT_EQ(head.stop, ReadStop::kCount);
  EXPECT_EQ(head.text, "MORV");
  ASSERT_TRUE(io->SetTerminationCharacter(',').ok());
  ASSERT_TRUE(io->SetTerminationCharacterEnabled(true).ok());
  const Reading model = Read(*io);
  EXPECT_EQ(model.code, VI_SUCCESS_TERM_CHAR);
  EXPECT_EQ(model.text, "ANE,");  // the first field ends at the comma
  ASSERT_TRUE(io->SetTerminationCharacterEnabled(false).ok());
  const Reading rest = Read(*io);
  EXPECT_EQ(rest.code, VI_SUCCESS);
  EXPECT_EQ(rest.stop, ReadStop::kEnd);
  EXPECT_EQ(rest.text, "TQR-M4,M4A004217,1.04\n");

  // A message longer than the instrument takes in one piece arrives whole.
  std::string long_message;
  while (long_message.size() < 200'000) long_message += ":VOLT 1.25;";
  ASSERT_TRUE(Send(*io, long_message + ":VOLT?").ok());
  EXPECT_EQ(Read(*io).text, "1.25\n");
  EXPECT_TRUE(io->Close().ok());
}

TEST_P(LanTransportTest, StatusByteAndClearLeaveNoStaleReply) {
  SimProcess sim(SimOptions(GetParam(), {"--noise", "0"}));
  ASSERT_TRUE(sim.ok()) << sim.error();
  auto io = Open(sim, GetParam());
  ASSERT_TRUE(io);

  ASSERT_TRUE(Send(*io, ":NOT:A:COMMAND").ok());
  std::uint16_t stb = 0;
  ASSERT_TRUE(io->ReadStatusByte(&stb).ok());
  EXPECT_EQ(stb & 0x04, 0x04);  // error queue not empty
  EXPECT_EQ(stb & 0x10, 0);     // nothing to read
  EXPECT_EQ(Query(*io, ":SYST:ERR?").substr(0, 4), "-113");

  // The status byte is read beside the pending reply, not by a query that would replace it.
  ASSERT_TRUE(Send(*io, ":VOLT 3;:VOLT?").ok());
  ASSERT_TRUE(io->ReadStatusByte(&stb).ok());
  EXPECT_EQ(stb & 0x10, 0x10);
  EXPECT_EQ(Read(*io).text, "3\n");

  // Device clear drops an unread reply.
  ASSERT_TRUE(Send(*io, "*IDN?").ok());
  ASSERT_TRUE(io->Clear().ok());
  ASSERT_TRUE(io->ReadStatusByte(&stb).ok());
  EXPECT_EQ(stb & 0x10, 0);
  ASSERT_TRUE(io->SetTimeout(200).ok());
  EXPECT_EQ(Read(*io).code, VI_ERROR_TMO);
  EXPECT_EQ(Query(*io, ":VOLT?"), "3\n");
}

TEST_P(LanTransportTest, TimeOutInTimeAndLateReplyIsNotTaken) {
  SimProcess sim(SimOptions(GetParam(), {"--delay-ms", "700"}));
  ASSERT_TRUE(sim.ok()) << sim.error();
  auto io = Open(sim, GetParam());
  ASSERT_TRUE(io);
  ASSERT_TRUE(io->SetTimeout(250).ok());

  ASSERT_TRUE(Send(*io, "*IDN?").ok());
  const auto start = std::chrono::steady_clock::now();
  const Reading late = Read(*io);
  EXPECT_EQ(late.code, VI_ERROR_TMO);
  EXPECT_EQ(late.stop, ReadStop::kTimeout);
  const long long waited = MillisecondsSince(start);
  EXPECT_GE(waited, 240);
  EXPECT_LT(waited, 2000);

  // The *IDN? reply falls due while nobody waits; after a clear the next query gets its own.
  ASSERT_TRUE(io->Clear().ok());
  ASSERT_TRUE(io->SetTimeout(3000).ok());
  ASSERT_TRUE(Send(*io, ":VOLT 2;:VOLT?").ok());
  EXPECT_EQ(Read(*io).text, "2\n");
}

// An instrument that keeps a read waiting past the time-out it was given: the driver's own
// time-out ends the read and aborts the call, so the instrument is free for the next one long
// before the late reply falls due (1.5 s), and that next query reads its own reply.
TEST(LanTransportVxi11, ReadPastTheInstrumentsTimeoutEndsLocallyAndIsAborted) {
  SimProcess sim(SimOptions(Lan::kVxi11, {"--vxi11-ignore-timeout", "--delay-ms", "1500"}));
  ASSERT_TRUE(sim.ok()) << sim.error();
  auto io = Open(sim, Lan::kVxi11);
  ASSERT_TRUE(io);
  ASSERT_TRUE(io->SetTimeout(200).ok());

  ASSERT_TRUE(Send(*io, "*IDN?").ok());
  const auto start = std::chrono::steady_clock::now();
  const Reading late = Read(*io);
  EXPECT_EQ(late.code, VI_ERROR_TMO);
  EXPECT_EQ(late.stop, ReadStop::kTimeout);
  EXPECT_EQ(late.text, "");
  EXPECT_GE(MillisecondsSince(start), 200);
  // Unaborted, the instrument would hold the clear until the reply falls due.
  ASSERT_TRUE(io->Clear().ok());
  EXPECT_LT(MillisecondsSince(start), 1400);

  ASSERT_TRUE(io->SetTimeout(5000).ok());
  ASSERT_TRUE(Send(*io, ":VOLT 3;:VOLT?").ok());
  EXPECT_EQ(Read(*io).text, "3\n");
}

// A session kept out by another's lock: VXI-11 refuses its I/O at once, HiSLIP holds its
// messages until the lock is released (so its query goes unanswered meanwhile).
void ExpectLockedOut(Lan lan, Transport& io) {
  ASSERT_TRUE(io.SetTimeout(200).ok());
  const Status sent = Send(io, ":VOLT?");
  if (lan == Lan::kVxi11) {
    EXPECT_EQ(sent.code(), VI_ERROR_RSRC_LOCKED) << sent.message();
  } else {
    EXPECT_TRUE(sent.ok()) << sent.message();
    EXPECT_EQ(Read(io).code, VI_ERROR_TMO);
  }
  ASSERT_TRUE(io.SetTimeout(2000).ok());
}

TEST_P(LanTransportTest, ExclusiveLockKeepsTheOtherSessionOut) {
  SimProcess sim(SimOptions(GetParam()));
  ASSERT_TRUE(sim.ok()) << sim.error();
  auto first = Open(sim, GetParam());
  auto second = Open(sim, GetParam());
  ASSERT_TRUE(first && second);

  std::string key;
  ASSERT_TRUE(first->Lock(VI_EXCLUSIVE_LOCK, 0, "", &key).ok());
  ExpectLockedOut(GetParam(), *second);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(second->Lock(VI_EXCLUSIVE_LOCK, 300, "", &key).code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_GE(MillisecondsSince(start), 290);
  EXPECT_EQ(Query(*first, ":VOLT 4;:VOLT?"), "4\n");  // the holder goes on

  ASSERT_TRUE(first->Unlock().ok());
  ASSERT_TRUE(second->Lock(VI_EXCLUSIVE_LOCK, 1000, "", &key).ok());
  // Any answer to the query sent while locked out is not taken for this one.
  EXPECT_EQ(Query(*second, ":VOLT 5;:VOLT?"), "5\n");
  ExpectLockedOut(GetParam(), *first);
  // Closing the holder's session frees the instrument.
  ASSERT_TRUE(second->Close().ok());
  EXPECT_EQ(Query(*first, ":VOLT 6;:VOLT?"), "6\n");
}

TEST_P(LanTransportTest, DroppedConnectionIsAnErrorNotAHang) {
  SimProcess sim(SimOptions(GetParam(), {"--drop-after", "1"}));
  ASSERT_TRUE(sim.ok()) << sim.error();
  auto io = Open(sim, GetParam());
  ASSERT_TRUE(io);
  ASSERT_TRUE(io->SetTimeout(2000).ok());
  EXPECT_EQ(Query(*io, "*IDN?").substr(0, 7), "MORVANE");
  const auto start = std::chrono::steady_clock::now();
  Status status = Send(*io, "*IDN?");
  if (status.ok()) status = Status(Read(*io).code);
  EXPECT_EQ(status.code(), VI_ERROR_CONN_LOST) << status.message();
  EXPECT_LT(MillisecondsSince(start), 1500);
}

TEST_P(LanTransportTest, UnknownDeviceIsRefusedWithTheInstrumentsReason) {
  SimProcess sim(SimOptions(GetParam()));
  ASSERT_TRUE(sim.ok()) << sim.error();
  std::string resource = GetParam() == Lan::kVxi11 ? sim.Vxi11Resource() : sim.HislipResource();
  const std::string known = GetParam() == Lan::kVxi11 ? "inst0" : "hislip0";
  const std::string unknown = GetParam() == Lan::kVxi11 ? "inst7" : "hislip7";
  if (GetParam() == Lan::kVxi11) {
    SetPortmapperPortForTesting(static_cast<std::uint16_t>(sim.portmapper_port()));
  }
  resource.replace(resource.find(known), known.size(), unknown);
  ResourceName name;
  ASSERT_TRUE(ParseResourceName(resource, &name).ok());
  std::unique_ptr<Transport> transport;
  const Status status = OpenTransport(name, {}, &transport);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  const std::string reason =
      GetParam() == Lan::kVxi11 ? "device not accessible" : "unknown sub-address \"hislip7\"";
  EXPECT_NE(status.message().find(reason), std::string::npos) << status.message();
  EXPECT_EQ(transport, nullptr);
}

// --listen moves every server of the instrument: reachable at that address, not at 127.0.0.1.
TEST_P(LanTransportTest, ServesOnTheListenAddressOnly) {
  SimProcess sim(SimOptions(GetParam(), {"--listen", "127.0.0.2"}));
  ASSERT_TRUE(sim.ok()) << sim.error();
  if (GetParam() == Lan::kVxi11) {
    SetPortmapperPortForTesting(static_cast<std::uint16_t>(sim.portmapper_port()));
  }
  const std::string resource =
      GetParam() == Lan::kVxi11 ? sim.Vxi11Resource() : sim.HislipResource();
  const std::size_t host = resource.find("127.0.0.1");
  ASSERT_NE(host, std::string::npos) << resource;
  for (const char* address : {"127.0.0.2", "127.0.0.1"}) {
    ResourceName name;
    ASSERT_TRUE(ParseResourceName(std::string(resource).replace(host, 9, address), &name).ok());
    std::unique_ptr<Transport> io;
    const Status status = OpenTransport(name, {}, &io);
    if (std::string_view(address) == "127.0.0.2") {
      ASSERT_TRUE(status.ok()) << status.message();
      EXPECT_EQ(Query(*io, "*IDN?").substr(0, 7), "MORVANE");
    } else {
      EXPECT_FALSE(status.ok()) << address;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Lan, LanTransportTest, ::testing::Values(Lan::kVxi11, Lan::kHislip),
                         [](const auto& param_info) {
                           return param_info.param == Lan::kVxi11 ? "Vxi11" : "Hislip";
                         });

}  // namespace
}  // namespace motqr::e2e
