// Kept in its own file, listed first, so that it is the first use of the
// tables in the process when the whole binary runs (ctest runs each test in a
// process of its own anyway).
#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "commands/enumerations.h"
#include "commands/find_enum_converter.h"

namespace motqr::commands {
namespace {

struct Lookup {
  std::string enum_name;
  std::string member;
};

std::vector<Lookup> EveryLookup() {
  std::vector<Lookup> lookups;
  for (const Enumeration& e : Enumerations()) {
    if (!e.members) continue;
    const std::string name = e.forms == NameForms::kShortOnly ? std::string(e.short_name)
                             : e.forms == NameForms::kClass
                                 ? "IviDCPwr" + std::string(e.short_name) + "Enum"
                                 : "MorvaneTqr" + std::string(e.short_name) + "Enum";
    lookups.push_back({name, ""});
    for (const MemberTable& t : e.members()) lookups.push_back({name, std::string(t.member)});
  }
  lookups.push_back({"VARIANT_BOOL", "IMorvaneTqrOutputChannel.VoltageLevel"});
  return lookups;
}

TEST(CommandTablesConcurrency, FirstUseFromManyThreadsBuildsEachConverterOnce) {
  const std::vector<Lookup> lookups = EveryLookup();
  constexpr int kThreads = 8;
  std::vector<std::vector<const IEnumCommandConverter*>> seen(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto& mine = seen[static_cast<std::size_t>(t)];
      mine.resize(lookups.size());
      start.arrive_and_wait();
      // Half the threads walk backwards so that builds of different tables overlap.
      for (std::size_t k = 0; k < lookups.size(); ++k) {
        const std::size_t i = t % 2 ? lookups.size() - 1 - k : k;
        const auto* c = FindEnumConverter(lookups[i].enum_name, lookups[i].member);
        mine[i] = c;
        std::string token;
        if (c) (void)c->GetCommand("TQR-M4", 0, &token);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (std::size_t i = 0; i < lookups.size(); ++i) {
    ASSERT_NE(seen[0][i], nullptr) << lookups[i].enum_name << " " << lookups[i].member;
    for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[static_cast<std::size_t>(t)][i], seen[0][i]);
  }
}

}  // namespace
}  // namespace motqr::commands
