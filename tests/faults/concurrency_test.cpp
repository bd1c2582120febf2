// Eight threads share two sessions to one tqr-sim and interleave queries of
// different shapes (and a command) for a bounded time. Every reply must be the
// one its own query asked for: a reply handed to another caller, or read half
// by one thread and half by another, shows up as a wrong value or a failure.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/e2e/sim_process.h"
#include "tests/faults/fault_session.h"

namespace motqr::faults {
namespace {

constexpr int kThreads = 8;
constexpr int kMaxCallsPerThread = 600;
constexpr auto kRunTime = milliseconds(1500);

struct Query {
  const char* expected;
  Outcome (*call)(FaultSession&);
};

const std::array<Query, 7> kQueries = {
    Query{"5.5",
          [](FaultSession& s) {
            double v = 0;
            const com::HRESULT hr = s.channel->get_VoltageLevel(&v);
            return s.Finish(hr, Text(v));
          }},
    Query{"1.25",
          [](FaultSession& s) {
            double v = 0;
            const com::HRESULT hr = s.channel->get_CurrentLevel(&v);
            return s.Finish(hr, Text(v));
          }},
    Query{"321",
          [](FaultSession& s) {
            double v = 0;
            const com::HRESULT hr = s.channel->get_PowerLevel(&v);
            return s.Finish(hr, Text(v));
          }},
    Query{"-100;100",
          [](FaultSession& s) {
            double low = 0, high = 0;
            const com::HRESULT hr = s.channel->QueryVoltageLevelMinMax(&low, &high);
            return s.Finish(hr, Text(low) + ";" + Text(high));
          }},
    Query{"100,20,1000,TQR-M4",
          [](FaultSession& s) {
            com::ComPtr<IMorvaneTqrGlobal> global;
            s.tqr->get_Global(global.Put());
            double volts = 0, amps = 0, watts = 0;
            com::Bstr model;
            const com::HRESULT hr = global->QueryInformation(&volts, &amps, &watts, model.Put());
            return s.Finish(hr,
                            Text(volts) + "," + Text(amps) + "," + Text(watts) + "," + Text(model));
          }},
    Query{"0,No error",
          [](FaultSession& s) {
            std::int32_t code = -1;
            com::Bstr text;
            const com::HRESULT hr = As<IIviDriverUtility>(s.driver)->ErrorQuery(&code, text.Put());
            return s.Finish(hr, std::to_string(code) + "," + Text(text));
          }},
    Query{"",  // a command between the queries, setting what is already set
          [](FaultSession& s) { return s.Finish(s.channel->put_VoltageLevel(5.5)); }},
};

TEST(Concurrency, EightThreadsOnTwoSessionsEachGetTheirOwnReplies) {
  e2e::SimProcess sim;
  ASSERT_TRUE(sim.ok()) << sim.error();
  std::array<FaultSession, 2> sessions;
  for (FaultSession& s : sessions) {
    ASSERT_EQ(s.Open(sim.SocketResource(), 2000), com::S_OK) << LastError();
  }
  ASSERT_EQ(sessions[0].channel->put_VoltageLevel(5.5), com::S_OK) << LastError();
  ASSERT_EQ(sessions[0].channel->put_CurrentLevel(1.25), com::S_OK) << LastError();
  ASSERT_EQ(sessions[1].channel->put_PowerLevel(321), com::S_OK) << LastError();

  std::atomic<int> calls{0};
  std::mutex mutex;
  std::vector<std::string> wrong;  // the first few wrong replies
  std::atomic<int> wrong_count{0};
  const auto deadline = Clock::now() + kRunTime;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kMaxCallsPerThread && Clock::now() < deadline; ++i) {
        // Each thread walks the queries in its own order, on both sessions.
        const Query& q = kQueries[static_cast<std::size_t>(t * 3 + i) % kQueries.size()];
        const Outcome got = q.call(sessions[static_cast<std::size_t>(t + i) % sessions.size()]);
        ++calls;
        if (got.hr == com::S_OK && got.value == q.expected) continue;
        ++wrong_count;
        std::lock_guard lock(mutex);
        if (wrong.size() < 5) {
          wrong.push_back(std::string("expected '") + q.expected + "', got '" + got.value + "' " +
                          got.error);
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  const auto ran = std::chrono::duration_cast<milliseconds>(Clock::now() - (deadline - kRunTime));
  std::printf("%d calls in %lld ms\n", calls.load(), static_cast<long long>(ran.count()));
  EXPECT_EQ(wrong_count, 0) << ::testing::PrintToString(wrong);
  EXPECT_GE(calls, kThreads * 10);  // it really ran interleaved
  for (FaultSession& s : sessions) EXPECT_EQ(s.Close(), com::S_OK);
}

}  // namespace
}  // namespace motqr::faults
