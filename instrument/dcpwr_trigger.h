// IIviDCPwrTrigger: the class trigger interface, which this instrument does
// not support; its own trigger systems are in IMorvaneTqrTrigger. Every
// member sends nothing and reports the method-not-supported error.
#pragma once

#include "instrument/driver_member_shapes.h"
#include "interfaces/ivi_dcpwr.h"

// (name, method reported)
#define MOTQR_DCPWR_TRIGGER_NOT_SUPPORTED(N) \
  N(Abort, "IIviDCPwrTrigger_Abort")         \
  N(Initiate, "IIviDCPwrTrigger_Initiate")   \
  N(SendSoftwareTrigger, "IIviDCPwrTrigger_SendSoftwareTrigger")

namespace motqr::instrument {

template <class Self>
class DCPwrTrigger : public driver::MemberSet<Self, IIviDCPwrTrigger> {
 public:
  using Interface = IIviDCPwrTrigger;
  MOTQR_DCPWR_TRIGGER_NOT_SUPPORTED(MOTQR_MEMBER_METHOD_NOT_SUPPORTED)

 protected:
  ~DCPwrTrigger() = default;
};

}  // namespace motqr::instrument
