// Broken replies to every reply shape the driver reads, through the driver's
// interfaces over a real socket: garbage, replies cut short at every length,
// one-byte TCP segments, and a connection dropped mid-reply. Each gives its
// value or a bounded, reported failure, and the session goes on (or closes
// and opens again).
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "tests/faults/fault_session.h"
#include "tests/faults/reply_calls.h"
#include "tests/faults/wire_instrument.h"

namespace motqr::faults {
namespace {

constexpr std::int32_t kTimeoutMs = 250;

struct ReplyShape {
  const char* query;  // as the driver writes it
  const char* reply;  // a good reply
  const char* value;  // what the member makes of it
  Outcome (*call)(FaultSession&);
};

using namespace calls;  // the member calls, one per reply shape

// 8 bytes of block data: 0x0A and 0x0D inside, voltage 1.000010 V (0x000F424A)
// and current 0.656650 A (0x000A050A), least significant byte first.
const std::string kBlock = std::string("#18") + std::string("\x4A\x42\x0F\x00\x0A\x05\x0A\x00", 8);

const std::array kShapes = {
    ReplyShape{":VOLT?", "5.5\n", "5.5", Real},
    ReplyShape{":VOLT:IV:COUN?", "12\n", "12", Integer},
    ReplyShape{":STAT:OPER:COND?", "+17\n", "17", Short},
    ReplyShape{":OUTP?", "1\n", "-1", Boolean},
    ReplyShape{":FUNC:MODE?", "CC\n", "1", Token},
    ReplyShape{":VOLT? MIN;VOLT? MAX", "-100;100\n", "-100;100", MinMax},
    ReplyShape{":MEAS:VOLT?", "+1.25E+00\n", "1.25", Measurement},
    ReplyShape{":MEAS:ALL?", "1,2.5,3,4,5E-3,6\n", "1,2.5,3,4,0.005,6", RealList},
    ReplyShape{":VOLT:IV:CAT?", "1.5E+0,-2E-1\n", "1.5,-0.2", ExponentList},
    ReplyShape{":VOLT:IV:DATA?", nullptr, "1.00001,0.65665", Block},
    ReplyShape{":SYST:DATE?", "2024,2,29\n", "2024,2,29", IntegerList},
    ReplyShape{"SYST:TZONE?", "UTC+01:00\n", "UTC+01:00", Line},
    ReplyShape{":PROG:NAME?", "\"P1\"\n", "P1", QuotedName},
    ReplyShape{":PROG:CAT?", "\"A\",\"B C\"\n", "A,B C", QuotedList},
    ReplyShape{":IO:INP:POL?", "NORM,INV,NORM,INV\n", "0,1,0,1", TokenList},
    ReplyShape{":INST:INFO?", "100,20,1000,TQR-M4\n", "100,20,1000,TQR-M4", NumbersAndText},
    ReplyShape{":TRIG:TRAN:EXEC?", "RUN,\"P1\",2,3\n", "2,P1,2,3", Fields},
    ReplyShape{":SYST:ERR?", "-222,\"Data out of range\"\n", "-222,Data out of range", ErrorEntry},
};

std::string GoodReply(const ReplyShape& shape) { return shape.reply ? shape.reply : kBlock + "\n"; }

class ReplyFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(inst_.ok());
    ASSERT_EQ(session_.Open(inst_.SocketResource(), kTimeoutMs), com::S_OK) << LastError();
  }
  void TearDown() override { session_.Close(); }

  // A reply the parser refuses: E_UNEXPECTED described with the member, what
  // it expected and what came, or a token outside its table reported with the
  // text that came.
  static void ExpectUnreadable(const Outcome& got, const ReplyShape& shape) {
    if (got.hr == com::E_UNEXPECTED) {
      EXPECT_EQ(got.error.rfind("Unreadable reply to I", 0), 0u)
          << shape.query << ": " << got.error;
      EXPECT_NE(got.error.find(": expected "), std::string::npos)
          << shape.query << ": " << got.error;
      EXPECT_NE(got.error.find(", got \""), std::string::npos) << shape.query << ": " << got.error;
      return;
    }
    EXPECT_EQ(got.hr, kUnexpectedResponse) << shape.query << ": " << got.error;
    EXPECT_NE(got.error.find("Unexpected"), std::string::npos) << shape.query << ": " << got.error;
  }

  // The shape's good reply still reads right: nothing of a broken one is left over.
  void ExpectSessionWorks(const ReplyShape& shape) {
    inst_.Answer(shape.query, {GoodReply(shape)});
    const Outcome after = shape.call(session_);
    EXPECT_EQ(after.hr, com::S_OK) << shape.query << ": " << after.error;
    EXPECT_EQ(after.value, shape.value) << shape.query;
  }

  WireInstrument inst_;
  FaultSession session_;
};

TEST_F(ReplyFaults, EveryShapeReadsWholeAndInOneByteSegments) {
  for (const ReplyShape& shape : kShapes) {
    for (std::size_t segment : {std::size_t{0}, std::size_t{1}}) {
      inst_.Answer(shape.query, {GoodReply(shape), segment});
      const Outcome got = shape.call(session_);
      EXPECT_EQ(got.hr, com::S_OK) << shape.query << " segment " << segment << ": " << got.error;
      EXPECT_EQ(got.value, shape.value) << shape.query << " segment " << segment;
    }
  }
}

TEST_F(ReplyFaults, GarbageIsAnUnexpectedResponseAndTheNextReplyIsRight) {
  const std::array<std::string, 4> garbage = {"\x01\xff?%s%n\n", "#9999999999\n", ",,,;;\n",
                                              std::string(5000, 'Z') + "\n"};
  for (const ReplyShape& shape : kShapes) {
    for (const std::string& bytes : garbage) {
      inst_.Answer(shape.query, {bytes});
      const Outcome got = shape.call(session_);
      // A block header that ends at a line feed waits for its data: that line
      // feed may be the first of them.
      const bool block_waits = shape.call == Block && got.hr == e2e::kIoTimeout;
      if (com::Failed(got.hr) && !block_waits) ExpectUnreadable(got, shape);
      ExpectSessionWorks(shape);
    }
  }
}

TEST_F(ReplyFaults, AnInstrumentErrorAfterAGoodReplyFailsTheCallAndKeepsWhatWasRead) {
  inst_.Answer("*ESR?", {"32\n"});  // command error
  for (const ReplyShape& shape : kShapes) {
    if (shape.call == ErrorEntry) continue;  // reads the queue without a status check
    inst_.Answer(shape.query, {GoodReply(shape)});
    const Outcome got = shape.call(session_);
    EXPECT_EQ(got.hr, e2e::kInstrumentStatus) << shape.query << ": " << got.error;
    // Numbers, texts and arrays alike stay as the reply gave them.
    EXPECT_EQ(got.value, shape.value) << shape.query;
  }
  inst_.Answer("*ESR?", {"0\n"});
  ExpectSessionWorks(kShapes.front());
}

TEST_F(ReplyFaults, RepliesCutAtEveryLengthEndsInAValueOrABoundedFailure) {
  for (const ReplyShape& shape : kShapes) {
    const std::string good = GoodReply(shape);
    for (std::size_t cut = 0; cut + 1 < good.size(); ++cut) {
      inst_.Answer(shape.query, {good.substr(0, cut) + "\n"});
      const auto start = Clock::now();
      const Outcome got = shape.call(session_);
      EXPECT_LT(Clock::now() - start, milliseconds(kTimeoutMs * 2 + 200)) << shape.query;
      // Block data may hold line feeds: a block cut short can only be told
      // from one still arriving by its time-out.
      const bool block_waits = shape.call == Block && got.hr == e2e::kIoTimeout;
      if (com::Failed(got.hr) && !block_waits) ExpectUnreadable(got, shape);
      SCOPED_TRACE("cut at " + std::to_string(cut));
      ExpectSessionWorks(shape);
    }
  }
}

TEST_F(ReplyFaults, AConnectionDroppedMidReplyIsAnIoErrorAtOnceAndTheSessionReopens) {
  for (const ReplyShape& shape : kShapes) {
    const std::string good = GoodReply(shape);
    inst_.Answer(shape.query, {good.substr(0, good.size() / 2), 1, /*close_after=*/true});
    const auto start = Clock::now();
    const Outcome got = shape.call(session_);
    EXPECT_LT(Clock::now() - start, milliseconds(kTimeoutMs)) << shape.query;
    if (shape.call == ErrorEntry) {  // ErrorQuery names any failure an unexpected response
      EXPECT_EQ(got.hr, kUnexpectedResponse) << got.error;
    } else {
      EXPECT_EQ(got.hr, e2e::kIoGeneral) << shape.query << ": " << got.error;
      EXPECT_NE(got.error.find("connection"), std::string::npos) << got.error;
    }
    ASSERT_EQ(session_.Close(), com::S_OK);
    ASSERT_EQ(session_.Open(inst_.SocketResource(), kTimeoutMs), com::S_OK) << LastError();
    ExpectSessionWorks(shape);
  }
}

}  // namespace
}  // namespace motqr::faults
