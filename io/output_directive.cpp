#include "io/output_directive.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace motqr::io {
namespace {

using com::E_UNEXPECTED;
using com::S_OK;
using Class = OutputDirectiveClass;

constexpr std::size_t kMaxCachedFormats = 4096;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNameChar(char c) {
  return IsDigit(c) || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsOneOf(char c, std::string_view set) {
  return c != 0 && set.find(c) != std::string_view::npos;
}

// Anchored matching of one directive at a position. Each Match* returns
// false when its class does not match there; `d` is then to be discarded.
class Matcher {
 public:
  Matcher(std::string_view format, std::size_t pos) : f_(format), start_(pos), p_(pos) {}

  bool Match(Class c, OutputDirective* d) {
    p_ = start_;
    *d = OutputDirective{};
    d->directive_class = c;
    if (!MatchClass(c, d)) return false;
    d->start = static_cast<std::uint32_t>(start_);
    d->length = static_cast<std::uint32_t>(p_ - start_);
    return true;
  }

 private:
  char Peek(std::size_t ahead = 0) const { return p_ + ahead < f_.size() ? f_[p_ + ahead] : '\0'; }
  bool Eat(char c) {
    if (Peek() != c) return false;
    ++p_;
    return true;
  }
  bool EatOneOf(std::string_view set, char* which) {
    if (!IsOneOf(Peek(), set)) return false;
    *which = f_[p_++];
    return true;
  }
  // Blanks; returns whether there were any spaces among them.
  bool Blanks() {
    bool space = false;
    while (IsBlank(Peek())) space |= f_[p_++] == ' ';
    return space;
  }
  // Decimal digits, saturating; false when there are none.
  bool Digits(std::int32_t* value) {
    if (!IsDigit(Peek())) return false;
    std::int64_t v = 0;
    while (IsDigit(Peek())) {
      v = std::min<std::int64_t>(v * 10 + (f_[p_++] - '0'), INT32_MAX);
    }
    *value = static_cast<std::int32_t>(v);
    return true;
  }

  // `%` blanks (a space among them is the blank flag of printf)
  bool Percent(OutputDirective* d) {
    if (!Eat('%')) return false;
    d->space = Blanks();
    return true;
  }
  // flags, optional numeric format, blanks, width, blanks, precision, blanks
  void NumberHead(OutputDirective* d) {
    for (char c; EatOneOf("-+0 ", &c);) {
      if (c == '-') d->minus = true;
      if (c == '+') d->plus = true;
      if (c == '0') d->zero = true;
      if (c == ' ') d->space = true;
    }
    if (Peek() == '@' && IsOneOf(Peek(1), "123HQB")) {
      d->numeric = Peek(1);
      p_ += 2;
      Blanks();
    }
    // Width: digits, or zero or more `0` and a `*`. Leading zeros are the zero flag.
    std::size_t zeros = 0;
    while (Peek(zeros) == '0') ++zeros;
    if (Peek(zeros) == '*') {
      d->zero |= zeros > 0;
      d->width_star = true;
      p_ += zeros + 1;
    } else if (IsDigit(Peek())) {
      d->zero |= Peek() == '0';
      Digits(&d->width);
      if (d->width == 0) d->width = -1;
    }
    Blanks();
    Precision(d);
  }
  // optional `-`, blanks, width (digits or `*`), blanks, precision, blanks
  void TextHead(OutputDirective* d) {
    d->minus = Eat('-');
    Blanks();
    if (Eat('*')) {
      d->width_star = true;
    } else if (Digits(&d->width) && d->width == 0) {
      d->width = -1;
    }
    Blanks();
    Precision(d);
  }
  void Precision(OutputDirective* d) {
    if (Peek() == '.' && Peek(1) == '*') {
      d->precision_star = true;
      p_ += 2;
    } else if (Peek() == '.' && IsDigit(Peek(1))) {
      ++p_;
      Digits(&d->precision);
    }
    Blanks();
  }
  // `,` or `(` one of , ; : s t r n `)`, then blanks, count, blanks
  bool ListMark(OutputDirective* d) {
    if (Eat(',')) {
      d->separator = ',';
    } else if (Peek() == '(' && IsOneOf(Peek(1), ",;:strn") && Peek(2) == ')') {
      switch (Peek(1)) {
        case 's':
          d->separator = ' ';
          break;
        case 't':
          d->separator = '\t';
          break;
        case 'r':
          d->separator = '\r';
          break;
        case 'n':
          d->separator = '\n';
          break;
        default:
          d->separator = Peek(1);
          break;
      }
      p_ += 3;
    } else {
      return false;
    }
    Blanks();
    Count(d);
    return true;
  }
  // optional count (digits or `*`) then blanks
  void Count(OutputDirective* d) {
    if (Eat('*')) {
      d->count_star = true;
    } else {
      Digits(&d->count);
    }
    Blanks();
  }
  // optional `$S` then blanks
  void SafeArrayMark(OutputDirective* d) {
    if (Peek() == '$' && Peek(1) == 'S') {
      d->safe_array = true;
      p_ += 2;
      Blanks();
    }
  }
  bool Size(std::string_view sizes, OutputDirective* d) {
    EatOneOf(sizes, &d->size);
    return true;
  }
  bool Conversion(std::string_view conversions, OutputDirective* d) {
    return EatOneOf(conversions, &d->conversion);
  }
  void Quote(OutputDirective* d) { EatOneOf("qQ", &d->quote); }
  void StringKind(OutputDirective* d) {
    if (Peek() == '$' && (Peek(1) == 'B' || Peek(1) == 'C')) {
      d->string_kind = Peek(1);
      p_ += 2;
      Blanks();
    }
  }
  bool EnumHead(OutputDirective* d) {
    if (!Percent(d) || !Eat('{')) return false;
    Blanks();
    const std::size_t name = p_;
    while (IsNameChar(Peek())) ++p_;
    if (p_ == name) return false;
    d->name_start = static_cast<std::uint32_t>(name);
    d->name_length = static_cast<std::uint32_t>(p_ - name);
    Blanks();
    if (!Eat('}')) return false;
    Blanks();
    TextHead(d);
    return true;
  }

  bool MatchClass(Class c, OutputDirective* d) {
    switch (c) {
      case Class::kLiteral:
        if (Peek() == '%') return Peek(1) == '%' ? (p_ += 2, true) : false;
        while (p_ < f_.size() && f_[p_] != '%') ++p_;
        return p_ > start_;
      case Class::kInteger:
        if (!Percent(d)) return false;
        NumberHead(d);
        return Size("lhbI", d) && Conversion("dioux", d);
      case Class::kIntegerList:
        if (!Percent(d)) return false;
        NumberHead(d);
        if (!ListMark(d)) return false;
        SafeArrayMark(d);
        return Size("lhbI", d) && Conversion("dioux", d);
      case Class::kReal:
        if (!Percent(d)) return false;
        NumberHead(d);
        return Size("lL", d) && Conversion("feEgG", d);
      case Class::kRealList:
        if (!Percent(d)) return false;
        NumberHead(d);
        if (!ListMark(d)) return false;
        SafeArrayMark(d);
        return Size("lL", d) && Conversion("feEgG", d);
      case Class::kBlock:
      case Class::kIndefiniteBlock:
        if (!Percent(d)) return false;
        Count(d);
        SafeArrayMark(d);
        return Size("hlzZI", d) && Conversion(c == Class::kBlock ? "b" : "B", d);
      case Class::kRawBinary:
        if (!Percent(d)) return false;
        Count(d);
        if (Peek() == '!' && Peek(1) == 'o' && (Peek(2) == 'b' || Peek(2) == 'l')) {
          d->little_endian = Peek(2) == 'l';
          p_ += 3;
          Blanks();
        }
        SafeArrayMark(d);
        return Size("hlI", d) && Conversion("y", d);
      case Class::kChar:
        if (!Percent(d)) return false;
        TextHead(d);
        return Conversion("c", d);
      case Class::kString:
        if (!Percent(d)) return false;
        TextHead(d);
        StringKind(d);
        Quote(d);
        return Conversion("s", d);
      case Class::kStringList:
        if (!Percent(d)) return false;
        TextHead(d);
        if (!ListMark(d)) return false;
        SafeArrayMark(d);
        StringKind(d);
        Quote(d);
        return Conversion("s", d);
      case Class::kEnum:
        if (!EnumHead(d)) return false;
        Quote(d);
        return Conversion("s", d);
      case Class::kEnumList:
        if (!EnumHead(d) || !ListMark(d)) return false;
        SafeArrayMark(d);
        Quote(d);
        return Conversion("s", d);
    }
    return false;
  }

  std::string_view f_;
  std::size_t start_;
  std::size_t p_;
};

struct TransparentHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Every format cut so far; entries are never removed, so pointers to them
// stay valid for the life of the process.
struct FormatCache {
  std::shared_mutex mutex;
  std::unordered_map<std::string, std::unique_ptr<const ParsedOutputFormat>, TransparentHash,
                     std::equal_to<>>
      formats;
};

FormatCache& Cache() {
  static FormatCache* cache = new FormatCache;  // lives until the module unloads
  return *cache;
}

// Per thread, the formats last seen at each text address: a hit needs no
// lock and no hash of the whole text, only a comparison with the entry.
struct RecentFormat {
  const char* address = nullptr;
  const ParsedOutputFormat* parsed = nullptr;
};
constexpr std::size_t kRecentFormats = 64;
thread_local std::array<RecentFormat, kRecentFormats> recent_formats;

RecentFormat& RecentSlot(std::string_view format) {
  const auto address = reinterpret_cast<std::uintptr_t>(format.data());
  return recent_formats[((address >> 3) ^ format.size()) % kRecentFormats];
}

}  // namespace

HRESULT ParseOutputFormat(std::string_view format, ParsedOutputFormat* parsed) {
  parsed->format.assign(format);
  parsed->directives.clear();
  std::size_t pos = 0;
  while (pos < format.size()) {
    Matcher matcher(format, pos);
    OutputDirective d;
    bool matched = false;
    for (int c = 0; c < kOutputDirectiveClassCount && !matched; ++c) {
      matched = matcher.Match(static_cast<Class>(c), &d);
    }
    if (!matched) {
      parsed->directives.clear();
      return E_UNEXPECTED;
    }
    parsed->directives.push_back(d);
    pos += d.length;
  }
  return S_OK;
}

HRESULT ParseOutputFormatCached(std::string_view format, ParsedOutputFormat* scratch,
                                const ParsedOutputFormat** parsed) {
  RecentFormat& slot = RecentSlot(format);
  if (slot.address == format.data() && slot.parsed->format == format) {
    *parsed = slot.parsed;
    return S_OK;
  }
  FormatCache& cache = Cache();
  {
    std::shared_lock lock(cache.mutex);
    if (auto it = cache.formats.find(format); it != cache.formats.end()) {
      *parsed = slot.parsed = it->second.get();
      slot.address = format.data();
      return S_OK;
    }
  }
  auto fresh = std::make_unique<ParsedOutputFormat>();
  HRESULT hr = ParseOutputFormat(format, fresh.get());
  if (com::Failed(hr)) return hr;
  std::unique_lock lock(cache.mutex);
  if (cache.formats.size() >= kMaxCachedFormats) {
    *scratch = std::move(*fresh);
    *parsed = scratch;
    return S_OK;
  }
  // Another thread may have cut the same format meanwhile; either copy will do.
  auto it = cache.formats.try_emplace(std::string(format), std::move(fresh)).first;
  *parsed = slot.parsed = it->second.get();
  slot.address = format.data();
  return S_OK;
}

}  // namespace motqr::io
