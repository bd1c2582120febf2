#include "driver/call_frame.h"

#include "driver/driver_trace.h"
#include "errors/morvane_tqr_error_reporter.h"
#include "errors/system_status_text.h"
#include "platform/com/error_info.h"

namespace motqr::driver {

errors::IErrorReporter& DetachedReporter() {
  // No call context: the report carries no interface id.
  static errors::CMorvaneTqrErrorReporter* reporter =
      new errors::CMorvaneTqrErrorReporter(com::GUID_NULL, nullptr);
  return *reporter;
}

CallFrame::CallFrame(CNode& node, const errors::MethodDescriptor& method, Check check)
    : node_(node), method_(method), driver_(nullptr), lock_(*node.session_lock()) {
  driver_ = node.session_driver();
  if (!driver_) {  // a channel object that Close has detached
    status_ = DetachedReporter().NotInitialized();
    return;
  }
  driver_->call_contexts().Push(&method);
  pushed_ = true;
  if (check == Check::kInitialized && !driver_->initialized()) {
    status_ = driver_->reporter().NotInitialized();
    return;
  }
  com::SetErrorInfo(0, nullptr);
}

CallFrame::~CallFrame() {
  if (pushed_) driver_->call_contexts().Pop();
}

void CallFrame::DescribeUnreported(HRESULT result) noexcept {
  if (com::PeekErrorInfo(nullptr)) return;
  try {
    reporter().ReportErrorText(result, "MorvaneTqr: " + method_.qualified_name +
                                           " failed: " + errors::SystemStatusText(result));
  } catch (...) {  // only allocation can throw: the status alone goes back
  }
}

HRESULT CallFrame::OpenTrace(std::span<const trace::Parameter> parameters) {
  record_.emplace(driver_->trace(), method_.interface_name, method_.member_name, parameters);
  if (std::error_code ec = record_->Enter()) {
    record_.reset();
    return ReportTraceFailure(*driver_, ec);
  }
  return com::S_OK;
}

HRESULT CallFrame::CloseTrace(HRESULT result) {
  std::error_code ec;
  try {
    ec = record_->Exit(result);
  } catch (const std::bad_alloc&) {
    ec = std::make_error_code(std::errc::not_enough_memory);
  }
  record_.reset();
  // A call that failed keeps its own failure; the trace's would hide it.
  if (!ec || com::Failed(result)) return result;
  return ReportTraceFailure(*driver_, ec);
}

}  // namespace motqr::driver
