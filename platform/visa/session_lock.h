// The lock state of one session on a built-in transport. A built-in transport is opened by
// one session only, so its locks nest and are always granted; the key of a shared lock is
// kept and checked.
#pragma once

#include <string>
#include <string_view>

#include "platform/visa/status.h"
#include "platform/visa/visa_types.h"

namespace motqr::visa {

class SessionLock {
 public:
  // VI_EXCLUSIVE_LOCK or VI_SHARED_LOCK; `access_key` receives the key of a shared lock (the
  // requested one, or a generated one when none was requested) and is empty otherwise.
  Status Lock(ViAccessMode mode, std::string_view requested_key, std::string* access_key);
  Status Unlock();

 private:
  int exclusive_count_ = 0;
  int shared_count_ = 0;
  std::string shared_key_;
};

}  // namespace motqr::visa
