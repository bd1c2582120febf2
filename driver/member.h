// One definition per interface member: a row holds the member's command
// format, reply format and simulation flag, and the executors below run it
// inside the call frame. A member of an interface is then one line:
//
//   constexpr PropertyRow<double> kVoltageLevel{":VOLT?", "%lf", ":VOLT %0.6lg", Sim::kYes};
//   HRESULT get_VoltageLevel(double* val) override {
//     return Get<IMorvaneTqrOutputChannel, "get_VoltageLevel">(node(), kVoltageLevel, val);
//   }
//
// Commands are formatted by the formatted I/O engine with the driver's enum
// formatter, so enumerations and booleans become the member's tokens. The
// executors trace every member with its parameters: a property's value as
// "val", a method's inputs and results by the names the rows give them.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "driver/call_frame.h"
#include "io/formatted_output.h"
#include "io/input/scan_args.h"
#include "platform/com/safearray.h"
#include "trace/parameter.h"

namespace motqr::driver {

enum class Sim : bool { kNo, kYes };

// The trace type of a value declared as `Type` in a row (VARIANT_BOOL is a
// 16-bit integer to the compiler and a Boolean in the trace).
#define MOTQR_TRACE_TYPE(Type) ::motqr::trace::TypeOf<Type>(#Type)

// A property the instrument holds. `query` null: the getter has no command;
// `set` null: the property is read-only. `reply` null: the default reply
// format of T ("%lf" for doubles, "%d" for integers).
template <class T>
struct PropertyRow {
  const char* query;
  const char* reply;
  const char* set;
  Sim sim;
  com::VARTYPE trace_type = trace::TypeOf<T>();
};

// A method: its command format and, for a query, its reply format.
struct MethodRow {
  const char* command;
  const char* reply;
};

// An out-parameter and its name (for the null-pointer report and the trace).
template <class T>
struct Out {
  T* p;
  const char* name;
  com::VARTYPE trace_type = trace::TypeOf<T>();
};

// The arguments of a method's command.
template <class... In>
std::tuple<const In&...> Args(const In&... in) {
  return std::tuple<const In&...>(in...);
}

// An input argument of a member, named for the trace.
template <class T>
struct Arg {
  const T& value;
  const char* name;
  com::VARTYPE trace_type;
};
template <class T>
Arg<T> Named(const T& value, const char* name, com::VARTYPE trace_type = trace::TypeOf<T>()) {
  return {value, name, trace_type};
}
// A member's named input arguments: Inputs(MOTQR_ARG(double, Dwell), ...).
template <class... T>
std::tuple<Arg<T>...> Inputs(Arg<T>... in) {
  return std::tuple<Arg<T>...>(in...);
}
#define MOTQR_ARG(Type, Name) ::motqr::driver::Named(Name, #Name, MOTQR_TRACE_TYPE(Type))

namespace detail {

template <class T>
constexpr const char* DefaultReply() {
  if constexpr (std::is_floating_point_v<T>) return "%lf";
  return "%d";
}

// The reply destination of a result of type T: enumerations are read as
// 32-bit integers, VARIANT_BOOL as 16-bit.
template <class T>
auto* ScanTarget(T* p) {
  if constexpr (std::is_enum_v<T>) {
    static_assert(sizeof(T) == sizeof(std::int32_t));
    return reinterpret_cast<std::int32_t*>(p);
  } else {
    return p;
  }
}

// The format argument of a value of type T: enumerations as their integer.
template <class T>
auto FormatValue(const T& v) {
  if constexpr (std::is_enum_v<T>) {
    return static_cast<std::int32_t>(v);
  } else {
    return v;
  }
}

// Pushes a command and its reply format (a row's text) on the node's stacks for one call.
class StackedCommand {
 public:
  StackedCommand(CNode& node, std::string command, const char* reply) : node_(node) {
    node_.PushCommand(std::move(command));
    node_.PushResponseFormat(reply ? reply : "");
  }
  StackedCommand(CNode& node, std::string_view command, const char* reply) : node_(node) {
    node_.PushCommand(command);
    node_.PushResponseFormat(reply ? reply : "");
  }
  StackedCommand(CNode& node, const char* command, const char* reply)
      : StackedCommand(node, std::string_view(command ? command : ""), reply) {}
  ~StackedCommand() {
    node_.PopCommand();
    node_.PopResponseFormat();
  }
  StackedCommand(const StackedCommand&) = delete;
  StackedCommand& operator=(const StackedCommand&) = delete;

 private:
  CNode& node_;
};

// Where the reply parser writes a result of type T. Strings and arrays the
// caller frees go to a holder of the call first and are handed out only when
// the reply was read whole: an exchange that failed then leaves nothing to
// free (an array passed in stays as it was), while a status poll that fails
// after a good reply leaves every result as it was read. Other results are
// written in place and keep what was read.
template <class T>
struct Staged {
  T* target;
  auto* ScanTo() { return ScanTarget(target); }
  void HandOut() {}
};
template <>
struct Staged<com::BSTR> {
  com::BSTR* target;
  com::Bstr held;
  com::BSTR* ScanTo() { return held.Put(); }
  void HandOut() {
    com::SysFreeString(*target);
    *target = held.Detach();
  }
};
template <>
struct Staged<com::SAFEARRAY*> {
  com::SAFEARRAY** target;
  com::SafeArray held;
  com::SAFEARRAY** ScanTo() { return held.Put(); }
  void HandOut() {
    if (*target) com::SafeArrayDestroy(*target);
    *target = held.Detach();
  }
};

}  // namespace detail

// The session the executors talk through; a session that simulates or is not
// open fails with the not-connected error.
HRESULT OpenSession(CallFrame& f, ISessionPort** session);

// A command format without arguments or directives: the command is its text as it stands.
inline bool IsPlainCommand(const char* format, std::size_t arguments) {
  return arguments == 0 && format != nullptr && std::strchr(format, '%') == nullptr;
}

// Formats `format` with `args` through the engine with the driver's enum formatter.
template <class... In>
HRESULT FormatCommand(CallFrame& f, const char* format, std::string* command, const In&... args) {
  return io::FormatString(command, &f.driver(), format, detail::FormatValue(args)...);
}

// The generic executors: a command, or a query read into `outputs`. `read`
// (optional) tells whether the reply was read whole, which is the case also
// when only the status poll after it failed.
HRESULT ExecuteCommand(CallFrame& f);
HRESULT ExecuteQuery(CallFrame& f, io::ScanArgs outputs, bool* read = nullptr);

// Runs a method row: formats its command with `in`, then writes it or, with a
// reply format, queries it into `out`. `read` (may be null) tells whether the
// reply was read whole, as ExecuteQuery does: a hand-written member that
// builds its results from `out` hands them out when it is true, also when
// the status poll after the reply failed.
template <class... In, class... O>
HRESULT RunQuery(CallFrame& f, const MethodRow& row, const std::tuple<const In&...>& in, bool* read,
                 Out<O>... out) {
  bool whole = false;
  if (read) *read = false;
  std::string command;
  std::optional<detail::StackedCommand> stacked;
  if (IsPlainCommand(row.command, sizeof...(In))) {
    stacked.emplace(f.node(), std::string_view(row.command), row.reply);
  } else {
    MOTQR_RETURN_IF_FAILED(std::apply(
        [&](const In&... a) { return FormatCommand(f, row.command, &command, a...); }, in));
    stacked.emplace(f.node(), std::move(command), row.reply);
  }
  if (!row.reply) return ExecuteCommand(f);
  std::tuple<detail::Staged<O>...> staged{detail::Staged<O>{out.p}...};
  const auto targets = std::apply(
      [](auto&... s) { return std::array<io::ScanArg, sizeof...(O)>{io::ScanArg(s.ScanTo())...}; },
      staged);
  const HRESULT hr = ExecuteQuery(f, io::ScanArgs(targets.data(), targets.size()), &whole);
  if (whole) std::apply([](auto&... s) { (s.HandOut(), ...); }, staged);
  if (read) *read = whole;
  return hr;
}
template <class... In, class... O>
HRESULT RunMethod(CallFrame& f, const MethodRow& row, const std::tuple<const In&...>& in,
                  Out<O>... out) {
  return RunQuery(f, row, in, nullptr, out...);
}

template <class T>
HRESULT GetProperty(CallFrame& f, const PropertyRow<T>& row, T* val) {
  if (row.sim == Sim::kYes && f.simulating()) return SimulatedGet(f, val);
  return RunMethod(f, MethodRow{row.query, row.reply ? row.reply : detail::DefaultReply<T>()},
                   Args(), Out<T>{val, "val"});
}

template <class T>
HRESULT PutProperty(CallFrame& f, const PropertyRow<T>& row, const T& val) {
  if (row.sim == Sim::kYes && f.simulating()) return SimulatedPut(f, val);
  return RunMethod(f, MethodRow{row.set, nullptr}, Args(val));
}

// The members themselves: the frame around the executors.

template <class I, FixedString M, class T>
HRESULT Get(CNode& node, const PropertyRow<T>& row, T* val) {
  return RunFrame(node, Describe<I, M>(), Check::kInitialized, [&](CallFrame& f) -> HRESULT {
    MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
    MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val, row.trace_type)));
    return GetProperty(f, row, val);
  });
}

template <class I, FixedString M, class T>
HRESULT Put(CNode& node, const PropertyRow<T>& row, T val) {
  return RunFrame(node, Describe<I, M>(), Check::kInitialized, [&](CallFrame& f) -> HRESULT {
    MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("val", val, row.trace_type)));
    return PutProperty(f, row, val);
  });
}

// Opens the trace record of a method with named inputs and results.
template <class... In, class... O>
HRESULT TraceMethod(CallFrame& f, const std::tuple<Arg<In>...>& in, const Out<O>&... out) {
  return std::apply(
      [&](const Arg<In>&... a) {
        return f.Trace(trace::InParameter(a.name, a.value, a.trace_type)...,
                       trace::OutParameter(out.name, out.p, out.trace_type)...);
      },
      in);
}

// The values of named inputs, as the command's arguments.
template <class... In>
std::tuple<const In&...> ValuesOf(const std::tuple<Arg<In>...>& in) {
  return std::apply([](const Arg<In>&... a) { return std::tuple<const In&...>(a.value...); }, in);
}

template <class I, FixedString M, class... In, class... O>
HRESULT Call(CNode& node, const MethodRow& row, const std::tuple<Arg<In>...>& in, Out<O>... out) {
  return RunFrame(node, Describe<I, M>(), Check::kInitialized, [&](CallFrame& f) -> HRESULT {
    HRESULT hr = com::S_OK;
    ((hr = com::Failed(hr) ? hr : f.Out(out.p, out.name)), ...);
    MOTQR_RETURN_IF_FAILED(hr);
    MOTQR_RETURN_IF_FAILED(TraceMethod(f, in, out...));
    return RunMethod(f, row, ValuesOf(in), out...);
  });
}

// A method with no arguments and no results.
template <class I, FixedString M>
HRESULT Call(CNode& node, const MethodRow& row) {
  return Call<I, M>(node, row, Inputs());
}

// The base of an interface's member class: `Self` is the component class
// that composes it and gives the node the members run on.
template <class Self, class InterfaceT>
class MemberSet : public InterfaceT {
 public:
  using Interface = InterfaceT;

 protected:
  CNode& node() { return static_cast<Self&>(*this).node(); }
  ~MemberSet() = default;
};

}  // namespace motqr::driver
