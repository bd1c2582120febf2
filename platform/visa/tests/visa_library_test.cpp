#include "platform/visa/visa_library.h"

#include <gtest/gtest.h>

#include "platform/visa/tests/visa_test_support.h"
#include "platform/visa/visa_session.h"

namespace motqr::visa {
namespace {

using testing::Attribute;
using testing::Read;
using testing::Reading;
using testing::Write;

constexpr ViAttr kStandInWideAttribute = 0x3FFF7FF0U;

class VisaLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { SetVisaLibraryNames({"/nonexistent/libnot-visa.so", kStandInPath}); }
  void TearDown() override { SetVisaLibraryNames({}); }

  static std::unique_ptr<Transport> Open(const char* text, Status* status) {
    return testing::Open(text, Backend::kVisaLibrary, status);
  }

  static constexpr const char* kStandInPath = MOTQR_VISA_STANDIN_PATH;
};

TEST_F(VisaLibraryTest, ReadsWritesAndPassesStatusThrough) {
  Status status;
  auto transport = Open("GPIB0::5::INSTR", &status);
  ASSERT_TRUE(transport) << status.message();

  std::size_t written = 0;
  ASSERT_TRUE(transport->Write(AsBytes("VOLT?\nREST"), true, &written).ok());
  EXPECT_EQ(written, 10u);
  ASSERT_TRUE(transport->SetTerminationCharacterEnabled(true).ok());
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS_TERM_CHAR, ReadStop::kTermChar, "VOLT?\n"}));
  EXPECT_EQ(Read(*transport, 2), (Reading{VI_SUCCESS_MAX_CNT, ReadStop::kCount, "RE"}));
  // END came with the write.
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS, ReadStop::kEnd, "ST"}));

  // A write without END leaves END off in the library for that call only.
  ASSERT_TRUE(Write(*transport, "AB", false).ok());
  const Reading reading = Read(*transport);
  EXPECT_EQ(reading, (Reading{VI_ERROR_TMO, ReadStop::kTimeout, "AB"}));
  EXPECT_EQ(reading.message, "stand-in status BFFF0015");  // the library's own text
  EXPECT_EQ(Attribute(*transport, VI_ATTR_SEND_END_EN), VI_TRUE);

  std::uint16_t status_byte = 0;
  ASSERT_TRUE(transport->ReadStatusByte(&status_byte).ok());
  EXPECT_EQ(status_byte, 0x40);
  ASSERT_TRUE(Write(*transport, "xyz").ok());
  ASSERT_TRUE(transport->Clear().ok());
  EXPECT_EQ(Read(*transport), (Reading{VI_ERROR_TMO, ReadStop::kTimeout, ""}));
  EXPECT_TRUE(transport->Close().ok());
  EXPECT_EQ(transport->Clear().code(), VI_ERROR_INV_OBJECT);
}

TEST_F(VisaLibraryTest, AttributesKeepTheirWidths) {
  Status status;
  auto transport = Open("GPIB0::7::INSTR", &status);
  ASSERT_TRUE(transport) << status.message();
  ASSERT_TRUE(transport->SetTimeout(1234).ok());
  EXPECT_EQ(Attribute(*transport, VI_ATTR_TMO_VALUE), 1234u);
  ASSERT_TRUE(transport->SetTerminationCharacter('\r').ok());
  EXPECT_EQ(Attribute(*transport, VI_ATTR_TERMCHAR), '\r');
  EXPECT_EQ(Attribute(*transport, VI_ATTR_INTF_TYPE), VI_INTF_GPIB);
  // ViAttrState is 64 bits wide on LP64: a value above 32 bits passes both ways unchanged.
  const ViAttrState wide = 0x123456789ABCULL;
  ASSERT_TRUE(transport->SetAttribute(kStandInWideAttribute, wide).ok());
  EXPECT_EQ(Attribute(*transport, kStandInWideAttribute), wide);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_TMO_VALUE, 0x100000000ULL).code(),
            VI_ERROR_NSUP_ATTR_STATE);

  std::string key;
  ASSERT_TRUE(transport->Lock(VI_SHARED_LOCK, 100, "", &key).ok());
  EXPECT_EQ(key, "standin-key");
  ASSERT_TRUE(transport->Lock(VI_SHARED_LOCK, 100, "abc", &key).ok());
  EXPECT_EQ(key, "abc");
  EXPECT_TRUE(transport->Unlock().ok());
}

TEST_F(VisaLibraryTest, WhenPreferredTheLibraryServesTheBuiltInKindsToo) {
  const OpenOptions prefer{.prefer_visa_library = true};
  for (const char* text :
       {"TCPIP0::127.0.0.1::5025::SOCKET", "TCPIP::127.0.0.1::INSTR", "TCPIP::h::hislip0::INSTR",
        "ASRL1::INSTR", "USB::0x1234::0x5678::SN::INSTR", "GPIB0::5::INSTR"}) {
    ResourceName name;
    ASSERT_TRUE(ParseResourceName(text, &name).ok()) << text;
    EXPECT_EQ(BackendFor(name, prefer), Backend::kVisaLibrary) << text;
  }
  // Nothing listens on loopback port 1: only the library (the stand-in echoes) can open it.
  Status status;
  auto transport =
      testing::Open("TCPIP0::127.0.0.1::1::SOCKET", Backend::kVisaLibrary, &status, prefer);
  ASSERT_TRUE(transport) << status.message();
  ASSERT_TRUE(Write(*transport, "VOLT?").ok());
  EXPECT_EQ(Read(*transport), (Reading{VI_SUCCESS, ReadStop::kEnd, "VOLT?"}));

  // The preference of a thread reaches the sessions opened on it, and ends with its scope.
  EXPECT_FALSE(ThreadPrefersVisaLibrary());
  {
    ScopedVisaLibraryPreference scope(true);
    EXPECT_TRUE(ThreadPrefersVisaLibrary());
    IVisaSession* session = nullptr;
    ASSERT_EQ(OpenVisaSession("TCPIP0::127.0.0.1::1::SOCKET", NO_LOCK, 2000, "", &session),
              com::S_OK)
        << testing::LastErrorDescription();
    session->Release();
  }
  EXPECT_FALSE(ThreadPrefersVisaLibrary());
}

TEST_F(VisaLibraryTest, OpenFailuresNameTheCause) {
  Status status;
  EXPECT_EQ(Open("USB::0x1::0x2::NONE::RAW", &status), nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("USB::0x1::0x2::NONE::RAW"), std::string::npos);

  SetVisaLibraryNames({"/nonexistent/libvisa-a.so", "libmotqr-absent-visa.so"});
  EXPECT_EQ(Open("GPIB0::5::INSTR", &status), nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_LIBRARY_NFOUND);
  EXPECT_NE(status.message().find("needs a system VISA library"), std::string::npos);
  EXPECT_NE(status.message().find("tried /nonexistent/libvisa-a.so, libmotqr-absent-visa.so"),
            std::string::npos)
      << status.message();
}

}  // namespace
}  // namespace motqr::visa
