#include "io/input/scan_format.h"

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/com/types.h"

namespace motqr::io {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsConversion(char c) {
  switch (c) {
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'b':
    case 'y':
    case 'c':
    case 'T':
    case 't':
    case 's':
    case '[':
      return true;
    default:
      return false;
  }
}
bool IsSizeLetter(char c) {
  return c == 'l' || c == 'L' || c == 'h' || c == 'b' || c == 'I' || c == 'z' || c == 'Z';
}
bool IsIntegerConversion(char c) {
  return c == 'd' || c == 'i' || c == 'o' || c == 'u' || c == 'x';
}
bool IsRealConversion(char c) { return c == 'f' || c == 'e' || c == 'E' || c == 'g' || c == 'G'; }

// Walks one `%` directive; every member returns false when the text cannot
// belong to any directive class.
class DirectiveParser {
 public:
  DirectiveParser(std::string_view format, std::size_t pos) : f_(format), pos_(pos) {}

  std::size_t pos() const { return pos_; }

  bool Parse(ScanDirective* d) {
    ++pos_;  // '%'
    SkipBlanks();
    bool is_enum = false;
    if (Peek() == '{') {
      if (!ParseTypeName(d)) return false;
      is_enum = true;
    }
    if (Accept('*')) d->suppress = true;
    SkipBlanks();
    if (!is_enum && Peek() == '@') {
      const char n = At(pos_ + 1);
      if (n != '1' && n != '2' && n != '3' && n != 'H' && n != 'Q' && n != 'B') return false;
      d->numeric = n;
      pos_ += 2;
      SkipBlanks();
    }
    ParseField(&d->width);
    SkipBlanks();
    if (!ParseListMark(d)) return false;
    if (d->IsList()) {
      SkipBlanks();
      ParseField(&d->count);
      SkipBlanks();
    }
    if (Peek() == '!' && At(pos_ + 1) == 'o' && (At(pos_ + 2) == 'b' || At(pos_ + 2) == 'l')) {
      d->little_endian = At(pos_ + 2) == 'l';
      pos_ += 3;
      SkipBlanks();
    }
    if (Peek() == '$' && At(pos_ + 1) == 'S') {
      d->safe_array = true;
      pos_ += 2;
      SkipBlanks();
    }
    if (Peek() == '$' && (At(pos_ + 1) == 'B' || At(pos_ + 1) == 'C')) {
      d->text_kind = At(pos_ + 1);
      pos_ += 2;
      SkipBlanks();
    }
    if (Peek() == 'q' || Peek() == 'Q') {
      d->quote = Peek() == 'q' ? '\'' : '"';
      ++pos_;
      SkipBlanks();
    }
    // `b` is a size only before an integer conversion ("%bd"); "%bs" is a block
    // followed by the literal "s".
    if (IsSizeLetter(Peek()) && IsConversion(At(pos_ + 1)) &&
        (Peek() != 'b' || IsIntegerConversion(At(pos_ + 1)))) {
      d->size = f_[pos_++];
    }
    if (!IsConversion(Peek())) return false;
    d->conversion = f_[pos_++];
    if (d->conversion == '[' && !ParseSet(d)) return false;
    return Classify(d, is_enum);
  }

 private:
  char Peek() const { return At(pos_); }
  char At(std::size_t i) const { return i < f_.size() ? f_[i] : '\0'; }
  bool Accept(char c) {
    if (Peek() != c || pos_ >= f_.size()) return false;
    ++pos_;
    return true;
  }
  void SkipBlanks() {
    while (pos_ < f_.size() && IsBlank(f_[pos_])) ++pos_;
  }

  void ParseField(ScanField* field) {
    if (Accept('#')) {
      field->kind = ScanField::Kind::kArgument;
      return;
    }
    if (!IsDigit(Peek()) || pos_ >= f_.size()) return;
    std::int64_t value = 0;
    while (pos_ < f_.size() && IsDigit(f_[pos_])) {
      value = value * 10 + (f_[pos_++] - '0');
      if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
      }
    }
    field->kind = ScanField::Kind::kDigits;
    field->digits = static_cast<std::int32_t>(value);
  }

  bool ParseTypeName(ScanDirective* d) {
    ++pos_;  // '{'
    SkipBlanks();
    const std::size_t name_start = pos_;
    while (pos_ < f_.size() && IsNameChar(f_[pos_])) ++pos_;
    d->type_name = f_.substr(name_start, pos_ - name_start);
    SkipBlanks();
    if (d->type_name.empty() || !Accept('}')) return false;
    SkipBlanks();
    return true;
  }

  // `,` or `(` followed by one or more of `,;:strn` and `)`.
  bool ParseListMark(ScanDirective* d) {
    if (Accept(',')) {
      AddSeparator(d, ',');
      return true;
    }
    if (Peek() != '(' || pos_ >= f_.size()) return true;
    ++pos_;
    while (pos_ < f_.size() && f_[pos_] != ')') {
      switch (f_[pos_]) {
        case ',':
        case ';':
        case ':':
          AddSeparator(d, f_[pos_]);
          break;
        case 's':
          AddSeparator(d, ' ');
          break;
        case 't':
          AddSeparator(d, '\t');
          break;
        case 'r':
          AddSeparator(d, '\r');
          break;
        case 'n':
          AddSeparator(d, '\n');
          break;
        default:
          return false;
      }
      ++pos_;
    }
    return d->separator_count > 0 && Accept(')');
  }

  static void AddSeparator(ScanDirective* d, char c) {
    if (d->IsSeparator(c) || d->separator_count >= sizeof d->separators) return;
    d->separators[d->separator_count++] = c;
  }

  bool ParseSet(ScanDirective* d) {
    if (Accept('^')) d->set_negated = true;
    const std::size_t set_start = pos_;
    while (pos_ < f_.size() && f_[pos_] != ']') ++pos_;
    if (pos_ >= f_.size()) return false;
    d->set = f_.substr(set_start, pos_ - set_start);
    ++pos_;  // ']'
    return true;
  }

  // Which class the parts make, or false when they make none.
  static bool Classify(ScanDirective* d, bool is_enum) {
    const char c = d->conversion;
    const bool list = d->IsList();
    const bool has_list_parts = list || d->safe_array;
    const bool has_text_parts = d->text_kind != 0 || d->quote != 0;
    if (is_enum) {
      if (d->size != 0 || d->text_kind != 0 || d->little_endian) return false;
      if (list) {
        d->cls = ScanClass::kEnumList;
        return c == 's';
      }
      if (d->safe_array) return false;
      d->cls = c == 's' ? ScanClass::kEnum : ScanClass::kEnumSet;
      return c == 's' || c == '[';
    }
    if (IsIntegerConversion(c) || IsRealConversion(c)) {
      if (has_text_parts || d->little_endian) return false;
      const bool real = IsRealConversion(c);
      if (real ? (d->size != 0 && d->size != 'l' && d->size != 'L')
               : (d->size != 0 && d->size != 'l' && d->size != 'h' && d->size != 'b' &&
                  d->size != 'I')) {
        return false;
      }
      if (!list && d->safe_array) return false;
      d->cls = real ? (list ? ScanClass::kRealList : ScanClass::kReal)
                    : (list ? ScanClass::kIntegerList : ScanClass::kInteger);
      return true;
    }
    if (d->numeric != 0) return false;
    if (c == 'b' || c == 'y') {
      if (list || has_text_parts) return false;
      if (c == 'b') {
        d->cls = ScanClass::kBlock;
        return !d->little_endian && d->size != 'L' && d->size != 'b';
      }
      d->cls = ScanClass::kRawBinary;
      return d->size == 0 || d->size == 'h' || d->size == 'l' || d->size == 'I';
    }
    if (d->size != 0 || d->little_endian) return false;
    if (c == 'c') {
      d->cls = ScanClass::kChar;
      return !has_list_parts && !has_text_parts;
    }
    if (list) {
      d->cls = ScanClass::kStringList;
      return c == 's';
    }
    if (d->safe_array || d->quote != 0) return false;
    switch (c) {
      case 'T':
        d->cls = ScanClass::kLine;
        return true;
      case 't':
        d->cls = ScanClass::kRest;
        return true;
      case 's':
        d->cls = ScanClass::kString;
        return true;
      case '[':
        d->cls = ScanClass::kCharSet;
        return true;
      default:
        return false;
    }
  }

  std::string_view f_;
  std::size_t pos_;
};

}  // namespace

HRESULT CutScanFormat(std::string_view format, std::vector<ScanDirective>* records) {
  records->clear();
  if (format.size() > std::numeric_limits<std::uint32_t>::max()) return com::E_UNEXPECTED;
  std::size_t pos = 0;
  while (pos < format.size()) {
    ScanDirective d;
    d.start = static_cast<std::uint32_t>(pos);
    std::size_t end = pos;
    if (format[pos] != '%') {
      while (end < format.size() && format[end] != '%') ++end;
    } else if (pos + 1 < format.size() && format[pos + 1] == '%') {
      end = pos + 2;
    } else {
      DirectiveParser parser(format, pos);
      if (!parser.Parse(&d)) {
        records->clear();
        return com::E_UNEXPECTED;
      }
      end = parser.pos();
    }
    d.length = static_cast<std::uint32_t>(end - pos);
    d.text = format.substr(pos, end - pos);
    records->push_back(d);
    pos = end;
  }
  return com::S_OK;
}

namespace {

constexpr std::size_t kKeptFormatsPerThread = 256;
constexpr std::size_t kKeptFormatLength = 256;

// A format's own copy of its text and the records cut from it (their views point into it).
struct KeptFormat {
  std::string text;
  std::vector<ScanDirective> records;
};

}  // namespace

HRESULT CutScanFormatCached(std::string_view format, std::vector<ScanDirective>* scratch,
                            const std::vector<ScanDirective>** records) {
  thread_local std::unordered_map<std::string_view, std::unique_ptr<KeptFormat>> kept;
  thread_local const KeptFormat* last = nullptr;  // the usual case: the format just used
  if (last && last->text == format) {
    *records = &last->records;
    return com::S_OK;
  }
  if (auto it = kept.find(format); it != kept.end()) {
    last = it->second.get();
    *records = &last->records;
    return com::S_OK;
  }
  if (kept.size() >= kKeptFormatsPerThread || format.size() > kKeptFormatLength) {
    *records = scratch;
    return CutScanFormat(format, scratch);
  }
  auto entry = std::make_unique<KeptFormat>();
  entry->text.assign(format);
  if (const HRESULT hr = CutScanFormat(entry->text, &entry->records); com::Failed(hr)) return hr;
  last = entry.get();
  *records = &entry->records;
  const std::string_view key = entry->text;
  kept.emplace(key, std::move(entry));
  return com::S_OK;
}

}  // namespace motqr::io
