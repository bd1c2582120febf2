// The shapes of interface members. Each interface file lists its members once,
// in the interface's order, one row a line; a row starts with its shape:
//
//   #define MOTQR_SENSE_MEMBERS(S)
//     S##_MIN_MAX(double, QueryApertureTimeMinMax, ":SENS:APER? MIN;APER? MAX")
//     S##_PROPERTY(double, ApertureTime, ":SENS:APER?", nullptr, ":SENS:APER %0.6lg", kYes)
//
// and the same list becomes the members (inside a class that has
// `using Interface = ...;` and `driver::CNode& node()`) and the row views
// that tests, tools and the bindings of other languages walk. `S` names the
// expansion; it is joined to each row's shape:
//
//   MOTQR_SENSE_MEMBERS(MOTQR_MEMBER)     // MOTQR_MEMBER_MIN_MAX(...) MOTQR_MEMBER_PROPERTY(...)
//   inline constexpr RowView kSenseRows[] = {MOTQR_SENSE_MEMBERS(MOTQR_ROW_VIEW)};
//
// A test or tool expands a list its own way by defining one macro per shape
// the list uses (CHECK_PROPERTY, CHECK_MIN_MAX, ...) and passing CHECK.
//
// The shapes, with an example row of each:
//
//   A property: get_<Name> and put_<Name>. (type, name, query, reply format or
//   nullptr for the type's default, set format, simulation kYes/kNo)
//     S##_PROPERTY(double, VoltageLevel, ":VOLT?", nullptr, ":VOLT %0.6lg", kYes)
//   A read-only property: get_<Name>. (type, name, query, reply, simulation)
//     S##_READ_ONLY(std::int32_t, ParallelUnit, ":SYST:PARA:UNIT:COUN?", nullptr, kNo)
//   A command with 0 to 3 arguments, each a type and the interface's name for it.
//     S##_COMMAND(SaveProgram, ":PROG:SAVE")
//     S##_COMMAND_1(RecallSettings, ":MEM:REC %d", std::int32_t, MemoryNumber)
//     S##_COMMAND_2(ConfigureProgramStepDwell, ":PROG:STEP%d:DWEL %0.6lg",
//       std::int32_t, StepNumber, double, Dwell)
//     S##_COMMAND_3(SetCurrentIVPoint, ":CURR:IV:MAP%d %0.6lg,%0.6lg",
//       std::int32_t, Index, double, Voltage, double, Current)
//   A query with 0 to 2 arguments and one result (type, name its null-pointer
//   report gives); a result of type com::SAFEARRAY* is a new array.
//     S##_QUERY(QueryProgramStepCount, ":PROG:ALL:STEP:COUN?", "%d", std::int32_t, "Count")
//     S##_QUERY_1(Measure, ":MEAS:%{MorvaneTqrMeasurementTypeEnum}s?", "%@3lf",
//       MorvaneTqrMeasurementTypeEnum, MeasurementType, double, "Measurement")
//     S##_QUERY_2(QueryProgramStepPower, ":PROG:STEP%d:POW%{MorvaneTqrPositiveNegativeEnum}s?",
//       "%lf", std::int32_t, StepNumber, MorvaneTqrPositiveNegativeEnum, PositiveNegative,
//       double, "Power")
//   A query into an in/out result: a string passed in is freed first.
//     S##_IN_OUT_QUERY(QueryFirmwareVersion, "DIAG:FIRM:VERS?", "%$B[^\n]", BSTR,
//       "FirmwareVersion")
//   A min/max query: two results, Min and Max, of the type given.
//     S##_MIN_MAX(double, QueryVoltageLevelMinMax, ":VOLT? MIN;VOLT? MAX")
//   An array query: a new array replaces the in/out array once the reply has
//   been read; 0 or 1 argument.
//     S##_ARRAY_QUERY(QueryDate, ":SYST:DATE?", "%,$Sd", "Date")
//     S##_ARRAY_QUERY_1(GetTimeZoneList, ":SYST:TZON:CAT? %{MorvaneTqrTimeZoneGroupEnum}s",
//       "%,$S$Bs", MorvaneTqrTimeZoneGroupEnum, Group, "List")
//   An array command: the array's 32-bit elements, as a list, in place of
//   "{<argument>}" in the command.
//     S##_ARRAY_COMMAND(SetDate, ":SYST:DATE {Date}", Date)
//   A token list command: the header, then the token of each element of the
//   array (the enumeration's table of the member named last), comma-separated.
//     S##_TOKEN_LIST_COMMAND(ConfigureIOInputFilter, ":IO:INP:FILT ", Filter,
//       "MorvaneTqrIOInputFilterEnum", QueryIOInputFilter)
//   An interface property: this same object through another of its interfaces.
//     S##_INTERFACE(IMorvaneTqrOutputChannelPulse, Pulse)
//   A property or method of the class that this instrument does not have:
//   reported as not supported (a property named "" reports the member itself);
//   a property with kYes keeps a simulation value.
//     S##_UNSUPPORTED_PROPERTY(double, TriggeredVoltageLevel, "TriggeredVoltageLevel", kYes)
//     S##_UNSUPPORTED_METHOD(Initiate, "IIviDCPwrTrigger_Initiate")
//   A member written by hand beside the list: its kind, and the command, reply
//   and set formats it uses (nullptr when none).
//     S##_BY_HAND(QueryTransientInfo, "query", ":TRIG:TRAN:EXEC?", "%$C[^,], %$C[^,], %d, %d",
//       nullptr)
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "driver/member.h"

// --- Properties ----------------------------------------------------------------

#define MOTQR_MEMBER_PROPERTY(Type, Name, Query, Reply, Set, SimFlag)                 \
  static constexpr ::motqr::driver::PropertyRow<Type> k##Name{                        \
      Query, Reply, Set, ::motqr::driver::Sim::SimFlag, MOTQR_TRACE_TYPE(Type)};      \
  ::motqr::com::HRESULT get_##Name(Type* val) override {                              \
    return ::motqr::driver::Get<Interface, "get_" #Name>(this->node(), k##Name, val); \
  }                                                                                   \
  ::motqr::com::HRESULT put_##Name(Type val) override {                               \
    return ::motqr::driver::Put<Interface, "put_" #Name>(this->node(), k##Name, val); \
  }

#define MOTQR_MEMBER_READ_ONLY(Type, Name, Query, Reply, SimFlag)                     \
  static constexpr ::motqr::driver::PropertyRow<Type> k##Name{                        \
      Query, Reply, nullptr, ::motqr::driver::Sim::SimFlag, MOTQR_TRACE_TYPE(Type)};  \
  ::motqr::com::HRESULT get_##Name(Type* val) override {                              \
    return ::motqr::driver::Get<Interface, "get_" #Name>(this->node(), k##Name, val); \
  }

// --- Commands ------------------------------------------------------------------

#define MOTQR_MEMBER_COMMAND(Name, Command)                             \
  ::motqr::com::HRESULT Name() override {                               \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr}; \
    return ::motqr::driver::Call<Interface, #Name>(this->node(), kRow); \
  }
#define MOTQR_MEMBER_COMMAND_1(Name, Command, T1, N1)                                           \
  ::motqr::com::HRESULT Name(T1 N1) override {                                                  \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};                         \
    return ::motqr::driver::Call<Interface, #Name>(this->node(), kRow,                          \
                                                   ::motqr::driver::Inputs(MOTQR_ARG(T1, N1))); \
  }
#define MOTQR_MEMBER_COMMAND_2(Name, Command, T1, N1, T2, N2)                               \
  ::motqr::com::HRESULT Name(T1 N1, T2 N2) override {                                       \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};                     \
    return ::motqr::driver::Call<Interface, #Name>(                                         \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1), MOTQR_ARG(T2, N2))); \
  }
#define MOTQR_MEMBER_COMMAND_3(Name, Command, T1, N1, T2, N2, T3, N3)                      \
  ::motqr::com::HRESULT Name(T1 N1, T2 N2, T3 N3) override {                               \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr};                    \
    return ::motqr::driver::Call<Interface, #Name>(                                        \
        this->node(), kRow,                                                                \
        ::motqr::driver::Inputs(MOTQR_ARG(T1, N1), MOTQR_ARG(T2, N2), MOTQR_ARG(T3, N3))); \
  }

// --- Queries -------------------------------------------------------------------

#define MOTQR_MEMBER_QUERY(Name, Command, Reply, TO, OutName)          \
  ::motqr::com::HRESULT Name(TO* out) override {                       \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};  \
    return ::motqr::driver::Call<Interface, #Name>(                    \
        this->node(), kRow, ::motqr::driver::Inputs(),                 \
        ::motqr::driver::Out<TO>{out, OutName, MOTQR_TRACE_TYPE(TO)}); \
  }
#define MOTQR_MEMBER_QUERY_1(Name, Command, Reply, T1, N1, TO, OutName) \
  ::motqr::com::HRESULT Name(T1 N1, TO* out) override {                 \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};   \
    return ::motqr::driver::Call<Interface, #Name>(                     \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1)), \
        ::motqr::driver::Out<TO>{out, OutName, MOTQR_TRACE_TYPE(TO)});  \
  }
#define MOTQR_MEMBER_QUERY_2(Name, Command, Reply, T1, N1, T2, N2, TO, OutName)            \
  ::motqr::com::HRESULT Name(T1 N1, T2 N2, TO* out) override {                             \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                      \
    return ::motqr::driver::Call<Interface, #Name>(                                        \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1), MOTQR_ARG(T2, N2)), \
        ::motqr::driver::Out<TO>{out, OutName, MOTQR_TRACE_TYPE(TO)});                     \
  }

#define MOTQR_MEMBER_IN_OUT_QUERY(Name, Command, Reply, TO, OutName)                           \
  ::motqr::com::HRESULT Name(TO* out) override {                                               \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                          \
    return ::motqr::instrument::CallInOut<Interface, #Name>(this->node(), kRow, out, OutName); \
  }

#define MOTQR_MEMBER_MIN_MAX(Type, Name, Command)                                                 \
  ::motqr::com::HRESULT Name(Type* Min, Type* Max) override {                                     \
    static constexpr ::motqr::driver::MethodRow kRow{Command,                                     \
                                                     ::motqr::instrument::MinMaxReply<Type>()};   \
    return ::motqr::driver::Call<Interface, #Name>(this->node(), kRow, ::motqr::driver::Inputs(), \
                                                   ::motqr::driver::Out<Type>{Min, "Min"},        \
                                                   ::motqr::driver::Out<Type>{Max, "Max"});       \
  }

// --- Arrays --------------------------------------------------------------------

#define MOTQR_MEMBER_ARRAY_QUERY(Name, Command, Reply, OutName)        \
  ::motqr::com::HRESULT Name(::motqr::com::SAFEARRAY** out) override { \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};  \
    return ::motqr::instrument::CallList<Interface, #Name>(            \
        this->node(), kRow, ::motqr::driver::Inputs(), out, OutName);  \
  }
#define MOTQR_MEMBER_ARRAY_QUERY_1(Name, Command, Reply, T1, N1, OutName)              \
  ::motqr::com::HRESULT Name(T1 N1, ::motqr::com::SAFEARRAY** out) override {          \
    static constexpr ::motqr::driver::MethodRow kRow{Command, Reply};                  \
    return ::motqr::instrument::CallList<Interface, #Name>(                            \
        this->node(), kRow, ::motqr::driver::Inputs(MOTQR_ARG(T1, N1)), out, OutName); \
  }

#define MOTQR_MEMBER_ARRAY_COMMAND(Name, Command, Argument)                                      \
  ::motqr::com::HRESULT Name(::motqr::com::SAFEARRAY* Argument) override {                       \
    return ::motqr::instrument::CallWithArray<Interface, #Name>(                                 \
        this->node(), #Argument, Argument,                                                       \
        [](::motqr::driver::CallFrame& f, ::motqr::com::SAFEARRAY* values) {                     \
          return ::motqr::instrument::SetWithPlaceholder(f, Command, "{" #Argument "}", values); \
        });                                                                                      \
  }

#define MOTQR_MEMBER_TOKEN_LIST_COMMAND(Name, Header, Argument, Enum, TokenMember)                \
  ::motqr::com::HRESULT Name(::motqr::com::SAFEARRAY* Argument) override {                        \
    return ::motqr::instrument::CallWithArray<Interface, #Name>(                                  \
        this->node(), #Argument, Argument,                                                        \
        [](::motqr::driver::CallFrame& f, ::motqr::com::SAFEARRAY* values) {                      \
          return ::motqr::instrument::SendTokenList(                                              \
              f, ::motqr::instrument::TokenListRow{Header, Enum, #TokenMember}, Interface::kName, \
              values);                                                                            \
        });                                                                                       \
  }

// --- Interfaces, members the instrument lacks ------------------------------------

#define MOTQR_MEMBER_INTERFACE(Target, Name)                                                  \
  ::motqr::com::HRESULT get_##Name(Target** val) override {                                   \
    return ::motqr::instrument::HandOutInterface<Interface, "get_" #Name>(this->node(), this, \
                                                                          val);               \
  }

#define MOTQR_MEMBER_UNSUPPORTED_PROPERTY(Type, Name, Reported, SimFlag)                     \
  ::motqr::com::HRESULT get_##Name(Type* val) override {                                     \
    return ::motqr::instrument::UnsupportedGet<Interface, "get_" #Name>(                     \
        this->node(), ::motqr::driver::Sim::SimFlag, Reported, val, MOTQR_TRACE_TYPE(Type)); \
  }                                                                                          \
  ::motqr::com::HRESULT put_##Name(Type val) override {                                      \
    return ::motqr::instrument::UnsupportedPut<Interface, "put_" #Name>(                     \
        this->node(), ::motqr::driver::Sim::SimFlag, Reported, val, MOTQR_TRACE_TYPE(Type)); \
  }

#define MOTQR_MEMBER_UNSUPPORTED_METHOD(Name, Reported)                                           \
  ::motqr::com::HRESULT Name() override {                                                         \
    return ::motqr::driver::RunFrame(this->node(), ::motqr::driver::Describe<Interface, #Name>(), \
                                     ::motqr::driver::Check::kInitialized,                        \
                                     [](::motqr::driver::CallFrame& f) {                          \
                                       MOTQR_RETURN_IF_FAILED(f.Trace());                         \
                                       return f.reporter().FunctionNotSupported(Reported);        \
                                     });                                                          \
  }

#define MOTQR_MEMBER_BY_HAND(Name, Kind, Command, Reply, Set)

// --- Row views -------------------------------------------------------------------

#define MOTQR_ROW_VIEW_PROPERTY(Type, Name, Query, Reply, Set, SimFlag) \
  ::motqr::instrument::RowView{#Name, "property", #Type, "",            \
                               Query, Reply,      Set,   ::motqr::driver::Sim::SimFlag},
#define MOTQR_ROW_VIEW_READ_ONLY(Type, Name, Query, Reply, SimFlag)                            \
  ::motqr::instrument::RowView{#Name,   "read-only property",         #Type, "", Query, Reply, \
                               nullptr, ::motqr::driver::Sim::SimFlag},
#define MOTQR_ROW_VIEW_COMMAND(Name, Command) \
  ::motqr::instrument::RowView{#Name, "command", "", "", nullptr, nullptr, Command},
#define MOTQR_ROW_VIEW_COMMAND_1(Name, Command, T1, N1) \
  ::motqr::instrument::RowView{#Name, "command", #T1 " " #N1, "", nullptr, nullptr, Command},
#define MOTQR_ROW_VIEW_COMMAND_2(Name, Command, T1, N1, T2, N2)                               \
  ::motqr::instrument::RowView{#Name,   "command", #T1 " " #N1 ", " #T2 " " #N2, "", nullptr, \
                               nullptr, Command},
#define MOTQR_ROW_VIEW_COMMAND_3(Name, Command, T1, N1, T2, N2, T3, N3)                          \
  ::motqr::instrument::RowView{#Name,  "command", #T1 " " #N1 ", " #T2 " " #N2 ", " #T3 " " #N3, \
                               "",     nullptr,   nullptr,                                       \
                               Command},
#define MOTQR_ROW_VIEW_QUERY(Name, Command, Reply, TO, OutName) \
  ::motqr::instrument::RowView{#Name, "query", "", #TO " " OutName, Command, Reply, nullptr},
#define MOTQR_ROW_VIEW_QUERY_1(Name, Command, Reply, T1, N1, TO, OutName)      \
  ::motqr::instrument::RowView{#Name,   "query", #T1 " " #N1, #TO " " OutName, \
                               Command, Reply,   nullptr},
#define MOTQR_ROW_VIEW_QUERY_2(Name, Command, Reply, T1, N1, T2, N2, TO, OutName) \
  ::motqr::instrument::RowView{                                                   \
      #Name, "query", #T1 " " #N1 ", " #T2 " " #N2, #TO " " OutName, Command, Reply, nullptr},
#define MOTQR_ROW_VIEW_IN_OUT_QUERY(Name, Command, Reply, TO, OutName) \
  ::motqr::instrument::RowView{#Name, "in/out query", "", #TO " " OutName, Command, Reply, nullptr},
#define MOTQR_ROW_VIEW_MIN_MAX(Type, Name, Command)                               \
  ::motqr::instrument::RowView{#Name,   "min/max query",                          \
                               "",      #Type ", " #Type,                         \
                               Command, ::motqr::instrument::MinMaxReply<Type>(), \
                               nullptr},
#define MOTQR_ROW_VIEW_ARRAY_QUERY(Name, Command, Reply, OutName)                          \
  ::motqr::instrument::RowView{#Name,   "array query", "",     "com::SAFEARRAY* " OutName, \
                               Command, Reply,         nullptr},
#define MOTQR_ROW_VIEW_ARRAY_QUERY_1(Name, Command, Reply, T1, N1, OutName)                     \
  ::motqr::instrument::RowView{#Name,   "array query", #T1 " " #N1, "com::SAFEARRAY* " OutName, \
                               Command, Reply,         nullptr},
#define MOTQR_ROW_VIEW_ARRAY_COMMAND(Name, Command, Argument) \
  ::motqr::instrument::RowView{                               \
      #Name, "array command", "com::SAFEARRAY* " #Argument, "", nullptr, nullptr, Command},
#define MOTQR_ROW_VIEW_TOKEN_LIST_COMMAND(Name, Header, Argument, Enum, TokenMember) \
  ::motqr::instrument::RowView{                                                      \
      #Name, "array command", "com::SAFEARRAY* " #Argument, "", nullptr, nullptr, Header},
#define MOTQR_ROW_VIEW_INTERFACE(Target, Name) \
  ::motqr::instrument::RowView{#Name, "interface", #Target, "", nullptr, nullptr, nullptr},
#define MOTQR_ROW_VIEW_UNSUPPORTED_PROPERTY(Type, Name, Reported, SimFlag)                         \
  ::motqr::instrument::RowView{#Name,   "unsupported property",       #Type, "", nullptr, nullptr, \
                               nullptr, ::motqr::driver::Sim::SimFlag},
#define MOTQR_ROW_VIEW_UNSUPPORTED_METHOD(Name, Reported) \
  ::motqr::instrument::RowView{#Name, "unsupported method", "", "", nullptr, nullptr, nullptr},
#define MOTQR_ROW_VIEW_BY_HAND(Name, Kind, Command, Reply, Set) \
  ::motqr::instrument::RowView{#Name, Kind " by hand", "", "", Command, Reply, Set},

namespace motqr::instrument {

// One row as tests, tools and generated bindings see it, whatever its shape.
struct RowView {
  const char* member;     // the property's or the method's name
  const char* kind;       // the shape: "property", "command", "query", "min/max query", ...
  const char* arguments;  // a property's type, or a method's "type Name" arguments
  const char* results;  // a method's results: "type Name" (the name its null-pointer report gives)
  const char* query;    // the query sent, or nullptr
  const char* reply;    // its reply format; nullptr: the default of the property's type
  const char* set;      // the command sent, or nullptr
  driver::Sim sim = driver::Sim::kNo;
};

// The reply format of a min/max query of `T`.
template <class T>
constexpr const char* MinMaxReply() {
  if constexpr (std::is_floating_point_v<T>) return "%lf;%lf";
  return "%d;%d";
}

// A token list command: the header, the enumeration and the member whose
// table gives the tokens (qualified by the interface when it is sent).
struct TokenListRow {
  const char* header;
  std::string_view enum_name;
  std::string_view token_member;
};

// Sends `format` (a command template) with every `placeholder` in it
// replaced by the list of the 32-bit elements of `values`.
com::HRESULT SetWithPlaceholder(driver::CallFrame& f, const char* format,
                                std::string_view placeholder, com::SAFEARRAY* values);

// Writes `row.header` followed by the tokens of `values` (32-bit elements)
// joined by commas, the tokens taken from the table of
// "<interface_name>.<row.token_member>".
com::HRESULT SendTokenList(driver::CallFrame& f, const TokenListRow& row,
                           std::string_view interface_name, com::SAFEARRAY* values);

// The property-not-supported report naming `property`, or the current member
// when `property` is empty.
com::HRESULT ReportPropertyNotSupported(driver::CallFrame& f, std::string_view property);

// Runs `send(f, values)` for a member whose one argument is an array.
template <class I, driver::FixedString M, class Send>
com::HRESULT CallWithArray(driver::CNode& node, const char* name, com::SAFEARRAY* values,
                           Send send) {
  return driver::RunFrame(node, driver::Describe<I, M>(), driver::Check::kInitialized,
                          [&](driver::CallFrame& f) -> com::HRESULT {
                            MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter(name, values)));
                            return send(f, values);
                          });
}

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

// An interface property: the same object through its interface `Target`,
// with one more reference. Needs no initialized session.
template <class I, driver::FixedString M, class Target>
com::HRESULT HandOutInterface(driver::CNode& node, com::IUnknown* self, Target** val) {
  return driver::RunFrame(node, driver::Describe<I, M>(), driver::Check::kNone,
                          [&](driver::CallFrame& f) -> com::HRESULT {
                            MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                            MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                            return self->QueryInterface(Target::kIid,
                                                        reinterpret_cast<void**>(val));
                          });
}

template <class I, driver::FixedString M, class T>
com::HRESULT UnsupportedGet(driver::CNode& node, driver::Sim sim, std::string_view property, T* val,
                            com::VARTYPE trace_type) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kInitialized,
      [&](driver::CallFrame& f) -> com::HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val, trace_type)));
        if (sim == driver::Sim::kYes && f.simulating()) {
          return driver::SimulatedGet(f, val);
        }
        return ReportPropertyNotSupported(f, property);
      });
}

template <class I, driver::FixedString M, class T>
com::HRESULT UnsupportedPut(driver::CNode& node, driver::Sim sim, std::string_view property, T val,
                            com::VARTYPE trace_type) {
  return driver::RunFrame(
      node, driver::Describe<I, M>(), driver::Check::kInitialized,
      [&](driver::CallFrame& f) -> com::HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("val", val, trace_type)));
        if (sim == driver::Sim::kYes && f.simulating()) {
          return driver::SimulatedPut(f, val);
        }
        return ReportPropertyNotSupported(f, property);
      });
}

}  // namespace motqr::instrument
