#include "trace/trace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "trace/trace_clock.h"

namespace motqr::trace {
namespace {

namespace fs = std::filesystem;

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  text = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    const char c =
        text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != suffix[i]) return false;
  }
  return true;
}

std::string WithExtension(std::string_view name, std::string_view extension) {
  std::string r(name);
  if (!EndsWithNoCase(name, extension)) r += extension;
  return r;
}

std::error_code LastError() { return {errno, std::system_category()}; }

}  // namespace

std::string DefaultTraceDirectory(const std::string& ivi_root, std::string_view company) {
  if (ivi_root.empty()) return {};
  const fs::path components = fs::path(ivi_root) / "Components";
  const fs::path own = components / fs::path(company);
  std::error_code ec;
  if (fs::is_directory(own, ec)) return own.string();
  return (components / "Quillstone").string();
}

std::string TraceFilePath(std::string_view explicit_name, std::string_view trace_name,
                          std::time_t start, const std::string& directory) {
  std::string name;
  if (!explicit_name.empty()) {
    name = WithExtension(explicit_name, ".xml");
    if (fs::path(name).is_absolute()) return name;
  } else {
    name = std::string(trace_name) + "_" + LocalTimeText(start, "%Y-%m-%d_%H-%M-%S") + ".xml";
  }
  return directory.empty() ? name : (fs::path(directory) / name).string();
}

std::string ExistingStylesheet(std::string_view transform, const std::string& directory) {
  fs::path path;
  if (transform.empty()) {
    path = fs::path(directory) / "trace.xslt";
  } else {
    path = WithExtension(transform, ".xslt");
    if (!path.has_parent_path()) path = fs::path(directory) / path;
  }
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return {};
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path.string() : absolute.string();
}

std::error_code TraceFile::Create(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  return fd_ < 0 ? LastError() : std::error_code();
}

std::error_code TraceFile::Write(std::string_view text) {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

std::error_code TraceFile::SyncAndMeasure(std::uint64_t* size) {
  struct stat st {};
  if (::fsync(fd_) != 0 || ::fstat(fd_, &st) != 0) return LastError();
  *size = static_cast<std::uint64_t>(st.st_size);
  return {};
}

void TraceFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace motqr::trace
