#include "tools/panel/json.h"

#include <charconv>
#include <cmath>

#include "tools/output.h"

namespace motqr::panel {

void JsonObject::Key(std::string_view key) {
  if (text_.size() > 1) text_ += ',';
  text_ += cli::JsonString(key);
  text_ += ':';
}

JsonObject& JsonObject::Number(std::string_view key, double value) {
  Key(key);
  text_ += JsonNumber(value);
  return *this;
}

JsonObject& JsonObject::Integer(std::string_view key, std::int64_t value) {
  Key(key);
  text_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Boolean(std::string_view key, bool value) {
  Key(key);
  text_ += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value) {
  Key(key);
  text_ += cli::JsonString(value);
  return *this;
}

JsonObject& JsonObject::Null(std::string_view key) {
  Key(key);
  text_ += "null";
  return *this;
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
  Key(key);
  text_ += json;
  return *this;
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string JsonArray(const std::vector<std::string>& elements) {
  std::string text = "[";
  for (const std::string& e : elements) text += (text.size() > 1 ? "," : "") + e;
  return text + "]";
}

std::string JsonTextArray(const std::vector<std::string>& texts) {
  std::vector<std::string> elements;
  elements.reserve(texts.size());
  for (const std::string& t : texts) elements.push_back(cli::JsonString(t));
  return JsonArray(elements);
}

namespace {

// A cursor over a request body; every Read* leaves it after what it read.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Take(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return at_ == text_.size();
  }

  std::optional<std::string> ReadString() {
    if (!Take('"')) return std::nullopt;
    std::string out;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) return std::nullopt;
      const char e = text_[at_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = 0;
          if (at_ + 4 > text_.size()) return std::nullopt;
          const auto r = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, code, 16);
          if (r.ptr != text_.data() + at_ + 4) return std::nullopt;
          at_ += 4;
          AppendUtf8(code, &out);
          break;
        }
        default:
          return std::nullopt;
      }
    }
    return std::nullopt;
  }

  std::optional<RequestValue> ReadValue() {
    SkipBlanks();
    if (at_ >= text_.size()) return std::nullopt;
    if (text_[at_] == '"') {
      auto s = ReadString();
      if (!s) return std::nullopt;
      return RequestValue(std::move(*s));
    }
    if (ReadWord("true")) return RequestValue(true);
    if (ReadWord("false")) return RequestValue(false);
    double number = 0;
    const auto r = std::from_chars(text_.data() + at_, text_.data() + text_.size(), number);
    if (r.ec != std::errc() || !std::isfinite(number)) return std::nullopt;
    at_ = static_cast<std::size_t>(r.ptr - text_.data());
    return RequestValue(number);
  }

  // Skips a value of any kind: nested objects and arrays by bracket depth.
  bool SkipValue() {
    SkipBlanks();
    if (at_ < text_.size() && (text_[at_] == '{' || text_[at_] == '[')) {
      int depth = 0;
      while (at_ < text_.size()) {
        const char c = text_[at_];
        if (c == '"') {
          if (!ReadString()) return false;
          continue;
        }
        ++at_;
        if (c == '{' || c == '[') ++depth;
        if ((c == '}' || c == ']') && --depth == 0) return true;
      }
      return false;
    }
    return ReadWord("null") || ReadValue().has_value();
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
      ++at_;
  }
  bool ReadWord(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  static void AppendUtf8(unsigned code, std::string* out) {
    if (code < 0x80) {
      *out += static_cast<char>(code);
    } else if (code < 0x800) {
      *out += static_cast<char>(0xC0 | (code >> 6));
      *out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      *out += static_cast<char>(0xE0 | (code >> 12));
      *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      *out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<RequestValue> ReadValueField(std::string_view body) {
  Reader reader(body);
  if (!reader.Take('{')) return std::nullopt;
  std::optional<RequestValue> value;
  if (!reader.Take('}')) {
    do {
      const auto key = reader.ReadString();
      if (!key || !reader.Take(':')) return std::nullopt;
      if (*key == "value") {
        value = reader.ReadValue();
        if (!value) return std::nullopt;
      } else if (!reader.SkipValue()) {
        return std::nullopt;
      }
    } while (reader.Take(','));
    if (!reader.Take('}')) return std::nullopt;
  }
  if (!reader.AtEnd()) return std::nullopt;
  return value;
}

}  // namespace motqr::panel
