// motqr sim: runs tqr-sim, the instrument simulator, in place of the tool.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/command.h"

namespace motqr::cli {
namespace {

// Installed, tqr-sim sits beside motqr; in a build tree it is sim/tqr-sim.
std::string FindSimulator() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  const auto dir = self.parent_path();
  for (const auto& candidate : {dir / "tqr-sim", dir.parent_path() / "sim" / "tqr-sim"})
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  return {};
}

}  // namespace

Status RunSim(Context& c) {
  const std::string simulator = FindSimulator();
  if (simulator.empty()) return Status::Failed("tqr-sim is not beside motqr nor in ../sim/");
  std::vector<std::string> args = {simulator};
  args.insert(args.end(), c.args().begin(), c.args().end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  ::execv(simulator.c_str(), argv.data());
  return Status::Failed(simulator + ": " + std::strerror(errno));
}

Status RunCompletion(Context& c) {
  const std::string shell = c.args().size() == 1 ? c.args()[0] : "";
  c.out().MarkPrinted();
  if (shell == "bash") {
    std::fputs(BashCompletionScript().c_str(), stdout);
  } else if (shell == "zsh") {
    std::fputs(ZshCompletionScript().c_str(), stdout);
  } else if (shell == "fish") {
    std::fputs(FishCompletionScript().c_str(), stdout);
  } else {
    return Status::Usage("completion takes bash, zsh or fish");
  }
  return Status::Ok();
}

Status RunMan(Context& c) {
  c.out().MarkPrinted();
  if (c.args().empty()) {
    std::fputs(ManPage().c_str(), stdout);
    return Status::Ok();
  }
  if (c.args().size() != 1 || c.args()[0] != "tqr-sim")
    return Status::Usage("man takes nothing (motqr's page) or tqr-sim");
  const std::string simulator = FindSimulator();
  if (simulator.empty()) return Status::Failed("tqr-sim is not beside motqr nor in ../sim/");
  std::FILE* pipe = ::popen(("'" + simulator + "' --help").c_str(), "r");
  if (!pipe) return Status::Failed(simulator + ": " + std::strerror(errno));
  std::string help;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) help.append(buffer, n);
  if (::pclose(pipe) != 0 || help.empty()) return Status::Failed(simulator + " --help failed");
  std::fputs(
      ManPageFromHelp("tqr-sim", "a simulator of the Morvane TQR power supplies", help).c_str(),
      stdout);
  return Status::Ok();
}

}  // namespace motqr::cli
