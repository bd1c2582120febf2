#include "io/input/token_reader.h"

#include "io/input/reply_field.h"

namespace motqr::io {
namespace {

using com::Failed;
using com::S_OK;

std::size_t Index(char c) { return static_cast<unsigned char>(c); }

class TokenReader {
 public:
  TokenReader(ReplyReader& reader, const TokenRules& rules, std::string* text)
      : field_(reader, 0), rules_(rules), text_(text) {}

  HRESULT Read() {
    HRESULT hr = S_OK;
    if (rules_.kind == ScanClass::kString) hr = field_.SkipSpace();
    if (Failed(hr)) return hr;
    hr = Loop();
    if (Failed(hr)) return hr;
    // A string cut at its maximum also loses the white space after it.
    if (dropping_ && rules_.kind == ScanClass::kString) hr = field_.SkipSpace();
    if (Failed(hr)) return hr;
    return field_.Finish();
  }

 private:
  bool Full() const {
    return rules_.max >= 0 && static_cast<std::int64_t>(text_->size()) >= rules_.max;
  }

  bool IsStop(char c) const {
    if (rules_.list != nullptr && rules_.list->IsSeparator(c)) return true;
    switch (rules_.kind) {
      case ScanClass::kString:
        return IsReplySpaceChar(c);
      case ScanClass::kLine:
        return c == '\n';
      case ScanClass::kCharSet:
        return !(*rules_.set)[Index(c)];
      default:
        return false;
    }
  }

  HRESULT Store(char c) {
    if (dropping_) return S_OK;
    if (Full()) {
      dropping_ = true;
      return S_OK;
    }
    if (static_cast<std::int64_t>(text_->size()) >= kMaxTextField) return com::E_OUTOFMEMORY;
    text_->push_back(c);
    return S_OK;
  }

  HRESULT Loop() {
    for (;;) {
      // A set field ends as soon as it is full; nothing more is read.
      if (rules_.kind == ScanClass::kCharSet && Full()) return S_OK;
      char c = 0;
      bool got = false;
      HRESULT hr = field_.Peek(&c, &got);
      if (Failed(hr) || !got) return hr;
      if (rules_.quote != 0 && c == rules_.quote) {
        field_.Take();
        hr = Quote();
        if (Failed(hr)) return hr;
        continue;
      }
      if (!in_quote_ && IsStop(c)) {
        if (rules_.kind != ScanClass::kLine) return S_OK;
        field_.Take();  // the line feed is part of the line
        return Store(c);
      }
      field_.Take();
      hr = Store(c);
      if (Failed(hr)) return hr;
    }
  }

  // After a quote character: opens a quoted part, closes it, or (doubled
  // inside a quoted part) stands for one quote.
  HRESULT Quote() {
    if (!in_quote_) {
      in_quote_ = true;
      return S_OK;
    }
    char c = 0;
    bool got = false;
    const HRESULT hr = field_.Peek(&c, &got);
    if (Failed(hr)) return hr;
    if (got && c == rules_.quote) {
      field_.Take();
      return Store(c);
    }
    in_quote_ = false;
    return S_OK;
  }

  ReplyField field_;
  const TokenRules& rules_;
  std::string* text_;
  bool in_quote_ = false;
  bool dropping_ = false;
};

}  // namespace

CharTable MakeCharTable(std::string_view set, bool negated) {
  CharTable table{};
  for (std::size_t i = 0; i < set.size(); ++i) {
    const bool range = i + 2 < set.size() && set[i + 1] == '-';
    if (range && Index(set[i]) <= Index(set[i + 2])) {
      for (std::size_t c = Index(set[i]); c <= Index(set[i + 2]); ++c) table[c] = true;
      i += 2;
      continue;
    }
    table[Index(set[i])] = true;
  }
  if (negated) {
    for (bool& in : table) in = !in;
  }
  return table;
}

HRESULT ReadToken(ReplyReader& reader, const TokenRules& rules, std::string* text) {
  return TokenReader(reader, rules, text).Read();
}

}  // namespace motqr::io
