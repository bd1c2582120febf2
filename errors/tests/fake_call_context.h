// A call context for tests: each thread sets the member it pretends to run.
#pragma once

#include "errors/call_context.h"
#include "platform/com/error_info.h"

namespace motqr::errors::testing {

class FakeCallContext final : public ICallContextProvider {
 public:
  const MethodDescriptor* GetCallContext() override { return Current(); }
  static const MethodDescriptor*& Current() {
    thread_local const MethodDescriptor* current = nullptr;
    return current;
  }
};

// Makes `descriptor` the innermost call on this thread for one scope.
class ScopedCall {
 public:
  explicit ScopedCall(const MethodDescriptor* descriptor) : previous_(FakeCallContext::Current()) {
    FakeCallContext::Current() = descriptor;
  }
  ~ScopedCall() { FakeCallContext::Current() = previous_; }
  ScopedCall(const ScopedCall&) = delete;
  ScopedCall& operator=(const ScopedCall&) = delete;

 private:
  const MethodDescriptor* previous_;
};

// IIviDriverOperation, 47ed5188-a398-11d4-ba58-000064657374.
inline constexpr com::IID kIidIviDriverOperation{
    0x47ed5188, 0xa398, 0x11d4, {0xba, 0x58, 0x00, 0x00, 0x64, 0x65, 0x73, 0x74}};
inline constexpr com::CLSID kSomeClsid{
    0x0badf00d, 0x1, 0x2, {0x3, 0x4, 0x5, 0x6, 0x7, 0x8, 0x9, 0xa}};

inline MethodDescriptor MakeDescriptor(const com::IID& iid, const char* interface_name,
                                       const char* member_name) {
  return {iid, interface_name, member_name, QualifiedMemberName(interface_name, member_name)};
}

// The calling thread's error object, taken (cleared); empty record when none.
inline com::ErrorRecord TakeError(bool* present = nullptr) {
  com::ErrorRecord record;
  const bool found = com::TakeErrorInfo(&record);
  if (present) *present = found;
  return record;
}

}  // namespace motqr::errors::testing
