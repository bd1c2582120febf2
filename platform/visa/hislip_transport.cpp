#include "platform/visa/hislip_transport.h"

namespace motqr::visa {

Status OpenHislipTransport(const ResourceName&, ViUInt32, std::unique_ptr<Transport>*) {
  return Status(VI_ERROR_NSUP_OPER);
}

}  // namespace motqr::visa
