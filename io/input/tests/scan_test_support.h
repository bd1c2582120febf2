// Shared pieces of the reply parser tests: an enum formatter with a small
// token table, and a way to run one format against one response.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/enum_formatter.h"
#include "io/input/formatted_input.h"
#include "io/input/testing/memory_reply_buffer.h"

namespace motqr::io::testing {

using com::E_INVALIDARG;
using com::E_OUTOFMEMORY;
using com::E_UNEXPECTED;
using com::S_OK;

// Booleans read "0"/"1"/"OFF"/"ON" (true as -1); the trigger enumeration
// "IMM"/"BUS"/"EXT"; the polarity enumeration "NORM"/"INV".
class FakeEnums final : public IEnumFormatter {
 public:
  static constexpr HRESULT kUnknownToken = com::MakeHresult(0x80047059u);

  HRESULT FormatEnum(std::string_view, std::int32_t, std::string*) override {
    return com::E_NOTIMPL;
  }
  HRESULT ParseEnum(std::string_view enum_name, std::string_view text,
                    std::int32_t* value) override {
    asked.emplace_back(enum_name, text);
    static const std::map<std::pair<std::string, std::string>, std::int32_t> kTable = {
        {{"VARIANT_BOOL", "0"}, 0},
        {{"VARIANT_BOOL", "1"}, -1},
        {{"VARIANT_BOOL", "OFF"}, 0},
        {{"VARIANT_BOOL", "ON"}, -1},
        {{"MorvaneTqrTriggerEnum", "IMM"}, 0},
        {{"MorvaneTqrTriggerEnum", "BUS"}, 1},
        {{"MorvaneTqrTriggerEnum", "EXT"}, 2},
        {{"MorvaneTqrIOPolarityEnum", "NORM"}, 0},
        {{"MorvaneTqrIOPolarityEnum", "INV"}, 1},
    };
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.remove_suffix(1);
    const auto it = kTable.find({std::string(enum_name), std::string(text)});
    if (it == kTable.end()) return kUnknownToken;
    *value = it->second;
    return S_OK;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 4; }

  std::vector<std::pair<std::string, std::string>> asked;
};

// Runs `format` against the response `reply` held in memory and insists that
// nothing was read beyond it.
template <class... Dests>
HRESULT ScanReply(std::string_view reply, std::string_view format, Dests&&... dests) {
  MemoryReplyBuffer buffer(reply);
  FakeEnums enums;
  const HRESULT hr = Scan(buffer, &enums, format, std::forward<Dests>(dests)...);
  EXPECT_EQ(buffer.reads_past_end(), 0) << "read beyond the response: " << format;
  return hr;
}

}  // namespace motqr::io::testing
