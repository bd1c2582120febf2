// IMorvaneTqrSystemIO: the digital inputs and outputs of the external control
// connector. Settings are arrays with one element per terminal, in terminal
// order. The configure members send the header, then one token per element
// separated by commas, an element without a token leaving its position empty;
// the tokens are those of the matching query.
#pragma once

#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// clang-format off
#define MOTQR_IO_MEMBERS(S) \
  S##_TOKEN_LIST_COMMAND(ConfigureIOInputFilter, ":IO:INP:FILT ", Filter, "MorvaneTqrIOInputFilterEnum", QueryIOInputFilter) \
  S##_ARRAY_QUERY(QueryIOInputFilter, ":IO:INP:FILT?", "%{MorvaneTqrIOInputFilterEnum},$Ss", "Filter") \
  S##_TOKEN_LIST_COMMAND(ConfigureIOInputFunction, ":IO:INP:FUNC ", Function, "MorvaneTqrIOInputFunctionEnum", QueryIOInputFunction) \
  S##_ARRAY_QUERY(QueryIOInputFunction, ":IO:INP:FUNC?", "%{MorvaneTqrIOInputFunctionEnum},$Ss", "Function") \
  S##_TOKEN_LIST_COMMAND(ConfigureIOInputPolarity, ":IO:INP:POL ", Polarity, "MorvaneTqrIOPolarityEnum", QueryIOInputPolarity) \
  S##_ARRAY_QUERY(QueryIOInputPolarity, ":IO:INP:POL?", "%{MorvaneTqrIOPolarityEnum},$Ss", "Polarity") \
  S##_TOKEN_LIST_COMMAND(ConfigureIOOutputFunction, ":IO:OUTP:FUNC ", Function, "MorvaneTqrIOOutputFunctionEnum", QueryIOOutputFunction) \
  S##_ARRAY_QUERY(QueryIOOutputFunction, ":IO:OUTP:FUNC?", "%{MorvaneTqrIOOutputFunctionEnum},$Ss", "Function") \
  S##_TOKEN_LIST_COMMAND(ConfigureIOOutputPolarity, ":IO:OUTP:POL ", Polarity, "MorvaneTqrIOPolarityEnum", QueryIOOutputPolarity) \
  S##_ARRAY_QUERY(QueryIOOutputPolarity, ":IO:OUTP:POL?", "%{MorvaneTqrIOPolarityEnum},$Ss", "Polarity") \
  S##_PROPERTY(VARIANT_BOOL, IOEnabled, ":IO:STAT?", "%{VARIANT_BOOL}[^\n]", ":IO:STAT %{VARIANT_BOOL}s", kYes)
// clang-format on

namespace motqr::instrument {

template <class Self>
class SystemIO : public driver::MemberSet<Self, IMorvaneTqrSystemIO> {
 public:
  using Interface = IMorvaneTqrSystemIO;
  MOTQR_IO_MEMBERS(MOTQR_MEMBER)

 protected:
  ~SystemIO() = default;
};

inline constexpr RowView kSystemIORows[] = {MOTQR_IO_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
