// IMorvaneTqrSystemIO: the digital inputs and outputs of the external control
// connector. Settings are arrays with one element per terminal, in terminal
// order. The configure members build their command by hand: the header, then
// one token per element separated by commas, an element without a token
// leaving its position empty.
#pragma once

#include <string_view>

#include "driver/member_macros.h"
#include "instrument/member_shapes.h"
#include "interfaces/system.h"

// (type, name, query, reply, set, sim)
#define MOTQR_IO_PROPERTIES(P) \
  P(VARIANT_BOOL, IOEnabled, ":IO:STAT?", "%{VARIANT_BOOL}[^\n]", ":IO:STAT %{VARIANT_BOOL}s", kYes)

// (name, argument, header with its blank, enumeration, member whose table
// gives the tokens)
#define MOTQR_IO_CONFIGURE(C)                                                                \
  C(ConfigureIOInputFilter, Filter, ":IO:INP:FILT ", "MorvaneTqrIOInputFilterEnum",          \
    QueryIOInputFilter)                                                                      \
  C(ConfigureIOInputFunction, Function, ":IO:INP:FUNC ", "MorvaneTqrIOInputFunctionEnum",    \
    QueryIOInputFunction)                                                                    \
  C(ConfigureIOInputPolarity, Polarity, ":IO:INP:POL ", "MorvaneTqrIOPolarityEnum",          \
    QueryIOInputPolarity)                                                                    \
  C(ConfigureIOOutputFunction, Function, ":IO:OUTP:FUNC ", "MorvaneTqrIOOutputFunctionEnum", \
    QueryIOOutputFunction)                                                                   \
  C(ConfigureIOOutputPolarity, Polarity, ":IO:OUTP:POL ", "MorvaneTqrIOPolarityEnum",        \
    QueryIOOutputPolarity)

// (name, query, reply, result name)
#define MOTQR_IO_LISTS(L)                                                                         \
  L(QueryIOInputFilter, ":IO:INP:FILT?", "%{MorvaneTqrIOInputFilterEnum},$Ss", "Filter")          \
  L(QueryIOInputFunction, ":IO:INP:FUNC?", "%{MorvaneTqrIOInputFunctionEnum},$Ss", "Function")    \
  L(QueryIOInputPolarity, ":IO:INP:POL?", "%{MorvaneTqrIOPolarityEnum},$Ss", "Polarity")          \
  L(QueryIOOutputFunction, ":IO:OUTP:FUNC?", "%{MorvaneTqrIOOutputFunctionEnum},$Ss", "Function") \
  L(QueryIOOutputPolarity, ":IO:OUTP:POL?", "%{MorvaneTqrIOPolarityEnum},$Ss", "Polarity")

namespace motqr::instrument {

// The tokens of a configure member: the enumeration's table of `token_member`.
struct IOListRow {
  const char* header;
  std::string_view enum_name;
  std::string_view token_member;
};

// Writes `row.header` followed by the tokens of `values` (32-bit elements)
// joined by commas.
com::HRESULT ConfigureIOList(driver::CallFrame& f, const IOListRow& row, com::SAFEARRAY* values);

#define MOTQR_MEMBER_IO_CONFIGURE(Name, Argument, Header, Enum, TokenMember)             \
  com::HRESULT Name(com::SAFEARRAY* Argument) override {                                 \
    static constexpr IOListRow kRow{Header, Enum, "IMorvaneTqrSystemIO." #TokenMember};  \
    return driver::RunFrame(                                                             \
        this->node(), driver::Describe<Interface, #Name>(), driver::Check::kInitialized, \
        [&](driver::CallFrame& f) -> com::HRESULT {                                      \
          MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter(#Argument, Argument)));      \
          return ConfigureIOList(f, kRow, Argument);                                     \
        });                                                                              \
  }
#define MOTQR_ROW_VIEW_IO_CONFIGURE(Name, Argument, Header, ...) \
  driver::RowView{#Name, "method", nullptr, nullptr, Header, driver::Sim::kNo},

template <class Self>
class SystemIO : public driver::MemberSet<Self, IMorvaneTqrSystemIO> {
 public:
  using Interface = IMorvaneTqrSystemIO;
  MOTQR_IO_CONFIGURE(MOTQR_MEMBER_IO_CONFIGURE)
  MOTQR_IO_LISTS(MOTQR_MEMBER_LIST_0)
  MOTQR_IO_PROPERTIES(MOTQR_MEMBER_PROPERTY)

 protected:
  ~SystemIO() = default;
};

inline constexpr driver::RowView kSystemIORows[] = {
    MOTQR_IO_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY) MOTQR_IO_CONFIGURE(MOTQR_ROW_VIEW_IO_CONFIGURE)
        MOTQR_IO_LISTS(MOTQR_ROW_VIEW_GET)};

}  // namespace motqr::instrument
