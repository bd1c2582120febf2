#include "platform/visa/open_transport.h"

#include "platform/visa/serial_transport.h"
#include "platform/visa/tcp_transport.h"
#include "platform/visa/visa_library_transport.h"

namespace motqr::visa {
namespace {

struct BuiltInBackend {
  InterfaceType interface_type;
  ResourceClass resource_class;
  Backend backend;
};

// Resources served without a VISA library; all others go to it.
constexpr BuiltInBackend kBuiltIn[] = {
    {InterfaceType::kTcpip, ResourceClass::kSocket, Backend::kTcpSocket},
    {InterfaceType::kAsrl, ResourceClass::kInstr, Backend::kSerial},
};

}  // namespace

Backend BackendFor(const ResourceName& name) {
  for (const BuiltInBackend& entry : kBuiltIn) {
    if (entry.interface_type == name.interface_type &&
        entry.resource_class == name.resource_class) {
      return entry.backend;
    }
  }
  return Backend::kVisaLibrary;
}

Status OpenTransport(const ResourceName& name, const OpenOptions& options,
                     std::unique_ptr<Transport>* transport) {
  switch (BackendFor(name)) {
    case Backend::kTcpSocket:
      return OpenTcpTransport(name, options.open_timeout_ms, transport);
    case Backend::kSerial:
      return OpenSerialTransport(name, transport);
    case Backend::kVisaLibrary:
      return OpenVisaLibraryTransport(name, options.open_timeout_ms, transport);
  }
  return Status(VI_ERROR_RSRC_NFOUND);
}

}  // namespace motqr::visa
