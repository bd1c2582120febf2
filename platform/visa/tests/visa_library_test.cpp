#include "platform/visa/visa_library.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/visa/open_transport.h"

namespace motqr::visa {
namespace {

constexpr ViAttr kStandInWideAttribute = 0x3FFF7FF0U;

class VisaLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { SetVisaLibraryNames({"/nonexistent/libnot-visa.so", kStandInPath}); }
  void TearDown() override { SetVisaLibraryNames({}); }

  static std::unique_ptr<Transport> Open(const char* text, Status* status) {
    ResourceName name;
    EXPECT_TRUE(ParseResourceName(text, &name).ok());
    EXPECT_EQ(BackendFor(name), Backend::kVisaLibrary);
    std::unique_ptr<Transport> transport;
    *status = OpenTransport(name, {}, &transport);
    return transport;
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
  std::array<std::uint8_t, 32> buffer{};
  ReadResult result;
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_SUCCESS_TERM_CHAR);
  EXPECT_EQ(result.count, 6u);
  EXPECT_EQ(transport->Read(std::span(buffer).first(2), &result).code(), VI_SUCCESS_MAX_CNT);
  EXPECT_EQ(result.stop, ReadStop::kCount);
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_SUCCESS);  // END came with the write
  EXPECT_EQ(result.stop, ReadStop::kEnd);
  EXPECT_EQ(result.count, 2u);

  // A write without END leaves END off in the library for that call only.
  ASSERT_TRUE(transport->Write(AsBytes("AB"), false, &written).ok());
  status = transport->Read(buffer, &result);
  EXPECT_EQ(status.code(), VI_ERROR_TMO);
  EXPECT_EQ(status.message(), "stand-in status BFFF0015");  // the library's own text
  EXPECT_EQ(result.stop, ReadStop::kTimeout);
  EXPECT_EQ(result.count, 2u);
  ViAttrState value = 0;
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_SEND_END_EN, &value).ok());
  EXPECT_EQ(value, VI_TRUE);

  std::uint16_t status_byte = 0;
  ASSERT_TRUE(transport->ReadStatusByte(&status_byte).ok());
  EXPECT_EQ(status_byte, 0x40);
  ASSERT_TRUE(transport->Write(AsBytes("xyz"), true, &written).ok());
  ASSERT_TRUE(transport->Clear().ok());
  EXPECT_EQ(transport->Read(buffer, &result).code(), VI_ERROR_TMO);
  EXPECT_EQ(result.count, 0u);
  EXPECT_TRUE(transport->Close().ok());
  EXPECT_EQ(transport->Clear().code(), VI_ERROR_INV_OBJECT);
}

TEST_F(VisaLibraryTest, AttributesKeepTheirWidths) {
  Status status;
  auto transport = Open("GPIB0::7::INSTR", &status);
  ASSERT_TRUE(transport) << status.message();
  ViAttrState value = 0;
  ASSERT_TRUE(transport->SetTimeout(1234).ok());
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_TMO_VALUE, &value).ok());
  EXPECT_EQ(value, 1234u);
  ASSERT_TRUE(transport->SetTerminationCharacter('\r').ok());
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_TERMCHAR, &value).ok());
  EXPECT_EQ(value, '\r');
  ASSERT_TRUE(transport->GetAttribute(VI_ATTR_INTF_TYPE, &value).ok());
  EXPECT_EQ(value, VI_INTF_GPIB);
  // ViAttrState is 64 bits wide on LP64: a value above 32 bits passes both ways unchanged.
  const ViAttrState wide = 0x123456789ABCULL;
  ASSERT_TRUE(transport->SetAttribute(kStandInWideAttribute, wide).ok());
  ASSERT_TRUE(transport->GetAttribute(kStandInWideAttribute, &value).ok());
  EXPECT_EQ(value, wide);
  EXPECT_EQ(transport->SetAttribute(VI_ATTR_TMO_VALUE, 0x100000000ULL).code(),
            VI_ERROR_NSUP_ATTR_STATE);

  std::string key;
  ASSERT_TRUE(transport->Lock(VI_SHARED_LOCK, 100, "", &key).ok());
  EXPECT_EQ(key, "standin-key");
  ASSERT_TRUE(transport->Lock(VI_SHARED_LOCK, 100, "abc", &key).ok());
  EXPECT_EQ(key, "abc");
  EXPECT_TRUE(transport->Unlock().ok());
}

TEST_F(VisaLibraryTest, OpenFailuresNameTheCause) {
  Status status;
  EXPECT_EQ(Open("USB::0x1::0x2::NONE::INSTR", &status), nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_RSRC_NFOUND);
  EXPECT_NE(status.message().find("USB::0x1::0x2::NONE::INSTR"), std::string::npos);

  SetVisaLibraryNames({"/nonexistent/libvisa-a.so", "libmotqr-absent-visa.so"});
  EXPECT_EQ(Open("GPIB0::5::INSTR", &status), nullptr);
  EXPECT_EQ(status.code(), VI_ERROR_LIBRARY_NFOUND);
  EXPECT_NE(status.message().find("needs a system VISA library"), std::string::npos);
  EXPECT_NE(status.message().find("tried /nonexistent/libvisa-a.so, libmotqr-absent-visa.so"),
            std::string::npos)
      << status.message();
}

TEST(VisaLibraryNames, DefaultListIsFixed) {
  const auto names = DefaultVisaLibraryNames();
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names[0], "libvisa.so");
}

}  // namespace
}  // namespace motqr::visa
