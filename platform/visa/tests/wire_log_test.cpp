// The wire log around a transport: what a transfer looks like in the file, and the bound.
#include "platform/visa/wire_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace motqr::visa {
namespace {

// Answers every read with `reply`; a read with an empty reply times out.
class ScriptedTransport final : public Transport {
 public:
  std::string reply;
  Status Write(std::span<const std::uint8_t> data, bool, std::size_t* written) override {
    *written = data.size();
    return Status(VI_SUCCESS);
  }
  Status Read(std::span<std::uint8_t> buffer, ReadResult* result) override {
    result->count = std::min(buffer.size(), reply.size());
    std::copy_n(reply.begin(), result->count, buffer.begin());
    if (reply.empty()) {
      result->stop = ReadStop::kTimeout;
      return Status(VI_ERROR_TMO);
    }
    result->stop = ReadStop::kEnd;
    return Status(VI_SUCCESS);
  }
  Status Clear() override { return Status(VI_SUCCESS); }
  Status ReadStatusByte(std::uint16_t* b) override {
    *b = 0;
    return Status(VI_SUCCESS);
  }
  Status AssertTrigger(ViUInt16) override { return Status(VI_SUCCESS); }
  Status SetAttribute(ViAttr, ViAttrState) override { return Status(VI_SUCCESS); }
  Status GetAttribute(ViAttr, ViAttrState* v) override {
    *v = 0;
    return Status(VI_SUCCESS);
  }
  Status Lock(ViAccessMode, ViUInt32, std::string_view, std::string*) override {
    return Status(VI_SUCCESS);
  }
  Status Unlock() override { return Status(VI_SUCCESS); }
  Status Close() override { return Status(VI_SUCCESS); }
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::span<const std::uint8_t> Bytes(const std::vector<std::uint8_t>& v) { return v; }

TEST(WireLog, TextAsTextOtherBytesAsHexLongTransfersCut) {
  EXPECT_EQ(WireLogBytes(AsBytes(":VOLT 5\n"), 100), "\":VOLT 5\\n\"");
  EXPECT_EQ(WireLogBytes(AsBytes("a\"b\\\t\r"), 100), "\"a\\\"b\\\\\\t\\r\"");
  // A definite-length block with 1.5 as a little-endian micro-unit word: 60 E3 16 00.
  EXPECT_EQ(WireLogBytes(Bytes({'#', '1', '4', 0x60, 0xE3, 0x16, 0x00, '\n'}), 100),
            "hex 23 31 34 60 e3 16 00 0a");
  EXPECT_EQ(WireLogBytes(AsBytes("0123456789"), 4), "\"0123\" ... (10 bytes)");
  EXPECT_EQ(WireLogBytes({}, 4), "\"\"");
}

TEST(WireLog, EveryTransferWithTimeDirectionAndLabelThenTheBound) {
  char dir[] = "/tmp/motqr-wirelog-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/wire.log";
  std::string label = "IMorvaneTqrOutputChannel.VoltageLevel";
  auto inner = std::make_unique<ScriptedTransport>();
  ScriptedTransport* script = inner.get();
  std::unique_ptr<Transport> logged;
  {
    // Transports opened on the thread while the scope lives are logged.
    ScopedWireLog scope({path, 420, [&label] { return label; }});
    logged = WithThreadWireLog(std::move(inner), "TCPIP::h::1::SOCKET");
  }
  std::size_t written = 0;
  ASSERT_TRUE(logged->Write(AsBytes(":VOLT?\n"), true, &written).ok());
  script->reply = "5\n";
  std::uint8_t buffer[16];
  ReadResult read;
  ASSERT_TRUE(logged->Read(buffer, &read).ok());
  label.clear();
  script->reply.clear();
  EXPECT_FALSE(logged->Read(buffer, &read).ok());
  for (int i = 0; i < 20; ++i) (void)logged->Write(AsBytes("*OPC?\n"), true, &written);

  const std::vector<std::string> lines = Lines(path);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_NE(lines[0].find("wire log of TCPIP::h::1::SOCKET"), std::string::npos) << lines[0];
  // 2026-12-07T00:41:02.123456Z
  ASSERT_GT(lines[1].size(), 28u);
  EXPECT_EQ(lines[1][10], 'T');
  EXPECT_EQ(lines[1][26], 'Z');
  EXPECT_EQ(lines[1].substr(27), " send IMorvaneTqrOutputChannel.VoltageLevel \":VOLT?\\n\"");
  EXPECT_EQ(lines[2].substr(27), " recv IMorvaneTqrOutputChannel.VoltageLevel \"5\\n\"");
  // No member in progress: "-"; a failed read says why.
  EXPECT_EQ(lines[3].substr(27, 11), " recv - \"\" ");
  EXPECT_NE(lines[3].find("[Timeout"), std::string::npos) << lines[3];
  // Bounded: the 20 writes do not all fit in 420 bytes; the log says it stopped.
  EXPECT_LT(lines.size(), 24u);
  EXPECT_EQ(lines.back().rfind("# wire log full at ", 0), 0u) << lines.back();
  std::ifstream in(path, std::ios::ate);
  EXPECT_LT(static_cast<std::size_t>(in.tellg()), 420u + 100u);

  // Without a scope nothing is wrapped.
  auto plain = std::make_unique<ScriptedTransport>();
  Transport* raw = plain.get();
  EXPECT_EQ(WithThreadWireLog(std::move(plain), "x").get(), raw);
  std::remove(path.c_str());
  ::rmdir(dir);
}

}  // namespace
}  // namespace motqr::visa
