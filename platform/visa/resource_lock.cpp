#include "platform/visa/resource_lock.h"

#include <atomic>
#include <chrono>

namespace motqr::visa {
namespace {

struct LockRegistry {
  std::mutex mutex;
  std::map<std::string, std::weak_ptr<ResourceLock>> locks;
};

LockRegistry& Registry() {
  static LockRegistry* registry = new LockRegistry;  // lives as long as the process
  return *registry;
}

std::string NewKey() {
  static std::atomic<unsigned> next{1};
  return "motqr-lock-" + std::to_string(next.fetch_add(1));
}

Status LockedStatus() {
  return Status(VI_ERROR_RSRC_LOCKED, "The resource is locked by another VISA session.");
}

}  // namespace

std::shared_ptr<ResourceLock> ResourceLock::For(const std::string& key) {
  LockRegistry& registry = Registry();
  std::lock_guard<std::mutex> hold(registry.mutex);
  std::erase_if(registry.locks, [](const auto& entry) { return entry.second.expired(); });
  std::shared_ptr<ResourceLock> lock = registry.locks[key].lock();
  if (lock == nullptr) {
    lock = std::make_shared<ResourceLock>();
    registry.locks[key] = lock;
  }
  return lock;
}

bool ResourceLock::CanLockExclusive(const void* session) const {
  if (exclusive_owner_ != nullptr && exclusive_owner_ != session) return false;
  for (const auto& [holder, count] : shared_counts_) {
    if (holder != session) return false;
  }
  return true;
}

bool ResourceLock::CanLockShared(const void* session, std::string_view requested_key) const {
  if (exclusive_owner_ != nullptr && exclusive_owner_ != session) return false;
  return shared_counts_.empty() || shared_counts_.contains(session) || requested_key == shared_key_;
}

Status ResourceLock::Lock(const void* session, ViAccessMode mode, ViUInt32 timeout_ms,
                          std::string_view requested_key, std::string* access_key) {
  access_key->clear();
  if (mode != VI_EXCLUSIVE_LOCK && mode != VI_SHARED_LOCK) return Status(VI_ERROR_INV_LOCK_TYPE);
  const bool exclusive = mode == VI_EXCLUSIVE_LOCK;
  auto can_lock = [&] {
    return exclusive ? CanLockExclusive(session) : CanLockShared(session, requested_key);
  };
  std::unique_lock<std::mutex> hold(mutex_);
  // A session that shares a lock asks again with its key or none.
  if (!exclusive && shared_counts_.contains(session) && !requested_key.empty() &&
      requested_key != shared_key_) {
    return Status(VI_ERROR_INV_ACCESS_KEY);
  }
  if (timeout_ms == VI_TMO_INFINITE) {
    released_.wait(hold, can_lock);
  } else if (!released_.wait_for(hold, std::chrono::milliseconds(timeout_ms), can_lock)) {
    return LockedStatus();
  }
  if (exclusive) {
    exclusive_owner_ = session;
    NoteHolders();
    return Status(++exclusive_count_ > 1 ? VI_SUCCESS_NESTED_EXCLUSIVE : VI_SUCCESS);
  }
  if (shared_counts_.empty()) {
    shared_key_ = requested_key.empty() ? NewKey() : std::string(requested_key);
  }
  *access_key = shared_key_;
  const int count = ++shared_counts_[session];
  NoteHolders();
  return Status(count > 1 ? VI_SUCCESS_NESTED_SHARED : VI_SUCCESS);
}

Status ResourceLock::HeldStatus(const void* session) const {
  if (exclusive_owner_ == session) return Status(VI_SUCCESS_NESTED_EXCLUSIVE);
  if (shared_counts_.contains(session)) return Status(VI_SUCCESS_NESTED_SHARED);
  return Status();
}

Status ResourceLock::Unlock(const void* session) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (exclusive_owner_ == session) {
    if (--exclusive_count_ == 0) exclusive_owner_ = nullptr;
  } else if (auto found = shared_counts_.find(session); found != shared_counts_.end()) {
    if (--found->second == 0) shared_counts_.erase(found);
    if (shared_counts_.empty()) shared_key_.clear();
  } else {
    return Status(VI_ERROR_SESN_NLOCKED);
  }
  NoteHolders();
  released_.notify_all();
  return HeldStatus(session);
}

Status ResourceLock::CheckAccess(const void* session) const {
  // Every transfer asks: while no session holds a lock, one load answers.
  if (!locked_.load(std::memory_order_acquire)) return Status();
  std::lock_guard<std::mutex> hold(mutex_);
  if (exclusive_owner_ != nullptr && exclusive_owner_ != session) return LockedStatus();
  if (!shared_counts_.empty() && exclusive_owner_ != session && !shared_counts_.contains(session)) {
    return LockedStatus();
  }
  return Status();
}

void ResourceLock::ReleaseAll(const void* session) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (exclusive_owner_ == session) {
    exclusive_owner_ = nullptr;
    exclusive_count_ = 0;
  }
  shared_counts_.erase(session);
  if (shared_counts_.empty()) shared_key_.clear();
  NoteHolders();
  released_.notify_all();
}

}  // namespace motqr::visa
