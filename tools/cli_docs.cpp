// The zsh and fish completion scripts and the manual pages, all made from the
// command table and the help texts (bash's script is beside the table).
#include <string>

#include "tools/command.h"

namespace motqr::cli {
namespace {

std::string Join(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

// Text inside single quotes of a shell script.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ValuedOptions(char separator) {
  std::string out;
  for (const GlobalOption& o : GlobalOptions())
    if (!o.argument.empty())
      out += (out.empty() ? "" : std::string(1, separator)) + std::string(o.name);
  return out;
}

// Roff text: a leading '.' or '\'' would start a request; backslashes escape.
std::string Roff(std::string_view text) {
  std::string out;
  bool line_start = true;
  for (char c : text) {
    if (line_start && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    line_start = c == '\n';
  }
  return out;
}

}  // namespace

std::string ZshCompletionScript() {
  std::string commands, arms;
  for (const Command& c : AllCommands()) {
    std::string summary(c.summary);
    for (char& ch : summary)
      if (ch == ':') ch = ' ';
    commands += "    " + Quoted(std::string(c.name) + ":" + summary) + "\n";
    if (!c.first_words) continue;
    const std::string position = c.name == "set"   ? "arg % 2 == 1"
                                 : c.name == "get" ? "arg >= 1"
                                                   : "arg == 1";
    arms += "    " + std::string(c.name) + ") ((" + position + ")) && compadd -- " +
            Join(c.first_words()) + " ;;\n";
  }
  std::string options;
  for (const GlobalOption& o : GlobalOptions()) options += std::string(o.name) + " ";
  return "#compdef motqr\n"
         "# zsh completion for motqr: installed as _motqr in a $fpath folder, or\n"
         "#   source <(motqr completion zsh)\n"
         "_motqr() {\n"
         "  local -a commands\n"
         "  commands=(\n" +
         commands +
         "  )\n"
         "  local i cmd='' at=0\n"
         "  for ((i = 2; i < CURRENT; i++)); do\n"
         "    case ${words[i]} in\n"
         "      " +
         ValuedOptions('|') +
         ") ((i++)) ;;\n"
         "      -*) ;;\n"
         "      *) cmd=${words[i]}; at=$i; break ;;\n"
         "    esac\n"
         "  done\n"
         "  case ${words[CURRENT-1]} in\n"
         "    --trace|--log-io) _files; return ;;\n"
         "    " +
         ValuedOptions('|') +
         ") return ;;\n"
         "  esac\n"
         "  if [[ $PREFIX == -* ]]; then compadd -- " +
         options +
         "; return; fi\n"
         "  if [[ -z $cmd ]]; then _describe command commands; return; fi\n"
         "  local arg=$((CURRENT - at))\n"
         "  case $cmd in\n" +
         arms +
         "  esac\n"
         "  case $cmd:$arg in\n"
         "    ivmap:2) compadd -- voltage current ;;\n"
         "    ivmap:3|program:2) _files ;;\n"
         "  esac\n"
         "}\n"
         "if [[ $funcstack[1] == _motqr ]]; then _motqr \"$@\"; else compdef _motqr motqr; fi\n";
}

std::string FishCompletionScript() {
  std::string out =
      "# fish completion for motqr: installed in a completions folder, or\n"
      "#   motqr completion fish | source\n"
      "complete -c motqr -f\n";
  std::string names;
  for (const Command& c : AllCommands()) names += (names.empty() ? "" : " ") + std::string(c.name);
  for (const Command& c : AllCommands())
    out += "complete -c motqr -n 'not __fish_seen_subcommand_from " + names + "' -a " +
           std::string(c.name) + " -d " + Quoted(c.summary) + "\n";
  for (const GlobalOption& o : GlobalOptions()) {
    if (!o.name.starts_with("--")) continue;
    out += "complete -c motqr -l " + std::string(o.name.substr(2));
    if (!o.argument.empty()) out += o.argument == "FILE" ? " -r -F" : " -x";
    out += " -d " + Quoted(o.help) + "\n";
  }
  for (const Command& c : AllCommands()) {
    if (!c.first_words) continue;
    out += "complete -c motqr -n '__fish_seen_subcommand_from " + std::string(c.name) + "' -a " +
           Quoted(Join(c.first_words())) + "\n";
  }
  out += "complete -c motqr -n '__fish_seen_subcommand_from ivmap' -a 'voltage current'\n";
  out += "complete -c motqr -n '__fish_seen_subcommand_from ivmap program' -F\n";
  return out;
}

std::string ManPage() {
  std::string page = ".TH MOTQR 1 \"\" \"motqr " MOTQR_VERSION
                     "\" \"User Commands\"\n"
                     ".SH NAME\n"
                     "motqr \\- the Morvane TQR\\-M1..M7 power supplies from the command line\n"
                     ".SH SYNOPSIS\n"
                     ".B motqr\n"
                     "[\\fIoptions\\fR] \\fIcommand\\fR [\\fIarguments\\fR]\n"
                     ".SH DESCRIPTION\n"
                     "motqr drives an instrument through the motqr driver: identity, settings by\n"
                     "property path, the output, measurements, programs, I\\-V maps, raw SCPI and\n"
                     "tqr\\-sim, the simulator.\n"
                     ".SH OPTIONS\n";
  for (const GlobalOption& o : GlobalOptions()) {
    page += ".TP\n.B " + Roff(o.name);
    if (!o.argument.empty()) page += " \\fI" + Roff(o.argument) + "\\fR";
    page += "\n" + Roff(o.help) + "\n";
  }
  page += ".SH COMMANDS\n";
  for (const Command& c : AllCommands()) {
    page += ".SS " +
            Roff(std::string(c.name) + (c.usage.empty() ? "" : " ") + std::string(c.usage)) + "\n" +
            Roff(c.summary) + "\n";
    std::string help = CommandHelp(c);
    // The usage and summary lines are above already; the rest as it is.
    std::size_t rest = help.find("\n\n");
    rest = rest == std::string::npos ? std::string::npos : help.find("\n\n", rest + 2);
    if (rest != std::string::npos && rest + 2 < help.size())
      page += ".PP\n.nf\n" + Roff(help.substr(rest + 2)) + ".fi\n";
  }
  page +=
      ".SH ENVIRONMENT\n.TP\n.B MOTQR_RESOURCE\nthe resource when no \\-\\-resource or "
      "\\-\\-logical\\-name is given\n";
  page += ".SH EXIT STATUS\n" + Roff(ExitCodeRule());
  page += ".SH SEE ALSO\n.BR tqr\\-sim (1)\n";
  return page;
}

// The manual page of another program from its --help text: the text as it is,
// under the page's headings.
std::string ManPageFromHelp(std::string_view name, std::string_view summary,
                            std::string_view help) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return ".TH " + Roff(upper) + " 1 \"\" \"motqr " MOTQR_VERSION "\" \"User Commands\"\n" +
         ".SH NAME\n" + Roff(name) + " \\- " + Roff(summary) + "\n" + ".SH DESCRIPTION\n.nf\n" +
         Roff(help) + (help.ends_with('\n') ? "" : "\n") + ".fi\n.SH SEE ALSO\n.BR motqr (1)\n";
}

}  // namespace motqr::cli
