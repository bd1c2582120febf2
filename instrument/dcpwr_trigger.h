// IIviDCPwrTrigger: the class trigger interface, which this instrument does
// not support; its own trigger systems are in IMorvaneTqrTrigger. Every
// member sends nothing and reports the method-not-supported error.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/ivi_dcpwr.h"

// clang-format off
#define MOTQR_DCPWR_TRIGGER_MEMBERS(S) \
  S##_UNSUPPORTED_METHOD(Abort, "IIviDCPwrTrigger_Abort") \
  S##_UNSUPPORTED_METHOD(Initiate, "IIviDCPwrTrigger_Initiate") \
  S##_UNSUPPORTED_METHOD(SendSoftwareTrigger, "IIviDCPwrTrigger_SendSoftwareTrigger")
// clang-format on

namespace motqr::instrument {

template <class Self>
class DCPwrTrigger : public driver::MemberSet<Self, IIviDCPwrTrigger> {
 public:
  using Interface = IIviDCPwrTrigger;
  MOTQR_DCPWR_TRIGGER_MEMBERS(MOTQR_MEMBER)

 protected:
  ~DCPwrTrigger() = default;
};

inline constexpr RowView kDCPwrTriggerRows[] = {MOTQR_DCPWR_TRIGGER_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
