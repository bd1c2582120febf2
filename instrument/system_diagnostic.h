// IMorvaneTqrSystemDiagnostic: the firmware version and the AC line power.
// Both queries are sent without a leading colon; the results are in/out.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// clang-format off
#define MOTQR_DIAGNOSTIC_MEMBERS(S) \
  S##_IN_OUT_QUERY(QueryFirmwareVersion, "DIAG:FIRM:VERS?", "%$B[^\n]", BSTR, "FirmwareVersion") \
  S##_IN_OUT_QUERY(QueryLinePower, "DIAG:LINE:POW?", "%lf", double, "LinePower")
// clang-format on

namespace motqr::instrument {

template <class Self>
class SystemDiagnostic : public driver::MemberSet<Self, IMorvaneTqrSystemDiagnostic> {
 public:
  using Interface = IMorvaneTqrSystemDiagnostic;
  MOTQR_DIAGNOSTIC_MEMBERS(MOTQR_MEMBER)

 protected:
  ~SystemDiagnostic() = default;
};

inline constexpr RowView kSystemDiagnosticRows[] = {MOTQR_DIAGNOSTIC_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
