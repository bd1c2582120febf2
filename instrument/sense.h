// IMorvaneTqrSense: the measurement aperture (recording time per measurement).
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/sense.h"

// clang-format off
#define MOTQR_SENSE_MEMBERS(S) \
  S##_MIN_MAX(double, QueryApertureTimeMinMax, ":SENS:APER? MIN;APER? MAX") \
  S##_PROPERTY(double, ApertureTime, ":SENS:APER?", nullptr, ":SENS:APER %0.6lg", kYes)
// clang-format on

namespace motqr::instrument {

template <class Self>
class Sense : public driver::MemberSet<Self, IMorvaneTqrSense> {
 public:
  using Interface = IMorvaneTqrSense;
  MOTQR_SENSE_MEMBERS(MOTQR_MEMBER)

 protected:
  ~Sense() = default;
};

inline constexpr RowView kSenseRows[] = {MOTQR_SENSE_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
