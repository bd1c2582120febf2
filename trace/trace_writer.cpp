#include "trace/trace_writer.h"

#include <atomic>
#include <utility>

#include "platform/ivi/ivi_root.h"
#include "trace/trace_listener.h"

namespace motqr::trace {
namespace {

constexpr std::size_t kRootDepth = 1;  // only "TraceRecords" open: no record in progress

std::uint32_t NextTraceId() {
  static std::atomic<std::uint32_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::string StylesheetInstruction(const std::string& path) {
  std::string text = "<?xml-stylesheet type=\"text/xsl\" href=\"file://";
  AppendEscaped(text, path);
  text += "\"?>\r\n";
  return text;
}

// "name.xml" -> "name_2.xml": a second file of the same default name within
// one second would otherwise replace the first.
std::string WithRepeatNumber(const std::string& path, std::uint32_t repeat) {
  const std::size_t dot = path.size() - 4;  // before ".xml"
  return path.substr(0, dot) + "_" + std::to_string(repeat) + path.substr(dot);
}

}  // namespace

CTraceWriter::~CTraceWriter() { CompleteFile(); }

std::error_code CTraceWriter::Start(bool enabled, const TraceOptions& options,
                                    std::string trace_name, std::string_view company) {
  CompleteFile();
  closing_ = false;
  active_ = false;
  if (!enabled) return {};
  options_ = options;
  trace_name_ = std::move(trace_name);
  directory_ = DefaultTraceDirectory(ivi::IviStandardRootDir(), company);
  trace_id_ = NextTraceId();
  path_.clear();
  if (std::error_code ec = OpenFile()) return ec;
  active_ = true;
  return {};
}

void CTraceWriter::SessionClosing() {
  if (!active_) return;
  if (xml_.depth() > kRootDepth) {
    closing_ = true;  // after the record in progress
    return;
  }
  CompleteFile();
  active_ = false;
}

std::error_code CTraceWriter::OpenFile() {
  const std::time_t now = std::time(nullptr);
  std::string path = TraceFilePath(options_.name, trace_name_, now, directory_);
  if (options_.name.empty()) {
    if (path == last_default_path_) {
      ++default_name_repeat_;
    } else {
      last_default_path_ = path;
      default_name_repeat_ = 0;
    }
    if (default_name_repeat_) path = WithRepeatNumber(path, default_name_repeat_ + 1);
  }
  path_ = std::move(path);
  xml_.Reset();
  ++generation_;
  if (std::error_code ec = file_.Create(path_)) return ec;
  std::string header = "<?xml version=\"1.0\"?>\r\n";
  if (std::string sheet = ExistingStylesheet(options_.transform, directory_); !sheet.empty()) {
    header += StylesheetInstruction(sheet);
  }
  xml_.StartElement("TraceRecords", false);
  header += xml_.text();
  xml_.ClearText();
  if (std::error_code ec = file_.Write(header)) {
    AbandonFile();
    return ec;
  }
  state_ = FileState::kOpen;
  last_save_ = now;
  return {};
}

void CTraceWriter::CompleteFile() {
  if (!file_.is_open()) return;
  while (xml_.depth() > 0) xml_.EndElement();
  (void)file_.Write(xml_.text());  // nothing more can be done about a failure here
  xml_.Reset();
  file_.Close();
  state_ = FileState::kDue;
  ++generation_;
}

void CTraceWriter::AbandonFile() {
  file_.Close();
  xml_.Reset();
  state_ = FileState::kDue;
  copying_ = false;
  record_.clear();
  ++generation_;
}

std::error_code CTraceWriter::BeginRecord() {
  if (state_ == FileState::kDue) {
    if (std::error_code ec = OpenFile()) return ec;
  }
  if (xml_.depth() == kRootDepth) {
    copying_ = HasTraceListeners();
    record_.clear();
  }
  return {};
}

std::error_code CTraceWriter::Note(std::string_view text) {
  if (!active_ || !file_.is_open() || xml_.depth() != kRootDepth) return {};
  // A comment holds no "--" and does not end in "-".
  std::string comment = "\t<!-- ";
  for (const char c : text) {
    if (c == '-' && comment.back() == '-') comment += ' ';
    comment += c;
  }
  comment += " -->\r\n";
  std::error_code ec = file_.Write(comment);
  if (ec) AbandonFile();
  return ec;
}

std::error_code CTraceWriter::WritePart() {
  const std::string& text = xml_.text();
  if (copying_) record_ += text;
  std::error_code ec = file_.Write(text);
  xml_.ClearText();
  if (ec) AbandonFile();
  return ec;
}

std::error_code CTraceWriter::EndRecord() {
  if (xml_.depth() != kRootDepth) return {};
  if (copying_) {
    copying_ = false;
    // Taken out first: a listener may make traced calls, which start records of their own.
    const std::string record = std::exchange(record_, {});
    const std::size_t first = record.find('<');
    if (first != std::string::npos) {
      NotifyTraceListeners(record.c_str() + first, trace_name_.c_str(), trace_id_);
    }
  }
  if (closing_) {
    closing_ = false;
    active_ = false;
    CompleteFile();
    return {};
  }
  return SaveAndRollOver();
}

std::error_code CTraceWriter::SaveAndRollOver() {
  if (state_ != FileState::kOpen) return {};  // a listener's own call rolled the file over
  const std::time_t now = std::time(nullptr);
  // Whole minutes elapsed since the last save.
  const std::int64_t minutes = static_cast<std::int64_t>(now - last_save_) / 60;
  if (minutes < options_.save_interval) return {};
  last_save_ = now;
  std::uint64_t size = 0;
  if (std::error_code ec = file_.SyncAndMeasure(&size)) {
    AbandonFile();
    return ec;
  }
  if (static_cast<std::int64_t>(size) > options_.size_max) {
    state_ = FileState::kClosing;
    CompleteFile();  // leaves the state kDue: the next call starts a new file
  }
  return {};
}

}  // namespace motqr::trace
