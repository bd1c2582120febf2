// VISA locks on a resource, shared by every session of this process that opened it through a
// built-in transport (the system VISA library keeps its own). An exclusive lock keeps every
// other session out; a shared lock lets in the sessions that locked with its key.
//
//   std::shared_ptr<ResourceLock> lock = ResourceLock::For("TCPIP::10.0.0.5::5025");
//   std::string key;
//   Status status = lock->Lock(this, VI_SHARED_LOCK, 2000, "", &key);  // key: generated
//   status = lock->CheckAccess(other_session);  // VI_ERROR_RSRC_LOCKED unless it shares
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/visa/status.h"
#include "platform/visa/visa_types.h"

namespace motqr::visa {

class ResourceLock {
 public:
  // The lock of the resource named `key`; sessions of the same key share one object.
  static std::shared_ptr<ResourceLock> For(const std::string& key);

  // Takes an exclusive (VI_EXCLUSIVE_LOCK) or shared (VI_SHARED_LOCK) lock for `session`,
  // waiting up to `timeout_ms` for other sessions to let go (VI_ERROR_RSRC_LOCKED after it).
  // Locks nest: VI_SUCCESS_NESTED_EXCLUSIVE / VI_SUCCESS_NESTED_SHARED. `access_key` gets the
  // shared lock's key (the requested one, or a generated one) and is empty for an exclusive
  // lock.
  Status Lock(const void* session, ViAccessMode mode, ViUInt32 timeout_ms,
              std::string_view requested_key, std::string* access_key);
  // Releases one lock of `session` (the exclusive one first); VI_ERROR_SESN_NLOCKED if none.
  Status Unlock(const void* session);
  // VI_ERROR_RSRC_LOCKED when another session's lock keeps `session` from the resource.
  Status CheckAccess(const void* session) const;
  // Releases every lock `session` holds (at close).
  void ReleaseAll(const void* session);

 private:
  bool CanLockExclusive(const void* session) const;
  bool CanLockShared(const void* session, std::string_view requested_key) const;
  Status HeldStatus(const void* session) const;
  // Publishes whether any session holds a lock; the caller holds mutex_.
  void NoteHolders() {
    locked_.store(exclusive_owner_ != nullptr || !shared_counts_.empty(),
                  std::memory_order_release);
  }

  mutable std::mutex mutex_;
  std::condition_variable released_;
  const void* exclusive_owner_ = nullptr;
  int exclusive_count_ = 0;
  std::string shared_key_;
  std::map<const void*, int> shared_counts_;
  // Some session holds a lock: while none does, CheckAccess needs no mutex.
  std::atomic<bool> locked_{false};
};

}  // namespace motqr::visa
