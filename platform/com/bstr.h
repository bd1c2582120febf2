// Length-prefixed wide strings (UTF-16) as the component interfaces pass them.
//
// A BSTR points at the first character; the byte length is stored in the four
// bytes before it and a zero character follows the text. A null BSTR and an
// empty one are different values: null means "no string", and it reads as empty.
//
//   BSTR s = SysAllocString(u"5 V");   // caller owns s
//   SysStringLen(s) == 3;
//   SysFreeString(s);
//
//   Bstr text = Bstr::FromUtf8("OutputChannel1");   // RAII owner
//   std::string back = text.ToUtf8();
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/types.h"

namespace motqr::com {

using BSTR = char16_t*;

// Allocation functions; every BSTR handed across an interface comes from these,
// and whoever receives one frees it with SysFreeString.
MOTQR_EXPORT BSTR SysAllocString(const char16_t* text);
MOTQR_EXPORT BSTR SysAllocStringLen(const char16_t* text, std::uint32_t length);
MOTQR_EXPORT void SysFreeString(BSTR text);
MOTQR_EXPORT std::uint32_t SysStringLen(BSTR text);

// UTF-8 <-> UTF-16. Invalid input sequences become U+FFFD; never fails otherwise.
MOTQR_EXPORT std::u16string Utf8ToUtf16(std::string_view utf8);
MOTQR_EXPORT std::string Utf16ToUtf8(std::u16string_view utf16);

// The text of a BSTR (empty for null) as a view or as UTF-8.
inline std::u16string_view BstrView(const char16_t* text) {
  return text ? std::u16string_view(text, SysStringLen(const_cast<BSTR>(text)))
              : std::u16string_view();
}
inline std::string BstrToUtf8(const char16_t* text) { return Utf16ToUtf8(BstrView(text)); }
// A new BSTR from UTF-8 text; null only when memory runs out.
MOTQR_EXPORT BSTR AllocBstrFromUtf8(std::string_view utf8);

// Owns one BSTR (or null).
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::u16string_view text)
      : s_(SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()))) {}
  static Bstr FromUtf8(std::string_view utf8) { return Attach(AllocBstrFromUtf8(utf8)); }
  static Bstr Attach(BSTR s) {
    Bstr b;
    b.s_ = s;
    return b;
  }
  Bstr(const Bstr& other) : s_(other.s_ ? SysAllocStringLen(other.s_, other.size()) : nullptr) {}
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr& operator=(Bstr other) noexcept {
    std::swap(s_, other.s_);
    return *this;
  }
  ~Bstr() { SysFreeString(s_); }

  BSTR Get() const { return s_; }
  BSTR Detach() { return std::exchange(s_, nullptr); }
  // For out-parameters: frees what is held and hands out the slot.
  BSTR* Put() {
    Reset();
    return &s_;
  }
  void Reset() { SysFreeString(std::exchange(s_, nullptr)); }

  bool IsNull() const { return s_ == nullptr; }
  std::uint32_t size() const { return SysStringLen(s_); }
  std::u16string_view View() const { return BstrView(s_); }
  std::string ToUtf8() const { return BstrToUtf8(s_); }

 private:
  BSTR s_ = nullptr;
};

}  // namespace motqr::com
