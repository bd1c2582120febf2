#include "trace/method_trace.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

#include "errors/number_format.h"
#include "platform/com/error_info.h"
#include "trace/trace_clock.h"

namespace motqr::trace {
namespace {

template <class T>
std::string Decimal(T value) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string HresultText(com::HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
  return buf;
}

bool WrittenAt(const Parameter& p, Direction part) {
  return p.direction == part || p.direction == Direction::kInOut;
}

}  // namespace

CMethodTrace::CMethodTrace(CTraceWriter& writer, const char* interface_name, const char* method,
                           std::span<const Parameter> parameters)
    : writer_(writer),
      interface_name_(interface_name),
      method_(method),
      count_(std::min(parameters.size(), kMaxParameters)) {
  std::copy_n(parameters.begin(), count_, parameters_.begin());
}

CMethodTrace::~CMethodTrace() {
  if (!entered_) return;
  try {
    (void)Exit(com::E_UNEXPECTED);
  } catch (...) {  // nothing leaves a destructor
  }
}

std::error_code CMethodTrace::Enter() {
  if (std::error_code ec = writer_.BeginRecord()) return ec;
  start_ = CounterNow();
  generation_ = writer_.generation();
  XmlWriter& xml = writer_.xml();
  xml.StartElement("Method");
  xml.Attribute("Name", method_);
  xml.Attribute("Interface", interface_name_);
  xml.Attribute("StartTime", LocalTimeOfDay());
  xml.Attribute("Thread", Decimal(CurrentThreadId()));
  xml.Attribute("Timestamp", Decimal(start_));
  for (const Parameter& p : parameters()) {
    if (WrittenAt(p, Direction::kIn)) WriteParameter(xml, p, writer_.array_limits());
  }
  if (std::error_code ec = writer_.WritePart()) return ec;
  entered_ = true;
  return {};
}

std::error_code CMethodTrace::Exit(com::HRESULT result) {
  if (!entered_) return {};
  entered_ = false;
  if (writer_.generation() != generation_) return {};  // the file it began in is gone
  XmlWriter& xml = writer_.xml();
  for (const Parameter& p : parameters()) {
    if (WrittenAt(p, Direction::kOut)) WriteParameter(xml, p, writer_.array_limits());
  }
  xml.StartElement("HRESULT");
  xml.Attribute("Value", HresultText(result));
  if (com::Failed(result)) {
    com::ErrorRecord error;
    com::PeekErrorInfo(&error);
    xml.Attribute("Message", error.description);
  }
  xml.EndElement();
  const double seconds = static_cast<double>(CounterNow() - start_) / kCounterFrequency;
  xml.StartElement("Execution");
  xml.Attribute("ExecutionTime", errors::FormatDouble("%e", seconds));
  xml.EndElement();
  xml.EndElement();  // Method
  if (std::error_code ec = writer_.WritePart()) return ec;
  return writer_.EndRecord();
}

}  // namespace motqr::trace
