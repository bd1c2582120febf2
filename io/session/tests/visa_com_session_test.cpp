// CVisaComSession over platform/visa's real objects, against a loopback
// server on 127.0.0.1 that plays the instrument's side of each exchange.
#include "io/session/visa_com_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string>

#include "errors/status_codes.h"
#include "io/testing/recording_error_reporter.h"
#include "platform/visa/resource_manager.h"
#include "platform/visa/tests/loopback_server.h"

namespace motqr::io {
namespace {

using testing::RecordingErrorReporter;
using S = CVisaComSession;
using visa::testing::LoopbackServer;

class CountingPoller final : public IInstrErrorPoller {
 public:
  HRESULT PollInstrumentErrors() override {
    ++polls;
    return status;
  }
  int polls = 0;
  HRESULT status = com::S_OK;
};

class NoEnums final : public IEnumFormatter {
 public:
  HRESULT FormatEnum(std::string_view, std::int32_t, std::string*) override { return com::E_FAIL; }
  HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return com::E_FAIL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 0; }
};

// Reads one line (up to and with its line feed), at most 2 s.
std::string ReceiveLine(int fd) {
  std::string line;
  while (line.empty() || line.back() != '\n') {
    std::string c = LoopbackServer::Receive(fd, 1);
    if (c.empty()) break;
    line += c;
  }
  return line;
}

class VisaComSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(visa::RegisterVisaComClasses(), com::S_OK); }
  void TearDown() override { visa::RegisterVisaComClasses(); }

  HRESULT OpenOn(const LoopbackServer& server) {
    return session.Open(server.resource(), &poller, &reporter, &enums);
  }
  // The value a getter gives; a failed get is a test failure.
  template <class T>
  T Get(HRESULT (S::*getter)(T*)) {
    T value{};
    EXPECT_EQ((session.*getter)(&value), com::S_OK) << reporter.LastText();
    return value;
  }

  CVisaComSession session;
  CountingPoller poller;
  RecordingErrorReporter reporter;
  NoEnums enums;
};

TEST_F(VisaComSessionTest, SocketOpenSetsLineFeedTerminationAndEndAndQueriesRoundTrip) {
  std::string received;
  LoopbackServer server([&](int fd) {
    received = ReceiveLine(fd);
    LoopbackServer::Send(fd, "Morvane,TQR-M4,M4A004217,1.0\n");
    received += ReceiveLine(fd);
    LoopbackServer::Send(fd, "7\n");
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK) << reporter.LastText();
  EXPECT_EQ(Get(&S::GetTerminationCharacterEnabled), true);
  EXPECT_EQ(Get(&S::GetTerminationCharacter), 10);
  EXPECT_EQ(Get(&S::GetSendEndEnabled), true);
  EXPECT_EQ(Get(&S::GetResourceClass), "SOCKET");
  EXPECT_EQ(Get(&S::GetInterfaceType), IoInterfaceType::kTcpip);

  std::string idn;
  EXPECT_EQ(session.QueryStringNoPoll("*IDN?", &idn, kTmoKeep), com::S_OK);
  EXPECT_EQ(idn, "Morvane,TQR-M4,M4A004217,1.0");
  std::int32_t value = 0;
  EXPECT_EQ(session.QueryNumber("*OPC?", &value, true, 1000), com::S_OK);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(poller.polls, 1);  // only the polling form polled
  EXPECT_EQ(session.Close(), com::S_OK);
  EXPECT_EQ(received, "*IDN?\n*OPC?\n");
}

TEST_F(VisaComSessionTest, OpenFailuresAndTheFallbackResourceManager) {
  // Nothing registered: the resource manager cannot be created.
  visa::RevokeVisaComClasses();
  EXPECT_EQ(session.Open("TCPIP::127.0.0.1::1::SOCKET", &poller, &reporter, &enums),
            RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(),
            "Could not create instance of VISA-COM Global Resource Manager Component. Make sure "
            "it is installed properly.");
  EXPECT_FALSE(session.IsOpen());

  // Only the alternative class: Open gets as far as the resource manager, then
  // the FormattedIO488 class is missing.
  ASSERT_EQ(visa::RegisterResourceManagerClass(visa::kClsidResourceManagerAlternate), com::S_OK);
  LoopbackServer server([](int fd) { LoopbackServer::AwaitClose(fd); });
  EXPECT_EQ(OpenOn(server), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(),
            "Could not create instance of VISA-COM FormattedIO488 Component. Make sure this "
            "component is properly installed.");
  EXPECT_EQ(session.Close(), com::S_OK);  // releases what the failed Open made

  // A name VISA cannot parse is the unknown resource; missing links are E_POINTER.
  visa::RegisterVisaComClasses();
  EXPECT_EQ(session.Open("NOTAVISANAME", &poller, &reporter, &enums),
            RecordingErrorReporter::kOther);
  EXPECT_EQ(reporter.LastKind(), "UnknownResource");
  EXPECT_EQ(session.Open("TCPIP::127.0.0.1::1::SOCKET", nullptr, &reporter, &enums),
            com::E_POINTER);
}

TEST_F(VisaComSessionTest, ClosedSessionReportsNotConnected) {
  std::string text;
  std::int32_t timeout = 0;
  EXPECT_EQ(session.Close(), com::S_OK);
  EXPECT_EQ(session.WriteString("*CLS", true, kTmoKeep), errors::E_IVI_NOT_INITIALIZED);
  LoopbackServer server([](int fd) { LoopbackServer::AwaitClose(fd); });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  EXPECT_EQ(session.Close(), com::S_OK);
  EXPECT_EQ(session.Close(), com::S_OK);
  EXPECT_EQ(session.QueryStringNoPoll("*IDN?", &text, kTmoKeep),
            RecordingErrorReporter::kNotInitialized);
  EXPECT_EQ(session.GetTimeout(&timeout), RecordingErrorReporter::kNotInitialized);
  EXPECT_EQ(session.Printf("*CLS"), RecordingErrorReporter::kNotInitialized);
  EXPECT_EQ(session.GetTimeout(nullptr), RecordingErrorReporter::kNullPointer);
  EXPECT_EQ(reporter.Reports().back().args, (std::vector<std::string>{"GetTimeout", "plTimeout"}));
}

TEST_F(VisaComSessionTest, ReadsMapCountReachedToMoreDataAndTerminationToOk) {
  LoopbackServer server([](int fd) {
    LoopbackServer::Send(fd, "12345678\n");
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  std::uint8_t bytes[64] = {};
  std::int32_t read = 0;
  EXPECT_EQ(session.LowLevelReadNoPoll(bytes, 4, &read, kTmoKeep), S_MORE_DATA);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 4), "1234");
  EXPECT_EQ(session.LowLevelReadNoPoll(bytes, 64, &read, kTmoKeep), com::S_OK);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(read)), "5678\n");
  EXPECT_EQ(poller.polls, 0);
  session.Close();
}

TEST_F(VisaComSessionTest, TimeoutArgumentHoldsForOneCallAndIsRestoredAfterFailure) {
  LoopbackServer server([](int fd) { LoopbackServer::AwaitClose(fd); });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  ASSERT_EQ(session.SetTimeout(1500), com::S_OK);
  std::uint8_t bytes[8];
  std::int32_t read = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(session.LowLevelReadNoPoll(bytes, 8, &read, 200), RecordingErrorReporter::kIoTimeout);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
  EXPECT_EQ(Get(&S::GetTimeout), 1500);
  // kTmoKeep uses the session time-out and leaves it.
  std::string text;
  EXPECT_EQ(session.SetTimeout(100), com::S_OK);
  EXPECT_EQ(session.ReadStringNoPoll(&text, kTmoKeep), RecordingErrorReporter::kIoTimeout);
  EXPECT_EQ(Get(&S::GetTimeout), 100);
  session.Close();
}

TEST_F(VisaComSessionTest, FormattedFamiliesWriteFlushReadAndPoll) {
  std::string received;
  LoopbackServer server([&](int fd) {
    received = ReceiveLine(fd);
    received += ReceiveLine(fd);
    LoopbackServer::Send(fd, "2.5;3.5\n");
    received += ReceiveLine(fd);
    LoopbackServer::Send(fd, "-113,\"Undefined header\"\n");
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  EXPECT_EQ(session.PrintfNoFlush(":VOLT %0.6lg", 1.5), com::S_OK);
  EXPECT_EQ(poller.polls, 0);
  EXPECT_EQ(session.FlushWrite(true, kTmoKeep), com::S_OK);
  double low = 0;
  double high = 0;
  EXPECT_EQ(session.Queryf(":VOLT? MIN;:VOLT? MAX", "%lf;%lf", &low, &high), com::S_OK);
  EXPECT_EQ(low, 2.5);
  EXPECT_EQ(high, 3.5);
  EXPECT_EQ(poller.polls, 1);
  std::int32_t code = 0;
  std::string message;
  EXPECT_EQ(session.Printf(":SYST:ERR?"), com::S_OK);
  EXPECT_EQ(session.Scanf("%d,%$Ct", &code, &message), com::S_OK);
  EXPECT_EQ(code, -113);
  EXPECT_EQ(message, "\"Undefined header\"");
  EXPECT_EQ(poller.polls, 3);
  EXPECT_EQ(received, ":VOLT 1.5\n:VOLT? MIN;:VOLT? MAX\n:SYST:ERR?\n");

  // A failing poll is the operation's result.
  poller.status = RecordingErrorReporter::kCannotRecover;
  EXPECT_EQ(session.Printf("*CLS"), RecordingErrorReporter::kCannotRecover);
  session.Close();
}

TEST_F(VisaComSessionTest, DirectIoReadsWholeResponsesPastTheBuffers) {
  const std::string big(10000, 'x');
  LoopbackServer server([&](int fd) {
    ReceiveLine(fd);
    LoopbackServer::Send(fd, big + "\n");
    ReceiveLine(fd);
    LoopbackServer::Send(fd, "\n");
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  com::Bstr command = com::Bstr::FromUtf8("DATA?\n");
  EXPECT_EQ(session.WriteString(command.Get()), com::S_OK);
  com::SafeArray data;
  EXPECT_EQ(session.ReadBytes(data.Put()), com::S_OK);
  ASSERT_TRUE(data);
  EXPECT_EQ(data.size(), big.size() + 1);
  com::SafeArray request = com::SafeArray::CreateVector(com::VT_UI1, 6);
  std::memcpy(request.Data<std::uint8_t>().data(), "EMPT?\n", 6);
  std::int64_t written = 0;
  EXPECT_EQ(session.WriteBytes(request.Get(), &written), com::S_OK);
  EXPECT_EQ(written, 6);
  com::Bstr reply;
  EXPECT_EQ(session.ReadString(reply.Put()), com::S_OK);
  EXPECT_EQ(reply.ToUtf8(), "\n");
  EXPECT_EQ(poller.polls, 0);
  EXPECT_EQ(session.ReadBytes(nullptr), RecordingErrorReporter::kNullPointer);
  EXPECT_EQ(reporter.Reports().back().args, (std::vector<std::string>{"ReadBytes", "ppsaData"}));
  session.Close();
}

TEST_F(VisaComSessionTest, AReplyThatDoesNotReadIsDescribedAndTheNextQueryReadsItsOwn) {
  const struct {
    const char* reply;  // without its line feed
    const char* format;
    const char* text;  // the description, written out by hand
  } cases[] = {
      {"abc", "%lf", "expected a real number (%lf), got \"abc\"."},
      {"1e400", "%lf", "expected a real number (%lf), got \"1e400\"."},
      {"", "%lf", "expected a real number (%lf), got \"\"."},
      {"40000", "%hd", "expected a 16-bit integer (%hd), got \"40000\"."},
      {"#x4ABCD", "%$Sb", "expected a definite-length block (%$Sb), got \"#x4ABCD\"."},
      {"1;2", "%lf,%lf", "expected the text \",\", got \"1;2\"."},
      {"\x01\xff\"\\\r", "%d", "expected a 32-bit integer (%d), got \"\\x01\\xFF\\\"\\\\\\r\"."},
      {"1.0,2.0,", "%,$Sle", "expected a list of real numbers (%,$Sle), got \"1.0,2.0,\"."},
  };
  const std::string long_reply(200, 'z');
  LoopbackServer server([&](int fd) {
    for (const auto& c : cases) {
      ReceiveLine(fd);
      LoopbackServer::Send(fd, std::string(c.reply) + "\n");
    }
    ReceiveLine(fd);
    LoopbackServer::Send(fd, long_reply + "\n");
    ReceiveLine(fd);
    LoopbackServer::Send(fd, "7\n");
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  for (const auto& c : cases) {
    double real[2] = {};
    std::int16_t word = 0;
    std::int32_t whole = 0;
    com::SafeArray array;
    HRESULT hr;
    const std::string_view format = c.format;
    if (format == "%hd") {
      hr = session.Queryf("Q?", format, &word);
    } else if (format == "%d") {
      hr = session.Queryf("Q?", format, &whole);
    } else if (format.find('S') != std::string_view::npos) {
      hr = session.Queryf("Q?", format, array.Put());
    } else if (format == "%lf,%lf") {
      hr = session.Queryf("Q?", format, &real[0], &real[1]);
    } else {
      hr = session.Queryf("Q?", format, &real[0]);
    }
    EXPECT_EQ(hr, com::E_UNEXPECTED) << c.reply;
    EXPECT_EQ(reporter.LastText(), std::string("Unreadable reply: ") + c.text) << c.reply;
  }
  // At most 80 characters of the reply are shown.
  double v = 0;
  EXPECT_EQ(session.Queryf("Q?", "%lf", &v), com::E_UNEXPECTED);
  EXPECT_EQ(reporter.LastText(), "Unreadable reply: expected a real number (%lf), got \"" +
                                     std::string(80, 'z') + "...\".");
  std::int32_t next = 0;
  EXPECT_EQ(session.Queryf("Q?", "%d", &next), com::S_OK);
  EXPECT_EQ(next, 7);
  session.Close();
}

// QueryText reads a reply of one real in place when it can. Whatever the reply,
// it must end as the reply parser's reading of it does (Queryf, the same
// session and wire): status, value, description, status polls, and the next
// exchange reading its own reply.
TEST_F(VisaComSessionTest, QueryTextReadsEveryReplyAsTheReplyParserDoes) {
  const std::string replies[] = {"1.5", "+1.000000E+00", "-1.5E+03", "+.5", "5.", "-0", "9.91E37",
                                 "1e-400", "1e400", " 2.5", "+-1", "++1", "-+1", "+", "1e", "1e+",
                                 ".", "inf", "-nan", "0x1p3", "1.5,2.5", "1.5\r", "1.5V", "abc", "",
                                 // longer than the short cut takes, and longer than the read buffer
                                 "1." + std::string(70, '5'), std::string(5000, '7')};
  LoopbackServer server([&](int fd) {
    for (const std::string& reply : replies) {
      for (int turn = 0; turn < 2; ++turn) {
        ReceiveLine(fd);
        LoopbackServer::Send(fd, reply + "\n");
      }
    }
    ReceiveLine(fd);  // the last query times out
    ReceiveLine(fd);
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  struct Outcome {
    HRESULT hr;
    double value;
    std::string text;
    int polls;
  };
  const auto query_text = [&] {
    const int polls = poller.polls;
    double value = -7;
    const ScanArg target(&value);
    const HRESULT hr = session.QueryText("Q?", "%lf", ScanArgs(&target, 1));
    return Outcome{hr, value, reporter.LastText(), poller.polls - polls};
  };
  const auto queryf = [&] {
    const int polls = poller.polls;
    double value = -7;
    const HRESULT hr = session.Queryf("Q?", "%lf", &value);
    return Outcome{hr, value, reporter.LastText(), poller.polls - polls};
  };
  for (const std::string& reply : replies) {
    const Outcome fast = query_text();
    const Outcome general = queryf();
    EXPECT_EQ(fast.hr, general.hr) << reply;
    EXPECT_TRUE(fast.value == general.value &&
                std::signbit(fast.value) == std::signbit(general.value))
        << reply << ": " << fast.value << " against " << general.value;
    EXPECT_EQ(fast.text, general.text) << reply;
    EXPECT_EQ(fast.polls, general.polls) << reply;
  }
  // A reply that does not come: the same time-out either way.
  ASSERT_EQ(session.SetTimeout(100), com::S_OK);
  const Outcome fast = query_text();
  const Outcome general = queryf();
  EXPECT_EQ(fast.hr, RecordingErrorReporter::kIoTimeout);
  EXPECT_EQ(general.hr, RecordingErrorReporter::kIoTimeout);
  EXPECT_EQ(fast.value, general.value);
  session.Close();
}

TEST_F(VisaComSessionTest, DirectReadStringKeepsACharacterSplitBetweenTwoReadsWhole) {
  // U+00E9 is C3 A9 in UTF-8; the first 4096-byte read ends after C3.
  const std::string reply = std::string(4095, 'a') + "\xC3\xA9 ok\n";
  LoopbackServer server([&](int fd) {
    ReceiveLine(fd);
    LoopbackServer::Send(fd, reply);
    LoopbackServer::AwaitClose(fd);
  });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  EXPECT_EQ(session.WriteString(com::Bstr::FromUtf8("TEXT?\n").Get()), com::S_OK);
  com::Bstr text;
  EXPECT_EQ(session.ReadString(text.Put()), com::S_OK);
  EXPECT_EQ(text.View().substr(4095), u"\u00E9 ok\n");
  EXPECT_EQ(text.size(), 4095u + 5u);
  session.Close();
}

TEST_F(VisaComSessionTest, LocksPointersAndTheOperationsAMessageResourceLacks) {
  LoopbackServer server([](int fd) { LoopbackServer::AwaitClose(fd); });
  ASSERT_EQ(OpenOn(server), com::S_OK);
  std::string key;
  EXPECT_EQ(session.Lock(2, 100, "", &key), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(), "Unsupported VISA session access mode.");
  EXPECT_EQ(session.Lock(0, 100, "", &key), com::S_OK);
  EXPECT_EQ(session.Unlock(), com::S_OK);

  com::ComPtr<visa::IMessage> message;
  com::ComPtr<visa::IRegister> reg;
  EXPECT_EQ(session.GetIMessagePointer(message.Put()), com::S_OK);
  EXPECT_TRUE(message);
  EXPECT_EQ(session.GetIRegisterPointer(reg.Put()), com::S_OK);
  EXPECT_FALSE(reg);

  std::int16_t word = 0;
  std::uint64_t offset = 0;
  std::int32_t job = 0;
  EXPECT_EQ(session.In16(1, 0, &word), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(),
            "The VISA-COM session does not support register-based operations.");
  EXPECT_EQ(session.SetDestinationIncrement(1), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(),
            "The VISA-COM session does not support register-based operations.");
  EXPECT_EQ(session.AllocateMemory(16, &offset), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(),
            "The VISA-COM session does not support shared memory register-based operations.");
  EXPECT_EQ(session.WriteAsync(nullptr, 0, &job), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(),
            "The VISA-COM session does not support asynchronous messaging operations.");
  EXPECT_EQ(session.MoveAsync(1, 0, 8, 1, 0, 8, 1, &job), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(), "The VISA-COM session does not support the MoveAsync operation.");
  EXPECT_EQ(session.EnableEvent(static_cast<IoEventType>(9), IoEventMechanism::kQueue),
            RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(), "Unsupported VISA event type.");
  EXPECT_EQ(session.WaitOnEvent(static_cast<IoEventType>(9), 0), RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(), "Unsupported VISA event type.");
  // Every mechanism reaches the VISA session, which has no events; an unknown one does not.
  for (IoEventMechanism m : {IoEventMechanism::kQueue, IoEventMechanism::kHandler,
                             IoEventMechanism::kSuspendHandler, IoEventMechanism::kAll}) {
    EXPECT_TRUE(com::Failed(session.EnableEvent(IoEventType::kServiceRequest, m)));
    EXPECT_NE(reporter.LastText(), "Unsupported VISA event mechanism.");
  }
  EXPECT_EQ(session.EnableEvent(IoEventType::kServiceRequest, static_cast<IoEventMechanism>(9)),
            RecordingErrorReporter::kIoError);
  EXPECT_EQ(reporter.LastText(), "Unsupported VISA event mechanism.");
  session.Close();
}

TEST_F(VisaComSessionTest, ALostConnectionIsAnIoErrorAndTheSessionStillCloses) {
  LoopbackServer server([](int fd) { ReceiveLine(fd); });  // closes without answering
  ASSERT_EQ(OpenOn(server), com::S_OK);
  std::string reply;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(session.QueryStringNoPoll("*IDN?", &reply, 1000), RecordingErrorReporter::kIoError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_EQ(session.Close(), com::S_OK);
}

}  // namespace
}  // namespace motqr::io
