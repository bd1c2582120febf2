// Where trace files go, and the open trace file itself.
//
// The default directory is <IVI root>/Components/<company> when that folder
// exists, else <IVI root>/Components/Quillstone; neither is created. Without
// an IVI root (no IVI installation) it is the current directory.
//
//   TraceFilePath("run1", "MorvaneTqr", t, "/opt/ivi/Components/Morvane")
//       == "/opt/ivi/Components/Morvane/run1.xml"
//   TraceFilePath("", "MorvaneTqr", t, dir) == dir + "/MorvaneTqr_2024-05-01_13-02-09.xml"
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <system_error>

namespace motqr::trace {

std::string DefaultTraceDirectory(const std::string& ivi_root, std::string_view company);

// `explicit_name` is the TraceName option: ".xml" is appended when missing
// and a relative name is placed in `directory`. Without it the name is
// `trace_name`, "_", the local time `start` as "%Y-%m-%d_%H-%M-%S", ".xml".
std::string TraceFilePath(std::string_view explicit_name, std::string_view trace_name,
                          std::time_t start, const std::string& directory);

// The stylesheet the file refers to: `transform` (".xslt" appended when
// missing, a bare file name placed in `directory`) or "trace.xslt" in
// `directory`; empty when that file does not exist.
std::string ExistingStylesheet(std::string_view transform, const std::string& directory);

// One open trace file (closed by the destructor). Every write goes to the
// file at once; a short or failed write reports the system error.
class TraceFile {
 public:
  TraceFile() = default;
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;
  ~TraceFile() { Close(); }

  // Creates `path` anew (an existing file is replaced).
  std::error_code Create(const std::string& path);
  std::error_code Write(std::string_view text);
  // Flushes the file to disk and reads its size.
  std::error_code SyncAndMeasure(std::uint64_t* size);
  void Close();
  bool is_open() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace motqr::trace
