#include "platform/visa/session_lock.h"

#include <atomic>

namespace motqr::visa {
namespace {

std::string NewKey() {
  static std::atomic<unsigned> next{1};
  return "motqr-lock-" + std::to_string(next.fetch_add(1));
}

}  // namespace

Status SessionLock::Lock(ViAccessMode mode, std::string_view requested_key,
                         std::string* access_key) {
  access_key->clear();
  if (mode == VI_EXCLUSIVE_LOCK) {
    ++exclusive_count_;
    return Status(exclusive_count_ > 1 ? VI_SUCCESS_NESTED_EXCLUSIVE : VI_SUCCESS);
  }
  if (mode != VI_SHARED_LOCK) return Status(VI_ERROR_INV_LOCK_TYPE);
  if (shared_count_ > 0 && !requested_key.empty() && requested_key != shared_key_) {
    return Status(VI_ERROR_INV_ACCESS_KEY);
  }
  if (shared_count_ == 0) {
    shared_key_ = requested_key.empty() ? NewKey() : std::string(requested_key);
  }
  ++shared_count_;
  *access_key = shared_key_;
  return Status(shared_count_ > 1 ? VI_SUCCESS_NESTED_SHARED : VI_SUCCESS);
}

Status SessionLock::Unlock() {
  if (exclusive_count_ > 0) {
    --exclusive_count_;
  } else if (shared_count_ > 0) {
    --shared_count_;
  } else {
    return Status(VI_ERROR_SESN_NLOCKED);
  }
  if (exclusive_count_ > 0) return Status(VI_SUCCESS_NESTED_EXCLUSIVE);
  if (shared_count_ > 0) return Status(VI_SUCCESS_NESTED_SHARED);
  return Status();
}

}  // namespace motqr::visa
