// Shared pieces of the reply parser tests: an enum formatter with a small
// token table, and ways to run one format against one response and see the
// status and what the destination got as one piece of text.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
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

// "<value>" when the scan took the whole response, "<value> +more" when data
// were left, "<status>: <value>" when it failed (the value then shows whether
// the destination was left alone).
template <class T>
std::string Outcome(HRESULT hr, const T& value) {
  std::ostringstream text;
  text.precision(15);
  if (com::Failed(hr)) {
    static const std::map<HRESULT, const char*> kNames = {
        {E_UNEXPECTED, "unexpected"},
        {E_OUTOFMEMORY, "out of memory"},
        {E_INVALIDARG, "invalid"},
        {com::DISP_E_TYPEMISMATCH, "type mismatch"},
        {FakeEnums::kUnknownToken, "unknown token"}};
    const auto name = kNames.find(hr);
    if (name != kNames.end()) text << name->second << ": ";
    if (name == kNames.end())
      text << std::hex << static_cast<std::uint32_t>(hr) << std::dec << ": ";
  }
  if constexpr (std::is_arithmetic_v<T>) {
    text << +value;
  } else {
    text << value;
  }
  if (hr == S_MORE_DATA) text << " +more";
  return text.str();
}

// Runs `format` on `reply` into one destination of type T that starts as `start`.
template <class T>
std::string ScanValue(std::string_view reply, std::string_view format, T start = T{}) {
  T value = start;
  const HRESULT hr = ScanReply(reply, format, &value);
  return Outcome(hr, value);
}

// A one-dimensional, zero-based safe array as "<element type> <e0>,<e1>,...", "null" when absent.
inline std::string ArrayText(const com::SafeArray& array) {
  if (!array) return "null";
  EXPECT_EQ(com::SafeArrayGetDim(array.Get()), 1u);
  EXPECT_EQ(array.Get()->rgsabound[0].lLbound, 0);
  std::ostringstream text;
  text.precision(15);
  auto list = [&](const char* type, auto elements) {
    text << type << ' ';
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (i > 0) text << ',';
      if constexpr (std::is_arithmetic_v<std::remove_cvref_t<decltype(elements[i])>>) {
        text << +elements[i];
      } else {
        text << com::BstrToUtf8(elements[i]);
      }
    }
  };
  const com::VARTYPE vt = array.vt();
  if (vt == com::VT_UI1) list("UI1", array.Data<std::uint8_t>());
  if (vt == com::VT_I2) list("I2", array.Data<std::int16_t>());
  if (vt == com::VT_I4) list("I4", array.Data<std::int32_t>());
  if (vt == com::VT_I8) list("I8", array.Data<std::int64_t>());
  if (vt == com::VT_R4) list("R4", array.Data<float>());
  if (vt == com::VT_R8) list("R8", array.Data<double>());
  if (vt == com::VT_BSTR) list("BSTR", array.Data<com::BSTR>());
  return text.str();
}

// Runs `format` on `reply` into a new safe array.
inline std::string ScanArray(std::string_view reply, std::string_view format) {
  com::SafeArray array;
  const HRESULT hr = ScanReply(reply, format, array.Put());
  return Outcome(hr, ArrayText(array));
}

}  // namespace motqr::io::testing
