#include "driver/call_frame.h"

#include "errors/morvane_tqr_error_reporter.h"
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

}  // namespace motqr::driver
