#include "platform/visa/resource_name.h"

#include <gtest/gtest.h>

#include "platform/visa/open_transport.h"

namespace motqr::visa {
namespace {

struct GoodName {
  const char* text;
  InterfaceType type;
  std::uint16_t board;
  ResourceClass resource_class;
  const char* host;
  std::uint16_t port;
  const char* lan_device;
  const char* device_path;
  Backend backend;
};

TEST(VisaResourceName, ParsesEveryAcceptedForm) {
  using IT = InterfaceType;
  using RC = ResourceClass;
  const GoodName cases[] = {
      {"TCPIP0::192.168.1.10::5025::SOCKET", IT::kTcpip, 0, RC::kSocket, "192.168.1.10", 5025, "",
       "", Backend::kTcpSocket},
      {"tcpip3::Psu-Lab.example.com::1::socket", IT::kTcpip, 3, RC::kSocket, "Psu-Lab.example.com",
       1, "", "", Backend::kTcpSocket},
      {"TCPIP::[::1]::65535::SOCKET", IT::kTcpip, 0, RC::kSocket, "::1", 65535, "", "",
       Backend::kTcpSocket},
      {"TCPIP0::[fe80::1%eth0]::5025::SOCKET", IT::kTcpip, 0, RC::kSocket, "fe80::1%eth0", 5025, "",
       "", Backend::kTcpSocket},
      {"  TCPIP::localhost::5025::SOCKET\n", IT::kTcpip, 0, RC::kSocket, "localhost", 5025, "", "",
       Backend::kTcpSocket},
      {"TCPIP::10.0.0.2::INSTR", IT::kTcpip, 0, RC::kInstr, "10.0.0.2", 0, "inst0", "",
       Backend::kVisaLibrary},
      {"TCPIP1::host::hislip0,4880::INSTR", IT::kTcpip, 1, RC::kInstr, "host", 0, "hislip0,4880",
       "", Backend::kVisaLibrary},
      {"TCPIP::[2001:db8::5]", IT::kTcpip, 0, RC::kInstr, "2001:db8::5", 0, "inst0", "",
       Backend::kVisaLibrary},
      {"ASRL1::INSTR", IT::kAsrl, 1, RC::kInstr, "", 0, "", "/dev/ttyS0", Backend::kSerial},
      {"asrl12", IT::kAsrl, 12, RC::kInstr, "", 0, "", "/dev/ttyS11", Backend::kSerial},
      {"ASRL/dev/ttyUSB0::INSTR", IT::kAsrl, 0, RC::kInstr, "", 0, "", "/dev/ttyUSB0",
       Backend::kSerial},
      {"ASRL/dev/pts/7::instr", IT::kAsrl, 0, RC::kInstr, "", 0, "", "/dev/pts/7",
       Backend::kSerial},
      {"GPIB0::5::INSTR", IT::kGpib, 0, RC::kInstr, "", 0, "", "", Backend::kVisaLibrary},
      {"gpib2::INTFC", IT::kGpib, 2, RC::kIntfc, "", 0, "", "", Backend::kVisaLibrary},
      {"USB::0x1234::125::A22-5::INSTR", IT::kUsb, 0, RC::kInstr, "", 0, "", "",
       Backend::kVisaLibrary},
      {"GPIB-VXI0::9::INSTR", IT::kGpibVxi, 0, RC::kInstr, "", 0, "", "", Backend::kVisaLibrary},
      {"VXI::1::INSTR", IT::kVxi, 0, RC::kInstr, "", 0, "", "", Backend::kVisaLibrary},
  };
  for (const GoodName& c : cases) {
    SCOPED_TRACE(c.text);
    ResourceName name;
    Status status = ParseResourceName(c.text, &name);
    ASSERT_TRUE(status.ok()) << status.message();
    EXPECT_EQ(name.interface_type, c.type);
    EXPECT_EQ(name.board, c.board);
    EXPECT_EQ(name.resource_class, c.resource_class);
    EXPECT_EQ(name.host, c.host);
    EXPECT_EQ(name.port, c.port);
    EXPECT_EQ(name.lan_device, c.lan_device);
    EXPECT_EQ(name.device_path, c.device_path);
    EXPECT_EQ(BackendFor(name), c.backend);
  }
}

TEST(VisaResourceName, KeepsGpibAndUsbAddresses) {
  ResourceName name;
  ASSERT_TRUE(ParseResourceName("GPIB1::30::2::INSTR", &name).ok());
  EXPECT_EQ(name.primary_address, 30);
  EXPECT_EQ(name.secondary_address, 2);

  ASSERT_TRUE(ParseResourceName("USB0::0xF0aB::0x0001::SN-x::3::RAW", &name).ok());
  EXPECT_EQ(name.vendor_id, 0xF0AB);
  EXPECT_EQ(name.product_id, 1);
  EXPECT_EQ(name.serial_number, "SN-x");
  EXPECT_EQ(name.usb_interface, 3);
  EXPECT_EQ(name.resource_class, ResourceClass::kRaw);
}

TEST(VisaResourceName, RejectsMalformedNamesWithTheReason) {
  struct BadName {
    const char* text;
    const char* reason;
  };
  const BadName cases[] = {
      {"", "empty"},
      {"   ", "empty"},
      {"FOO0::1::INSTR", "unknown interface type \"FOO\""},
      {"TCPIP1x::host::5025::SOCKET", "board number \"1x\""},
      {"TCPIPx::host::5025::SOCKET", "unknown interface type \"TCPIPx\""},
      {"TCPIP::host::99999::SOCKET", "port must be 1 to 65535"},
      {"TCPIP::host::0::SOCKET", "port must be 1 to 65535"},
      {"TCPIP::host::SOCKET", "exactly host and port"},
      {"TCPIP::host::5025::5026::SOCKET", "exactly host and port"},
      {"TCPIP::::5025::SOCKET", "empty"},
      {"TCPIP::host::5025::", "empty"},
      {"TCPIP::fe80::1::5025::SOCKET", "exactly host and port"},
      {"TCPIP::[::1::5025::SOCKET", "no \"]\""},
      {"TCPIP::[nothex]::5025::SOCKET", "not an IPv6 address"},
      {"TCPIP::[::1]5025::SOCKET", "must follow the bracketed host"},
      {"TCPIP::300.1.1.1::5025::SOCKET", "not a host name or IPv4 address"},
      {"TCPIP::ho st::5025::SOCKET", "not a host name"},
      {"TCPIP::host::a::b::INSTR", "too many fields"},
      {"TCPIP::host::RAW", "INSTR or SOCKET"},
      {"ASRL0::INSTR", "start at 1"},
      {"ASRL::INSTR", "port number or device path is missing"},
      {"ASRL1::9600::INSTR", "no fields after the port"},
      {"ASRL1::SOCKET", "serial resource is INSTR"},
      {"GPIB0::31::INSTR", "primary address must be 0 to 30"},
      {"GPIB0::1::31::INSTR", "secondary address must be 0 to 30"},
      {"GPIB0::INSTR", "needs a primary address"},
      {"USB::0x10000::1::SN::INSTR", "vendor id"},
      {"USB::1::2::INSTR", "needs vendor id"},
      {"GPIB0::1::BACKPLANE", "BACKPLANE is not supported"},
  };
  for (const BadName& c : cases) {
    SCOPED_TRACE(c.text);
    ResourceName name;
    name.host = "untouched";
    Status status = ParseResourceName(c.text, &name);
    EXPECT_EQ(status.code(), VI_ERROR_INV_RSRC_NAME);
    EXPECT_NE(status.message().find(c.reason), std::string::npos) << status.message();
    EXPECT_EQ(name.host, "untouched");
  }
}

}  // namespace
}  // namespace motqr::visa
