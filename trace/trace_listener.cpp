#include "trace/trace_listener.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace motqr::trace {
namespace {

// Delivery holds the lock, so that a listener is never called after its
// Unregister has returned; it is recursive because a listener may call a
// traced member (or unregister) from its OnTraceEvent.
struct Registry {
  std::recursive_mutex mutex;
  std::vector<ITraceListener*> listeners;
  std::atomic<std::size_t> count{0};
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // lives until the module unloads
  return *registry;
}

}  // namespace

void RegisterTraceListener(ITraceListener* listener) {
  if (!listener) return;
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  if (std::find(r.listeners.begin(), r.listeners.end(), listener) != r.listeners.end()) return;
  r.listeners.push_back(listener);
  r.count.store(r.listeners.size(), std::memory_order_release);
}

void UnregisterTraceListener(ITraceListener* listener) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  std::erase(r.listeners, listener);
  r.count.store(r.listeners.size(), std::memory_order_release);
}

bool HasTraceListeners() { return TheRegistry().count.load(std::memory_order_acquire) != 0; }

void NotifyTraceListeners(const char* record, const char* trace_name, std::uint32_t trace_id) {
  constexpr std::int32_t kMethodRecord = 1;
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  // A copy: a listener may unregister itself or others while being called.
  const std::vector<ITraceListener*> listeners = r.listeners;
  for (ITraceListener* l : listeners) {
    if (std::find(r.listeners.begin(), r.listeners.end(), l) == r.listeners.end()) continue;
    try {
      l->OnTraceEvent(record, kMethodRecord, trace_name, trace_id);
    } catch (...) {  // a failed listener call is ignored
    }
  }
}

}  // namespace motqr::trace
