#include "tools/panel/instrument_link.h"

#include <array>
#include <cmath>
#include <utility>

#include "tools/enum_names.h"
#include "tools/output.h"
#include "tools/scalar.h"

namespace motqr::panel {

using cli::Check;
using cli::Status;

// The driver's "Instrument error detected": its status check saw an error bit.
constexpr auto kInstrumentStatus = static_cast<com::HRESULT>(0x80047001u);
// A lost instrument is looked for again this often.
constexpr auto kReopenEvery = std::chrono::seconds(2);
constexpr std::size_t kErrorsKept = 50;
// The error queue is read until it says "no error", at most this often.
constexpr int kMaxErrorReads = 64;

struct InstrumentLink::Parts {
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  com::ComPtr<IMorvaneTqrOutputChannelProtection> protection;
  com::ComPtr<IMorvaneTqrProgram> program;
  com::ComPtr<IMorvaneTqrTrigger> trigger;
  com::ComPtr<IMorvaneTqrStatusOperation> operation;
  com::ComPtr<IMorvaneTqrStatusQuestionable> questionable;
  com::ComPtr<IIviDriverUtility> utility;
};

namespace {

using Parts = InstrumentLink::Parts;

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// ---- The controls: one row each, read and written through the driver. ----

enum class Kind { kNumber, kInteger, kBoolean, kChoice, kText };

struct Control {
  std::string_view name;
  Kind kind;
  const cli::EnumInfo* (*choices)();  // kChoice only
  // Read only while a program is selected (the instrument refuses it otherwise).
  bool needs_program;
  // `what` opens a failure's message ("set voltage").
  Status (*read)(const Parts& parts, std::string_view what, std::string* json);
  Status (*write)(const Parts& parts, std::string_view what, const RequestValue& value);
};

template <class I>
I* TargetOf(const Parts& parts);
template <>
IMorvaneTqrOutputChannel* TargetOf(const Parts& p) {
  return p.channel.Get();
}
template <>
IMorvaneTqrOutputChannelProtection* TargetOf(const Parts& p) {
  return p.protection.Get();
}
template <>
IMorvaneTqrProgram* TargetOf(const Parts& p) {
  return p.program.Get();
}

Status BadValue(std::string_view what, std::string_view wanted) {
  return Status::Usage(std::string(what) + ": takes " + std::string(wanted));
}

std::optional<double> AsNumber(const RequestValue& value) {
  if (const double* d = std::get_if<double>(&value)) return *d;
  if (const std::string* s = std::get_if<std::string>(&value)) return cli::ParseReal(*s);
  return std::nullopt;
}

template <class I, HRESULT (I::*Get)(double*), HRESULT (I::*Put)(double)>
constexpr Control NumberControl(std::string_view name) {
  return {name,
          Kind::kNumber,
          nullptr,
          false,
          [](const Parts& p, std::string_view what, std::string* json) {
            double v = 0;
            MOTQR_CLI_TRY(Check((TargetOf<I>(p)->*Get)(&v), what));
            *json = JsonNumber(v);
            return Status::Ok();
          },
          [](const Parts& p, std::string_view what, const RequestValue& value) {
            const auto v = AsNumber(value);
            if (!v) return BadValue(what, "a number");
            return Check((TargetOf<I>(p)->*Put)(*v), what);
          }};
}

template <class I, HRESULT (I::*Get)(std::int32_t*), HRESULT (I::*Put)(std::int32_t)>
constexpr Control IntegerControl(std::string_view name, bool needs_program) {
  return {name,
          Kind::kInteger,
          nullptr,
          needs_program,
          [](const Parts& p, std::string_view what, std::string* json) {
            std::int32_t v = 0;
            MOTQR_CLI_TRY(Check((TargetOf<I>(p)->*Get)(&v), what));
            *json = std::to_string(v);
            return Status::Ok();
          },
          [](const Parts& p, std::string_view what, const RequestValue& value) {
            const auto v = AsNumber(value);
            if (!v || *v != std::trunc(*v) || std::fabs(*v) > 2147483647.0)
              return BadValue(what, "a whole number");
            return Check((TargetOf<I>(p)->*Put)(static_cast<std::int32_t>(*v)), what);
          }};
}

template <class I, HRESULT (I::*Get)(VARIANT_BOOL*), HRESULT (I::*Put)(VARIANT_BOOL)>
constexpr Control BooleanControl(std::string_view name) {
  return {name,
          Kind::kBoolean,
          nullptr,
          false,
          [](const Parts& p, std::string_view what, std::string* json) {
            VARIANT_BOOL v = com::VARIANT_FALSE;
            MOTQR_CLI_TRY(Check((TargetOf<I>(p)->*Get)(&v), what));
            *json = v != com::VARIANT_FALSE ? "true" : "false";
            return Status::Ok();
          },
          [](const Parts& p, std::string_view what, const RequestValue& value) {
            std::optional<bool> on;
            if (const bool* b = std::get_if<bool>(&value)) on = *b;
            if (const std::string* s = std::get_if<std::string>(&value)) on = cli::ParseBoolean(*s);
            if (!on) return BadValue(what, "true or false");
            return Check((TargetOf<I>(p)->*Put)(*on ? com::VARIANT_TRUE : com::VARIANT_FALSE),
                         what);
          }};
}

template <class I, class E, HRESULT (I::*Get)(E*), HRESULT (I::*Put)(E)>
constexpr Control ChoiceControl(std::string_view name) {
  return {name,
          Kind::kChoice,
          [] { return &cli::EnumInfoOf<E>(); },
          false,
          [](const Parts& p, std::string_view what, std::string* json) {
            E v{};
            MOTQR_CLI_TRY(Check((TargetOf<I>(p)->*Get)(&v), what));
            *json = cli::JsonString(cli::EnumInfoOf<E>().ShortName(static_cast<std::int32_t>(v)));
            return Status::Ok();
          },
          [](const Parts& p, std::string_view what, const RequestValue& value) {
            const cli::EnumInfo& info = cli::EnumInfoOf<E>();
            const std::string* s = std::get_if<std::string>(&value);
            const auto v = s ? info.Parse(*s) : std::nullopt;
            if (!v) return BadValue(what, "one of " + info.Choices());
            return Check((TargetOf<I>(p)->*Put)(static_cast<E>(*v)), what);
          }};
}

Status ReadSelectedProgram(const Parts& p, std::string_view what, std::string* json) {
  com::Bstr name;
  MOTQR_CLI_TRY(Check(p.program->QuerySelectedProgram(name.Put()), what));
  *json = cli::JsonString(name.ToUtf8());
  return Status::Ok();
}

// Selects an existing program (selecting an unknown name would create one).
Status SelectProgram(const Parts& p, std::string_view what, const RequestValue& value) {
  const std::string* name = std::get_if<std::string>(&value);
  if (!name || name->empty()) return BadValue(what, "a program name");
  com::SafeArray names;
  MOTQR_CLI_TRY(Check(p.program->GetProgramList(names.Put()), "program list"));
  bool known = false;
  for (const com::BSTR n : names.Data<com::BSTR>()) known = known || com::BstrToUtf8(n) == *name;
  if (!known) return Status::Usage(std::string(what) + ": no program named '" + *name + "'");
  return Check(p.program->ConfigureSelectedProgram(com::Bstr::FromUtf8(*name).Get()), what);
}

using Channel = IMorvaneTqrOutputChannel;
using Protection = IMorvaneTqrOutputChannelProtection;
using Program = IMorvaneTqrProgram;

const std::array kControls{
    NumberControl<Channel, &Channel::get_VoltageLevel, &Channel::put_VoltageLevel>("voltage"),
    NumberControl<Channel, &Channel::get_CurrentLevel, &Channel::put_CurrentLevel>("current"),
    BooleanControl<Channel, &Channel::get_Enabled, &Channel::put_Enabled>("output"),
    NumberControl<Protection, &Protection::get_OVPLevel, &Protection::put_OVPLevel>("ovp"),
    NumberControl<Protection, &Protection::get_OCPLevel, &Protection::put_OCPLevel>("ocp"),
    ChoiceControl<Channel, MorvaneTqrOutputPriorityEnum, &Channel::get_Priority,
                  &Channel::put_Priority>("priority"),
    ChoiceControl<Channel, MorvaneTqrOutputFunctionModeEnum, &Channel::get_VoltageMode,
                  &Channel::put_VoltageMode>("voltage-mode"),
    ChoiceControl<Channel, MorvaneTqrOutputFunctionModeEnum, &Channel::get_CurrentMode,
                  &Channel::put_CurrentMode>("current-mode"),
    Control{"program", Kind::kText, nullptr, false, &ReadSelectedProgram, &SelectProgram},
    IntegerControl<Program, &Program::get_ProgramLoopCount, &Program::put_ProgramLoopCount>("loops",
                                                                                            true),
};

const Control* FindControl(std::string_view name) {
  for (const Control& c : kControls)
    if (c.name == name) return &c;
  return nullptr;
}

std::string_view KindName(Kind kind) {
  switch (kind) {
    case Kind::kNumber:
      return "number";
    case Kind::kInteger:
      return "integer";
    case Kind::kBoolean:
      return "boolean";
    case Kind::kChoice:
      return "choice";
    case Kind::kText:
      return "text";
  }
  return "";
}

// Bits of the questionable condition register: the latched protection trips.
struct Alarm {
  int bit;
  std::string_view name;
  std::string_view title;
};
constexpr Alarm kAlarms[] = {
    {0, "OVP", "overvoltage"},         {1, "OCP", "overcurrent"},
    {2, "OPP", "overpower"},           {3, "NOCP", "sink overcurrent"},
    {4, "NOPP", "sink overpower"},     {5, "UVP", "undervoltage (lower OVP)"},
    {6, "LOVP", "line overvoltage"},   {7, "WDOG", "communication watchdog"},
    {8, "SENS", "sensing connection"},
};

// The regulation state from the operation condition register's mode bits.
std::string_view RegulationState(bool output_on, unsigned operation) {
  if (!output_on) return "OFF";
  constexpr std::string_view kModes[] = {"CV", "CC", "CP", "CR"};
  for (unsigned bit = 0; bit < 4; ++bit)
    if (operation & (1u << bit)) return kModes[bit];
  return "UNREG";
}

std::string_view ProgramState(MorvaneTqrTransientStateEnum state) {
  switch (state) {
    case MorvaneTqrTransientStateIdle:
      return "idle";
    case MorvaneTqrTransientStateWatiTrigger:
      return "waiting";
    case MorvaneTqrTransientStateRun:
      return "running";
    case MorvaneTqrTransientStatePause:
      return "paused";
  }
  return "idle";
}

}  // namespace

// ---- The link ----

InstrumentLink::InstrumentLink(cli::CliOptions options, EventHub& hub)
    : options_(std::move(options)), hub_(hub) {}

InstrumentLink::~InstrumentLink() {
  parts_.reset();
  session_.reset();
}

std::string InstrumentLink::ControlsJson() {
  std::vector<std::string> controls;
  for (const Control& c : kControls) {
    JsonObject o;
    o.Text("name", c.name).Text("kind", KindName(c.kind));
    if (c.choices) {
      std::vector<std::string> names;
      for (const auto& m : c.choices()->members()) names.push_back(m.short_name);
      o.Raw("choices", JsonTextArray(names));
    }
    controls.push_back(o.Close());
  }
  std::vector<std::string> alarms;
  for (const Alarm& a : kAlarms)
    alarms.push_back(
        JsonObject().Integer("bit", a.bit).Text("name", a.name).Text("title", a.title).Close());
  return JsonObject().Raw("controls", JsonArray(controls)).Raw("alarms", JsonArray(alarms)).Close();
}

Status InstrumentLink::Open() {
  std::lock_guard lock(mutex_);
  return OpenLocked();
}

Status InstrumentLink::OpenLocked() {
  last_open_ = std::chrono::steady_clock::now();
  parts_.reset();
  session_.reset();
  std::unique_ptr<cli::Session> session;
  auto parts = std::make_unique<Parts>();
  Status status = cli::Session::Open(options_, /*check_status=*/true, &session);
  // A simulated session answers no measurement: there would be nothing to show.
  if (status.ok() && session->simulating()) {
    return Status::Usage(
        "panel: a simulated session has no readings to show; run tqr-sim ('motqr sim') and give "
        "its --resource");
  }
  if (status.ok()) status = session->Channel({}, &parts->channel);
  if (status.ok())
    status = Check(parts->channel->get_Protection(parts->protection.Put()), "Protection");
  if (status.ok()) status = Check(session->driver()->get_Program(parts->program.Put()), "Program");
  if (status.ok()) status = Check(session->driver()->get_Trigger(parts->trigger.Put()), "Trigger");
  com::ComPtr<IMorvaneTqrStatus> registers;
  if (status.ok()) status = Check(session->driver()->get_Status(registers.Put()), "Status");
  if (status.ok()) status = Check(registers->get_Operation(parts->operation.Put()), "Operation");
  if (status.ok())
    status = Check(registers->get_Questionable(parts->questionable.Put()), "Questionable");
  if (status.ok()) status = session->Driver(&parts->utility);
  if (!status.ok()) {
    LinkChangedLocked(false, status.message());
    return status;
  }
  session_ = std::move(session);
  parts_ = std::move(parts);
  ReadIdentityLocked();
  LinkChangedLocked(true, {});
  ReadSettingsLocked();
  return Status::Ok();
}

void InstrumentLink::LinkChangedLocked(bool connected, std::string message) {
  connected_ = connected;
  link_message_ = message;
  hub_.PublishChange("link", JsonObject()
                                 .Boolean("connected", connected)
                                 .Text("message", message)
                                 .Text("resource", options_.resource)
                                 .Close());
}

void InstrumentLink::ReadIdentityLocked() {
  JsonObject o;
  com::ComPtr<IIviDriverIdentity> identity;
  if (session_->Driver(&identity).ok()) {
    using Getter = com::HRESULT (IIviDriverIdentity::*)(com::BSTR*);
    const std::pair<const char*, Getter> fields[] = {
        {"manufacturer", &IIviDriverIdentity::get_InstrumentManufacturer},
        {"model", &IIviDriverIdentity::get_InstrumentModel},
        {"firmware", &IIviDriverIdentity::get_InstrumentFirmwareRevision},
        {"driver", &IIviDriverIdentity::get_Identifier},
        {"driver_revision", &IIviDriverIdentity::get_Revision},
    };
    for (const auto& [name, get] : fields) {
      com::Bstr text;
      if (Check((identity.Get()->*get)(text.Put()), name).ok()) o.Text(name, text.ToUtf8());
    }
  }
  com::ComPtr<IMorvaneTqrGlobal> global;
  double volts = 0, amps = 0, watts = 0;
  com::Bstr model;
  if (Check(session_->driver()->get_Global(global.Put()), "Global").ok() &&
      Check(global->QueryInformation(&volts, &amps, &watts, model.Put()), "ratings").ok()) {
    o.Raw("rated",
          JsonObject().Number("volts", volts).Number("amps", amps).Number("watts", watts).Close());
  }
  o.Text("resource", options_.resource).Boolean("simulated", session_->simulating());
  hub_.Publish("identity", o.Close());
}

void InstrumentLink::ReadSettingsLocked() {
  if (!parts_) return;
  JsonObject o;
  bool has_program = false;
  for (const Control& c : kControls) {
    std::string json;
    if (c.needs_program && !has_program) {
      o.Null(c.name);
      continue;
    }
    const Status s = c.read(*parts_, "read " + std::string(c.name), &json);
    if (!s.ok()) {
      InstrumentErrorsLocked(s, c.name);
      json = "null";
    }
    if (c.name == "program") has_program = json.size() > 2;  // more than ""
    o.Raw(c.name, json);
  }
  std::int32_t steps = 0;
  if (has_program && Check(parts_->program->get_ProgramStepCount(&steps), "steps").ok()) {
    o.Integer("steps", steps);
  } else {
    o.Null("steps");
  }
  com::SafeArray names;
  if (Check(parts_->program->GetProgramList(names.Put()), "programs").ok()) {
    std::vector<std::string> list;
    for (const com::BSTR name : names.Data<com::BSTR>()) list.push_back(com::BstrToUtf8(name));
    o.Raw("programs", JsonTextArray(list));
  }
  hub_.PublishChange("settings", o.Close());
}

void InstrumentLink::Poll(int settings_every) {
  std::lock_guard lock(mutex_);
  if (!connected_) {
    if (std::chrono::steady_clock::now() - last_open_ < kReopenEvery) return;
    if (!OpenLocked().ok()) return;
  }
  const Parts& p = *parts_;
  com::SafeArray values;
  VARIANT_BOOL on = com::VARIANT_FALSE;
  std::int16_t operation = 0, questionable = 0;
  MorvaneTqrTransientStateEnum state = MorvaneTqrTransientStateIdle;
  com::Bstr program;
  std::int32_t step = 0, loop = 0;
  std::int64_t measured = 0;
  // The measurement comes last, so that the reading goes out right after it.
  Status status = Check(p.channel->get_Enabled(&on), "output");
  if (status.ok()) status = Check(p.operation->get_ConditionRegister(&operation), "operation");
  if (status.ok())
    status = Check(p.questionable->get_ConditionRegister(&questionable), "questionable");
  if (status.ok())
    status = Check(p.trigger->QueryTransientInfo(&state, program.Put(), &step, &loop), "program");
  if (status.ok()) {
    status = Check(p.channel->MeasureAll(values.Put()), "measure");
    measured = NowMs();
  }
  if (!status.ok()) {
    if (status.code() == kInstrumentStatus) {
      InstrumentErrorsLocked(status, "reading");
    } else {
      LinkChangedLocked(false, status.message());
    }
    return;
  }
  const auto numbers = values.Data<double>();
  const auto number = [&](std::size_t i) { return i < numbers.size() ? numbers[i] : NAN; };
  const auto oper = static_cast<std::uint16_t>(operation);
  const auto ques = static_cast<std::uint16_t>(questionable);
  std::vector<std::string> alarms;
  for (const Alarm& a : kAlarms)
    if (ques & (1u << a.bit)) alarms.emplace_back(a.name);
  hub_.Publish("reading", JsonObject()
                              .Integer("n", static_cast<std::int64_t>(++reading_number_))
                              .Integer("time", measured)
                              .Number("volts", number(0))
                              .Number("amps", number(1))
                              .Number("watts", number(2))
                              .Number("etime", number(3))
                              .Number("capacity", number(4))
                              .Number("energy", number(5))
                              .Boolean("output", on != com::VARIANT_FALSE)
                              .Text("state", RegulationState(on != com::VARIANT_FALSE, oper))
                              .Integer("operation", oper)
                              .Integer("questionable", ques)
                              .Raw("alarms", JsonTextArray(alarms))
                              .Raw("program", JsonObject()
                                                  .Text("state", ProgramState(state))
                                                  .Text("name", program.ToUtf8())
                                                  .Integer("step", step)
                                                  .Integer("loop", loop)
                                                  .Close())
                              .Close());
  if (settings_every > 0 && ++rounds_ % settings_every == 0) ReadSettingsLocked();
}

std::vector<std::string> InstrumentLink::InstrumentErrorsLocked(const Status& status,
                                                                std::string_view during) {
  if (status.code() != kInstrumentStatus) return {};
  return ReadErrorQueueLocked(during);
}

std::vector<std::string> InstrumentLink::ReadErrorQueueLocked(std::string_view during) {
  std::vector<std::string> entries;
  if (!parts_) return entries;
  for (int i = 0; i < kMaxErrorReads; ++i) {
    std::int32_t code = 0;
    com::Bstr message;
    if (!Check(parts_->utility->ErrorQuery(&code, message.Put()), "ErrorQuery").ok() || code == 0)
      break;
    entries.push_back(std::to_string(code) + ",\"" + message.ToUtf8() + "\"");
    errors_.push_back({NowMs(), entries.back(), std::string(during)});
    ++errors_read_;
    if (errors_.size() > kErrorsKept) errors_.pop_front();
  }
  if (!entries.empty()) PublishErrorsLocked();
  return entries;
}

void InstrumentLink::PublishErrorsLocked() {
  std::vector<std::string> list;
  for (const LoggedError& e : errors_)
    list.push_back(JsonObject()
                       .Integer("time", e.time_ms)
                       .Text("entry", e.entry)
                       .Text("during", e.during)
                       .Close());
  hub_.Publish("errors", JsonObject()
                             .Integer("read", static_cast<std::int64_t>(errors_read_))
                             .Raw("entries", JsonArray(list))
                             .Close());
}

namespace {

ControlReply NotConnected(std::string_view name, std::string_view why) {
  return {503, JsonObject()
                   .Boolean("ok", false)
                   .Text("control", name)
                   .Text("message", "no instrument: " + std::string(why))
                   .Close()};
}

}  // namespace

ControlReply InstrumentLink::Set(std::string_view name, const RequestValue& value) {
  const Control* control = FindControl(name);
  if (!control)
    return {404, JsonObject()
                     .Boolean("ok", false)
                     .Text("message", "no control '" + std::string(name) + "'")
                     .Close()};
  std::lock_guard lock(mutex_);
  if (!connected_ || !parts_) return NotConnected(name, link_message_);
  const std::string name_text(name);
  Status status = control->write(*parts_, "set " + name_text, value);
  JsonObject reply;
  reply.Boolean("ok", status.ok()).Text("control", name);
  int http = 200;
  if (!status.ok()) {
    const bool bad_request = status.exit_code() == Status::kUsageExit;
    http = bad_request ? 400 : 422;
    reply.Text("message", status.message());
    reply.Raw("instrument_errors", JsonTextArray(InstrumentErrorsLocked(status, name)));
  }
  // Whatever happened, the control shows what the instrument now holds.
  std::string now;
  const Status read = control->read(*parts_, "read " + name_text, &now);
  if (!read.ok()) {
    InstrumentErrorsLocked(read, name);
    now = "null";
  }
  reply.Raw("value", now);
  ReadSettingsLocked();
  return {http, reply.Close()};
}

ControlReply InstrumentLink::Act(std::string_view action) {
  std::lock_guard lock(mutex_);
  if (!connected_ || !parts_) return NotConnected(action, link_message_);
  const Parts& p = *parts_;
  Status status = Status::Ok();
  if (action == "errors") {
    const auto entries = ReadErrorQueueLocked("read queue");
    return {200, JsonObject()
                     .Boolean("ok", true)
                     .Text("action", action)
                     .Raw("entries", JsonTextArray(entries))
                     .Close()};
  } else if (action == "protection-clear") {
    status = Check(p.protection->Clear(), "clear protection");
  } else if (action == "program-run") {
    status = Check(p.trigger->Initiate(MorvaneTqrTriggerSystemProgram), "run program");
  } else if (action == "program-pause") {
    status = Check(p.trigger->PauseTransient(), "pause program");
  } else if (action == "program-resume") {
    status = Check(p.trigger->ResumeTransient(), "resume program");
  } else if (action == "program-stop") {
    status = Check(p.trigger->Abort(MorvaneTqrTriggerSystemProgram), "stop program");
  } else {
    return {404, JsonObject()
                     .Boolean("ok", false)
                     .Text("message", "no action '" + std::string(action) + "'")
                     .Close()};
  }
  JsonObject reply;
  reply.Boolean("ok", status.ok()).Text("action", action);
  if (!status.ok()) {
    reply.Text("message", status.message());
    reply.Raw("instrument_errors", JsonTextArray(InstrumentErrorsLocked(status, action)));
  }
  ReadSettingsLocked();
  return {status.ok() ? 200 : 422, reply.Close()};
}

}  // namespace motqr::panel
