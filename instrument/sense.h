// IMorvaneTqrSense: the measurement aperture (recording time per measurement).
#pragma once

#include "driver/member_macros.h"
#include "interfaces/sense.h"

// (type, name, query, reply, set, sim)
#define MOTQR_SENSE_PROPERTIES(P) \
  P(double, ApertureTime, ":SENS:APER?", nullptr, ":SENS:APER %0.6lg", kYes)

// (name, command)
#define MOTQR_SENSE_MIN_MAX(M) M(QueryApertureTimeMinMax, ":SENS:APER? MIN;APER? MAX")

namespace motqr::instrument {

template <class Self>
class Sense : public driver::MemberSet<Self, IMorvaneTqrSense> {
 public:
  using Interface = IMorvaneTqrSense;
  MOTQR_SENSE_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
  MOTQR_SENSE_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~Sense() = default;
};

inline constexpr driver::RowView kSenseRows[] = {MOTQR_SENSE_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY)
                                                     MOTQR_SENSE_MIN_MAX(MOTQR_ROW_VIEW_MIN_MAX)};

}  // namespace motqr::instrument
