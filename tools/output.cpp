#include "tools/output.h"

#include <algorithm>
#include <cstdio>

namespace motqr::cli {
namespace {

std::string TextOf(const Scalar& s) { return s.unit.empty() ? s.text : s.text + " " + s.unit; }

std::string JsonOf(const Scalar& s) {
  return s.kind == Scalar::Kind::kText ? JsonString(s.text) : s.text;
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text);
  out.resize(std::max(width, text.size()), ' ');
  return out;
}

void RenderTable(const std::vector<std::string>& columns,
                 const std::vector<std::vector<Scalar>>& rows, std::string& out) {
  std::vector<std::size_t> widths;
  for (const std::string& c : columns) widths.push_back(c.size());
  for (const auto& row : rows)
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
      widths[i] = std::max(widths[i], TextOf(row[i]).size());
  const auto line = [&](auto&& cell, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += Padded(cell(i), widths[i] + 2);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + "\n";
  };
  line([&](std::size_t i) { return columns[i]; }, columns.size());
  for (const auto& row : rows)
    line([&](std::size_t i) { return TextOf(row[i]); }, std::min(row.size(), columns.size()));
}

}  // namespace

void Output::Field(std::string_view name, Scalar value) {
  entries_.push_back({std::string(name), std::move(value)});
}

void Output::List(std::string_view name, std::vector<Scalar> items) {
  entries_.push_back({std::string(name), std::move(items)});
}

void Output::Table(std::string_view name, std::vector<std::string> columns,
                   std::vector<std::vector<Scalar>> rows) {
  entries_.push_back({std::string(name), TableData{std::move(columns), std::move(rows)}});
}

std::string Output::Render() const {
  if (printed_) return {};
  return style_ == Style::kJson ? RenderJson() : RenderText();
}

std::string Output::RenderText() const {
  std::string out;
  if (entries_.size() == 1) {
    const Entry& only = entries_.front();
    if (const auto* s = std::get_if<Scalar>(&only.value)) return TextOf(*s) + "\n";
    if (const auto* list = std::get_if<std::vector<Scalar>>(&only.value)) {
      for (const Scalar& item : *list) out += TextOf(item) + "\n";
      return out;
    }
  }
  std::size_t width = 0;
  for (const Entry& e : entries_)
    if (std::holds_alternative<Scalar>(e.value)) width = std::max(width, e.name.size());
  for (const Entry& e : entries_) {
    if (const auto* s = std::get_if<Scalar>(&e.value)) {
      out += Padded(e.name, width + 2) + TextOf(*s) + "\n";
    } else if (const auto* list = std::get_if<std::vector<Scalar>>(&e.value)) {
      std::string joined;
      for (const Scalar& item : *list) joined += (joined.empty() ? "" : ", ") + TextOf(item);
      out += std::string(Trim(Padded(e.name, width + 2) + joined)) + "\n";
    } else {
      const auto& table = std::get<TableData>(e.value);
      if (!out.empty()) out += "\n";  // a table after fields stands apart
      RenderTable(table.columns, table.rows, out);
    }
  }
  return out;
}

std::string Output::RenderJson() const {
  std::string out = "{";
  for (std::size_t n = 0; n < entries_.size(); ++n) {
    const Entry& e = entries_[n];
    out += (n ? ", " : "") + JsonString(e.name) + ": ";
    if (const auto* s = std::get_if<Scalar>(&e.value)) {
      out += JsonOf(*s);
    } else if (const auto* list = std::get_if<std::vector<Scalar>>(&e.value)) {
      out += "[";
      for (std::size_t i = 0; i < list->size(); ++i) out += (i ? ", " : "") + JsonOf((*list)[i]);
      out += "]";
    } else {
      const auto& table = std::get<TableData>(e.value);
      out += "[";
      for (std::size_t r = 0; r < table.rows.size(); ++r) {
        out += r ? ", {" : "{";
        const auto& row = table.rows[r];
        for (std::size_t i = 0; i < row.size() && i < table.columns.size(); ++i)
          out += (i ? ", " : "") + JsonString(table.columns[i]) + ": " + JsonOf(row[i]);
        out += "}";
      }
      out += "]";
    }
  }
  return out + "}\n";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string JsonError(const Status& status) {
  std::string code = "null";
  if (status.code() != 0) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(CStatusOf(status.code())));
    code = JsonString(hex);
  }
  std::string errors;
  for (const InstrumentError& e : status.instrument_errors())
    errors += std::string(errors.empty() ? "" : ", ") + "{\"code\": " + std::to_string(e.code) +
              ", \"message\": " + JsonString(e.message) + "}";
  return "{\"error\": {\"message\": " + JsonString(status.message()) + ", \"code\": " + code +
         ", \"instrument_errors\": [" + errors + "]}}\n";
}

}  // namespace motqr::cli
