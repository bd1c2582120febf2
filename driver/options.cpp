#include "driver/options.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace motqr::driver {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string ToLower(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), Lower);
  return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

struct FlagName {
  const char* name;
  OperationFlag flag;
};
constexpr FlagName kFlagNames[] = {
    {"cache", OperationFlag::kCache},
    {"interchangecheck", OperationFlag::kInterchangeCheck},
    {"queryinstrstatus", OperationFlag::kQueryInstrumentStatus},
    {"rangecheck", OperationFlag::kRangeCheck},
    {"recordcoercions", OperationFlag::kRecordCoercions},
    {"simulate", OperationFlag::kSimulate},
};

// Finds the driver setup part: "DRIVERSETUP=" or "DRIVERSETUP", blanks, "=".
// Returns the position of "DRIVERSETUP" and of the text after its "=".
bool FindDriverSetup(std::string_view options, std::size_t* key_pos, std::size_t* value_pos) {
  std::string upper(options);
  std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
  constexpr std::string_view kKey = "DRIVERSETUP";
  if (std::size_t p = upper.find("DRIVERSETUP="); p != std::string::npos) {
    *key_pos = p;
    *value_pos = p + kKey.size() + 1;
    return true;
  }
  for (std::size_t p = upper.find(kKey); p != std::string::npos; p = upper.find(kKey, p + 1)) {
    std::size_t q = p + kKey.size();
    while (q < upper.size() && upper[q] == ' ') ++q;
    if (q > p + kKey.size() && q < upper.size() && upper[q] == '=') {
      *key_pos = p;
      *value_pos = q + 1;
      return true;
    }
  }
  return false;
}

HRESULT ApplyBooleanKey(std::string_view value, bool* target, errors::IErrorReporter& reporter) {
  std::optional<bool> b = ParseBooleanWord(Trim(value));
  if (!b) return reporter.BadOptionValue(value);
  *target = *b;
  return com::S_OK;
}

HRESULT ApplyTraceEnabled(std::string_view value, TraceSettings& trace,
                          errors::IErrorReporter& reporter) {
  std::optional<bool> b = ParseBooleanWord(Trim(value));
  if (!b) return reporter.BadOptionValue(value);
  if (!*b && trace.enabled) {
    // Turning tracing off while it runs: a file being rolled over cannot stop now.
    if (trace.file_state == 1) {
      return reporter.ReportErrorText(
          com::E_UNEXPECTED, "Trace cannot be switched off before its trace file is opened.");
    }
    trace.file_state = 1;
  }
  trace.enabled = *b;
  return com::S_OK;
}

}  // namespace

bool& OperationFlags::operator[](OperationFlag f) {
  switch (f) {
    case OperationFlag::kCache:
      return cache;
    case OperationFlag::kInterchangeCheck:
      return interchange_check;
    case OperationFlag::kQueryInstrumentStatus:
      return query_instrument_status;
    case OperationFlag::kRangeCheck:
      return range_check;
    case OperationFlag::kRecordCoercions:
      return record_coercions;
    case OperationFlag::kSimulate:
      return simulate;
  }
  return simulate;  // unreachable: every flag is listed above
}

std::optional<bool> ParseBooleanWord(std::string_view w) {
  if (EqualsNoCase(w, "true") || EqualsNoCase(w, "VI_TRUE") || w == "1") return true;
  if (EqualsNoCase(w, "false") || EqualsNoCase(w, "VI_FALSE") || w == "0") return false;
  return std::nullopt;
}

std::int32_t DecimalPrefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = std::min<std::int64_t>(v * 10 + (text[i] - '0'), std::int64_t{1} << 32);
  }
  if (negative) v = -v;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::vector<std::pair<std::string, std::string>> ParseOptionPairs(std::string_view s) {
  std::vector<std::pair<std::string, std::string>> pairs;
  auto is_sep = [](char c) { return c == ',' || c == '='; };
  std::size_t i = 0;
  while (i < s.size()) {
    if (is_sep(s[i])) {
      ++i;
      continue;
    }
    std::size_t eq = i;
    while (eq < s.size() && !is_sep(s[eq])) ++eq;
    // A match needs "=" right after the name run and a value run after it;
    // no start inside the same name run can do better, so skip past it.
    if (eq >= s.size() || s[eq] != '=' || eq + 1 >= s.size() || is_sep(s[eq + 1])) {
      i = eq + 1;
      continue;
    }
    std::size_t end = eq + 1;
    while (end < s.size() && !is_sep(s[end])) ++end;
    pairs.emplace_back(std::string(Trim(s.substr(i, eq - i))),
                       std::string(Trim(s.substr(eq + 1, end - eq - 1))));
    i = end;
  }
  return pairs;
}

HRESULT ProcessInitOption(std::string_view name, std::string_view value, SessionSettings& s,
                          errors::IErrorReporter& reporter) {
  if (name.empty()) return reporter.InvalidValueString("ProcessInitOption", "strNameIn", "0");
  if (value.empty()) return reporter.InvalidValueString("ProcessInitOption", "strValueIn", "0");
  const std::string lower = ToLower(Trim(name));
  const std::string_view trimmed_value = Trim(value);
  for (const FlagName& f : kFlagNames) {
    if (lower != f.name) continue;
    std::optional<bool> b = ParseBooleanWord(trimmed_value);
    if (!b) return reporter.BadOptionValue(trimmed_value);
    s.flags[f.flag] = *b;
    return com::S_OK;
  }
  s.option_entries[lower] = std::string(trimmed_value);
  return com::S_OK;
}

HRESULT ProcessDriverSetup(std::string_view setup, SessionSettings& s,
                           errors::IErrorReporter& reporter) {
  s.driver_setup_entries.clear();
  s.driver_setup = std::string(setup);
  std::string text(setup);
  for (std::size_t p = text.find("NumPhases:"); p != std::string::npos;
       p = text.find("NumPhases:", p)) {
    text[p + 9] = '=';
  }
  for (auto& [name, value] : ParseOptionPairs(text)) {
    const std::string key = ToLower(name);
    HRESULT hr = com::S_OK;
    if (key == "model") {
      s.model = value;
    } else if (key == "trace") {
      hr = ApplyTraceEnabled(value, s.trace, reporter);
    } else if (key == "tracearray") {
      hr = ApplyBooleanKey(value, &s.trace.array, reporter);
    } else if (key == "tracename") {
      s.trace.name = value;
    } else if (key == "tracesizemax") {
      s.trace.size_max = DecimalPrefix(value);
    } else if (key == "tracearraysizemax") {
      s.trace.array_size_max = DecimalPrefix(value);
    } else if (key == "tracesaveinterval") {
      s.trace.save_interval = DecimalPrefix(value);
    } else if (key == "tracetransform") {
      s.trace.transform = value;
    } else if (key == "iotimeout") {
      s.io_timeout = DecimalPrefix(value);
    } else if (key == "logio") {
      s.log_io = value;
    } else if (key == "logiosizemax") {
      s.log_io_size_max = DecimalPrefix(value);
    } else if (key == "visalibrary") {
      const std::string choice = ToLower(value);
      if (choice != "system" && choice != "builtin") {
        return reporter.BadOptionValue(value, "VisaLibrary: builtin or system.");
      }
      s.prefer_visa_library = choice == "system";
    } else if (key == "baud" || key == "parity" || key == "databits" || key == "stopbits" ||
               key == "flowcontrol") {
      s.serial.emplace_back(key, value);
    }
    if (com::Failed(hr)) return hr;
    s.driver_setup_entries[name] = value;
  }
  return com::S_OK;
}

HRESULT ProcessOptionString(std::string_view options, SessionSettings& s,
                            errors::IErrorReporter& reporter) {
  s.option_entries.clear();
  if (options.empty()) return com::S_OK;
  std::size_t key_pos, value_pos;
  if (FindDriverSetup(options, &key_pos, &value_pos)) {
    if (HRESULT hr = ProcessDriverSetup(options.substr(value_pos), s, reporter); com::Failed(hr))
      return hr;
    options = options.substr(0, key_pos);
  }
  // A later pair of the same name replaces the earlier one.
  std::unordered_map<std::string, std::string> pairs;
  for (auto& [name, value] : ParseOptionPairs(options)) pairs[name] = value;
  for (const auto& [name, value] : pairs) {
    if (HRESULT hr = ProcessInitOption(name, value, s, reporter); com::Failed(hr)) return hr;
  }
  return com::S_OK;
}

}  // namespace motqr::driver
