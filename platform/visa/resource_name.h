// VISA resource names parsed into a typed value.
//
//   motqr::visa::ResourceName name;
//   motqr::visa::Status status =
//       motqr::visa::ParseResourceName("TCPIP0::192.168.1.10::5025::SOCKET", &name);
//   // name.interface_type == InterfaceType::kTcpip, name.port == 5025
//
// Keywords (interface names and resource classes) are case-insensitive; host names, device
// paths and serial numbers keep their case. Accepted forms:
//   TCPIP[board]::host::port::SOCKET            host: name, IPv4, or [IPv6] in brackets
//   TCPIP[board]::host[::lan device][::INSTR]   lan device defaults to "inst0" (VXI-11);
//                                               "hislip<n>[,port]" is HiSLIP (port 4880)
//   ASRL<n>[::INSTR]                            serial port n (n >= 1) is /dev/ttyS<n-1>
//   ASRL/dev/...[::INSTR]                       any serial device path
//   GPIB[board]::primary[::secondary][::INSTR]  addresses 0..30;  GPIB[board]::INTFC
//   USB[board]::vendor::product::serial[::interface][::INSTR|::RAW]
//   VXI, GPIB-VXI, PXI                          recognised, left for a system VISA to resolve
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/visa/status.h"
#include "platform/visa/visa_types.h"

namespace motqr::visa {

// Values are VISA's VI_INTF_* numbers.
enum class InterfaceType : std::uint16_t {
  kGpib = VI_INTF_GPIB,
  kVxi = VI_INTF_VXI,
  kGpibVxi = VI_INTF_GPIB_VXI,
  kAsrl = VI_INTF_ASRL,
  kPxi = VI_INTF_PXI,
  kTcpip = VI_INTF_TCPIP,
  kUsb = VI_INTF_USB,
};

enum class ResourceClass : std::uint8_t { kInstr, kSocket, kRaw, kIntfc };

// The protocol of a TCPIP INSTR resource, told by its LAN device name.
enum class LanProtocol : std::uint8_t { kVxi11, kHislip };

inline constexpr std::uint16_t kHislipDefaultPort = 4880;

struct ResourceName {
  InterfaceType interface_type = InterfaceType::kTcpip;
  std::uint16_t board = 0;  // interface number
  ResourceClass resource_class = ResourceClass::kInstr;
  std::string text;  // the name as given, surrounding blanks removed

  // TCPIP
  std::string host;        // without brackets for an IPv6 literal
  std::uint16_t port = 0;  // SOCKET, and HiSLIP (given or 4880)
  std::string lan_device;  // INSTR only, without a HiSLIP port ("hislip0")
  LanProtocol lan_protocol = LanProtocol::kVxi11;
  // ASRL
  std::string device_path;
  // GPIB
  std::uint16_t primary_address = 0;
  std::optional<std::uint16_t> secondary_address;
  // USB
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::string serial_number;
  std::optional<std::uint16_t> usb_interface;
};

// Parses `text`; on failure returns VI_ERROR_INV_RSRC_NAME with a message naming the fault,
// e.g. "Invalid resource name \"TCPIP::h::99999::SOCKET\": port must be 1 to 65535.".
Status ParseResourceName(std::string_view text, ResourceName* name);

// "INSTR", "SOCKET", "RAW", "INTFC" -- the VI_ATTR_RSRC_CLASS text.
std::string_view ResourceClassName(ResourceClass resource_class);
// "GPIB", "VXI", "GPIB-VXI", "ASRL", "PXI", "TCPIP", "USB".
std::string_view InterfaceTypeName(InterfaceType type);

}  // namespace motqr::visa
