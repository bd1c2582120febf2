// Reports when memory runs out: the N-th allocation of a report fails, for
// every N until the report no longer allocates that many times. A report must
// never throw; it either completes, ends with E_OUTOFMEMORY, or (when only the
// error object could not be created) returns its code with the thread's error
// object left as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "errors/morvane_tqr_error_reporter.h"
#include "errors/status_codes.h"
#include "errors/tests/fake_call_context.h"

namespace {
// Allocations left before operator new fails on this thread; -1: no limit.
thread_local long g_allocations_left = -1;
}  // namespace

void* operator new(std::size_t size) {
  if (g_allocations_left == 0) throw std::bad_alloc();
  if (g_allocations_left > 0) --g_allocations_left;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return ::operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace motqr::errors {
namespace {

using testing::TakeError;

constexpr long kMaxAllocations = 500;

template <class Report>
void FailEachAllocation(Report report, HRESULT code, const std::string& description) {
  const com::ErrorRecord sentinel{"before", "", com::GUID_NULL, "", 0};
  long n = 0;
  long failed_reports = 0;
  for (; n < kMaxAllocations; ++n) {
    ASSERT_EQ(com::SetErrorRecord(sentinel), com::S_OK);
    g_allocations_left = n;
    const HRESULT hr = report();
    const bool ran_out = g_allocations_left == 0;
    g_allocations_left = -1;
    const com::ErrorRecord e = TakeError();
    SCOPED_TRACE(n);
    if (!ran_out) {  // the report needed fewer than n allocations: complete
      EXPECT_EQ(hr, code);
      EXPECT_EQ(e.description, description);
      break;
    }
    ++failed_reports;
    if (hr == com::E_OUTOFMEMORY || e.description == sentinel.description) {
      EXPECT_EQ(e.description, sentinel.description);
    } else {
      EXPECT_EQ(hr, code);
      EXPECT_EQ(e.description, description);
    }
  }
  EXPECT_LT(n, kMaxAllocations);
  EXPECT_GT(failed_reports, 0) << "no allocation was made to fail";
}

TEST(ReporterMemory, EveryFailedAllocationEndsTheReportCleanly) {
  testing::FakeCallContext context;
  CMorvaneTqrErrorReporter reporter(testing::kSomeClsid, &context);
  const MethodDescriptor call = testing::MakeDescriptor(
      testing::kIidIviDriverOperation, "IMorvaneTqrOutputChannel", "put_VoltageLevel");
  testing::ScopedCall scope(&call);
  const std::string long_extra(300, 'x');  // beyond any small-string buffer

  FailEachAllocation(
      [&] { return reporter.InvalidValueDoubleCurrent("val", 1.5, "%.15g", long_extra); },
      E_IVI_INVALID_VALUE,
      "MorvaneTqr: Invalid value '1.5' for method 'put_VoltageLevel', parameter "
      "'val'.\r\n" +
          long_extra);
  FailEachAllocation(
      [&] { return reporter.InvalidValueWideCurrent("val", u"a wide value to convert"); },
      E_IVI_INVALID_VALUE,
      "MorvaneTqr: Invalid value 'a wide value to convert' for method "
      "'put_VoltageLevel', parameter 'val'.");
  FailEachAllocation([&] { return reporter.ReportError(77); }, com::DISP_E_EXCEPTION,
                     "Internal Error: Unable to retrieve and format error message from message "
                     "table.\nResource ID = 77\nLanguage ID = 0\nReason = 'There is no message "
                     "with this number in the message table.'");
}

}  // namespace
}  // namespace motqr::errors
