#include "platform/com/bstr.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace motqr::com {
namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);
constexpr char16_t kReplacement = 0xFFFD;

std::uint32_t* PrefixOf(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<unsigned char*>(text) - kPrefix);
}

}  // namespace

BSTR SysAllocStringLen(const char16_t* text, std::uint32_t length) {
  constexpr std::size_t kMaxChars = (std::numeric_limits<std::uint32_t>::max() - kPrefix) / 2 - 1;
  if (length > kMaxChars) return nullptr;
  const std::size_t bytes = std::size_t{length} * sizeof(char16_t);
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(char16_t)));
  if (!block) return nullptr;
  const auto byte_len = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &byte_len, kPrefix);
  auto* chars = reinterpret_cast<char16_t*>(block + kPrefix);
  if (text && length) std::memcpy(chars, text, bytes);
  if (!text) std::memset(chars, 0, bytes);
  chars[length] = 0;
  return chars;
}

BSTR SysAllocString(const char16_t* text) {
  if (!text) return nullptr;
  std::size_t n = 0;
  while (text[n]) ++n;
  if (n > std::numeric_limits<std::uint32_t>::max()) return nullptr;
  return SysAllocStringLen(text, static_cast<std::uint32_t>(n));
}

void SysFreeString(BSTR text) {
  if (text) std::free(PrefixOf(text));
}

std::uint32_t SysStringLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t bytes;
  std::memcpy(&bytes, PrefixOf(text), kPrefix);
  return bytes / 2;
}

std::u16string Utf8ToUtf16(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const auto b0 = static_cast<unsigned char>(in[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    int extra;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
      extra = 1, cp = b0 & 0x1Fu, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, cp = b0 & 0x0Fu, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, cp = b0 & 0x07u, min = 0x10000;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= in.size() || (static_cast<unsigned char>(in[j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(in[j]) & 0x3Fu);
    }
    if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
      i = ok ? j : i + 1;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i = j;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
  std::string out;
  // Most text here is ASCII: copied unit by unit without the encoder.
  if (std::all_of(in.begin(), in.end(), [](char16_t c) { return c < 0x80; })) {
    out.resize(in.size());
    std::transform(in.begin(), in.end(), out.begin(),
                   [](char16_t c) { return static_cast<char>(c); });
    return out;
  }
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

BSTR AllocBstrFromUtf8(std::string_view utf8) {
  // Plain ASCII, the common case for instrument text, skips the intermediate copy.
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    if (utf8.size() > std::numeric_limits<std::uint32_t>::max() / 4) return nullptr;
    BSTR s = SysAllocStringLen(nullptr, static_cast<std::uint32_t>(utf8.size()));
    if (!s) return nullptr;
    for (std::size_t i = 0; i < utf8.size(); ++i) s[i] = static_cast<char16_t>(utf8[i]);
    return s;
  }
  const std::u16string wide = Utf8ToUtf16(utf8);
  if (wide.size() > std::numeric_limits<std::uint32_t>::max() / 4) return nullptr;
  return SysAllocStringLen(wide.data(), static_cast<std::uint32_t>(wide.size()));
}

}  // namespace motqr::com
