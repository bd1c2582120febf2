#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "platform/visa/tests/loopback_server.h"
#include "platform/visa/tests/visa_test_support.h"
#include "platform/visa/visa_com_status.h"
#include "platform/visa/visa_library.h"

namespace motqr::visa {
namespace {

using com::Bstr;
using com::ComPtr;
using testing::Get;
using testing::LastErrorDescription;
using testing::LoopbackServer;
using testing::OpenMessage;
using testing::ResourceManager;

std::string Bytes(const com::SafeArray& array) {
  const auto bytes = array.Data<std::uint8_t>();
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class VisaComSession : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RegisterVisaComClasses(), com::S_OK); }
  void TearDown() override { RevokeVisaComClasses(); }
};

TEST_F(VisaComSession, BothResourceManagerClassesCreateAndRevokeRemovesThem) {
  ComPtr<IResourceManager> primary = ResourceManager(kClsidResourceManager);
  ComPtr<IResourceManager> alternate = ResourceManager(kClsidResourceManagerAlternate);
  ASSERT_TRUE(primary && alternate);
  std::int16_t type = 0;
  std::int16_t number = 0;
  Bstr session_type;
  EXPECT_EQ(alternate->ParseRsrc(Bstr::FromUtf8("tcpip4::h::5025::socket").Get(), &type, &number,
                                 session_type.Put()),
            com::S_OK);
  EXPECT_EQ(type, INTF_TCPIP);
  EXPECT_EQ(number, 4);
  EXPECT_EQ(session_type.ToUtf8(), "SOCKET");

  RevokeVisaComClasses();
  ComPtr<IResourceManager> none;
  EXPECT_EQ(com::CoCreateInstance(kClsidResourceManager, nullptr, com::CLSCTX_ALL,
                                  IResourceManager::kIid, none.PutVoid()),
            com::REGDB_E_CLASSNOTREG);
}

TEST_F(VisaComSession, OpenFailuresCarryVisaCodesAndText) {
  ComPtr<IResourceManager> rm = ResourceManager(kClsidResourceManager);
  ComPtr<IVisaSession> session;
  EXPECT_EQ(rm->Open(Bstr::FromUtf8("TCPIP::host::99999::SOCKET").Get(), NO_LOCK, 2000, nullptr,
                     session.Put()),
            E_VISA_INV_RSRC_NAME);
  EXPECT_NE(LastErrorDescription().find("port must be 1 to 65535"), std::string::npos);
  EXPECT_FALSE(session);

  std::string closed_port;
  {
    LoopbackServer closed([](int) {});
    closed_port = closed.resource();
    ComPtr<IMessage> once = OpenMessage(closed_port);
  }
  EXPECT_EQ(rm->Open(Bstr::FromUtf8(closed_port).Get(), NO_LOCK, 2000, nullptr, session.Put()),
            E_VISA_RSRC_NFOUND);
  EXPECT_NE(LastErrorDescription().find("Connection refused"), std::string::npos);
}

TEST_F(VisaComSession, SocketSessionShapeAndAttributes) {
  LoopbackServer server([](int client) { LoopbackServer::AwaitClose(client); });
  ComPtr<IMessage> message = OpenMessage(server.resource());
  ASSERT_TRUE(message);

  ComPtr<IEventManager> events;
  EXPECT_EQ(message.As(&events), com::S_OK);
  ComPtr<IRegister> reg;
  ComPtr<ISharedRegister> shared;
  ComPtr<IAsyncMessage> async;
  EXPECT_EQ(message.As(&reg), com::E_NOINTERFACE);
  EXPECT_EQ(message.As(&shared), com::E_NOINTERFACE);
  EXPECT_EQ(message.As(&async), com::E_NOINTERFACE);
  EXPECT_EQ(events->EnableEvent(EVENT_SERVICE_REQ, EVENT_QUEUE, 0), E_VISA_NSUP_OPER);
  EXPECT_EQ(LastErrorDescription(), "This VISA session does not support events.");

  EXPECT_EQ(Get(message, &IMessage::get_HardwareInterfaceType), INTF_TCPIP);
  Bstr text;
  ASSERT_EQ(message->get_ResourceName(text.Put()), com::S_OK);
  EXPECT_EQ(text.ToUtf8(), server.resource());

  com::Variant value;
  ASSERT_EQ(message->GetAttribute(static_cast<std::int32_t>(VI_ATTR_RSRC_CLASS), value.Get()),
            com::S_OK);
  EXPECT_EQ(value.ToText(), "SOCKET");
  com::VariantClear(value.Get());  // an [out] VARIANT is not freed by the callee
  ASSERT_EQ(message->GetAttribute(static_cast<std::int32_t>(VI_ATTR_TERMCHAR), value.Get()),
            com::S_OK);
  EXPECT_EQ(value.vt(), com::VT_UI1);
  EXPECT_EQ(value.Get()->bVal, '\n');
  ASSERT_EQ(message->SetAttribute(static_cast<std::int32_t>(VI_ATTR_TERMCHAR_EN),
                                  *com::Variant::Bool(true).Get()),
            com::S_OK);
  EXPECT_EQ(Get(message, &IMessage::get_TerminationCharacterEnabled), com::VARIANT_TRUE);
  EXPECT_EQ(message->SetAttribute(static_cast<std::int32_t>(VI_ATTR_TERMCHAR),
                                  *com::Variant::Int32(300).Get()),
            E_VISA_NSUP_ATTR_STATE);
  // A real is taken only when whole: 13.5 is refused, not rounded.
  EXPECT_EQ(message->SetAttribute(static_cast<std::int32_t>(VI_ATTR_TERMCHAR),
                                  *com::Variant::Double(13.5).Get()),
            E_VISA_NSUP_ATTR_STATE);
  ASSERT_EQ(message->SetAttribute(static_cast<std::int32_t>(VI_ATTR_TERMCHAR),
                                  *com::Variant::Double(13.0).Get()),
            com::S_OK);
  com::VariantClear(value.Get());
  ASSERT_EQ(message->GetAttribute(static_cast<std::int32_t>(VI_ATTR_TERMCHAR), value.Get()),
            com::S_OK);
  EXPECT_EQ(value.Get()->bVal, '\r');

  // Time-outs: -1 is none at all; other negative values are refused.
  ASSERT_EQ(message->put_Timeout(-1), com::S_OK);
  EXPECT_EQ(Get(message, &IMessage::get_Timeout), -1);
  EXPECT_EQ(message->put_Timeout(-5), E_VISA_NSUP_ATTR_STATE);
  EXPECT_EQ(Get(message, &IMessage::get_LastStatus), E_VISA_NSUP_ATTR_STATE);

  Bstr key;
  ASSERT_EQ(message->LockRsrc(SHARED_LOCK, 0, Bstr::FromUtf8("k1").Get(), key.Put()), com::S_OK);
  EXPECT_EQ(key.ToUtf8(), "k1");
  EXPECT_EQ(Get(message, &IMessage::get_LockState), SHARED_LOCK);
  EXPECT_EQ(message->UnlockRsrc(), com::S_OK);

  EXPECT_EQ(message->Close(), com::S_OK);
  EXPECT_EQ(message->Close(), com::S_OK);
  EXPECT_EQ(message->Clear(), E_VISA_INV_OBJECT);
}

TEST_F(VisaComSession, ReadCompletionCodesTimeoutAndLostConnection) {
  std::promise<void> stalled;
  LoopbackServer server([&](int client) {
    EXPECT_EQ(LoopbackServer::Receive(client, 12), "MEAS:VOLT?\n\x01");
    LoopbackServer::Send(client, "+4.99\n12345678");
    stalled.get_future().wait_for(std::chrono::seconds(2));
  });
  ComPtr<IMessage> message = OpenMessage(server.resource());
  ASSERT_TRUE(message);
  ASSERT_EQ(message->put_TerminationCharacterEnabled(com::VARIANT_TRUE), com::S_OK);
  std::int32_t count = 0;
  ASSERT_EQ(message->WriteString(Bstr::FromUtf8("MEAS:VOLT?\n").Get(), &count), com::S_OK);
  EXPECT_EQ(count, 11);
  com::SafeArray one = com::SafeArray::CreateVector(com::VT_UI1, 2);
  one.Data<std::uint8_t>()[0] = 1;
  SAFEARRAY* raw = one.Get();
  ASSERT_EQ(message->Write(&raw, 1, &count), com::S_OK);  // only the first byte
  EXPECT_EQ(count, 1);

  com::SafeArray reply;
  EXPECT_EQ(message->Read(100, reply.Put()), S_VISA_TERM_CHAR);
  EXPECT_EQ(Bytes(reply), "+4.99\n");
  EXPECT_EQ(message->Read(4, reply.Put()), S_VISA_MAX_CNT);
  EXPECT_EQ(Bytes(reply), "1234");
  Bstr text;
  EXPECT_EQ(message->ReadString(4, text.Put()), S_VISA_MAX_CNT);
  EXPECT_EQ(text.ToUtf8(), "5678");

  ASSERT_EQ(message->put_Timeout(100), com::S_OK);
  EXPECT_EQ(message->Read(100, reply.Put()), E_VISA_TMO);
  EXPECT_FALSE(reply);
  EXPECT_EQ(LastErrorDescription(), "Timeout expired before operation completed.");

  stalled.set_value();  // the server closes the connection
  ASSERT_EQ(message->put_Timeout(2000), com::S_OK);
  EXPECT_EQ(message->Read(100, reply.Put()), E_VISA_CONN_LOST);
  EXPECT_NE(LastErrorDescription().find("connection"), std::string::npos);
}

TEST_F(VisaComSession, LibraryResourcesPassThroughTheSystemVisa) {
  SetVisaLibraryNames({MOTQR_VISA_STANDIN_PATH});
  ComPtr<IMessage> message = OpenMessage("GPIB0::5::INSTR");
  ASSERT_TRUE(message);
  EXPECT_EQ(Get(message, &IMessage::get_HardwareInterfaceType), INTF_GPIB);
  std::int32_t count = 0;
  ASSERT_EQ(message->WriteString(Bstr::FromUtf8("ABCDEF").Get(), &count), com::S_OK);
  com::SafeArray reply;
  EXPECT_EQ(message->Read(4, reply.Put()), S_VISA_MAX_CNT);
  EXPECT_EQ(message->Read(4, reply.Put()), com::S_OK);  // END came with the write
  EXPECT_EQ(Bytes(reply), "EF");
  EXPECT_EQ(Get(message, &IMessage::ReadSTB), 0x40);
  EXPECT_EQ(message->Close(), com::S_OK);

  SetVisaLibraryNames({"/nonexistent/libvisa.so"});
  ComPtr<IResourceManager> rm = ResourceManager(kClsidResourceManager);
  ComPtr<IVisaSession> session;
  EXPECT_EQ(
      rm->Open(Bstr::FromUtf8("GPIB0::5::INSTR").Get(), NO_LOCK, 2000, nullptr, session.Put()),
      E_VISA_LIBRARY_NFOUND);
  EXPECT_NE(LastErrorDescription().find("needs a system VISA library"), std::string::npos);
  SetVisaLibraryNames({});
}

TEST_F(VisaComSession, ConcurrentCallersShareOneSession) {
  constexpr int kThreads = 4;
  constexpr int kQueries = 50;
  LoopbackServer server([](int client) {  // echoes every byte back
    std::size_t echoed = 0;
    while (echoed < kThreads * kQueries * 2) {
      const std::string chunk = LoopbackServer::Receive(client, 1);
      if (chunk.empty()) return;
      LoopbackServer::Send(client, chunk);
      ++echoed;
    }
    LoopbackServer::AwaitClose(client);
  });
  ComPtr<IMessage> message = OpenMessage(server.resource());
  ASSERT_TRUE(message);
  ASSERT_EQ(message->put_TerminationCharacterEnabled(com::VARIANT_TRUE), com::S_OK);
  std::atomic<int> replies{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kQueries; ++i) {
        std::int32_t count = 0;
        Bstr reply;
        if (message->WriteString(Bstr::FromUtf8("Q\n").Get(), &count) != com::S_OK) return;
        if (message->ReadString(16, reply.Put()) == S_VISA_TERM_CHAR && reply.ToUtf8() == "Q\n") {
          ++replies;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(replies.load(), kThreads * kQueries);
}

}  // namespace
}  // namespace motqr::visa
