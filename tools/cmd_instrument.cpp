// idn, reset, selftest, errors, output and measure: the everyday operations.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "tools/command.h"
#include "tools/enum_names.h"
#include "tools/instrument_state.h"
#include "tools/interrupt.h"

namespace motqr::cli {
namespace {

// The error queue is read until it says "no error", at most this often.
constexpr int kMaxErrorReads = 256;

Status ExpectArguments(const Context& c, std::size_t most) {
  if (c.args().size() > most) return Status::Usage("unexpected argument '" + c.args()[most] + "'");
  return Status::Ok();
}

const char* UnitOf(MorvaneTqrMeasurementTypeEnum type) {
  switch (type) {
    case MorvaneTqrMeasurementTypeVoltage:
      return "V";
    case MorvaneTqrMeasurementTypeCurrent:
      return "A";
    case MorvaneTqrMeasurementTypePower:
      return "W";
    case MorvaneTqrMeasurementTypeETime:
      return "s";
    case MorvaneTqrMeasurementTypeCapacity:
      return "Ah";
    case MorvaneTqrMeasurementTypeEnergy:
      return "Wh";
  }
  return "";
}

}  // namespace

Status Context::OpenSession(Session** session) {
  if (!session_) MOTQR_CLI_TRY(Session::Open(options_, check_status_, &session_));
  *session = session_.get();
  return Status::Ok();
}

Status Context::WithInstrumentErrors(Status status) const {
  // IVI's "Instrument error detected": the status check saw an error bit, or
  // could not read the status at all.
  constexpr auto kInstrumentStatus = static_cast<com::HRESULT>(0x80047001u);
  if (status.ok() || status.code() != kInstrumentStatus || !session_) return status;
  std::vector<InstrumentError> errors = session_->DrainErrorQueue(kMaxErrorReads);
  std::string message = status.message();
  if (errors.empty()) {
    message +=
        "\n  the instrument's error queue is empty: the status check got no answer in time "
        "(the instrument was busy or the time-out is short; see --timeout), or another "
        "client read the queue first";
  } else {
    // The tool has read the queue itself: the driver's advice to do so is done.
    constexpr std::string_view kAdvice = "  Use ErrorQuery() to determine error(s).";
    if (const std::size_t at = message.find(kAdvice); at != std::string::npos)
      message.erase(at, kAdvice.size());
    for (const InstrumentError& e : errors)
      message += "\n  instrument error " + std::to_string(e.code) + ", \"" + e.message + "\"";
  }
  Status explained = status.WithMessage(std::move(message));
  explained.set_instrument_errors(std::move(errors));
  return explained;
}

Status RunIdn(Context& c) {
  MOTQR_CLI_TRY(ExpectArguments(c, 0));
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IIviDriverIdentity> identity;
  MOTQR_CLI_TRY(s->Driver(&identity));
  using Getter = com::HRESULT (IIviDriverIdentity::*)(com::BSTR*);
  const struct {
    const char* name;
    Getter get;
  } fields[] = {
      {"manufacturer", &IIviDriverIdentity::get_InstrumentManufacturer},
      {"model", &IIviDriverIdentity::get_InstrumentModel},
      {"firmware", &IIviDriverIdentity::get_InstrumentFirmwareRevision},
      {"driver", &IIviDriverIdentity::get_Identifier},
      {"driver-revision", &IIviDriverIdentity::get_Revision},
  };
  for (const auto& field : fields) {
    com::Bstr text;
    MOTQR_CLI_TRY(Check((identity.Get()->*field.get)(text.Put()), field.name));
    c.out().Field(field.name, Scalar::Text(text.ToUtf8()));
  }
  // The serial number is the third field of the instrument's "*IDN?" reply;
  // a simulated session has no instrument to ask.
  if (!s->simulating()) {
    com::ComPtr<IMorvaneTqrSystem> system;
    MOTQR_CLI_TRY(s->Driver(&system));
    com::Bstr reply;
    MOTQR_CLI_TRY(Check(system->WriteString(com::Bstr::FromUtf8("*IDN?\n").Get()), "*IDN?"));
    MOTQR_CLI_TRY(Check(system->ReadString(reply.Put()), "*IDN?"));
    const std::string idn = reply.ToUtf8();
    std::size_t first = idn.find(','), second = std::string::npos;
    if (first != std::string::npos) second = idn.find(',', first + 1);
    if (second != std::string::npos) {
      const std::size_t end = idn.find(',', second + 1);
      c.out().Field("serial",
                    Scalar::Text(std::string(Trim(idn.substr(second + 1, end - second - 1)))));
    }
  }
  c.out().Field("resource", Scalar::Text(c.options().resource));
  c.out().Field("simulated", Scalar::Boolean(s->simulating()));
  return Status::Ok();
}

// The utility interface of a new session, for the commands that take no arguments.
Status OpenUtility(Context& c, com::ComPtr<IIviDriverUtility>* utility) {
  MOTQR_CLI_TRY(ExpectArguments(c, 0));
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  return s->Driver(utility);
}

Status RunReset(Context& c) {
  com::ComPtr<IIviDriverUtility> utility;
  MOTQR_CLI_TRY(OpenUtility(c, &utility));
  return Check(utility->Reset(), "Reset");
}

Status RunSelfTest(Context& c) {
  com::ComPtr<IIviDriverUtility> utility;
  MOTQR_CLI_TRY(OpenUtility(c, &utility));
  std::int32_t result = 0;
  com::Bstr message;
  MOTQR_CLI_TRY(Check(utility->SelfTest(&result, message.Put()), "SelfTest"));
  c.out().Field("result", Scalar::Integer(result));
  c.out().Field("message", Scalar::Text(message.ToUtf8()));
  if (result != 0) return Status::Failed("self test failed: " + message.ToUtf8());
  return Status::Ok();
}

Status RunErrors(Context& c) {
  com::ComPtr<IIviDriverUtility> utility;
  MOTQR_CLI_TRY(OpenUtility(c, &utility));
  std::vector<std::vector<Scalar>> rows;
  for (int i = 0; i < kMaxErrorReads; ++i) {
    std::int32_t code = 0;
    com::Bstr message;
    MOTQR_CLI_TRY(Check(utility->ErrorQuery(&code, message.Put()), "ErrorQuery"));
    if (code == 0) break;
    rows.push_back({Scalar::Integer(code), Scalar::Text(message.ToUtf8())});
  }
  if (rows.empty() && c.out().style() == Output::Style::kText) {
    c.out().Field("errors", Scalar::Text("none"));
  } else {
    c.out().Table("errors", {"code", "message"}, std::move(rows));
  }
  return Status::Ok();
}

Status RunOutput(Context& c) {
  MOTQR_CLI_TRY(ExpectArguments(c, 1));
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  MOTQR_CLI_TRY(s->Channel({}, &channel));
  if (!c.args().empty()) {
    const std::string& word = c.args()[0];
    if (word == "clear") {
      com::ComPtr<IMorvaneTqrOutputChannelProtection> protection;
      MOTQR_CLI_TRY(Check(channel->get_Protection(protection.Put()), "Protection"));
      MOTQR_CLI_TRY(Check(protection->Clear(), "output clear"));
    } else if (auto on = ParseBoolean(word)) {
      Status status = Check(channel->put_Enabled(*on ? com::VARIANT_TRUE : com::VARIANT_FALSE),
                            "output " + word);
      if (!status.ok() && *on) {
        // Refused while a protection is latched: say which, and how to clear it.
        InstrumentState state;
        if (ReadInstrumentState(*s, &state).ok() && state.questionable != 0) {
          std::string trips;
          for (const std::string& t : QuestionableBits(state.questionable))
            trips += (trips.empty() ? "" : ", ") + t;
          status = status.WithMessage(status.message() + "\n  protection tripped: " + trips +
                                      "; remove the cause, then run 'motqr output clear'");
        }
      }
      MOTQR_CLI_TRY(status);
    } else {
      return Status::Usage("output takes on, off or clear, not '" + word + "'");
    }
  }
  com::VARIANT_BOOL enabled = com::VARIANT_FALSE;
  MOTQR_CLI_TRY(Check(channel->get_Enabled(&enabled), "output"));
  c.out().Field("output", Scalar{enabled ? "on" : "off", Scalar::Kind::kText, {}});
  return Status::Ok();
}

std::vector<std::string> MeasureWords() {
  std::vector<std::string> words = {"all"};
  for (const auto& m : EnumInfoOf<MorvaneTqrMeasurementTypeEnum>().members())
    words.push_back(ToLower(m.short_name));
  return words;
}

namespace {

struct MeasureArgs {
  std::optional<std::int32_t> type;  // none: all quantities
  std::string what = "all";
  std::optional<double> interval;     // seconds between readings
  std::optional<std::int64_t> count;  // readings; none: until Ctrl-C
  bool csv = false;
};

Status ParseMeasureArgs(std::span<const std::string> args, MeasureArgs* a) {
  const EnumInfo& types = EnumInfoOf<MorvaneTqrMeasurementTypeEnum>();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--csv") {
      a->csv = true;
    } else if (arg == "--interval" || arg == "--count") {
      if (!has_value) return Status::Usage(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--interval") {
        a->interval = ParseReal(value);
        if (!a->interval || *a->interval < 0)
          return Status::Usage("--interval takes seconds, not '" + value + "'");
      } else {
        a->count = ParseInteger(value);
        if (!a->count || *a->count < 1)
          return Status::Usage("--count takes a number of readings, not '" + value + "'");
      }
    } else if (a->what == "all" && a->type == std::nullopt && !arg.starts_with("-")) {
      a->what = ToLower(arg);
      if (a->what != "all") {
        a->type = types.Parse(a->what);
        if (!a->type) return Status::Usage("measure takes all or one of " + types.Choices());
      }
    } else {
      return Status::Usage("unexpected argument '" + arg + "'");
    }
  }
  if ((a->count || a->csv) && !a->interval)
    return Status::Usage("--count and --csv go with --interval");
  return Status::Ok();
}

struct Reading {
  std::vector<std::pair<std::string, double>> values;  // name, value
  std::vector<const char*> units;
  std::string regulation;
};

Status TakeReading(Session& s, IMorvaneTqrOutputChannel& channel, const MeasureArgs& a,
                   bool with_regulation, Reading* r) {
  const EnumInfo& types = EnumInfoOf<MorvaneTqrMeasurementTypeEnum>();
  r->values.clear();
  r->units.clear();
  if (a.type) {
    const auto t = static_cast<MorvaneTqrMeasurementTypeEnum>(*a.type);
    double value = 0;
    MOTQR_CLI_TRY(Check(channel.Measure(t, &value), "measure " + a.what));
    r->values.emplace_back(a.what, value);
    r->units.push_back(UnitOf(t));
  } else {
    // One reading of every quantity, in the measurement types' order.
    com::SafeArray values;
    MOTQR_CLI_TRY(Check(channel.MeasureAll(values.Put()), "measure all"));
    const auto numbers = values.Data<double>();
    std::size_t i = 0;
    for (const auto& m : types.members()) {
      if (i >= numbers.size()) break;
      r->values.emplace_back(ToLower(m.short_name), numbers[i++]);
      r->units.push_back(UnitOf(static_cast<MorvaneTqrMeasurementTypeEnum>(m.value)));
    }
  }
  if (with_regulation) {
    InstrumentState state;
    MOTQR_CLI_TRY(ReadInstrumentState(s, &state));
    r->regulation = Regulation(state.operation, state.output_on);
  }
  return Status::Ok();
}

std::string UtcNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[40];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  std::snprintf(text + n, sizeof text - n, ".%03dZ", static_cast<int>(ms));
  return text;
}

// A line per reading on standard output until --count readings or Ctrl-C.
Status Watch(Context& c, Session& s, IMorvaneTqrOutputChannel& channel, const MeasureArgs& a) {
  InterruptScope interrupt;
  c.out().MarkPrinted();
  const bool json = c.out().style() == Output::Style::kJson;
  const auto start = std::chrono::steady_clock::now();
  const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(*a.interval));
  Reading r;
  for (std::int64_t n = 0; !a.count || n < *a.count; ++n) {
    if (n > 0) {
      // Readings keep to the interval from the start, not from the last reading.
      const auto due = start + n * period;
      while (std::chrono::steady_clock::now() < due && !Interrupted())
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            due - std::chrono::steady_clock::now(), std::chrono::milliseconds(50)));
    }
    if (Interrupted()) break;
    MOTQR_CLI_TRY(TakeReading(s, channel, a, true, &r));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string line;
    if (a.csv) {
      if (n == 0) {
        std::string header = "time,seconds";
        for (const auto& [name, value] : r.values) header += "," + name;
        std::printf("%s,regulation\n", header.c_str());
      }
      line = UtcNow() + "," + FormatReal(std::round(seconds * 1000) / 1000);
      for (const auto& [name, value] : r.values) line += "," + FormatReal(value);
      line += "," + r.regulation;
    } else if (json) {
      line = "{\"time\": " + JsonString(UtcNow());
      for (const auto& [name, value] : r.values)
        line += ", " + JsonString(name) + ": " + Scalar::Number(value).text;
      line += ", \"regulation\": " + JsonString(r.regulation) + "}";
    } else {
      line = UtcNow();
      for (std::size_t i = 0; i < r.values.size(); ++i)
        line += "  " + FormatEngineering(r.values[i].second, r.units[i]);
      line += "  " + r.regulation;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  if (Interrupted()) return Status::Interrupted("measurements stopped");
  return Status::Ok();
}

}  // namespace

Status RunMeasure(Context& c) {
  MeasureArgs a;
  MOTQR_CLI_TRY(ParseMeasureArgs(c.args(), &a));
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  MOTQR_CLI_TRY(s->Channel({}, &channel));
  if (a.interval) return Watch(c, *s, *channel, a);
  Reading r;
  MOTQR_CLI_TRY(TakeReading(*s, *channel, a, !a.type, &r));
  const bool text = c.out().style() == Output::Style::kText;
  for (std::size_t i = 0; i < r.values.size(); ++i) {
    const auto& [name, value] = r.values[i];
    c.out().Field(
        name, text ? Scalar::Text(FormatEngineering(value, r.units[i])) : Scalar::Number(value));
  }
  if (!a.type) c.out().Field("regulation", Scalar::Text(r.regulation));
  return Status::Ok();
}

}  // namespace motqr::cli
