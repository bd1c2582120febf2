// Member shapes beyond the properties, min/max queries and plain commands of
// driver/member_macros.h: methods that send a command with arguments, queries
// with arguments and one result, and queries whose result is a new array.
// Each shape is one macro for the member and one for its row view, so an
// interface lists every member once, one row a line:
//
//   #define MOTQR_PROGRAM_SET_2(S)                      (name, command, in types and names)
//     S(ConfigureProgramStepDwell, ":PROG:STEP%d:DWEL %0.6lg", std::int32_t, StepNumber,
//       double, Dwell)
//   #define MOTQR_PROGRAM_GET_1(G)    (name, command, reply, in types and names, out, out name)
//     G(QueryProgramStepDwell, ":PROG:STEP%d:DWEL?", "%lf", std::int32_t, StepNumber, double,
//       "Dwell")
//
//   MOTQR_PROGRAM_SET_2(MOTQR_MEMBER_SET_2)        // inside the member class
//   MOTQR_PROGRAM_SET_2(MOTQR_ROW_VIEW_SET)        // in the row views
//
// Input parameters carry the names of the interface's declaration, and the
// out-parameter the name its null-pointer report gives; the trace shows both.
#pragma once

#include "driver/member_macros.h"

// Methods sending one command formatted with their arguments (1 to 3), each
// argument a type and the name the interface gives it.
#define MOTQR_MEMBER_SET_1(Name, Command, T1, N1)                                               \
  ::motqr::com::HRESULT Name(T1 N1) override {                                                  \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};                         \
    return ::motqr::driver::Call<Interface, #Name>(this->node(), kRow,                          \
                                                   ::motqr::driver::Inputs(MOTQR_ARG(T1, N1))); \
  }
#define MOTQR_MEMBER_SET_2(Name, Command, T1, N1, T2, N2)                                   \
  ::motqr::com::HRESULT Name(T1 N1, T2 N2) override {                                       \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};                     \
    return ::motqr::driver::Call<Interface, #Name>(                                         \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1), MOTQR_ARG(T2, N2))); \
  }
#define MOTQR_MEMBER_SET_3(Name, Command, T1, N1, T2, N2, T3, N3)                          \
  ::motqr::com::HRESULT Name(T1 N1, T2 N2, T3 N3) override {                               \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};                    \
    return ::motqr::driver::Call<Interface, #Name>(                                        \
        this->node(), kRow,                                                                \
        ::motqr::driver::Inputs(MOTQR_ARG(T1, N1), MOTQR_ARG(T2, N2), MOTQR_ARG(T3, N3))); \
  }

// Queries with 0 to 2 arguments and one result of type TO.
#define MOTQR_MEMBER_GET_0(Name, Command, Reply, TO, OutName)          \
  ::motqr::com::HRESULT Name(TO* out) override {                       \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};  \
    return ::motqr::driver::Call<Interface, #Name>(                    \
        this->node(), kRow, ::motqr::driver::Inputs(),                 \
        ::motqr::driver::Out<TO>{out, OutName, MOTQR_TRACE_TYPE(TO)}); \
  }
#define MOTQR_MEMBER_GET_1(Name, Command, Reply, T1, N1, TO, OutName)   \
  ::motqr::com::HRESULT Name(T1 N1, TO* out) override {                 \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};   \
    return ::motqr::driver::Call<Interface, #Name>(                     \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1)), \
        ::motqr::driver::Out<TO>{out, OutName, MOTQR_TRACE_TYPE(TO)});  \
  }
#define MOTQR_MEMBER_GET_2(Name, Command, Reply, T1, N1, T2, N2, TO, OutName)              \
  ::motqr::com::HRESULT Name(T1 N1, T2 N2, TO* out) override {                             \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                      \
    return ::motqr::driver::Call<Interface, #Name>(                                        \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1), MOTQR_ARG(T2, N2)), \
        ::motqr::driver::Out<TO>{out, OutName, MOTQR_TRACE_TYPE(TO)});                     \
  }

// Queries whose reply becomes a new array in the in/out argument (an array
// passed in is replaced once the reply has been read), with 0 or 1 argument.
#define MOTQR_MEMBER_LIST_0(Name, Command, Reply, OutName)             \
  ::motqr::com::HRESULT Name(::motqr::com::SAFEARRAY** out) override { \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};  \
    return ::motqr::instrument::CallList<Interface, #Name>(            \
        this->node(), kRow, ::motqr::driver::Inputs(), out, OutName);  \
  }
#define MOTQR_MEMBER_LIST_1(Name, Command, Reply, T1, N1, OutName)                     \
  ::motqr::com::HRESULT Name(T1 N1, ::motqr::com::SAFEARRAY** out) override {          \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                  \
    return ::motqr::instrument::CallList<Interface, #Name>(                            \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1)), out, OutName); \
  }

// A query whose result argument is in/out: a string passed in is freed first.
#define MOTQR_MEMBER_INOUT_0(Name, Command, Reply, TO, OutName)                                \
  ::motqr::com::HRESULT Name(TO* out) override {                                               \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                          \
    return ::motqr::instrument::CallInOut<Interface, #Name>(this->node(), kRow, out, OutName); \
  }

// Row views of the shapes above.
#define MOTQR_ROW_VIEW_SET(Name, Command, ...) \
  ::motqr::driver::RowView{#Name, "method", nullptr, nullptr, Command, ::motqr::driver::Sim::kNo},
#define MOTQR_ROW_VIEW_GET(Name, Command, Reply, ...) \
  ::motqr::driver::RowView{#Name, "query", Command, Reply, nullptr, ::motqr::driver::Sim::kNo},

namespace motqr::instrument {

// Runs a list query: checks the out-pointer without emptying it, so that an
// array the caller passed in is replaced (and freed) only once the reply has
// been read.
template <class I, driver::FixedString M, class... In>
com::HRESULT CallList(driver::CNode& node, const driver::MethodRow& row,
                      const std::tuple<driver::Arg<In>...>& in, com::SAFEARRAY** out,
                      const char* out_name) {
  return driver::RunFrame(node, driver::Describe<I, M>(), driver::Check::kInitialized,
                          [&](driver::CallFrame& f) -> com::HRESULT {
                            if (!out) return f.reporter().NullPointerCurrent(out_name);
                            const driver::Out<com::SAFEARRAY*> result{out, out_name};
                            MOTQR_RETURN_IF_FAILED(driver::TraceMethod(f, in, result));
                            return driver::RunMethod(f, row, driver::ValuesOf(in), result);
                          });
}

// Runs a query into an in/out result: null is refused, a string passed in is
// freed, and the result starts from its zero value.
template <class I, driver::FixedString M, class TO>
com::HRESULT CallInOut(driver::CNode& node, const driver::MethodRow& row, TO* out,
                       const char* out_name) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kInitialized,
      [&](driver::CallFrame& f) -> com::HRESULT {
        if (!out) return f.reporter().NullPointerCurrent(out_name);
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InOutParameter(out_name, out)));  // as passed in
        if constexpr (std::is_same_v<TO, com::BSTR>) {
          MOTQR_RETURN_IF_FAILED(f.InOut(out, out_name));
        } else {
          MOTQR_RETURN_IF_FAILED(f.Out(out, out_name));
        }
        return driver::RunMethod(f, row, driver::Args(), driver::Out<TO>{out, out_name});
      });
}

}  // namespace motqr::instrument
