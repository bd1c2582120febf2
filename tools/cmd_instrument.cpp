// idn, reset, selftest, errors, output and measure: the everyday operations.
#include <string>

#include "tools/command.h"
#include "tools/enum_names.h"

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
  // IVI's "Instrument error detected": the status check saw an error bit.
  constexpr auto kInstrumentStatus = static_cast<com::HRESULT>(0x80047001u);
  if (status.ok() || status.code() != kInstrumentStatus || !session_) return status;
  std::string message = status.message();
  for (const std::string& entry : session_->DrainErrorQueue(kMaxErrorReads))
    message += "\n  instrument error " + entry;
  return Status::Failed(std::move(message), status.code());
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
      MOTQR_CLI_TRY(Check(channel->put_Enabled(*on ? com::VARIANT_TRUE : com::VARIANT_FALSE),
                          "output " + word));
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

Status RunMeasure(Context& c) {
  MOTQR_CLI_TRY(ExpectArguments(c, 1));
  const std::string what = c.args().empty() ? "all" : ToLower(c.args()[0]);
  const EnumInfo& types = EnumInfoOf<MorvaneTqrMeasurementTypeEnum>();
  std::optional<std::int32_t> type;
  if (what != "all") {
    type = types.Parse(what);
    if (!type) return Status::Usage("measure takes all or one of " + types.Choices());
  }
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  MOTQR_CLI_TRY(s->Channel({}, &channel));
  if (type) {
    const auto t = static_cast<MorvaneTqrMeasurementTypeEnum>(*type);
    double value = 0;
    MOTQR_CLI_TRY(Check(channel->Measure(t, &value), "measure " + what));
    c.out().Field(what, Scalar::Number(value, UnitOf(t)));
    return Status::Ok();
  }
  // One reading of every quantity, in the measurement types' order.
  com::SafeArray values;
  MOTQR_CLI_TRY(Check(channel->MeasureAll(values.Put()), "measure all"));
  const auto numbers = values.Data<double>();
  std::size_t i = 0;
  for (const auto& m : types.members()) {
    if (i >= numbers.size()) break;
    const auto t = static_cast<MorvaneTqrMeasurementTypeEnum>(m.value);
    c.out().Field(ToLower(m.short_name), Scalar::Number(numbers[i++], UnitOf(t)));
  }
  return Status::Ok();
}

}  // namespace motqr::cli
