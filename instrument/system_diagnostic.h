// IMorvaneTqrSystemDiagnostic: the firmware version and the AC line power.
// Both queries are sent without a leading colon.
#pragma once

#include "driver/member_macros.h"
#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// (name, query, reply, result type, result name); the results are in/out.
#define MOTQR_DIAGNOSTIC_INOUT_0(G)                                               \
  G(QueryFirmwareVersion, "DIAG:FIRM:VERS?", "%$B[^\n]", BSTR, "FirmwareVersion") \
  G(QueryLinePower, "DIAG:LINE:POW?", "%lf", double, "LinePower")

namespace motqr::instrument {

template <class Self>
class SystemDiagnostic : public driver::MemberSet<Self, IMorvaneTqrSystemDiagnostic> {
 public:
  using Interface = IMorvaneTqrSystemDiagnostic;
  MOTQR_DIAGNOSTIC_INOUT_0(MOTQR_MEMBER_INOUT_0)

 protected:
  ~SystemDiagnostic() = default;
};

inline constexpr driver::RowView kSystemDiagnosticRows[] = {
    MOTQR_DIAGNOSTIC_INOUT_0(MOTQR_ROW_VIEW_GET)};

}  // namespace motqr::instrument
