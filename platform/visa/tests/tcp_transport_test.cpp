#include "platform/visa/tcp_transport.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <future>

#include "platform/visa/open_transport.h"
#include "platform/visa/tests/loopback_server.h"

namespace motqr::visa {
namespace {

using testing::LoopbackServer;
using Clock = std::chrono::steady_clock;

std::unique_ptr<Transport> Connect(const LoopbackServer& server) {
  ResourceName name;
  EXPECT_TRUE(ParseResourceName(server.resource(), &name).ok());
  std::unique_ptr<Transport> transport;
  Status status = OpenTransport(name, {}, &transport);
  EXPECT_TRUE(status.ok()) << status.message();
  return transport;
}

std::string Text(const std::array<std::uint8_t, 64>& buffer, const ReadResult& result) {
  return std::string(reinterpret_cast<const char*>(buffer.data()), result.count);
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
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  Status status = transport->Read(buffer, &result);
  EXPECT_EQ(status.code(), VI_SUCCESS_TERM_CHAR);
  EXPECT_EQ(result.stop, ReadStop::kTermChar);
  EXPECT_EQ(Text(buffer, result), "MORVANE,TQR-M4\n");

  // A read that fills its count first stops there; the rest stays for the next read.
  status = transport->Read(std::span(buffer).first(3), &result);
  EXPECT_EQ(status.code(), VI_SUCCESS_MAX_CNT);
  EXPECT_EQ(result.stop, ReadStop::kCount);
  EXPECT_EQ(Text(buffer, result), "SEC");
  status = transport->Read(buffer, &result);
  EXPECT_EQ(status.code(), VI_SUCCESS_TERM_CHAR);
  EXPECT_EQ(Text(buffer, result), "OND\n");

  // Without the termination character a socket read ends only at the count.
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(false).ok());
  status = transport->Read(std::span(buffer).first(10), &result);
  EXPECT_EQ(status.code(), VI_SUCCESS_MAX_CNT);
  EXPECT_EQ(Text(buffer, result), "0123456789");
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
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  const auto start = Clock::now();
  Status status = transport->Read(buffer, &result);
  const long elapsed = ElapsedMs(start);
  EXPECT_EQ(status.code(), VI_ERROR_TMO);
  EXPECT_EQ(status.message(), "Timeout expired before operation completed.");
  EXPECT_EQ(result.stop, ReadStop::kTimeout);
  EXPECT_EQ(Text(buffer, result), "partial");  // what arrived is kept
  EXPECT_GE(elapsed, 150);
  EXPECT_LT(elapsed, 150 + 250);

  // An immediate time-out returns at once.
  ASSERT_TRUE(transport->SetTimeout(VI_TMO_IMMEDIATE).ok());
  const auto again = Clock::now();
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_ERROR_TMO);
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
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  Status status = transport->Read(buffer, &result);
  EXPECT_EQ(status.code(), VI_ERROR_CONN_LOST);
  EXPECT_NE(status.message().find("connection"), std::string::npos);
  EXPECT_EQ(result.stop, ReadStop::kError);
  EXPECT_EQ(Text(buffer, result), "+1.25");

  // Writing to the dropped connection fails (no SIGPIPE), within a few attempts.
  std::size_t written = 0;
  Status write_status;
  for (int i = 0; i < 20 && write_status.ok(); ++i) {
    write_status = transport->Write(AsBytes("*CLS\n"), true, &written);
  }
  EXPECT_EQ(write_status.code(), VI_ERROR_CONN_LOST) << write_status.message();
}

TEST(VisaTcpTransport, RefusedConnectionFailsAtOnce) {
  std::uint16_t port = 0;
  {
    LoopbackServer server([](int) {});
    port = server.port();
    // Connect once so the server thread ends; the port is then closed.
    auto transport = Connect(server);
  }
  ResourceName name;
  ASSERT_TRUE(
      ParseResourceName("TCPIP::127.0.0.1::" + std::to_string(port) + "::SOCKET", &name).ok());
  std::unique_ptr<Transport> transport;
  const auto start = Clock::now();
  Status status = OpenTransport(name, {.open_timeout_ms = 5000}, &transport);
  EXPECT_LT(ElapsedMs(start), 500);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("Connection refused"), std::string::npos) << status.message();
  EXPECT_EQ(transport, nullptr);
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
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_SUCCESS_TERM_CHAR);
  EXPECT_EQ(Text(buffer, result), "+12.5E-3\n");
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
  std::array<std::uint8_t, 64> buffer{};
  ReadResult result;
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  ASSERT_EQ(transport->Read(std::span(buffer).first(2), &result).code(), VI_SUCCESS_MAX_CNT);
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
  ViAttrState value = 0;
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_TMO_VALUE, &value).ok());
  EXPECT_EQ(value, 2000u);
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_TERMCHAR, &value).ok());
  EXPECT_EQ(value, '\n');
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_INTF_TYPE, &value).ok());
  EXPECT_EQ(value, VI_INTF_TCPIP);
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_TCPIP_PORT, &value).ok());
  EXPECT_EQ(value, server.port());
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_TCPIP_NODELAY, &value).ok());
  EXPECT_EQ(value, VI_TRUE);
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
  std::size_t written = 0;
  EXPECT_EQ(transport->Write(AsBytes("x"), true, &written).code(), VI_ERROR_INV_OBJECT);
}

}  // namespace
}  // namespace motqr::visa
