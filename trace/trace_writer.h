// CTraceWriter: one driver session's method trace -- its settings, the
// trace file and its XML writer, roll-over and the records for listeners.
// The driver starts it from Initialize and tells it when Close begins; each
// traced call writes its record through a CMethodTrace.
//
//   CTraceWriter trace;
//   trace.Start(true, options, "MorvaneTqr", "Morvane");   // opens the first file
//   { CMethodTrace record(trace, "IIviDriverOperation", "get_Cache", params);
//     record.Enter(); ... record.Exit(hr); }
//   trace.SessionClosing();   // the file ends with the record in progress
//
// File states: kOpen, kDue (a file is opened by the next traced call), and
// kClosing while the root end tag is written at roll-over. After each
// top-level record, once TraceSaveInterval whole minutes have passed since
// the last save, the file is flushed to disk and, when it has grown past
// TraceSizeMax, closed; the next call starts a new one. A failed write
// abandons the file (it is closed as it is) and the next call starts anew.
//
// The writer has no lock: every call frame of the session holds the session
// lock while it writes.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <system_error>

#include "trace/parameter_element.h"
#include "trace/trace_file.h"
#include "trace/xml_writer.h"

namespace motqr::trace {

struct TraceOptions {
  std::string name;                   // TraceName
  std::int64_t size_max = 10 << 20;   // TraceSizeMax, bytes
  bool array = true;                  // TraceArray
  std::int32_t array_size_max = 100;  // TraceArraySizeMax
  std::int32_t save_interval = 1;     // TraceSaveInterval, minutes
  std::string transform;              // TraceTransform
};

class CTraceWriter {
 public:
  enum class FileState { kOpen = 0, kDue = 1, kClosing = 2 };

  CTraceWriter() = default;
  CTraceWriter(const CTraceWriter&) = delete;
  CTraceWriter& operator=(const CTraceWriter&) = delete;
  ~CTraceWriter();  // completes an open file

  // Whether calls are traced; the one test a call makes when tracing is off.
  bool active() const { return active_; }

  // Start of tracing: with `enabled`, takes the settings and starts a new
  // file (the failure to create it is returned and tracing stays off);
  // without, completes an open file and stops.
  std::error_code Start(bool enabled, const TraceOptions& options, std::string trace_name,
                        std::string_view company);
  // The session is closing: the file is completed, and tracing stops, once
  // the record in progress has been written.
  void SessionClosing();

  // Writes `text` into the open file as an XML comment between records (a
  // note for the reader that no record carries, such as a configuration store
  // the session passed over); nothing happens while no file is open.
  std::error_code Note(std::string_view text);

  FileState file_state() const { return state_; }
  // The file being written, or the one that failed.
  const std::string& file_path() const { return path_; }
  std::uint32_t trace_id() const { return trace_id_; }

  // --- For CMethodTrace ---------------------------------------------------
  // Before an entry part: opens a file when one is due; at the top level,
  // starts the copy of the record for listeners.
  std::error_code BeginRecord();
  XmlWriter& xml() { return xml_; }
  ArrayTraceLimits array_limits() const { return {options_.array, options_.array_size_max}; }
  // Writes the text of a part to the file (and to the record copy).
  std::error_code WritePart();
  // After an exit part: at the top level, hands the record to listeners,
  // then saves and rolls over, or completes the file when the session closes.
  std::error_code EndRecord();
  // Changes whenever a file starts or is abandoned: a record begun in one
  // file is not ended in another.
  std::uint64_t generation() const { return generation_; }

 private:
  std::error_code OpenFile();
  void CompleteFile();
  void AbandonFile();
  std::error_code SaveAndRollOver();

  bool active_ = false;
  bool closing_ = false;
  FileState state_ = FileState::kDue;
  TraceOptions options_;
  std::string trace_name_;
  std::string directory_;
  std::string path_;
  std::uint32_t trace_id_ = 0;
  std::string last_default_path_;  // a default name repeats within one second
  std::uint32_t default_name_repeat_ = 0;
  std::time_t last_save_ = 0;
  std::uint64_t generation_ = 0;
  XmlWriter xml_;
  TraceFile file_;
  bool copying_ = false;
  std::string record_;
};

}  // namespace motqr::trace
