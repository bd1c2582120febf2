// motqr program list|show|create|run|watch|stop|delete: the step sequencer.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <thread>

#include "tools/command.h"
#include "tools/enum_names.h"
#include "tools/interrupt.h"
#include "tools/program_steps.h"
#include "tools/step_file.h"
#include "tools/text_file.h"

namespace motqr::cli {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

// The program subcommand's own arguments: positionals and --name value pairs.
struct ProgramArgs {
  std::string verb;
  std::vector<std::string> positional;
  std::string name;
  std::optional<std::int32_t> loops;
  std::optional<double> wait_seconds;  // none: run: the program's length; watch: no bound
  bool all = false;
  bool off_after = false;
};

Status ParseProgramArgs(std::span<const std::string> args, ProgramArgs* out) {
  if (args.empty())
    return Status::Usage("program needs one of: list show create run watch stop delete");
  out->verb = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--all") {
      out->all = true;
    } else if (a == "--off-after") {
      out->off_after = true;
    } else if (a == "--name" && has_value) {
      out->name = args[++i];
    } else if (a == "--loops" && has_value) {
      auto n = ParseInteger(args[++i]);
      if (!n || *n < 0 || *n > std::numeric_limits<std::int32_t>::max())
        return Status::Usage("--loops takes a count (0 repeats for ever)");
      out->loops = static_cast<std::int32_t>(*n);
    } else if (a == "--wait" && has_value) {
      auto s = ParseReal(args[++i]);
      if (!s || *s <= 0) return Status::Usage("--wait takes seconds");
      out->wait_seconds = *s;
    } else if (a.starts_with("--")) {
      return Status::Usage("program " + out->verb + ": " +
                           (a == "--name" || a == "--loops" || a == "--wait"
                                ? a + " needs a value"
                                : "unknown option '" + a + "'"));
    } else {
      out->positional.push_back(a);
    }
  }
  return Status::Ok();
}

std::vector<std::string> TextsOf(const com::SafeArray& array) {
  std::vector<std::string> texts;
  if (array.vt() != com::VT_BSTR) return texts;
  for (com::BSTR s : array.Data<com::BSTR>()) texts.push_back(com::BstrToUtf8(s));
  return texts;
}

std::vector<Scalar> ScalarsOf(const std::vector<std::string>& texts) {
  std::vector<Scalar> out;
  for (const std::string& t : texts) out.push_back(Scalar::Text(t));
  return out;
}

Status ProgramNames(IMorvaneTqrProgram& program, std::vector<std::string>* names) {
  com::SafeArray list;
  MOTQR_CLI_TRY(Check(program.GetProgramList(list.Put()), "program list"));
  *names = TextsOf(list);
  return Status::Ok();
}

// Selects an existing program; selecting an unknown name would create it.
Status SelectExisting(IMorvaneTqrProgram& program, const std::string& name) {
  std::vector<std::string> names;
  MOTQR_CLI_TRY(ProgramNames(program, &names));
  if (std::find(names.begin(), names.end(), name) == names.end())
    return Status::Failed("no program named '" + name + "'");
  return Check(program.ConfigureSelectedProgram(com::Bstr::FromUtf8(name).Get()),
               "select program " + name);
}

Status SelectedName(IMorvaneTqrProgram& program, std::string* name) {
  com::Bstr text;
  MOTQR_CLI_TRY(Check(program.QuerySelectedProgram(text.Put()), "selected program"));
  *name = text.ToUtf8();
  return Status::Ok();
}

Status List(Context& c, IMorvaneTqrProgram& program) {
  std::vector<std::string> names;
  MOTQR_CLI_TRY(ProgramNames(program, &names));
  std::string selected;
  MOTQR_CLI_TRY(SelectedName(program, &selected));
  com::SafeArray chain;
  MOTQR_CLI_TRY(Check(program.QueryProgramChain(chain.Put()), "program chain"));
  c.out().List("programs", ScalarsOf(names));
  c.out().Field("selected", Scalar::Text(selected));
  c.out().List("chain", ScalarsOf(TextsOf(chain)));
  return Status::Ok();
}

Status Show(Context& c, IMorvaneTqrProgram& program, const ProgramArgs& a) {
  if (a.positional.size() > 1) return Status::Usage("program show takes one name");
  if (!a.positional.empty()) MOTQR_CLI_TRY(SelectExisting(program, a.positional[0]));
  std::string name;
  MOTQR_CLI_TRY(SelectedName(program, &name));
  std::int32_t steps = 0, loops = 0;
  MOTQR_CLI_TRY(Check(program.get_ProgramStepCount(&steps), "step count"));
  MOTQR_CLI_TRY(Check(program.get_ProgramLoopCount(&loops), "loop count"));
  std::vector<std::string> columns = {"step"};
  for (const StepField& f : StepFields()) columns.emplace_back(f.column);
  std::vector<std::vector<Scalar>> rows;
  for (std::int32_t step = 1; step <= steps; ++step) {
    std::vector<Scalar> row = {Scalar::Integer(step)};
    for (const StepField& f : StepFields()) {
      row.emplace_back();
      MOTQR_CLI_TRY(f.query(program, step, &row.back()));
    }
    rows.push_back(std::move(row));
  }
  c.out().Field("name", Scalar::Text(name));
  c.out().Field("loops", Scalar::Integer(loops));
  c.out().Table("steps", std::move(columns), std::move(rows));
  return Status::Ok();
}

Status Create(Context& c, IMorvaneTqrProgram& program, const ProgramArgs& a) {
  if (a.positional.size() != 1) return Status::Usage("program create takes one step file");
  const std::string& path = a.positional[0];
  std::string text;
  MOTQR_CLI_TRY(ReadTextFile(path, &text));
  StepFile file;
  const std::vector<std::string_view> known = StepColumnNames();
  if (Status s = ParseStepFile(text, known, &file); !s.ok())
    return Status::Usage(path + ": " + s.message());
  // Every cell is checked before the instrument is touched.
  for (std::size_t r = 0; r < file.steps.size(); ++r)
    for (std::size_t i = 0; i < file.columns.size(); ++i) {
      const StepField& f = *FindStepField(file.columns[i]);
      const std::string& cell = file.steps[r][i];
      if (!cell.empty() && !f.valid(cell))
        return Status::Usage(path + ": step " + std::to_string(r + 1) + ": '" + cell +
                             "' is not a " + file.columns[i] + " (" + f.describe() + ")");
    }
  std::string name = !a.name.empty()      ? a.name
                     : !file.name.empty() ? file.name
                                          : std::filesystem::path(path).stem().string();
  if (name.empty() || name == "-") return Status::Usage("give the program a name (--name)");
  const auto loops = a.loops ? a.loops : file.loops;

  // A program of that name is replaced, not merged into.
  std::vector<std::string> names;
  MOTQR_CLI_TRY(ProgramNames(program, &names));
  const com::Bstr bname = com::Bstr::FromUtf8(name);
  if (std::find(names.begin(), names.end(), name) != names.end()) {
    MOTQR_CLI_TRY(Check(program.ConfigureSelectedProgram(bname.Get()), "select " + name));
    MOTQR_CLI_TRY(Check(program.DeleteSelectedProgram(), "delete " + name));
  }
  MOTQR_CLI_TRY(Check(program.ConfigureSelectedProgram(bname.Get()), "create " + name));
  const auto count = static_cast<std::int32_t>(file.steps.size());
  MOTQR_CLI_TRY(Check(program.put_ProgramStepCount(count), "step count"));
  for (std::int32_t step = 1; step <= count; ++step)
    for (std::size_t i = 0; i < file.columns.size(); ++i) {
      const std::string& cell = file.steps[static_cast<std::size_t>(step - 1)][i];
      if (!cell.empty()) MOTQR_CLI_TRY(FindStepField(file.columns[i])->apply(program, step, cell));
    }
  if (loops) MOTQR_CLI_TRY(Check(program.put_ProgramLoopCount(*loops), "loops"));
  MOTQR_CLI_TRY(Check(program.SaveProgram(), "save " + name));
  c.out().Field("created", Scalar::Text(name));
  c.out().Field("steps", Scalar::Integer(count));
  if (loops) c.out().Field("loops", Scalar::Integer(*loops));
  return Status::Ok();
}

// Shows "program P  step s/n  loop l/m  state" while the sequencer runs; on a
// terminal the line is rewritten in place, elsewhere a line per change.
class ProgressLine {
 public:
  explicit ProgressLine(bool enabled) : enabled_(enabled), tty_(::isatty(STDERR_FILENO) == 1) {}
  ~ProgressLine() {
    if (tty_ && !last_.empty()) std::fputs("\n", stderr);
  }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(const std::string& line) {
    if (!enabled_ || line == last_) return;
    if (tty_) {
      std::fprintf(stderr, "\r%s\x1b[K", line.c_str());
    } else {
      std::fprintf(stderr, "%s\n", line.c_str());
    }
    std::fflush(stderr);
    last_ = line;
  }

 private:
  bool enabled_;
  bool tty_;
  std::string last_;
};

std::string StateName(MorvaneTqrTransientStateEnum state) {
  switch (state) {
    case MorvaneTqrTransientStateIdle:
      return "idle";
    case MorvaneTqrTransientStateWatiTrigger:
      return "waiting for trigger";
    case MorvaneTqrTransientStateRun:
      return "running";
    case MorvaneTqrTransientStatePause:
      return "paused";
  }
  return "unknown";
}

// The state the output was left in, for the report after a run ends early:
// "on" or "off", or switched off first with --off-after.
Status OutputState(Session& s, bool switch_off, std::string* state) {
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  MOTQR_CLI_TRY(s.Channel({}, &channel));
  if (switch_off) {
    MOTQR_CLI_TRY(Check(channel->put_Enabled(com::VARIANT_FALSE), "output off"));
    *state = "switched off";
    return Status::Ok();
  }
  com::VARIANT_BOOL enabled = com::VARIANT_FALSE;
  MOTQR_CLI_TRY(Check(channel->get_Enabled(&enabled), "output"));
  *state = enabled ? "on" : "off";
  return Status::Ok();
}

// How long the selected program runs by its steps: the dwells times the loops,
// or none when it repeats for ever or a step waits for a trigger.
Status ProgramLength(IMorvaneTqrProgram& program, std::optional<double>* seconds) {
  std::int32_t steps = 0, loops = 0;
  MOTQR_CLI_TRY(Check(program.get_ProgramStepCount(&steps), "step count"));
  MOTQR_CLI_TRY(Check(program.get_ProgramLoopCount(&loops), "loop count"));
  seconds->reset();
  if (loops <= 0) return Status::Ok();
  double total = 0;
  for (std::int32_t step = 1; step <= steps; ++step) {
    double dwell = 0;
    MOTQR_CLI_TRY(Check(program.QueryProgramStepDwell(step, &dwell), "step dwell"));
    auto trigger = MorvaneTqrTriggerImmediate;
    MOTQR_CLI_TRY(Check(program.QueryProgramStepTrigger(step, &trigger), "step trigger"));
    if (trigger != MorvaneTqrTriggerImmediate) return Status::Ok();
    total += dwell;
  }
  *seconds = total * loops;
  return Status::Ok();
}

// Polls the sequencer until it is idle, bounded by `wait_seconds` (none: no
// bound); a run this command started is aborted when the time is up or on
// Ctrl-C, and the report says what state the output was left in.
Status Watch(Context& c, IMorvaneTqrProgram& program, std::optional<double> wait_seconds,
             bool abort_at_end, bool off_after) {
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrTrigger> trigger;
  MOTQR_CLI_TRY(s->Driver(&trigger));
  std::string selected;
  std::int32_t steps = 0, loops = 0;
  MOTQR_CLI_TRY(SelectedName(program, &selected));
  MOTQR_CLI_TRY(Check(program.get_ProgramStepCount(&steps), "step count"));
  MOTQR_CLI_TRY(Check(program.get_ProgramLoopCount(&loops), "loop count"));

  InterruptScope interrupt;
  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                    std::chrono::duration<double>(wait_seconds.value_or(0)));
  const bool text = c.out().style() == Output::Style::kText || ::isatty(STDERR_FILENO) == 1;
  std::int32_t last_step = 0, last_loop = 0;
  std::string last_program;
  {
    ProgressLine progress(text);
    for (;;) {
      auto state = static_cast<MorvaneTqrTransientStateEnum>(-1);
      com::Bstr name;
      std::int32_t step = 0, loop = 0;
      MOTQR_CLI_TRY(
          Check(trigger->QueryTransientInfo(&state, name.Put(), &step, &loop), "transient state"));
      if (state == MorvaneTqrTransientStateIdle) break;
      if (StateName(state) == "unknown") return Status::Failed("unknown sequencer state");
      last_program = name.ToUtf8();
      last_step = step;
      last_loop = loop;
      const bool ours = last_program == selected;
      std::string line = "program " + last_program + "  step " + std::to_string(step);
      if (ours) line += "/" + std::to_string(steps);
      line += "  loop " + std::to_string(loop);
      if (ours && loops > 0) line += "/" + std::to_string(loops);
      progress.Show(line + "  " + StateName(state));
      const bool timed_out = wait_seconds && std::chrono::steady_clock::now() >= deadline;
      if (Interrupted() || timed_out) {
        std::string how = Interrupted() ? std::string("interrupted")
                                        : "the program is still running after " +
                                              FormatReal(*wait_seconds) + " s";
        if (abort_at_end) {
          MOTQR_CLI_TRY(Check(trigger->Abort(MorvaneTqrTriggerSystemProgram), "abort"));
          how +=
              " (aborted at step " + std::to_string(step) + ", loop " + std::to_string(loop) + ")";
        }
        std::string output;
        MOTQR_CLI_TRY(OutputState(*s, off_after, &output));
        how += "; output " + (output == "on" ? std::string("left on") : output);
        return Interrupted() ? Status::Interrupted(how) : Status::Failed(how);
      }
      std::this_thread::sleep_for(kPollInterval);
    }
  }
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  c.out().Field("state", Scalar::Text("idle"));
  if (!last_program.empty()) {
    c.out().Field("last-program", Scalar::Text(last_program));
    c.out().Field("last-step", Scalar::Integer(last_step));
    c.out().Field("last-loop", Scalar::Integer(last_loop));
  }
  c.out().Field("seconds", Scalar::Number(std::round(elapsed * 10) / 10));
  std::string output;
  MOTQR_CLI_TRY(OutputState(*s, off_after, &output));
  c.out().Field("output", Scalar::Text(output));
  return Status::Ok();
}

// Time allowed beyond a program's own length (polling, the instrument's own
// step changes): a tenth of it, at least this much.
constexpr double kLengthMarginSeconds = 5;

Status RunIt(Context& c, IMorvaneTqrProgram& program, const ProgramArgs& a) {
  if (a.positional.size() > 1) return Status::Usage("program run takes one name");
  if (!a.positional.empty()) MOTQR_CLI_TRY(SelectExisting(program, a.positional[0]));
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  std::optional<double> wait = a.wait_seconds;
  if (!wait) {
    MOTQR_CLI_TRY(ProgramLength(program, &wait));
    if (wait) *wait += std::max(kLengthMarginSeconds, *wait / 10);
  }
  com::ComPtr<IMorvaneTqrTrigger> trigger;
  MOTQR_CLI_TRY(s->Driver(&trigger));
  MOTQR_CLI_TRY(Check(trigger->Initiate(MorvaneTqrTriggerSystemProgram), "start program"));
  return Watch(c, program, wait, true, a.off_after);
}

Status Delete(IMorvaneTqrProgram& program, const ProgramArgs& a) {
  if (a.all && a.positional.empty()) return Check(program.DeleteAllPrograms(), "delete all");
  if (a.all || a.positional.size() != 1)
    return Status::Usage("program delete takes one name, or --all");
  MOTQR_CLI_TRY(SelectExisting(program, a.positional[0]));
  return Check(program.DeleteSelectedProgram(), "delete " + a.positional[0]);
}

}  // namespace

std::vector<std::string> ProgramWords() {
  return {"list", "show", "create", "run", "watch", "stop", "delete"};
}

Status RunProgram(Context& c) {
  ProgramArgs a;
  MOTQR_CLI_TRY(ParseProgramArgs(c.args(), &a));
  const auto words = ProgramWords();
  if (std::find(words.begin(), words.end(), a.verb) == words.end())
    return Status::Usage("program has no '" + a.verb +
                         "' (list show create run watch stop delete)");
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrProgram> program;
  MOTQR_CLI_TRY(s->Driver(&program));
  const bool no_arguments = a.positional.empty();
  if (a.verb == "list" && no_arguments) return List(c, *program);
  if (a.verb == "show") return Show(c, *program, a);
  if (a.verb == "create") return Create(c, *program, a);
  if (a.verb == "run") return RunIt(c, *program, a);
  if (a.verb == "watch" && no_arguments)
    return Watch(c, *program, a.wait_seconds, false, a.off_after);
  if (a.verb == "delete") return Delete(*program, a);
  if (a.verb == "stop" && no_arguments) {
    com::ComPtr<IMorvaneTqrTrigger> trigger;
    MOTQR_CLI_TRY(s->Driver(&trigger));
    return Check(trigger->Abort(MorvaneTqrTriggerSystemProgram), "stop");
  }
  return Status::Usage("program " + a.verb + " takes no arguments");
}

}  // namespace motqr::cli
