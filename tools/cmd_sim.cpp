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
  if (c.args().size() != 1 || c.args()[0] != "bash")
    return Status::Usage("completion bash is the one shell supported");
  std::fputs(BashCompletionScript().c_str(), stdout);
  return Status::Ok();
}

}  // namespace motqr::cli
