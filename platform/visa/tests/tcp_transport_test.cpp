#include "platform/visa/tcp_transport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "platform/visa/tests/loopback_server.h"
#include "platform/visa/tests/visa_test_support.h"

namespace motqr::visa {
namespace {

using testing::Attribute;
using testing::LoopbackServer;
using testing::Read;
using testing::Reading;
using testing::Write;
using Clock = std::chrono::steady_clock;

std::unique_ptr<Transport> Connect(const LoopbackServer& server) {
  return testing::Open(server.resource(), Backend::kTcpSocket);
}

long ElapsedMs(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(VisaTcpTransport, ReadStopsAtTerminationCharacterOrCount) {
  std::promise<void> done;
  LoopbackServer server([&](int client) {
    EXPECT_EQ(LoopbackServer::Receive(client, 6), "*IDN?\n");
    LoopbackServer::Send(client, "MORVANE,TQR-M4\nSECOND\n0123456789");
    done.get_future().wait_for(std::chrono::seconds(2));
  });
  auto transport = Connect(server);
  ASSERT_TRUE(transport);
  std::size_t written = 0;
  ASSERT_TRUE(transport->Write(AsBytes("*IDN?\n"), true, &written).ok());
  EXPECT_EQ(written, 6u);

  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  EXPECT_EQ(Read(*transport),
            (Reading{VI_SUCCESS_TERM_CHAR, ReadStop::kTermChar, "MORVANE,TQR-M4\n"}));
  // A read that fills its count first stops there; the rest stays for the next read.
  EXPECT_EQ(Read(*transport, 3), (Reading{VI_SUCCESS_MAX_CNT, ReadStop::kCount, "SEC"}));
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS_TERM_CHAR, ReadStop::kTermChar, "OND\n"}));
  // Without the termination character a socket read ends only at the count.
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(false).ok());
  EXPECT_EQ(Read(*transport, 10), (Reading{VI_SUCCESS_MAX_CNT, ReadStop::kCount, "0123456789"}));
  done.set_value();
}

TEST(VisaTcpTransport, ReadTimesOutWithinTheTimeout) {
  std::promise<void> done;
  LoopbackServer server([&](int client) {
    LoopbackServer::Send(client, "partial");
    done.get_future().wait_for(std::chrono::seconds(2));
  });
  auto transport = Connect(server);
  ASSERT_TRUE(transport);
  ASSERT_TRUE(transport->SetTimeout(150).ok());
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  const auto start = Clock::now();
  const Reading reading = Read(*transport);
  const long elapsed = ElapsedMs(start);
  // What arrived is kept.
  EXPECT_EQ(reading, (Reading{VI_ERROR_TMO, ReadStop::kTimeout, "partial"}));
  EXPECT_EQ(reading.message, "Timeout expired before operation completed.");
  EXPECT_GE(elapsed, 150);
  EXPECT_LT(elapsed, 150 + 250);

  // An immediate time-out returns at once.
  ASSERT_TRUE(transport->SetTimeout(VI_TMO_IMMEDIATE).ok());
  const auto again = Clock::now();
  EXPECT_EQ(Read(*transport).code, VI_ERROR_TMO);
  EXPECT_LT(ElapsedMs(again), 50);
  done.set_value();
}

TEST(VisaTcpTransport, PeerDropMidReplyIsAnErrorNotAHang) {
  LoopbackServer server([](int client) {
    LoopbackServer::Send(client, "+1.25");  // no line feed: the reply is cut off
  });
  auto transport = Connect(server);
  ASSERT_TRUE(transport);
  ASSERT_TRUE(transport->SetTimeout(VI_TMO_INFINITE).ok());
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  const Reading reading = Read(*transport);
  EXPECT_EQ(reading, (Reading{VI_ERROR_CONN_LOST, ReadStop::kError, "+1.25"}));
  EXPECT_NE(reading.message.find("connection"), std::string::npos);

  // Writing to the dropped connection fails (no SIGPIPE), within a few attempts.
  Status write_status;
  for (int i = 0; i < 20 && write_status.ok(); ++i) write_status = Write(*transport, "*CLS\n");
  EXPECT_EQ(write_status.code(), VI_ERROR_CONN_LOST) << write_status.message();
}

TEST(VisaTcpTransport, RefusedConnectionFailsAtOnce) {
  std::string resource;
  {
    LoopbackServer server([](int) {});
    resource = server.resource();
    auto transport = Connect(server);  // connect once so the server thread ends
  }
  Status status;
  const auto start = Clock::now();
  EXPECT_EQ(testing::Open(resource, Backend::kTcpSocket, &status, {.open_timeout_ms = 5000}),
            nullptr);
  EXPECT_LT(ElapsedMs(start), 500);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("Connection refused"), std::string::npos) << status.message();
}

TEST(VisaTcpTransport, ReassemblesOneByteSegments) {
  LoopbackServer server([](int client) {
    for (char c : std::string_view("+12.5E-3\n")) {
      LoopbackServer::Send(client, std::string_view(&c, 1));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    LoopbackServer::AwaitClose(client);
  });
  auto transport = Connect(server);
  ASSERT_TRUE(transport);
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS_TERM_CHAR, ReadStop::kTermChar, "+12.5E-3\n"}));
  EXPECT_TRUE(transport->Close().ok());
}

TEST(VisaTcpTransport, ClearDiscardsPendingInputAndStatusByteIsQueried) {
  std::promise<void> stale_sent;
  LoopbackServer server([&](int client) {
    LoopbackServer::Send(client, "stale reply\nmore stale\n");
    stale_sent.set_value();
    EXPECT_EQ(LoopbackServer::Receive(client, 6), "*STB?\n");
    LoopbackServer::Send(client, "+72\r\n");
    EXPECT_EQ(LoopbackServer::Receive(client, 6), "*STB?\n");
    LoopbackServer::Send(client, "garbage\n");
    EXPECT_EQ(LoopbackServer::Receive(client, 5), "*TRG\n");
  });
  auto transport = Connect(server);
  ASSERT_TRUE(transport);
  stale_sent.get_future().wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  ASSERT_EQ(Read(*transport, 2).code, VI_SUCCESS_MAX_CNT);
  ASSERT_TRUE(transport->Clear().ok());

  std::uint16_t status_byte = 0;
  Status status = transport->ReadStatusByte(&status_byte);
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(status_byte, 72);
  status = transport->ReadStatusByte(&status_byte);
  EXPECT_EQ(status.code(), VI_ERROR_IO);
  EXPECT_NE(status.message().find("\"garbage\n\""), std::string::npos) << status.message();
  EXPECT_TRUE(transport->AssertTrigger(VI_TRIG_PROT_DEFAULT).ok());
}

TEST(VisaTcpTransport, AttributesAndClosedSession) {
  LoopbackServer server([](int client) { LoopbackServer::AwaitClose(client); });
  auto transport = Connect(server);
  ASSERT_TRUE(transport);
  EXPECT_EQ(Attribute(*transport, VI_ATTR_TMO_VALUE), 2000u);
  EXPECT_EQ(Attribute(*transport, VI_ATTR_TERMCHAR), '\n');
  EXPECT_EQ(Attribute(*transport, VI_ATTR_INTF_TYPE), VI_INTF_TCPIP);
  EXPECT_EQ(Attribute(*transport, VI_ATTR_TCPIP_PORT), server.port());
  EXPECT_EQ(Attribute(*transport, VI_ATTR_TCPIP_NODELAY), VI_TRUE);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_TERMCHAR, 0x100).code(), VI_ERROR_NSUP_ATTR_STATE);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_TERMCHAR_EN, 2).code(), VI_ERROR_NSUP_ATTR_STATE);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_INTF_TYPE, 1).code(), VI_ERROR_ATTR_READONLY);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_ASRL_BAUD, 9600).code(), VI_ERROR_NSUP_ATTR);

  std::string key;
  EXPECT_EQ(transport->Unlock().code(), VI_ERROR_SESN_NLOCKED);
  EXPECT_EQ(transport->Lock(VI_SHARED_LOCK, 0, "mine", &key).code(), VI_SUCCESS);
  EXPECT_EQ(key, "mine");
  EXPECT_EQ(transport->Lock(VI_SHARED_LOCK, 0, "other", &key).code(), VI_ERROR_INV_ACCESS_KEY);
  EXPECT_EQ(transport->Unlock().code(), VI_SUCCESS);

  ASSERT_TRUE(transport->Close().ok());
  EXPECT_TRUE(transport->Close().ok());
  EXPECT_EQ(Write(*transport, "x").code(), VI_ERROR_INV_OBJECT);
}

}  // namespace
}  // namespace motqr::visa
