#include "platform/ivi/session_registry.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/ivi/text_result.h"

namespace motqr::ivi {
namespace {

struct ErrorRecord {
  ViStatus code = 0;
  std::string description;
};

// One live handle. `mutex` guards every field.
struct Session {
  std::mutex mutex;
  std::condition_variable lock_released;
  ViAddr data = nullptr;
  ErrorRecord error;
  std::thread::id owner;  // holder of the session lock; default id: free
  std::uint32_t depth = 0;
  std::uint32_t waiting = 0;  // threads blocked in Lock: Unlock wakes only when there are any
  bool disposed = false;
};

class Registry {
 public:
  ViStatus New(ViSession* handle) {
    auto session = std::make_shared<Session>();
    std::lock_guard guard(mutex_);
    // Skip 0 and any handle still live after the counter wraps.
    do {
      ++next_;
    } while (next_ == 0 || sessions_.contains(next_));
    sessions_.emplace(next_, std::move(session));
    *handle = next_;
    return 0;
  }

  std::shared_ptr<Session> Find(ViSession handle) {
    std::lock_guard guard(mutex_);
    auto it = sessions_.find(handle);
    return it == sessions_.end() ? nullptr : it->second;
  }

  std::shared_ptr<Session> Remove(ViSession handle) {
    std::lock_guard guard(mutex_);
    auto it = sessions_.find(handle);
    if (it == sessions_.end()) return nullptr;
    std::shared_ptr<Session> session = std::move(it->second);
    sessions_.erase(it);
    return session;
  }

 private:
  std::mutex mutex_;
  ViSession next_ = 0;
  std::unordered_map<ViSession, std::shared_ptr<Session>> sessions_;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The error record of "no session" (handle 0): one per thread.
ErrorRecord& ThreadError() {
  thread_local ErrorRecord record;
  return record;
}

// Runs `f` on the error record of `handle` under its guard.
template <class F>
ViStatus WithErrorRecord(ViSession handle, F&& f) {
  try {
    if (handle == 0) return f(ThreadError());
    std::shared_ptr<Session> session = TheRegistry().Find(handle);
    if (!session) return kIviErrorInvalidSessionHandle;
    std::lock_guard guard(session->mutex);
    return f(session->error);
  } catch (const std::bad_alloc&) {
    return kIviErrorOutOfMemory;
  }
}

}  // namespace

ViStatus IviSession_New(ViSession* handle) {
  if (!handle) return kIviErrorNullPointer;
  *handle = 0;
  try {
    return TheRegistry().New(handle);
  } catch (const std::bad_alloc&) {
    return kIviErrorOutOfMemory;
  }
}

ViStatus IviSession_Dispose(ViSession handle) {
  std::shared_ptr<Session> session = TheRegistry().Remove(handle);
  if (!session) return kIviErrorInvalidSessionHandle;
  {
    std::lock_guard guard(session->mutex);
    session->disposed = true;
  }
  session->lock_released.notify_all();
  return 0;
}

ViStatus IviSession_SetDataPtr(ViSession handle, ViAddr data) {
  std::shared_ptr<Session> session = TheRegistry().Find(handle);
  if (!session) return kIviErrorInvalidSessionHandle;
  std::lock_guard guard(session->mutex);
  session->data = data;
  return 0;
}

ViStatus IviSession_GetDataPtr(ViSession handle, ViAddr* data) {
  if (!data) return kIviErrorNullPointer;
  std::shared_ptr<Session> session = TheRegistry().Find(handle);
  if (!session) return kIviErrorInvalidSessionHandle;
  std::lock_guard guard(session->mutex);
  *data = session->data;
  return 0;
}

namespace {

// Waits under `guard` until the session's lock is free or the calling thread's.
void WaitForLock(Session& session, std::unique_lock<std::mutex>& guard) {
  const std::thread::id me = std::this_thread::get_id();
  const auto free_for_me = [&] {
    return session.disposed || session.depth == 0 || session.owner == me;
  };
  if (free_for_me()) return;
  ++session.waiting;
  session.lock_released.wait(guard, free_for_me);
  --session.waiting;
}

}  // namespace

ViStatus IviSession_GetDataPtrUnlocked(ViSession handle, ViAddr* data) {
  if (!data) return kIviErrorNullPointer;
  std::shared_ptr<Session> session = TheRegistry().Find(handle);
  if (!session) return kIviErrorInvalidSessionHandle;
  std::unique_lock guard(session->mutex);
  WaitForLock(*session, guard);
  if (session->disposed) return kIviErrorInvalidSessionHandle;
  *data = session->data;
  return 0;
}

ViStatus IviSession_Lock(ViSession handle, ViBoolean* has_lock) {
  if (has_lock && *has_lock != kViFalse) return 0;
  std::shared_ptr<Session> session = TheRegistry().Find(handle);
  if (!session) return kIviErrorInvalidSessionHandle;
  const std::thread::id me = std::this_thread::get_id();
  std::unique_lock guard(session->mutex);
  WaitForLock(*session, guard);
  if (session->disposed) return kIviErrorInvalidSessionHandle;
  session->owner = me;
  ++session->depth;
  if (has_lock) *has_lock = kViTrue;
  return 0;
}

ViStatus IviSession_Unlock(ViSession handle, ViBoolean* has_lock) {
  if (has_lock && *has_lock == kViFalse) return 0;
  std::shared_ptr<Session> session = TheRegistry().Find(handle);
  if (!session) return kIviErrorInvalidSessionHandle;
  bool wake = false;
  {
    std::lock_guard guard(session->mutex);
    if (session->depth == 0 || session->owner != std::this_thread::get_id()) {
      return kIviErrorCannotRecover;
    }
    if (--session->depth == 0) {
      session->owner = std::thread::id();
      wake = session->waiting != 0;
    }
  }
  if (wake) session->lock_released.notify_all();
  if (has_lock) *has_lock = kViFalse;
  return 0;
}

ViStatus IviSession_SetError(ViSession handle, ViStatus code, ViConstString description) {
  return WithErrorRecord(handle, [&](ErrorRecord& error) -> ViStatus {
    error.description.assign(description ? description : "");
    error.code = code;
    return 0;
  });
}

ViStatus IviSession_GetError(ViSession handle, ViInt32 buffer_size, ViStatus* code,
                             ViChar description[]) {
  if (!code) return kIviErrorNullPointer;
  return WithErrorRecord(handle, [&](ErrorRecord& error) -> ViStatus {
    *code = error.code;
    const ViStatus copied = CopyTextResult(error.description, buffer_size, description);
    if (copied == 0) error = ErrorRecord{};
    return copied;
  });
}

ViStatus IviSession_ClearError(ViSession handle) {
  return WithErrorRecord(handle, [](ErrorRecord& error) -> ViStatus {
    error = ErrorRecord{};
    return 0;
  });
}

}  // namespace motqr::ivi
