#include "sim/scpi_lexer.h"

#include <charconv>
#include <cmath>
#include <string>

#include "sim/scpi_errors.h"

namespace tqrsim {
namespace {

constexpr std::size_t kMaxMnemonicLength = 12;

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsMnemonicChar(char c) { return IsAlpha(c) || IsDigit(c) || c == '_'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
// Characters that may continue an unquoted text parameter.
bool IsTextChar(char c) {
  return c > ' ' && c < 0x7f && c != ',' && c != ';' && c != '"' && c != '\'';
}

}  // namespace

void ScpiLexer::SkipBlanks() {
  while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
}

bool ScpiLexer::Next(ProgramUnit& unit, int& error) {
  error = 0;
  for (;;) {
    SkipBlanks();
    if (AtEnd()) return false;
    if (Peek() != ';') break;
    ++pos_;  // empty unit
  }
  unit = ProgramUnit{};
  error = LexHeader(unit);
  if (error == 0) error = LexParams(unit);
  if (error != 0) pos_ = text_.size();
  return true;
}

int ScpiLexer::LexMnemonic(std::string& name, int& suffix, bool split_suffix) {
  if (!IsAlpha(Peek())) return kSyntaxError;
  std::size_t start = pos_;
  while (!AtEnd() && IsMnemonicChar(text_[pos_])) ++pos_;
  std::string_view word = text_.substr(start, pos_ - start);
  suffix = -1;
  std::size_t digits = word.size();
  if (split_suffix) {
    while (digits > 0 && IsDigit(word[digits - 1])) --digits;
    if (digits < word.size()) {
      std::string_view number = word.substr(digits);
      int value = 0;
      auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
      if (ec != std::errc{} || end != number.data() + number.size()) return kHeaderSuffixOutOfRange;
      suffix = value;
    }
  }
  if (digits > kMaxMnemonicLength) return kProgramMnemonicTooLong;
  name.clear();
  for (std::size_t i = 0; i < digits; ++i) name.push_back(ToUpper(word[i]));
  return 0;
}

int ScpiLexer::LexHeader(ProgramUnit& unit) {
  if (Peek() == '*') {
    ++pos_;
    unit.common = true;
    HeaderNode node;
    if (int rc = LexMnemonic(node.name, node.suffix, false); rc != 0) return rc;
    node.name.insert(node.name.begin(), '*');
    unit.nodes.push_back(std::move(node));
  } else {
    if (Peek() == ':') {
      unit.absolute = true;
      ++pos_;
    }
    for (;;) {
      HeaderNode node;
      if (int rc = LexMnemonic(node.name, node.suffix, true); rc != 0) return rc;
      unit.nodes.push_back(std::move(node));
      if (Peek() != ':') break;
      ++pos_;
    }
  }
  if (Peek() == '?') {
    unit.query = true;
    ++pos_;
  }
  if (AtEnd() || Peek() == ';' || IsBlank(Peek())) return 0;
  return kSyntaxError;
}

int ScpiLexer::LexParams(ProgramUnit& unit) {
  SkipBlanks();
  if (AtEnd()) return 0;
  if (Peek() == ';') {
    ++pos_;
    return 0;
  }
  for (;;) {
    Param param;
    if (int rc = LexParam(param); rc != 0) return rc;
    unit.params.push_back(std::move(param));
    SkipBlanks();
    if (AtEnd()) return 0;
    if (Peek() == ';') {
      ++pos_;
      return 0;
    }
    if (Peek() != ',') return IsAlpha(Peek()) ? kSuffixNotAllowed : kSyntaxError;
    ++pos_;
  }
}

int ScpiLexer::LexParam(Param& param) {
  SkipBlanks();
  char c = Peek();
  if (AtEnd() || c == ',' || c == ';') {
    param.kind = ParamKind::kEmpty;
    return 0;
  }
  if (c == '"' || c == '\'') return LexString(param);
  if (c == '#') {
    char next = Peek(1);
    if (IsDigit(next)) return LexBlock(param);
    return LexNonDecimal(param);
  }
  if (IsDigit(c) || c == '+' || c == '-' || c == '.') return LexNumber(param);
  if (IsAlpha(c)) return LexWord(param);
  if (c == '(') return LexExpression(param);
  return kSyntaxError;
}

int ScpiLexer::LexNumber(Param& param) {
  std::string normalized;
  if (Peek() == '+' || Peek() == '-') {
    if (Peek() == '-') normalized.push_back('-');
    ++pos_;
  }
  std::size_t mantissa_digits = 0;
  while (IsDigit(Peek())) {
    normalized.push_back(Peek());
    ++pos_;
    ++mantissa_digits;
  }
  if (Peek() == '.') {
    normalized.push_back('.');
    ++pos_;
    while (IsDigit(Peek())) {
      normalized.push_back(Peek());
      ++pos_;
      ++mantissa_digits;
    }
  }
  if (mantissa_digits == 0) return kSyntaxError;
  // IEEE 488.2 allows white space around the exponent mark.
  std::size_t after_mantissa = pos_;
  SkipBlanks();
  if (Peek() == 'e' || Peek() == 'E') {
    ++pos_;
    SkipBlanks();
    std::string exponent = "e";
    if (Peek() == '+' || Peek() == '-') {
      exponent.push_back(Peek());
      ++pos_;
    }
    if (IsDigit(Peek())) {
      while (IsDigit(Peek())) {
        exponent.push_back(Peek());
        ++pos_;
      }
      normalized += exponent;
    } else {
      pos_ = after_mantissa;
    }
  } else {
    pos_ = after_mantissa;
  }
  double value = 0.0;
  auto [end, ec] = std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // A negative exponent underflows to zero; anything else is an exponent too large.
    std::size_t mark = normalized.find('e');
    if (mark == std::string::npos || normalized[mark + 1] != '-') return kExponentTooLarge;
    value = 0.0;
  } else if (ec != std::errc{} || end != normalized.data() + normalized.size()) {
    return kSyntaxError;
  }
  if (IsAlpha(Peek())) return kSuffixNotAllowed;
  param.kind = ParamKind::kNumeric;
  param.number = value;
  param.text = normalized;
  return 0;
}

int ScpiLexer::LexNonDecimal(Param& param) {
  ++pos_;  // '#'
  int base = 0;
  switch (ToUpper(Peek())) {
    case 'H':
      base = 16;
      break;
    case 'Q':
      base = 8;
      break;
    case 'B':
      base = 2;
      break;
    default:
      return kSyntaxError;
  }
  ++pos_;
  std::size_t start = pos_;
  while (!AtEnd() && IsMnemonicChar(text_[pos_])) ++pos_;
  std::string_view digits = text_.substr(start, pos_ - start);
  if (digits.empty()) return kSyntaxError;
  unsigned long long value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (ec == std::errc::result_out_of_range) return kDataOutOfRange;
  if (ec != std::errc{} || end != digits.data() + digits.size()) return kSyntaxError;
  param.kind = ParamKind::kNumeric;
  param.number = static_cast<double>(value);
  param.text = std::string(digits);
  return 0;
}

int ScpiLexer::LexString(Param& param) {
  char quote = Peek();
  ++pos_;
  std::string contents;
  for (;;) {
    if (AtEnd()) return kInvalidStringData;
    char c = text_[pos_++];
    if (c == quote) {
      if (Peek() != quote) break;
      ++pos_;  // doubled quote stands for one quote
    }
    contents.push_back(c);
  }
  param.kind = ParamKind::kString;
  param.text = std::move(contents);
  return 0;
}

int ScpiLexer::LexBlock(Param& param) {
  ++pos_;  // '#'
  int digit_count = Peek() - '0';
  ++pos_;
  param.kind = ParamKind::kBlock;
  if (digit_count == 0) {
    // Indefinite block: everything up to the message terminator.
    param.text = std::string(text_.substr(pos_));
    pos_ = text_.size();
    return 0;
  }
  if (text_.size() - pos_ < static_cast<std::size_t>(digit_count)) return kInvalidBlockData;
  std::string_view length_text = text_.substr(pos_, static_cast<std::size_t>(digit_count));
  std::size_t length = 0;
  auto [end, ec] =
      std::from_chars(length_text.data(), length_text.data() + length_text.size(), length);
  if (ec != std::errc{} || end != length_text.data() + length_text.size()) {
    return kInvalidBlockData;
  }
  pos_ += static_cast<std::size_t>(digit_count);
  if (text_.size() - pos_ < length) return kInvalidBlockData;
  param.text = std::string(text_.substr(pos_, length));
  pos_ += length;
  return 0;
}

int ScpiLexer::LexWord(Param& param) {
  std::size_t start = pos_;
  while (!AtEnd() && IsMnemonicChar(text_[pos_])) ++pos_;
  bool plain = pos_ - start <= kMaxMnemonicLength;
  while (!AtEnd() && IsTextChar(text_[pos_])) {
    plain = false;
    ++pos_;
  }
  param.kind = plain ? ParamKind::kCharacter : ParamKind::kText;
  param.text = std::string(text_.substr(start, pos_ - start));
  return 0;
}

int ScpiLexer::LexExpression(Param& param) {
  std::size_t start = pos_;
  int depth = 0;
  do {
    if (AtEnd()) return kSyntaxError;
    char c = text_[pos_++];
    if (c == '(') ++depth;
    if (c == ')') --depth;
  } while (depth > 0);
  param.kind = ParamKind::kText;
  param.text = std::string(text_.substr(start, pos_ - start));
  return 0;
}

}  // namespace tqrsim
