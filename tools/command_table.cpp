// The command table, the help texts and the completion script made from it,
// and Run, which ties the command line to a command.
#include <array>
#include <cstdio>
#include <cstdlib>

#include "tools/command.h"
#include "tools/panel/panel_command.h"
#include "tools/program_steps.h"

namespace motqr::cli {
namespace {

const std::array kCommands{
    Command{"idn", "", "identify the instrument (serial number included) and the driver", "",
            &RunIdn, nullptr, false, ""},
    Command{"reset", "", "reset the instrument to its default settings", "", &RunReset, nullptr,
            false, ""},
    Command{"find", "", "list reachable instruments and their *IDN? answers", "", &RunFind,
            nullptr},
    Command{"selftest", "", "run the instrument's self test (exit 1 when it fails)", "",
            &RunSelfTest, nullptr, false, ""},
    Command{"errors", "", "read and empty the instrument's error queue", "", &RunErrors, nullptr,
            true, ""},
    Command{"status", "", "the output, its regulation (CV, CC, ...) and protection trips",
            "Reads the operation and questionable condition registers and shows each set\n"
            "bit in words; a tripped protection stays latched until 'motqr output clear'.",
            &RunStatus, nullptr, false, ""},
    Command{"list", "[group]", "list the properties (path, access, values, member)",
            "A group is a path prefix: output, output.protection, system, ...", &RunList,
            &PropertyWords, false, ""},
    Command{"get", "<property>...", "read properties by path, or every property of a group",
            "  motqr get output.voltage-level\n"
            "  motqr get output.protection          (the whole group)\n"
            "  motqr get output[1].enabled           (a channel by index or name)\n"
            "'motqr list' shows every path with its values; the driver's member name\n"
            "(IMorvaneTqrOutputChannel.VoltageLevel) is accepted too.",
            &RunGet, &PropertyWords, false, ""},
    Command{"set", "<property> <value> [<property> <value>]...", "set properties",
            "Values: numbers (1.5, 2e-3), on|off for switches, the names 'motqr list'\n"
            "shows for choices (case does not matter), text as it stands.\n"
            "  motqr set output.voltage-level 5 output.current-level 1\n"
            "Every path and value is checked before anything is sent; the settings are\n"
            "then sent in order, and a refused one stops the rest (the message says which\n"
            "were applied, and the range the instrument allows).",
            &RunSet, &PropertyWords, false, ""},
    Command{"output", "[on|off|clear]",
            "switch the output on or off, or clear a protection trip; prints the state", "",
            &RunOutput,
            [] {
              return std::vector<std::string>{"on", "off", "clear"};
            },
            false, ""},
    Command{"measure",
            "[all|voltage|current|power|etime|capacity|energy] [--interval S [--count N] [--csv]]",
            "take a measurement (default: all quantities, with the regulation)",
            "Values print in engineering notation with six digits and their unit.\n"
            "--interval S takes a reading every S seconds, a line each, until --count\n"
            "readings or Ctrl-C; --csv prints them as CSV (time, seconds, quantities,\n"
            "regulation), --json as one JSON object per line.",
            &RunMeasure, &MeasureWords, false, "--interval --count --csv"},
    Command{"program", "list|show|create|run|watch|stop|delete ...",
            "the step sequencer's programs",
            "  program list                       names, the selected program, the chain\n"
            "  program show [name]                steps of a program (default: the selected)\n"
            "  program create <file> [--name N] [--loops N]\n"
            "                                     a program from a step file (replaces one of\n"
            "                                     the same name; the name defaults to the\n"
            "                                     file's)\n"
            "  program run [name] [--wait S] [--off-after]\n"
            "                                     start it and show step and loop until it\n"
            "                                     ends; aborted after S seconds (default: the\n"
            "                                     program's length from its dwells and loops,\n"
            "                                     and a margin; no bound when it repeats for\n"
            "                                     ever or waits for triggers) or on Ctrl-C;\n"
            "                                     says what state the output was left in;\n"
            "                                     --off-after switches it off at the end\n"
            "  program watch [--wait S] [--off-after]\n"
            "                                     follow a run without starting one\n"
            "  program stop                       abort the run\n"
            "  program delete <name>|--all\n"
            "Step file: a header row naming the columns, then one row per step; cells\n"
            "separated by commas or blanks; '#' starts a comment; an empty cell keeps the\n"
            "instrument's value; optional lines 'name = N' and 'loops = N' come first.\n"
            "  step, voltage, current, dwell, output\n"
            "  1,    5,       1,       0.5,   on\n"
            "  2,    10,      1,       0.5,   on\n"
            "Columns: step (optional, counting from 1), and the step fields below.",
            &RunProgram, &ProgramWords, false, "--name --loops --wait --all --off-after"},
    Command{"ivmap", "get|set voltage|current [<file.csv>]",
            "read or write a whole I-V map as CSV (voltage,current per point)",
            "get writes to the file, or prints the CSV when no file (or '-') is given.\n"
            "set checks every value first: a map holds 32-bit words of micro-volts and\n"
            "micro-amperes, so the voltage map holds -2147.483648 to 2147.483647 and the\n"
            "current map (read back unsigned) 0 to 2147.483647.",
            &RunIvMap,
            [] {
              return std::vector<std::string>{"get", "set"};
            },
            false, ""},
    Command{"scpi", "<command>...", "send SCPI commands; a command with '?' prints the reply",
            "  motqr scpi '*IDN?'\n  motqr scpi ':VOLT 5' ':VOLT?'\n"
            "Raw direct I/O: no status check follows (use 'motqr errors'). When the last\n"
            "command has no reply, \"*OPC?\" waits for the instrument to have taken it.\n"
            "A command that fails (a query without a reply times out) is reported with\n"
            "the errors the instrument queued.",
            &RunScpi, nullptr, true, ""},
    Command{"shell", "", "an interactive SCPI prompt with line editing and history",
            "Reads commands until 'quit' or end of input (Ctrl-D); on a terminal with\n"
            "line editing (arrows, Ctrl-R search), Ctrl-C cancels the line being typed.\n"
            "'history' lists the commands, '!!' repeats the last, '!N' repeats number N.\n"
            "A command that fails prints why, with the errors the instrument queued.",
            &RunShell, nullptr, true, ""},
    Command{"sim", "[--listen ADDR] [tqr-sim options]", "run tqr-sim, the instrument simulator",
            "Runs tqr-sim from beside motqr (or the build tree's sim/) with the options\n"
            "given; 'motqr sim -- --help' lists them. It prints 'port N' and serves\n"
            "until Ctrl-C. It listens on 127.0.0.1; --listen ADDR (an address of this\n"
            "machine, 0.0.0.0 for all) lets other machines on the bench reach it:\n"
            "  motqr sim --port 5025 &\n"
            "  motqr --resource TCPIP::127.0.0.1::5025::SOCKET idn",
            &RunSim, nullptr},
    Command{"completion", "bash|zsh|fish", "print a shell completion script",
            "  source <(motqr completion bash)\n"
            "  source <(motqr completion zsh)\n"
            "  motqr completion fish | source\n"
            "Installed, the scripts are found by the shells without this.",
            &RunCompletion,
            [] {
              return std::vector<std::string>{"bash", "zsh", "fish"};
            },
            false, ""},
    Command{"man", "[tqr-sim]", "print the manual page of motqr (or of tqr-sim) in roff",
            "  motqr man | man -l -", &RunMan, [] { return std::vector<std::string>{"tqr-sim"}; },
            false, ""},
    Command{"panel", kPanelUsage, kPanelSummary, kPanelDetails, &RunPanel, nullptr},
};

std::string Join(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

// In a simulated session only stored settings answer; what needs the instrument
// fails with "not established", which alone reads like a lost connection.
Status WithSimulationHint(const CliOptions& options, const Status& status) {
  constexpr com::HRESULT kNotInitialized = com::MakeHresult(0x8004701Du);
  if (!options.simulate || status.code() != kNotInitialized) return status;
  return status.WithMessage(status.message() +
                            "\n  a simulated session keeps settings only: measurements, "
                            "registers, limits and instrument commands need an instrument "
                            "(--resource NAME)");
}

void PrintError(const CliOptions& options, const Status& failure) {
  const Status status = WithSimulationHint(options, failure);
  if (options.json) {
    std::fputs(JsonError(status).c_str(), stdout);
  } else {
    std::fprintf(stderr, "motqr: %s\n", status.message().c_str());
  }
}

// An argument that looks like an option and is not one of the command's own.
// Negative numbers ("-5", "-.5") are values.
Status CheckOptions(const Command& command, std::span<const std::string> args) {
  if (command.options == Command::kAnyOptions) return Status::Ok();
  for (const std::string& a : args) {
    if (a.size() < 2 || a[0] != '-' || (a[1] >= '0' && a[1] <= '9') || a[1] == '.') continue;
    bool known = false;
    for (std::string_view rest = command.options; !rest.empty() && !known;) {
      const std::size_t space = rest.find(' ');
      known = rest.substr(0, space) == a;
      rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    if (!known)
      return Status::Usage("unknown option '" + a + "' for " + std::string(command.name) +
                           " (motqr " + std::string(command.name) + " --help)");
  }
  return Status::Ok();
}

}  // namespace

std::span<const Command> AllCommands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
  for (const Command& c : kCommands)
    if (c.name == name) return &c;
  return nullptr;
}

std::string GeneralHelp() {
  std::string text =
      "motqr: the Morvane TQR-M1..M7 power supplies from the command line\n\n"
      "usage: motqr [options] <command> [arguments]\n\ncommands:\n";
  for (const Command& c : kCommands) {
    std::string name(c.name);
    name.resize(12, ' ');
    text += "  " + name + std::string(c.summary) + "\n";
  }
  text += "\noptions (before or after the command):\n";
  for (const GlobalOption& o : GlobalOptions()) {
    std::string name =
        std::string(o.name) + (o.argument.empty() ? "" : " ") + std::string(o.argument);
    name.resize(22, ' ');
    text += "  " + name + std::string(o.help) + "\n";
  }
  text +=
      "\nWithout --resource or --logical-name the resource comes from $MOTQR_RESOURCE.\n"
      "'motqr <command> --help' describes a command.\n";
  text += ExitCodeRule();
  return text;
}

std::string_view ExitCodeRule() {
  return "Exit status: 0 done; 1 the driver or the instrument failed (the message says\n"
         "why, with the instrument's errors); 2 the command line or an input file was\n"
         "wrong (a bad or missing file included); 130 stopped by Ctrl-C.\n";
}

std::string CommandHelp(const Command& command) {
  std::string text = "usage: motqr [options] " + std::string(command.name);
  if (!command.usage.empty()) text += " " + std::string(command.usage);
  text += "\n\n" + std::string(command.summary) + "\n";
  if (!command.details.empty()) text += "\n" + std::string(command.details) + "\n";
  if (command.name == "program") {
    for (const StepField& f : StepFields()) {
      std::string column(f.column);
      column.resize(18, ' ');
      text += "  " + column + f.describe() + "\n";
    }
  }
  return text;
}

std::string BashCompletionScript() {
  // Every global option completes; those taking a value skip their value.
  std::string all_options, valued_case;
  for (const GlobalOption& o : GlobalOptions()) {
    all_options += std::string(o.name) + " ";
    if (!o.argument.empty()) valued_case += (valued_case.empty() ? "" : "|") + std::string(o.name);
  }

  std::string commands, arms;
  for (const Command& c : kCommands) {
    commands += std::string(c.name) + " ";
    if (!c.first_words) continue;
    const std::string words = Join(c.first_words());
    // set takes pairs: a property at every odd position.
    const std::string position = c.name == "set"   ? "arg % 2 == 1"
                                 : c.name == "get" ? "arg >= 1"
                                                   : "arg == 1";
    arms += "    " + std::string(c.name) + ") ((" + position + ")) && words=\"" + words + "\" ;;\n";
  }
  return "# bash completion for motqr:  source <(motqr completion bash)\n"
         "_motqr() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  local i cmd='' at=0 words=''\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    case ${COMP_WORDS[i]} in\n"
         "      " +
         valued_case +
         ") ((i++)) ;;\n"
         "      -*) ;;\n"
         "      *) cmd=${COMP_WORDS[i]}; at=$i; break ;;\n"
         "    esac\n"
         "  done\n"
         "  case $prev in\n"
         "    --trace|--log-io) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
         "    " +
         valued_case +
         ") return ;;\n"
         "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"" +
         all_options +
         "\" -- \"$cur\")); return\n"
         "  fi\n"
         "  if [[ -z $cmd ]]; then\n"
         "    COMPREPLY=($(compgen -W \"" +
         commands +
         "\" -- \"$cur\")); return\n"
         "  fi\n"
         "  local arg=$((COMP_CWORD - at))\n"
         "  case $cmd in\n" +
         arms +
         "  esac\n"
         "  case $cmd:$arg in\n"
         "    ivmap:2) words='voltage current' ;;\n"
         "    ivmap:3|program:2) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
         "  esac\n"
         "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "}\n"
         "complete -F _motqr motqr\n";
}

int Run(int argc, const char* const* argv) {
  CliOptions options;
  const std::span<const char* const> args(argv + 1,
                                          argc > 0 ? static_cast<std::size_t>(argc - 1) : 0);
  if (Status s = ParseCommandLine(args, std::getenv("MOTQR_RESOURCE"), &options); !s.ok()) {
    PrintError(options, s);
    return s.exit_code();
  }
  if (options.version) {
    std::printf("motqr %s\n", MOTQR_VERSION);
    return 0;
  }
  if (options.args.empty()) {
    std::fputs(GeneralHelp().c_str(), options.help ? stdout : stderr);
    return options.help ? 0 : Status::kUsageExit;
  }
  const Command* command = FindCommand(options.args[0]);
  if (!command) {
    PrintError(options, Status::Usage("no command '" + options.args[0] + "' (motqr --help)"));
    return Status::kUsageExit;
  }
  if (options.help) {
    std::fputs(CommandHelp(*command).c_str(), stdout);
    return 0;
  }
  if (Status s = CheckOptions(*command, std::span(options.args).subspan(1)); !s.ok()) {
    PrintError(options, s);
    return s.exit_code();
  }
  Output out(options.json ? Output::Style::kJson : Output::Style::kText);
  Status status = Status::Ok();
  {
    // The session closes before anything is printed.
    Context context(options, !command->keeps_error_queue, std::span(options.args).subspan(1), out);
    status = context.WithInstrumentErrors(command->run(context));
  }
  if (status.ok()) {
    std::fputs(out.Render().c_str(), stdout);
  } else {
    if (!options.json && !out.empty()) std::fputs(out.Render().c_str(), stdout);
    PrintError(options, status);
  }
  return status.exit_code();
}

}  // namespace motqr::cli
