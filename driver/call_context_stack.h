// The stack of interface members in progress on one driver session, innermost
// last. Push and Pop come from the member call frames, which hold the session
// lock, so one thread changes the stack at a time; Top may be asked from any
// thread (the wire log's label). The first kInline entries are atomics that
// Top reads without a lock; deeper entries, which no member of this driver
// reaches, live behind a mutex.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

#include "errors/call_context.h"

namespace motqr::driver {

class CallContextStack {
 public:
  static constexpr std::size_t kInline = 16;

  void Push(const errors::MethodDescriptor* d) {
    const std::size_t n = depth_.load(std::memory_order_relaxed);
    if (n < kInline) {
      inline_[n].store(d, std::memory_order_relaxed);
    } else {
      std::lock_guard lock(mutex_);
      deeper_.push_back(d);
    }
    depth_.store(n + 1, std::memory_order_release);
  }
  void Pop() {
    const std::size_t n = depth_.load(std::memory_order_relaxed);
    if (n == 0) return;
    if (n > kInline) {
      std::lock_guard lock(mutex_);
      deeper_.pop_back();
    }
    depth_.store(n - 1, std::memory_order_release);
  }
  const errors::MethodDescriptor* Top() {
    const std::size_t n = depth_.load(std::memory_order_acquire);
    if (n == 0) return nullptr;
    if (n <= kInline) return inline_[n - 1].load(std::memory_order_relaxed);
    std::lock_guard lock(mutex_);
    return deeper_.empty() ? inline_[kInline - 1].load(std::memory_order_relaxed) : deeper_.back();
  }

 private:
  std::atomic<std::size_t> depth_{0};
  std::array<std::atomic<const errors::MethodDescriptor*>, kInline> inline_{};
  std::mutex mutex_;
  std::vector<const errors::MethodDescriptor*> deeper_;
};

}  // namespace motqr::driver
