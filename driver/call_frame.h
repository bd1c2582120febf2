// The frame every interface member of the driver and channel objects runs in:
// session lock, method descriptor, call context, initialized check, error
// object cleared, out-pointer checks, trace record, simulation short cut, then
// the body.
//
//   HRESULT Driver::get_Cache(VARIANT_BOOL* val) {
//     return RunFrame(*this, Describe<IIviDriverOperation, "get_Cache">(), Check::kInitialized,
//                     [&](CallFrame& f) -> HRESULT {
//                       MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
//                       MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val,
//                       com::VT_BOOL))); *val = ...; return S_OK;
//                     });
//   }
//
// Every body opens its trace record with Trace once its out-pointers are
// checked, naming every parameter of the member in declaration order; the
// frame closes the record with the member's result. While the session does
// not trace, Trace is one test of a flag.
#pragma once

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <new>
#include <optional>

#include "driver/driver.h"
#include "driver/node.h"
#include "errors/call_context.h"
#include "errors/error_reporter.h"
#include "platform/com/bstr.h"
#include "trace/method_trace.h"
#include "trace/parameter.h"

#define MOTQR_RETURN_IF_FAILED(expr)                       \
  do {                                                     \
    const ::motqr::com::HRESULT motqr_hr_ = (expr);        \
    if (::motqr::com::Failed(motqr_hr_)) return motqr_hr_; \
  } while (false)

namespace motqr::driver {

// A string literal usable as a template argument.
template <std::size_t N>
struct FixedString {
  char text[N];
  constexpr FixedString(const char (&s)[N]) { std::copy_n(s, N, text); }
};

// The method descriptor of member `Member` of `Interface`, built once on first use.
template <class Interface, FixedString Member>
const errors::MethodDescriptor& Describe() {
  static const errors::MethodDescriptor descriptor{
      Interface::kIid, Interface::kName, Member.text,
      errors::QualifiedMemberName(Interface::kName, Member.text)};
  return descriptor;
}

enum class Check { kInitialized, kNone };

// The reporter a channel object uses once it has no driver to serve it.
errors::IErrorReporter& DetachedReporter();

class CallFrame {
 public:
  CallFrame(CNode& node, const errors::MethodDescriptor& method, Check check);
  ~CallFrame();
  CallFrame(const CallFrame&) = delete;
  CallFrame& operator=(const CallFrame&) = delete;

  // The failure of the entry steps (lock, context, initialized check), if any.
  HRESULT status() const { return status_; }
  CNode& node() { return node_; }
  CDriver& driver() { return *driver_; }
  const errors::MethodDescriptor& method() const { return method_; }
  errors::IErrorReporter& reporter() { return driver_ ? driver_->reporter() : DetachedReporter(); }
  bool simulating() const { return driver_ && driver_->simulating(); }

  // Checks an out-parameter: null gives the null-pointer error naming the
  // member and `parameter`; otherwise the output is set to its zero value.
  template <class T>
  HRESULT Out(T* p, std::string_view parameter) {
    if (!p) return reporter().NullPointerCurrent(parameter);
    *p = T{};
    return com::S_OK;
  }
  // As Out, for an in/out string: the string it holds is freed first.
  HRESULT InOut(com::BSTR* p, std::string_view parameter) {
    if (!p) return reporter().NullPointerCurrent(parameter);
    com::SysFreeString(*p);
    *p = nullptr;
    return com::S_OK;
  }

  // Opens the call's trace record: inputs are written now, outputs when the
  // frame ends. A failed write fails the call with the system error.
  template <class... P>
  HRESULT Trace(const P&... parameters) {
    if (!driver_->trace().active()) [[likely]]
      return com::S_OK;
    static_assert(sizeof...(P) <= trace::kMaxParameters);
    const trace::Parameter list[sizeof...(P) + 1] = {parameters..., {}};
    return OpenTrace(std::span(list, sizeof...(P)));
  }
  // Leaves a description of a failed `result` in the thread's error object
  // when nothing on the way reported one, so that no failure reaches the
  // caller without its own text (and an earlier failure's text is never taken
  // for it).
  void DescribeUnreported(HRESULT result) noexcept;
  // Closes the trace record, if one is open, with the call's `result`; the
  // result of the call.
  HRESULT Finish(HRESULT result) {
    if (!record_) [[likely]]
      return result;
    return CloseTrace(result);
  }

 private:
  CNode& node_;
  const errors::MethodDescriptor& method_;
  CDriver* driver_;
  std::unique_lock<std::recursive_mutex> lock_;
  bool pushed_ = false;
  HRESULT status_ = com::S_OK;
  std::optional<trace::CMethodTrace> record_;

  HRESULT OpenTrace(std::span<const trace::Parameter> parameters);
  HRESULT CloseTrace(HRESULT result);
};

// Runs `body(frame)` inside the call frame; nothing thrown leaves it.
template <class Body>
HRESULT RunFrame(CNode& node, const errors::MethodDescriptor& method, Check check, Body&& body) {
  CallFrame frame(node, method, check);
  if (com::Failed(frame.status())) return frame.status();
  HRESULT hr;
  try {
    hr = body(frame);
  } catch (const std::bad_alloc&) {
    hr = frame.reporter().OutOfMemory();
  } catch (...) {
    hr = frame.reporter().CannotRecover("Unexpected internal failure.");
  }
  if (com::Failed(hr)) [[unlikely]]
    frame.DescribeUnreported(hr);
  return frame.Finish(hr);
}

// The simulation short cut of a property getter: the stored value when the
// entry is valid, else the zero value.
template <class T>
HRESULT SimulatedGet(CallFrame& frame, T* val) {
  auto* entry = frame.node().store().Lookup<T>(frame.method().qualified_name);
  if (!entry) return frame.reporter().CannotRecover("Simulation value of another type.");
  if constexpr (std::is_same_v<T, com::BSTR>) {
    *val = entry->IsValid() ? com::Bstr(entry->value()).Detach() : nullptr;
    if (entry->IsValid() && !*val) return frame.reporter().OutOfMemory();
  } else {
    *val = entry->IsValid() ? entry->value() : T{};
  }
  return com::S_OK;
}

// The simulation short cut of a property setter: store the value, mark it valid.
template <class T>
HRESULT SimulatedPut(CallFrame& frame, const T& val) {
  auto* entry = frame.node().store().Lookup<T>(frame.method().qualified_name);
  if (!entry) return frame.reporter().CannotRecover("Simulation value of another type.");
  if (!entry->Store(val)) return frame.reporter().OutOfMemory();
  entry->SetValid();
  return com::S_OK;
}

}  // namespace motqr::driver
