#include "tools/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/scalar.h"

namespace motqr::cli {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

Status ReadTextFile(const std::string& path, std::string* text) {
  text->clear();
  File owned;
  std::FILE* f = stdin;
  if (path != "-") {
    owned.reset(std::fopen(path.c_str(), "rb"));
    // A file that cannot be read is a wrong command line, like a wrong file.
    if (!owned) return Status::Usage(path + ": " + std::strerror(errno));
    f = owned.get();
  }
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f)) {
    if (text->size() + n > kMaxInputFileBytes)
      return Status::Usage(path + ": larger than " + std::to_string(kMaxInputFileBytes) + " bytes");
    text->append(buffer, n);
  }
  if (std::ferror(f)) return Status::Failed(path + ": read error");
  return Status::Ok();
}

Status WriteTextFile(const std::string& path, std::string_view text) {
  if (path == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? Status::Ok() : Status::Failed("standard output: write error");
  }
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) return Status::Failed(path + ": " + std::strerror(errno));
  if (std::fwrite(text.data(), 1, text.size(), f.get()) != text.size() ||
      std::fclose(f.release()) != 0)
    return Status::Failed(path + ": write error");
  return Status::Ok();
}

std::vector<std::string> SplitCells(std::string_view line) {
  std::vector<std::string> cells;
  if (line.find(',') != std::string_view::npos) {
    for (std::size_t start = 0;;) {
      const std::size_t comma = line.find(',', start);
      cells.emplace_back(Trim(line.substr(start, comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    return cells;
  }
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) cells.emplace_back(line.substr(start, i - start));
  }
  return cells;
}

std::string_view StripComment(std::string_view line) {
  return Trim(line.substr(0, line.find('#')));
}

}  // namespace motqr::cli
