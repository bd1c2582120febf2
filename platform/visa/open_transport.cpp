#include "platform/visa/open_transport.h"

#include "platform/visa/hislip_transport.h"
#include "platform/visa/serial_transport.h"
#include "platform/visa/tcp_transport.h"
#include "platform/visa/usbtmc_transport.h"
#include "platform/visa/visa_library_transport.h"
#include "platform/visa/vxi11_transport.h"

namespace motqr::visa {
namespace {

thread_local bool t_prefer_visa_library = false;

struct BuiltInBackend {
  InterfaceType interface_type;
  ResourceClass resource_class;
  LanProtocol lan_protocol;  // TCPIP INSTR only
  Backend backend;
};

// Resources served without a VISA library; all others go to it.
constexpr BuiltInBackend kBuiltIn[] = {
    {InterfaceType::kTcpip, ResourceClass::kSocket, LanProtocol::kVxi11, Backend::kTcpSocket},
    {InterfaceType::kTcpip, ResourceClass::kInstr, LanProtocol::kVxi11, Backend::kVxi11},
    {InterfaceType::kTcpip, ResourceClass::kInstr, LanProtocol::kHislip, Backend::kHislip},
    {InterfaceType::kAsrl, ResourceClass::kInstr, LanProtocol::kVxi11, Backend::kSerial},
    {InterfaceType::kUsb, ResourceClass::kInstr, LanProtocol::kVxi11, Backend::kUsbtmc},
};

bool Matches(const BuiltInBackend& entry, const ResourceName& name) {
  if (entry.interface_type != name.interface_type || entry.resource_class != name.resource_class) {
    return false;
  }
  const bool lan_instr =
      name.interface_type == InterfaceType::kTcpip && name.resource_class == ResourceClass::kInstr;
  return !lan_instr || entry.lan_protocol == name.lan_protocol;
}

}  // namespace

Backend BackendFor(const ResourceName& name, const OpenOptions& options) {
  if (options.prefer_visa_library) return Backend::kVisaLibrary;
  for (const BuiltInBackend& entry : kBuiltIn) {
    if (Matches(entry, name)) return entry.backend;
  }
  return Backend::kVisaLibrary;
}

Status OpenTransport(const ResourceName& name, const OpenOptions& options,
                     std::unique_ptr<Transport>* transport) {
  switch (BackendFor(name, options)) {
    case Backend::kTcpSocket:
      return OpenTcpTransport(name, options.open_timeout_ms, transport);
    case Backend::kVxi11:
      return OpenVxi11Transport(name, options.open_timeout_ms, transport);
    case Backend::kHislip:
      return OpenHislipTransport(name, options.open_timeout_ms, transport);
    case Backend::kUsbtmc:
      return OpenUsbtmcTransport(name, transport);
    case Backend::kSerial:
      return OpenSerialTransport(name, transport);
    case Backend::kVisaLibrary:
      return OpenVisaLibraryTransport(name, options.open_timeout_ms, transport);
  }
  return Status(VI_ERROR_RSRC_NFOUND);
}

ScopedVisaLibraryPreference::ScopedVisaLibraryPreference(bool prefer)
    : previous_(t_prefer_visa_library) {
  t_prefer_visa_library = prefer;
}

ScopedVisaLibraryPreference::~ScopedVisaLibraryPreference() { t_prefer_visa_library = previous_; }

bool ThreadPrefersVisaLibrary() { return t_prefer_visa_library; }

}  // namespace motqr::visa
