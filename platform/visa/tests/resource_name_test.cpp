#include "platform/visa/resource_name.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "platform/visa/open_transport.h"

namespace motqr::visa {
namespace {

// "<interface><board> <class> <address fields> <backend>", e.g.
// "TCPIP0 SOCKET 192.168.1.10:5025 tcp" or "GPIB1 INSTR 30/2 library".
std::string Parsed(std::string_view text) {
  ResourceName name;
  const Status status = ParseResourceName(text, &name);
  if (!status.ok()) return status.message();
  std::ostringstream out;
  out << InterfaceTypeName(name.interface_type) << name.board << ' '
      << ResourceClassName(name.resource_class);
  if (!name.host.empty()) out << ' ' << name.host;
  if (name.port != 0) out << ':' << name.port;
  if (!name.lan_device.empty()) out << ' ' << name.lan_device;
  if (!name.device_path.empty()) out << ' ' << name.device_path;
  if (name.interface_type == InterfaceType::kGpib && name.resource_class == ResourceClass::kInstr) {
    out << ' ' << name.primary_address;
    if (name.secondary_address) out << '/' << *name.secondary_address;
  }
  if (name.interface_type == InterfaceType::kUsb) {
    out << ' ' << std::hex << name.vendor_id << ':' << name.product_id << std::dec << ':'
        << name.serial_number;
    if (name.usb_interface) out << ':' << *name.usb_interface;
  }
  constexpr const char* kBackends[] = {"tcp", "vxi11", "hislip", "serial", "usbtmc", "library"};
  out << ' ' << kBackends[static_cast<int>(BackendFor(name))];
  return out.str();
}

TEST(VisaResourceName, ParsesEveryAcceptedForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"TCPIP0::192.168.1.10::5025::SOCKET", "TCPIP0 SOCKET 192.168.1.10:5025 tcp"},
      {"tcpip3::Psu-Lab.example.com::1::socket", "TCPIP3 SOCKET Psu-Lab.example.com:1 tcp"},
      {"TCPIP::[::1]::65535::SOCKET", "TCPIP0 SOCKET ::1:65535 tcp"},
      {"TCPIP0::[fe80::1%eth0]::5025::SOCKET", "TCPIP0 SOCKET fe80::1%eth0:5025 tcp"},
      {"  TCPIP::localhost::5025::SOCKET\n", "TCPIP0 SOCKET localhost:5025 tcp"},
      {"TCPIP::10.0.0.2::INSTR", "TCPIP0 INSTR 10.0.0.2 inst0 vxi11"},
      {"TCPIP0::10.0.0.2::gpib0,5::INSTR", "TCPIP0 INSTR 10.0.0.2 gpib0,5 vxi11"},
      {"TCPIP1::host::hislip0,4881::INSTR", "TCPIP1 INSTR host:4881 hislip0 hislip"},
      {"TCPIP::host::HiSLIP2", "TCPIP0 INSTR host:4880 HiSLIP2 hislip"},
      {"TCPIP::[2001:db8::5]", "TCPIP0 INSTR 2001:db8::5 inst0 vxi11"},
      {"ASRL1::INSTR", "ASRL1 INSTR /dev/ttyS0 serial"},
      {"asrl12", "ASRL12 INSTR /dev/ttyS11 serial"},
      {"ASRL/dev/ttyUSB0::INSTR", "ASRL0 INSTR /dev/ttyUSB0 serial"},
      {"ASRL/dev/pts/7::instr", "ASRL0 INSTR /dev/pts/7 serial"},
      {"GPIB0::5::INSTR", "GPIB0 INSTR 5 library"},
      {"GPIB1::30::2::INSTR", "GPIB1 INSTR 30/2 library"},
      {"gpib2::INTFC", "GPIB2 INTFC library"},
      {"USB::0x1234::125::A22-5::INSTR", "USB0 INSTR 1234:7d:A22-5 usbtmc"},
      {"USB0::0xF0aB::0x0001::SN-x::3::RAW", "USB0 RAW f0ab:1:SN-x:3 library"},
      {"GPIB-VXI0::9::INSTR", "GPIB-VXI0 INSTR library"},
      {"VXI::1::INSTR", "VXI0 INSTR library"},
  };
  for (const auto& [text, parsed] : cases) EXPECT_EQ(Parsed(text), parsed) << text;
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
      {"TCPIP::host::hislip0,0::INSTR", "HiSLIP port must be 1 to 65535"},
      {"TCPIP::host::hislip0,70000::INSTR", "HiSLIP port must be 1 to 65535"},
      {"TCPIP::host::hislip0,::INSTR", "HiSLIP port must be 1 to 65535"},
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
