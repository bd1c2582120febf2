#include <atomic>

#include "platform/com/object.h"

namespace motqr::com {
namespace {
std::atomic<long> live_count{0};
}

void ModuleLock::Increment() { live_count.fetch_add(1, std::memory_order_relaxed); }
void ModuleLock::Decrement() { live_count.fetch_sub(1, std::memory_order_relaxed); }
long ModuleLock::Count() { return live_count.load(std::memory_order_relaxed); }

}  // namespace motqr::com
