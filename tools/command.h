// The commands of the motqr tool: one row each, giving the dispatcher, the
// help texts and the shell completion script everything they need.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/cli_options.h"
#include "tools/output.h"
#include "tools/session.h"
#include "tools/status.h"

namespace motqr::cli {

// What a command runs with: the global options, its own arguments, where its
// results go, and the session (opened on first use, closed at the end).
class Context {
 public:
  Context(const CliOptions& options, bool check_status, std::span<const std::string> args,
          Output& out)
      : options_(options), check_status_(check_status), args_(args), out_(out) {}

  const CliOptions& options() const { return options_; }
  std::span<const std::string> args() const { return args_; }
  Output& out() { return out_; }
  Status OpenSession(Session** session);
  // A failure the instrument reported gets the entries of its error queue.
  Status WithInstrumentErrors(Status status) const;

 private:
  const CliOptions& options_;
  bool check_status_;
  std::span<const std::string> args_;
  Output& out_;
  std::unique_ptr<Session> session_;
};

struct Command {
  std::string_view name;
  std::string_view usage;    // the arguments, e.g. "<property> <value>"
  std::string_view summary;  // one line
  std::string_view details;  // further help, may be empty
  Status (*run)(Context& context);
  // Words the first argument can be (shell completion); null when free-form.
  std::vector<std::string> (*first_words)();
  // Raw I/O and the error queue itself: the session leaves the queue alone.
  bool keeps_error_queue = false;
  // The command's own options ("--wait --name"); anything else that looks like
  // an option is refused before the command runs. kAnyOptions: the command
  // reads its arguments itself.
  std::string_view options = kAnyOptions;
  static constexpr std::string_view kAnyOptions = "*";
};

std::span<const Command> AllCommands();
const Command* FindCommand(std::string_view name);
std::string GeneralHelp();
std::string CommandHelp(const Command& command);
// The completion scripts (motqr completion bash|zsh|fish).
std::string BashCompletionScript();
std::string ZshCompletionScript();
std::string FishCompletionScript();
// The manual page of motqr in roff, made from the help texts; and that of
// another program from its --help text.
std::string ManPage();
std::string ManPageFromHelp(std::string_view name, std::string_view summary, std::string_view help);
// The rule of the exit codes, as help and the manual give it.
std::string_view ExitCodeRule();

// Runs the tool: parses the command line, runs the command, prints its output
// or its error, and returns the exit code.
int Run(int argc, const char* const* argv);

// The command bodies, one group per file.
Status RunIdn(Context& c);
Status RunReset(Context& c);
Status RunSelfTest(Context& c);
Status RunErrors(Context& c);
Status RunOutput(Context& c);
Status RunStatus(Context& c);
Status RunMeasure(Context& c);
Status RunList(Context& c);
Status RunGet(Context& c);
Status RunSet(Context& c);
Status RunProgram(Context& c);
Status RunIvMap(Context& c);
Status RunScpi(Context& c);
Status RunShell(Context& c);
Status RunSim(Context& c);
Status RunCompletion(Context& c);
Status RunMan(Context& c);
Status RunFind(Context& c);

std::vector<std::string> MeasureWords();
std::vector<std::string> ProgramWords();
std::vector<std::string> PropertyWords();

}  // namespace motqr::cli
