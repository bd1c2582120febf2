#include "platform/visa/formatted_io.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "platform/visa/tests/loopback_server.h"
#include "platform/visa/tests/visa_test_support.h"
#include "platform/visa/visa_com_status.h"

namespace motqr::visa {
namespace {

using com::Bstr;
using com::ComPtr;
using testing::LastErrorDescription;
using testing::LoopbackServer;

// A formatted I/O object over a socket session to `server`, with the termination character on.
ComPtr<IFormattedIO488> Connect(const LoopbackServer& server) {
  EXPECT_EQ(RegisterVisaComClasses(), com::S_OK);
  ComPtr<IMessage> message = testing::OpenMessage(server.resource());
  ComPtr<IFormattedIO488> io;
  if (message) {
    EXPECT_EQ(message->put_TerminationCharacterEnabled(com::VARIANT_TRUE), com::S_OK);
    EXPECT_EQ(com::CoCreateInstance(kClsidFormattedIO488, nullptr, com::CLSCTX_ALL,
                                    IFormattedIO488::kIid, io.PutVoid()),
              com::S_OK);
    if (io) {
      EXPECT_EQ(io->putref_IO(message.Get()), com::S_OK);
    }
  }
  RevokeVisaComClasses();
  return io;
}

TEST(VisaFormattedIO, StringsNumbersAndListsRoundTrip) {
  LoopbackServer server([](int client) {
    EXPECT_EQ(LoopbackServer::Receive(client, 21), "VOLT 1.5;:CURR -0.25\n");
    LoopbackServer::Send(client, "+1.50000E+00,7;+12\n");
    LoopbackServer::Send(client, "TQR-M4 ignored rest\n");
    LoopbackServer::Send(client, "1.5, -2,3E3\n");
    LoopbackServer::Send(client, "MORVANE,TQR-M4,SN1,1.0\n");
    LoopbackServer::Send(client, "abc\n");
    LoopbackServer::AwaitClose(client);
  });
  ComPtr<IFormattedIO488> io = Connect(server);
  ASSERT_TRUE(io);
  // Numbers are written without regard to the process locale.
  const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  ASSERT_EQ(io->WriteString(Bstr::FromUtf8("VOLT ").Get(), com::VARIANT_FALSE), com::S_OK);
  ASSERT_EQ(io->WriteNumber(*com::Variant::Double(1.5).Get(), ASCIIType_R8, com::VARIANT_FALSE),
            com::S_OK);
  ASSERT_EQ(io->WriteString(Bstr::FromUtf8(";:CURR ").Get(), com::VARIANT_FALSE), com::S_OK);
  ASSERT_EQ(io->WriteNumber(*com::Variant::Text("-0.25").Get(), ASCIIType_Any, com::VARIANT_FALSE),
            com::S_OK);
  ASSERT_EQ(io->WriteString(Bstr::FromUtf8("\n").Get(), com::VARIANT_TRUE), com::S_OK);
  if (previous != nullptr) std::setlocale(LC_NUMERIC, "C");

  com::Variant value;
  ASSERT_EQ(io->ReadNumber(ASCIIType_R8, com::VARIANT_FALSE, value.Get()), com::S_OK);
  EXPECT_EQ(value.Get()->dblVal, 1.5);
  ASSERT_EQ(io->ReadNumber(ASCIIType_I2, com::VARIANT_FALSE, value.Get()), com::S_OK);
  EXPECT_EQ(value.vt(), com::VT_I2);
  EXPECT_EQ(value.Get()->iVal, 7);
  ASSERT_EQ(io->ReadNumber(ASCIIType_I4, com::VARIANT_FALSE, value.Get()), com::S_OK);
  EXPECT_EQ(value.Get()->lVal, 12);

  // flushToEND drops the rest of the response, so the next read sees the next one.
  ASSERT_EQ(io->ReadNumber(ASCIIType_BSTR, com::VARIANT_TRUE, value.Get()), com::S_OK);
  EXPECT_EQ(value.ToText(), "TQR-M4");
  com::VariantClear(value.Get());  // an [out] VARIANT is not freed by the callee
  ASSERT_EQ(io->ReadList(ASCIIType_R8, nullptr, value.Get()), com::S_OK);
  ASSERT_EQ(value.vt(), com::VT_ARRAY | com::VT_R8);
  const com::SafeArray array = com::SafeArray::Attach(value.Get()->parray);
  value.Get()->vt = com::VT_EMPTY;  // the array is owned by `array` now
  const auto list = array.Data<double>();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], 1.5);
  EXPECT_EQ(list[1], -2);
  EXPECT_EQ(list[2], 3000);

  Bstr text;
  ASSERT_EQ(io->ReadString(text.Put()), com::S_OK);
  EXPECT_EQ(text.ToUtf8(), "MORVANE,TQR-M4,SN1,1.0\n");
  EXPECT_EQ(io->ReadNumber(ASCIIType_I4, com::VARIANT_TRUE, value.Get()), com::DISP_E_TYPEMISMATCH);
  EXPECT_NE(LastErrorDescription().find("\"abc\""), std::string::npos);
}

TEST(VisaFormattedIO, BlocksKeepByteOrderAndBufferSizeSplitsWrites) {
  LoopbackServer server([](int client) {
    // Big-endian 16-bit values 1 and 0x0A0B (whose low byte is the line feed).
    const std::string expected = std::string("DATA #14\x00\x01\x0A\x0B", 12) + "\n";
    EXPECT_EQ(LoopbackServer::Receive(client, expected.size()), expected);
    LoopbackServer::Send(client,
                         std::string("junk#210\x00\x02\x00\x0A\x00\x0B\x00\x0C\x0D\x0A\n", 19));
    LoopbackServer::Send(client, "NEXT\n");
    LoopbackServer::Send(client, "#9999999999\n");
    LoopbackServer::AwaitClose(client);
  });
  ComPtr<IFormattedIO488> io = Connect(server);
  ASSERT_TRUE(io);
  ASSERT_EQ(io->SetBufferSize(IO_OUT_BUF, 3), com::S_OK);  // the block goes out in pieces
  com::SafeArray words = com::SafeArray::CreateVector(com::VT_I2, 2);
  words.Data<std::int16_t>()[0] = 1;
  words.Data<std::int16_t>()[1] = 0x0A0B;
  VARIANT data{};
  data.vt = com::VT_ARRAY | com::VT_I2;
  data.parray = words.Get();
  ASSERT_EQ(io->WriteIEEEBlock(Bstr::FromUtf8("DATA ").Get(), data, com::VARIANT_FALSE), com::S_OK);
  ASSERT_EQ(io->WriteString(Bstr::FromUtf8("\n").Get(), com::VARIANT_TRUE), com::S_OK);

  // The reply block holds line feeds: the read goes on past them to the block's length.
  com::Variant block;
  ASSERT_EQ(io->ReadIEEEBlock(BinaryType_I2, com::VARIANT_TRUE, com::VARIANT_TRUE, block.Get()),
            com::S_OK);
  ASSERT_EQ(block.vt(), com::VT_ARRAY | com::VT_I2);
  const auto values = com::SafeArray::Attach(block.Get()->parray);
  block.Get()->vt = com::VT_EMPTY;
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values.Data<std::int16_t>()[0], 2);
  EXPECT_EQ(values.Data<std::int16_t>()[1], 10);
  EXPECT_EQ(values.Data<std::int16_t>()[4], 0x0D0A);
  // The block ended in a line feed of its own; the terminator after it was still dropped.
  Bstr next;
  ASSERT_EQ(io->ReadString(next.Put()), com::S_OK);
  EXPECT_EQ(next.ToUtf8(), "NEXT\n");

  // A declared length past the limit is refused before anything is allocated.
  EXPECT_EQ(io->ReadIEEEBlock(BinaryType_UI1, com::VARIANT_FALSE, com::VARIANT_TRUE, block.Get()),
            E_VISA_IO);
  EXPECT_NE(LastErrorDescription().find("longer than the formatted I/O limit"), std::string::npos);
  EXPECT_EQ(io->SetBufferSize(static_cast<BufferMask>(0x40), 10), E_VISA_INV_PARAMETER);
  EXPECT_EQ(io->SetBufferSize(IO_IN_BUF, 0), E_VISA_INV_PARAMETER);
}

TEST(VisaFormattedIO, WithoutIoEveryTransferFails) {
  ComPtr<IFormattedIO488> io;
  ASSERT_EQ(CreateFormattedIO488(nullptr, IFormattedIO488::kIid, io.PutVoid()), com::S_OK);
  EXPECT_EQ(io->WriteString(Bstr::FromUtf8("*CLS\n").Get(), com::VARIANT_TRUE), E_VISA_INV_OBJECT);
  EXPECT_NE(LastErrorDescription().find("set IO first"), std::string::npos);
  Bstr text;
  EXPECT_EQ(io->ReadString(text.Put()), E_VISA_INV_OBJECT);
  ComPtr<IMessage> none;
  EXPECT_EQ(io->get_IO(none.Put()), com::S_OK);
  EXPECT_FALSE(none);
}

TEST(VisaFormattedIO, BrokenRepliesFailCleanlyAndLeaveTheNextResponseIntact) {
  struct Case {
    std::string reply;
    IEEEASCIIType type;  // ASCIIType_Any with `block` set reads a block instead
    bool block;
    HRESULT expected;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"\n", ASCIIType_R8, false, E_VISA_IO, "holds no number"},
      {std::string(300, '7') + "\n", ASCIIType_R8, false, E_VISA_IO, "longer than 256"},
      {"70000\n", ASCIIType_I2, false, com::DISP_E_OVERFLOW, "\"70000\""},
      {"1.5V\n", ASCIIType_R8, false, com::DISP_E_TYPEMISMATCH, "\"1.5V\""},
      {"#A12\n", ASCIIType_Any, true, E_VISA_IO, "Binary block header not found."},
      {"12,#15\n", ASCIIType_Any, true, E_VISA_IO, "Binary block header not found."},
  };
  LoopbackServer server([&](int client) {
    for (const Case& c : cases) {
      LoopbackServer::Send(client, c.reply);
      LoopbackServer::Send(client, "+42\n");
    }
    LoopbackServer::AwaitClose(client);
  });
  ComPtr<IFormattedIO488> io = Connect(server);
  ASSERT_TRUE(io);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply.substr(0, 20));
    com::Variant value;
    const HRESULT hr = c.block ? io->ReadIEEEBlock(BinaryType_UI1, com::VARIANT_FALSE,
                                                   com::VARIANT_TRUE, value.Get())
                               : io->ReadNumber(c.type, com::VARIANT_TRUE, value.Get());
    EXPECT_EQ(hr, c.expected);
    EXPECT_NE(LastErrorDescription().find(c.text), std::string::npos);
    com::Variant next;
    ASSERT_EQ(io->ReadNumber(ASCIIType_I4, com::VARIANT_TRUE, next.Get()), com::S_OK);
    EXPECT_EQ(next.Get()->lVal, 42);
  }
}

}  // namespace
}  // namespace motqr::visa
