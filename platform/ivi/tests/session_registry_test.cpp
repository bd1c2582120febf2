#include "platform/ivi/session_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace motqr::ivi {
namespace {

using namespace std::chrono_literals;

// A session that is disposed at the end of the test.
struct ScopedSession {
  ScopedSession() { EXPECT_EQ(IviSession_New(&vi), 0); }
  ~ScopedSession() { IviSession_Dispose(vi); }
  ViSession vi = 0;
};

std::string TakeError(ViSession vi, ViStatus* code) {
  char text[256];
  EXPECT_EQ(IviSession_GetError(vi, sizeof text, code, text), 0);
  return text;
}

TEST(SessionRegistryTest, HandlesAreDistinctNonZeroAndDieWithDispose) {
  std::set<ViSession> seen;
  std::vector<ViSession> live;
  for (int i = 0; i < 100; ++i) {
    ViSession vi = 0;
    ASSERT_EQ(IviSession_New(&vi), 0);
    EXPECT_NE(vi, 0u);
    EXPECT_TRUE(seen.insert(vi).second) << "handle " << vi << " issued twice";
    live.push_back(vi);
  }
  for (ViSession vi : live) EXPECT_EQ(IviSession_Dispose(vi), 0);
  ViAddr data = nullptr;
  EXPECT_EQ(IviSession_GetDataPtr(live[0], &data), kIviErrorInvalidSessionHandle);
  EXPECT_EQ(IviSession_Dispose(live[0]), kIviErrorInvalidSessionHandle);
  EXPECT_EQ(IviSession_Lock(live[0], nullptr), kIviErrorInvalidSessionHandle);
  EXPECT_EQ(IviSession_SetDataPtr(0, nullptr), kIviErrorInvalidSessionHandle);
  EXPECT_EQ(IviSession_New(nullptr), kIviErrorNullPointer);
}

TEST(SessionRegistryTest, KeepsOneDataPointerPerSession) {
  ScopedSession a, b;
  int x = 0, y = 0;
  ASSERT_EQ(IviSession_SetDataPtr(a.vi, &x), 0);
  ASSERT_EQ(IviSession_SetDataPtr(b.vi, &y), 0);
  ViAddr data = nullptr;
  ASSERT_EQ(IviSession_GetDataPtr(a.vi, &data), 0);
  EXPECT_EQ(data, &x);
  ASSERT_EQ(IviSession_GetDataPtr(b.vi, &data), 0);
  EXPECT_EQ(data, &y);
  EXPECT_EQ(IviSession_GetDataPtr(a.vi, nullptr), kIviErrorNullPointer);
}

TEST(SessionRegistryTest, LastErrorPerSessionIsReadOnceAndSizeQueriesKeepIt) {
  ScopedSession a, b;
  ASSERT_EQ(IviSession_SetError(a.vi, -5, "first"), 0);
  ASSERT_EQ(IviSession_SetError(a.vi, -6, "second failure"), 0);
  ASSERT_EQ(IviSession_SetError(b.vi, 7, "a warning"), 0);

  ViStatus code = 0;
  EXPECT_EQ(IviSession_GetError(a.vi, 0, &code, nullptr), 15);
  char small[4];
  EXPECT_EQ(IviSession_GetError(a.vi, sizeof small, &code, small), 15);
  EXPECT_STREQ(small, "sec");
  EXPECT_EQ(TakeError(a.vi, &code), "second failure");
  EXPECT_EQ(code, -6);
  EXPECT_EQ(TakeError(a.vi, &code), "") << "reading the whole text clears the error";
  EXPECT_EQ(code, 0);
  EXPECT_EQ(TakeError(b.vi, &code), "a warning");
  EXPECT_EQ(code, 7);

  ASSERT_EQ(IviSession_SetError(a.vi, -1, nullptr), 0);
  ASSERT_EQ(IviSession_ClearError(a.vi), 0);
  EXPECT_EQ(TakeError(a.vi, &code), "");
  EXPECT_EQ(IviSession_GetError(a.vi, 10, nullptr, small), kIviErrorNullPointer);
}

TEST(SessionRegistryTest, HandleZeroKeepsOneErrorPerThread) {
  ASSERT_EQ(IviSession_SetError(0, -1, "main thread"), 0);
  std::thread other([] {
    ViStatus code = 1;
    EXPECT_EQ(TakeError(0, &code), "");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(IviSession_SetError(0, -2, "other thread"), 0);
  });
  other.join();
  ViStatus code = 0;
  EXPECT_EQ(TakeError(0, &code), "main thread");
  EXPECT_EQ(code, -1);
}

TEST(SessionRegistryTest, CallerHasLockFlagMakesLockAndUnlockIdempotent) {
  ScopedSession s;
  ViBoolean has = kViFalse;
  ASSERT_EQ(IviSession_Lock(s.vi, &has), 0);
  EXPECT_EQ(has, kViTrue);
  ASSERT_EQ(IviSession_Lock(s.vi, &has), 0) << "already held: nothing happens";
  ASSERT_EQ(IviSession_Lock(s.vi, nullptr), 0) << "recursive without a flag";
  ASSERT_EQ(IviSession_Unlock(s.vi, nullptr), 0);
  ASSERT_EQ(IviSession_Unlock(s.vi, &has), 0);
  EXPECT_EQ(has, kViFalse);
  ASSERT_EQ(IviSession_Unlock(s.vi, &has), 0) << "flag false: nothing happens";
  EXPECT_EQ(IviSession_Unlock(s.vi, nullptr), kIviErrorCannotRecover) << "not held any more";
}

TEST(SessionRegistryTest, LockKeepsOtherThreadsOutUntilReleased) {
  ScopedSession s;
  int data = 0;
  ASSERT_EQ(IviSession_SetDataPtr(s.vi, &data), 0);
  ASSERT_EQ(IviSession_Lock(s.vi, nullptr), 0);
  ViAddr seen = nullptr;
  ASSERT_EQ(IviSession_GetDataPtrUnlocked(s.vi, &seen), 0) << "the holder does not wait";
  EXPECT_EQ(seen, &data);
  std::atomic<bool> entered{false}, read{false};
  std::thread other([&] {
    EXPECT_EQ(IviSession_Unlock(s.vi, nullptr), kIviErrorCannotRecover) << "not the holder";
    ASSERT_EQ(IviSession_Lock(s.vi, nullptr), 0);
    entered = true;
    IviSession_Unlock(s.vi, nullptr);
  });
  std::thread reader([&] {
    ViAddr p = nullptr;
    ASSERT_EQ(IviSession_GetDataPtrUnlocked(s.vi, &p), 0);
    read = p == &data;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(entered.load());
  EXPECT_FALSE(read.load());
  ASSERT_EQ(IviSession_Unlock(s.vi, nullptr), 0);
  other.join();
  reader.join();
  EXPECT_TRUE(entered.load());
  EXPECT_TRUE(read.load());
}

TEST(SessionRegistryTest, DisposeReleasesThreadsWaitingForTheLock) {
  ViSession vi = 0;
  ASSERT_EQ(IviSession_New(&vi), 0);
  ASSERT_EQ(IviSession_Lock(vi, nullptr), 0);
  std::atomic<ViStatus> waited{1};
  std::thread other([&] { waited = IviSession_Lock(vi, nullptr); });
  std::this_thread::sleep_for(30ms);
  ASSERT_EQ(IviSession_Dispose(vi), 0);
  other.join();
  EXPECT_EQ(waited.load(), kIviErrorInvalidSessionHandle);
}

TEST(SessionRegistryTest, ConcurrentUseFromManyThreads) {
  constexpr int kThreads = 8, kRounds = 200;
  std::vector<std::vector<ViSession>> issued(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kRounds; ++i) {
        ViSession vi = 0;
        ASSERT_EQ(IviSession_New(&vi), 0);
        issued[static_cast<std::size_t>(t)].push_back(vi);
        ViBoolean has = kViFalse;
        ASSERT_EQ(IviSession_Lock(vi, &has), 0);
        const std::string text = "thread " + std::to_string(t);
        ASSERT_EQ(IviSession_SetError(vi, -t, text.c_str()), 0);
        ViStatus code = 0;
        EXPECT_EQ(TakeError(vi, &code), text);
        ASSERT_EQ(IviSession_Unlock(vi, &has), 0);
        if (i % 2 == 0) {
          ASSERT_EQ(IviSession_Dispose(vi), 0);
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  std::set<ViSession> all;
  for (int t = 0; t < kThreads; ++t) {
    const auto& list = issued[static_cast<std::size_t>(t)];
    for (std::size_t i = 0; i < list.size(); ++i) {
      all.insert(list[i]);
      if (i % 2 == 1) IviSession_Dispose(list[i]);
    }
  }
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kRounds));
}

}  // namespace
}  // namespace motqr::ivi
