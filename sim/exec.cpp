#include "sim/exec.h"

#include <algorithm>
#include <cmath>

#include "sim/instrument.h"
#include "sim/number_format.h"
#include "sim/scpi_errors.h"

namespace tqrsim {
namespace {

bool IsKeyword(const Param& param, std::string_view short_form, std::string_view long_form) {
  if (param.kind != ParamKind::kCharacter) return false;
  std::string word = Upper(param.text);
  return word == short_form || word == long_form;
}

enum class LimitKeyword { kNone, kMin, kMax, kDef };

LimitKeyword KeywordOf(const Param& param) {
  if (IsKeyword(param, "MIN", "MINIMUM")) return LimitKeyword::kMin;
  if (IsKeyword(param, "MAX", "MAXIMUM")) return LimitKeyword::kMax;
  if (IsKeyword(param, "DEF", "DEFAULT")) return LimitKeyword::kDef;
  return LimitKeyword::kNone;
}

}  // namespace

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

InstrumentModel& Exec::model() { return instrument_.model(); }

void Exec::Error(int code) {
  if (failed_) return;
  failed_ = true;
  instrument_.ReportError(code);
}

bool Exec::ExpectParams(std::size_t min, std::size_t max, bool allow_empty) {
  bool has_empty = std::any_of(unit_.params.begin(), unit_.params.end(),
                               [](const Param& p) { return p.kind == ParamKind::kEmpty; });
  if (param_count() < min || (has_empty && !allow_empty)) {
    Error(kMissingParameter);
    return false;
  }
  if (param_count() > max) {
    Error(kParameterNotAllowed);
    return false;
  }
  return true;
}

const Param* Exec::Require(std::size_t i) {
  if (i >= param_count() || unit_.params[i].kind == ParamKind::kEmpty) {
    Error(kMissingParameter);
    return nullptr;
  }
  return &unit_.params[i];
}

std::optional<double> Exec::Real(std::size_t i, const Limits& limits) {
  const Param* param = Require(i);
  if (param == nullptr) return std::nullopt;
  switch (KeywordOf(*param)) {
    case LimitKeyword::kMin:
      return limits.min;
    case LimitKeyword::kMax:
      return limits.max;
    case LimitKeyword::kDef:
      return limits.def;
    case LimitKeyword::kNone:
      break;
  }
  if (param->kind != ParamKind::kNumeric) {
    Error(param->kind == ParamKind::kCharacter ? kIllegalParameterValue : kDataTypeError);
    return std::nullopt;
  }
  // A little slack so that a value written with six digits still matches its limit.
  double slack = 1e-9 * std::max(std::fabs(limits.min), std::fabs(limits.max));
  if (!(param->number >= limits.min - slack && param->number <= limits.max + slack)) {
    Error(kDataOutOfRange);
    return std::nullopt;
  }
  return std::clamp(param->number, limits.min, limits.max);
}

std::optional<int> Exec::Integer(std::size_t i, int min, int max, int def) {
  std::optional<double> value =
      Real(i, {static_cast<double>(min), static_cast<double>(max), static_cast<double>(def)});
  if (!value) return std::nullopt;
  return static_cast<int>(std::lround(*value));
}

std::optional<bool> Exec::Boolean(std::size_t i) {
  const Param* param = Require(i);
  if (param == nullptr) return std::nullopt;
  if (IsKeyword(*param, "ON", "ON")) return true;
  if (IsKeyword(*param, "OFF", "OFF")) return false;
  if (param->kind == ParamKind::kNumeric) return std::lround(param->number) != 0;
  Error(param->kind == ParamKind::kCharacter ? kIllegalParameterValue : kDataTypeError);
  return std::nullopt;
}

std::optional<int> Exec::Token(std::size_t i, TokenList tokens) {
  const Param* param = Require(i);
  if (param == nullptr) return std::nullopt;
  if (param->kind != ParamKind::kCharacter) {
    Error(param->kind == ParamKind::kText ? kIllegalParameterValue : kDataTypeError);
    return std::nullopt;
  }
  std::string word = Upper(param->text);
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (tokens[k] == word) return static_cast<int>(k);
  }
  Error(kIllegalParameterValue);
  return std::nullopt;
}

std::optional<std::string> Exec::QuotedString(std::size_t i) {
  const Param* param = Require(i);
  if (param == nullptr) return std::nullopt;
  if (param->kind != ParamKind::kString) {
    Error(kDataTypeError);
    return std::nullopt;
  }
  return param->text;
}

std::optional<std::string> Exec::Word(std::size_t i) {
  const Param* param = Require(i);
  if (param == nullptr) return std::nullopt;
  if (param->kind != ParamKind::kCharacter && param->kind != ParamKind::kText &&
      param->kind != ParamKind::kString) {
    Error(kDataTypeError);
    return std::nullopt;
  }
  return param->text;
}

const std::string* Exec::Block(std::size_t i) {
  const Param* param = Require(i);
  if (param == nullptr) return nullptr;
  if (param->kind != ParamKind::kBlock) {
    Error(kDataTypeError);
    return nullptr;
  }
  return &param->text;
}

bool Exec::ReplyLimitQuery(const Limits& limits) {
  if (param_count() == 0) return false;
  if (param_count() > 1) {
    Error(kParameterNotAllowed);
    return true;
  }
  switch (KeywordOf(unit_.params[0])) {
    case LimitKeyword::kMin:
      ReplyReal(limits.min);
      break;
    case LimitKeyword::kMax:
      ReplyReal(limits.max);
      break;
    case LimitKeyword::kDef:
      ReplyReal(limits.def);
      break;
    case LimitKeyword::kNone:
      Error(kIllegalParameterValue);
      break;
  }
  return true;
}

void Exec::Reply(std::string_view text) {
  if (failed_) return;
  replied_ = true;
  reply_.append(text);
}

void Exec::ReplyReal(double value) { Reply(FormatReal(value)); }
void Exec::ReplyInt(long long value) { Reply(FormatInt(value)); }

void Exec::ReplyToken(TokenList tokens, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= tokens.size()) return Reply("");
  Reply(tokens[static_cast<std::size_t>(index)]);
}

void Exec::ReplyQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    quoted.push_back(c);
    if (c == '"') quoted.push_back('"');
  }
  quoted.push_back('"');
  Reply(quoted);
}

void Exec::ReplyBlock(std::string_view data) {
  std::string length = FormatInt(static_cast<long long>(data.size()));
  std::string header = "#" + FormatInt(static_cast<long long>(length.size())) + length;
  Reply(header);
  Reply(data);
}

}  // namespace tqrsim
