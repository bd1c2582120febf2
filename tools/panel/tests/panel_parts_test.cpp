// The panel's parts that need no instrument: reading request bodies, the
// address rule for the access token, and the event hub's fan-out.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "tools/panel/event_hub.h"
#include "tools/panel/json.h"
#include "tools/panel/panel_options.h"

namespace motqr::panel {
namespace {

using namespace std::chrono_literals;

TEST(RequestBody, ReadsTheValueOfEveryKind) {
  EXPECT_EQ(ReadValueField(R"({"value": 5})"), RequestValue(5.0));
  EXPECT_EQ(ReadValueField(R"({"value":-1.5e-3})"), RequestValue(-0.0015));
  EXPECT_EQ(ReadValueField(R"( { "value" : true } )"), RequestValue(true));
  EXPECT_EQ(ReadValueField(R"({"value": false})"), RequestValue(false));
  EXPECT_EQ(ReadValueField(R"({"value": "CV"})"), RequestValue(std::string("CV")));
  // Escapes, \u included (U+00B5 is two bytes of UTF-8, U+2126 three).
  EXPECT_EQ(ReadValueField(R"({"value": "a\"b\\c\n\u00b5\u2126"})"),
            RequestValue(std::string("a\"b\\c\n\xC2\xB5\xE2\x84\xA6")));
  // Other members, nested ones too, are passed over.
  EXPECT_EQ(ReadValueField(R"({"from": {"tab": [1, "}"]}, "value": 2, "x": null})"),
            RequestValue(2.0));
}

TEST(RequestBody, RefusesWhatIsNotOneObjectWithAValue) {
  for (const char* body :
       {"", "5", "[]", "{}", R"({"other": 1})", R"({"value": })", R"({"value": 1,})",
        R"({"value": 1} x)", R"({"value": [1]})", R"({"value": "open)", R"({"value": nan})",
        R"({"value": 1e999})", R"({"value": "\x"})", "{\"value\": \"a\nb\"}"}) {
    EXPECT_FALSE(ReadValueField(body).has_value()) << body;
  }
}

TEST(ReplyJson, NumbersAreLocaleFreeAndExact) {
  EXPECT_EQ(JsonNumber(0.1), "0.1");
  EXPECT_EQ(JsonNumber(12.3456789), "12.3456789");
  EXPECT_EQ(JsonNumber(-2e-7), "-2e-07");
  EXPECT_EQ(JsonNumber(NAN), "null");
  EXPECT_EQ(JsonObject().Text("a", "q\"").Number("b", 1).Boolean("c", false).Close(),
            R"({"a":"q\"","b":1,"c":false})");
}

TEST(Listening, OnlyLoopbackGoesWithoutAToken) {
  for (const char* address :
       {"127.0.0.1", "127.3.2.1", "::1", "[::1]", "localhost", "::ffff:127.0.0.1"})
    EXPECT_TRUE(IsLoopbackAddress(address)) << address;
  for (const char* address : {"0.0.0.0", "::", "192.168.1.20", "10.0.0.1", "128.0.0.1",
                              "::ffff:10.0.0.1", "fe80::1", "bench-pc", "127.0.0.1.example"})
    EXPECT_FALSE(IsLoopbackAddress(address)) << address;

  PanelOptions loopback, wide, asked;
  const std::vector<std::string> plain = {"--port", "0"};
  const std::vector<std::string> all = {"--listen=0.0.0.0"};
  const std::vector<std::string> token = {"--token", "--rate", "5"};
  ASSERT_TRUE(ParsePanelArguments(plain, &loopback).ok());
  ASSERT_TRUE(ParsePanelArguments(all, &wide).ok());
  ASSERT_TRUE(ParsePanelArguments(token, &asked).ok());
  EXPECT_FALSE(loopback.token);
  EXPECT_TRUE(wide.token);
  EXPECT_TRUE(asked.token);
  EXPECT_EQ(asked.rate_hz, 5);
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port"},
                                              {"--port", "65536"},
                                              {"--rate", "50"},
                                              {"--rate", "0"},
                                              {"--listen", ""},
                                              {"extra"},
                                              {"--token=yes"}}) {
    PanelOptions o;
    EXPECT_EQ(ParsePanelArguments(bad, &o).exit_code(), cli::Status::kUsageExit) << bad[0];
  }
}

TEST(AccessToken, IsFreshRandomHex) {
  std::string a, b;
  ASSERT_TRUE(NewAccessToken(&a).ok());
  ASSERT_TRUE(NewAccessToken(&b).ok());
  EXPECT_EQ(a.size(), 32u);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(a, b);
  EXPECT_TRUE(SameToken(a, a));
  EXPECT_FALSE(SameToken(a, b));
  EXPECT_FALSE(SameToken(a, a.substr(0, 31)));
  EXPECT_FALSE(SameToken(a, ""));
}

TEST(EventHub, NewStreamGetsTheLatestOfEachKindThenWhatFollows) {
  EventHub hub;
  hub.Publish("reading", "1");
  hub.Publish("settings", "{}");
  hub.Publish("reading", "2");
  std::uint64_t next = 0;
  EXPECT_EQ(hub.Subscribe(&next), "event: reading\ndata: 2\n\nevent: settings\ndata: {}\n\n");
  std::string text;
  EXPECT_TRUE(hub.Wait(&next, 0ms, &text));
  EXPECT_EQ(text, "");                  // nothing new
  hub.PublishChange("settings", "{}");  // no change, no event
  hub.Publish("reading", "3");
  EXPECT_TRUE(hub.Wait(&next, 1s, &text));
  EXPECT_EQ(text, "event: reading\ndata: 3\n\n");
}

TEST(EventHub, EveryStreamSeesEveryEventAndALateOneSkipsAhead) {
  EventHub hub;
  std::uint64_t fast = 0, slow = 0;
  hub.Subscribe(&fast);
  hub.Subscribe(&slow);
  std::string got;
  std::thread reader([&] {
    while (got.find("data: 9\n") == std::string::npos) hub.Wait(&fast, 1s, &got);
  });
  for (int i = 0; i < 10; ++i) hub.Publish("reading", std::to_string(i));
  reader.join();
  for (int i = 0; i < 10; ++i) EXPECT_NE(got.find("data: " + std::to_string(i) + "\n"), got.npos);
  // The slow stream read nothing while many more came: it goes on from the oldest kept.
  for (std::size_t i = 10; i < EventHub::kKept + 20; ++i) hub.Publish("reading", std::to_string(i));
  std::string late;
  ASSERT_TRUE(hub.Wait(&slow, 0ms, &late));
  EXPECT_EQ(late.rfind("event: reading\ndata: 20\n\n", 0), 0u);
  EXPECT_NE(late.find("data: " + std::to_string(EventHub::kKept + 19) + "\n"), late.npos);
}

TEST(EventHub, ClosingWakesWaitersAndStreamsAreCounted) {
  EventHub hub;
  ASSERT_TRUE(hub.Join(2));
  ASSERT_TRUE(hub.Join(2));
  EXPECT_FALSE(hub.Join(2));
  hub.Leave();
  EXPECT_EQ(hub.streams(), 1);
  std::uint64_t next = 0;
  hub.Subscribe(&next);
  std::thread closer([&] {
    std::this_thread::sleep_for(50ms);
    hub.Close();
  });
  std::string text;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(hub.Wait(&next, 30s, &text));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  closer.join();
}

}  // namespace
}  // namespace motqr::panel
