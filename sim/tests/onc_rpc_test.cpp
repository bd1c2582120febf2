// The simulator's ONC RPC layer against bytes written out by hand: record marking over a
// stream (fragments, pieces, an oversized record), call headers, accepted replies.
#include "sim/onc_rpc.h"

#include <gtest/gtest.h>

#include <string>

namespace tqrsim::rpc {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(SimOncRpc, RecordsAreJoinedFromFragmentsAndPieces) {
  RecordAssembler records(64);
  // "abc" in a fragment without the last-fragment bit, then "de" as the last fragment; the
  // stream arrives one byte at a time.
  const std::string stream =
      Bytes({0, 0, 0, 3}) + "abc" + Bytes({0x80, 0, 0, 2}) + "de" + Bytes({0x80, 0, 0, 1}) + "f";
  std::string record;
  std::vector<std::string> taken;
  for (char c : stream) {
    records.Feed(std::string(1, c));
    while (records.Take(&record)) taken.push_back(record);
  }
  EXPECT_EQ(taken, (std::vector<std::string>{"abcde", "f"}));
  EXPECT_FALSE(records.broken());

  RecordAssembler small(4);
  small.Feed(Bytes({0x80, 0, 0, 5}) + "hello");
  EXPECT_FALSE(small.Take(&record));
  EXPECT_TRUE(small.broken());  // over the limit: the stream cannot be followed
}

TEST(SimOncRpc, CallsAreTakenApartAndRepliesPutTogether) {
  // xid 0x01020304, CALL, RPC 2, program 0x0607AF, version 1, procedure 12, AUTH_UNIX
  // credential of 4 bytes, AUTH_NULL verifier, then one argument word.
  const std::string call =
      Bytes({1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 2, 0, 6, 7, 0xAF, 0, 0, 0, 1, 0, 0, 0, 12}) +
      Bytes({0, 0, 0, 1, 0, 0, 0, 4, 9, 9, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0}) + Bytes({0, 0, 0, 42});
  Call parsed;
  ASSERT_TRUE(ParseCall(call, &parsed));
  EXPECT_EQ(parsed.xid, 0x01020304u);
  EXPECT_EQ(parsed.program, 0x0607AFu);
  EXPECT_EQ(parsed.version, 1u);
  EXPECT_EQ(parsed.procedure, 12u);
  EXPECT_EQ(parsed.arguments, Bytes({0, 0, 0, 42}));

  EXPECT_FALSE(ParseCall(call.substr(0, 30), &parsed));  // cut inside the credential
  std::string reply_message = call;
  reply_message[7] = 1;  // a REPLY is not a call
  EXPECT_FALSE(ParseCall(reply_message, &parsed));

  EXPECT_EQ(
      AcceptedReply(7, kSuccess, Bytes({0, 0, 0, 5})),
      Bytes({0, 0, 0, 7, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}));
  EXPECT_EQ(AcceptedReply(7, kProgramMismatch, {}, 2, 4),
            Bytes({0, 0, 0, 7, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                   0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 4}));

  XdrWriter out;
  out.Opaque("hello");
  EXPECT_EQ(out.bytes(), Bytes({0, 0, 0, 5}) + "hello" + Bytes({0, 0, 0}));
  XdrReader in(out.bytes());
  EXPECT_EQ(in.Opaque(4), "");  // longer than allowed
  EXPECT_FALSE(in.ok());
}

}  // namespace
}  // namespace tqrsim::rpc
