// The stack of interface members in progress on one driver session, innermost
// last. It has its own lock, taken only for push, pop and reading the top.
#pragma once

#include <mutex>
#include <vector>

#include "errors/call_context.h"

namespace motqr::driver {

class CallContextStack {
 public:
  CallContextStack() { entries_.reserve(10); }
  void Push(const errors::MethodDescriptor* d) {
    std::lock_guard lock(mutex_);
    entries_.push_back(d);
  }
  void Pop() {
    std::lock_guard lock(mutex_);
    if (!entries_.empty()) entries_.pop_back();
  }
  const errors::MethodDescriptor* Top() {
    std::lock_guard lock(mutex_);
    return entries_.empty() ? nullptr : entries_.back();
  }

 private:
  std::mutex mutex_;
  std::vector<const errors::MethodDescriptor*> entries_;
};

}  // namespace motqr::driver
