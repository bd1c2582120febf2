// Member shapes of the driver-wide interfaces (trigger, global, data, status)
// that the core macros of driver/member_macros.h do not cover: a method that
// sends one command formatted with one argument, a query with one result, and
// a min/max query of 32-bit integers. Rows are listed as in
// driver/member_macros.h:
//
//   #define MOTQR_DATA_METHODS_IN(M)
//     M(ConfigureIntegralGateResetMethod, MorvaneTqrDataIntegralGateResetMethodEnum, Method,
//       ":DATA:INT:GATE:RES %{MorvaneTqrDataIntegralGateResetMethodEnum}s")
//   #define MOTQR_DATA_QUERIES_OUT(Q)
//     Q(QueryIntegralDataRemainPoints, std::int32_t, Count, ":DATA:REM:POIN?", "%d")
//
//   MOTQR_DATA_METHODS_IN(MOTQR_MEMBER_METHOD_IN)       inside the member class
//   MOTQR_DATA_QUERIES_OUT(MOTQR_ROW_VIEW_QUERY_OUT)    inside the row view list
#pragma once

#include <cstdint>

#include "driver/member_macros.h"

// A method with one input argument and no reply: (name, argument type,
// argument name, command format).
#define MOTQR_MEMBER_METHOD_IN(Name, InType, InName, Command)                    \
  ::motqr::com::HRESULT Name(InType InName) override {                           \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};          \
    return ::motqr::driver::Call<Interface, #Name>(                              \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(InType, InName))); \
  }

// A query without input arguments that reads one result: (name, result type,
// result name, query, reply format). The result is a plain value (number,
// enumeration); results the caller frees are written by hand.
#define MOTQR_MEMBER_QUERY_OUT(Name, OutType, OutName, Command, Reply)                \
  ::motqr::com::HRESULT Name(OutType* OutName) override {                             \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                 \
    return ::motqr::driver::Call<Interface, #Name>(                                   \
        this->node(), kRow, ::motqr::driver::Inputs(),                                \
        ::motqr::driver::Out<OutType>{OutName, #OutName, MOTQR_TRACE_TYPE(OutType)}); \
  }

// A min/max query of 32-bit integers: (out Min, out Max) read with "%d;%d".
#define MOTQR_MEMBER_MIN_MAX_INT32(Name, Command)                             \
  ::motqr::com::HRESULT Name(std::int32_t* Min, std::int32_t* Max) override { \
    static constexpr ::motqr::driver::MethodRow kRow{Command, "%d;%d"};       \
    return ::motqr::driver::Call<Interface, #Name>(                           \
        this->node(), kRow, ::motqr::driver::Inputs(),                        \
        ::motqr::driver::Out<std::int32_t>{Min, "Min"},                       \
        ::motqr::driver::Out<std::int32_t>{Max, "Max"});                      \
  }

// A member the instrument does not have: the method-not-supported error
// naming `Reported` ("IIviDCPwrTrigger_Initiate"); nothing is sent.
#define MOTQR_MEMBER_METHOD_NOT_SUPPORTED(Name, Reported)                                         \
  ::motqr::com::HRESULT Name() override {                                                         \
    return ::motqr::driver::RunFrame(this->node(), ::motqr::driver::Describe<Interface, #Name>(), \
                                     ::motqr::driver::Check::kInitialized,                        \
                                     [](::motqr::driver::CallFrame& f) {                          \
                                       MOTQR_RETURN_IF_FAILED(f.Trace());                         \
                                       return f.reporter().FunctionNotSupported(Reported);        \
                                     });                                                          \
  }

// Row views of these shapes.
#define MOTQR_ROW_VIEW_METHOD_IN(Name, InType, InName, Command) \
  ::motqr::driver::RowView{#Name, "command", nullptr, nullptr, Command, ::motqr::driver::Sim::kNo},
#define MOTQR_ROW_VIEW_QUERY_OUT(Name, OutType, OutName, Command, Reply) \
  ::motqr::driver::RowView{#Name, #OutType, Command, Reply, nullptr, ::motqr::driver::Sim::kNo},
#define MOTQR_ROW_VIEW_MIN_MAX_INT32(Name, Command) \
  ::motqr::driver::RowView{#Name, "min/max", Command, "%d;%d", nullptr, ::motqr::driver::Sim::kNo},

namespace motqr::instrument {

// The row view of a hand-written method: `row.reply` null for a command.
constexpr driver::RowView MethodRowView(const char* member, const char* type,
                                        const driver::MethodRow& row) {
  return row.reply
             ? driver::RowView{member, type, row.command, row.reply, nullptr, driver::Sim::kNo}
             : driver::RowView{member, type, nullptr, nullptr, row.command, driver::Sim::kNo};
}

}  // namespace motqr::instrument
