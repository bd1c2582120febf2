// The enumeration list: well-formed rows (a C header is generated from the
// same rows, so a row naming the wrong enumeration would go unnoticed by the
// C++ compiler), and the error codes it shares with the driver. The C
// header's constants are checked against these rows in capi/tests. All checks
// run at compile time.
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "errors/status_codes.h"
#include "interfaces/enums.h"

namespace motqr {
namespace {

struct EnumRow {
  enum Kind { kBegin, kValue, kEnd } kind;
  std::string_view enumeration;
  std::string_view member;
  std::int64_t value;
};

constexpr EnumRow kRows[] = {
#define MOTQR_ENUM_BEGIN(Enum) {EnumRow::kBegin, #Enum, "", 0},
#define MOTQR_ENUM_VALUE(Enum, Member, value) {EnumRow::kValue, #Enum, #Member, value},
#define MOTQR_ENUM_END(Enum) {EnumRow::kEnd, #Enum, "", 0},
#include "interfaces/enums.def"
};

constexpr bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The instrument's members repeat the enumeration name without "Enum"; the
// class enumerations and the error codes are named otherwise.
constexpr bool MemberNamedAfter(std::string_view member, std::string_view enumeration) {
  if (!StartsWith(enumeration, "MorvaneTqr") || enumeration == "MorvaneTqrErrorCodesEnum") {
    return true;
  }
  return StartsWith(member, enumeration.substr(0, enumeration.size() - 4));
}

// Every enumeration opens, lists at least one member of its own in rising
// value order, and closes under its own name; values fit 32 bits.
constexpr int CountWellFormedEnumerations() {
  int count = 0;
  std::string_view open;
  int members = 0;
  std::int64_t last = 0;
  for (const EnumRow& row : kRows) {
    switch (row.kind) {
      case EnumRow::kBegin:
        if (!open.empty()) return -1;
        open = row.enumeration;
        members = 0;
        break;
      case EnumRow::kValue:
        if (row.enumeration != open || !MemberNamedAfter(row.member, open)) return -1;
        if (members > 0 && row.value <= last) return -1;
        if (row.value < INT32_MIN || row.value > INT32_MAX) return -1;
        last = row.value;
        ++members;
        break;
      case EnumRow::kEnd:
        if (row.enumeration != open || members == 0) return -1;
        open = {};
        ++count;
        break;
    }
  }
  return open.empty() ? count : -1;
}
// 26 instrument enumerations with tokens, Beep, TransientState, ErrorCodes,
// and 5 IviDCPwr class enumerations.
static_assert(CountWellFormedEnumerations() == 34);

static_assert(sizeof(MorvaneTqrTriggerSystemEnum) == 4);
static_assert(std::is_same_v<std::underlying_type_t<IviDCPwrTriggerSourceEnum>, std::int32_t>);

// The type library's error codes are the status codes the driver returns.
static_assert(com::HRESULT{E_MORVANETQR_IO_GENERAL} == errors::E_MORVANETQR_IO_GENERAL);
static_assert(com::HRESULT{E_MORVANETQR_IO_TIMEOUT} == errors::E_MORVANETQR_IO_TIMEOUT);
static_assert(com::HRESULT{E_MORVANETQR_MODEL_NOT_SUPPORTED} ==
              errors::E_MORVANETQR_MODEL_NOT_SUPPORTED);
static_assert(E_MORVANETQR_IO_GENERAL == com::MakeHresult(0x80044214u));

}  // namespace
}  // namespace motqr
