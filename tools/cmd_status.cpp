// motqr status: the output, its regulation and protections, and the condition
// registers decoded.
#include <cstdio>

#include "tools/command.h"
#include "tools/instrument_state.h"

namespace motqr::cli {
namespace {

std::vector<std::string> Names(std::uint16_t condition, const std::vector<RegisterBit>& named,
                               bool describe) {
  std::vector<std::string> out;
  for (int bit = 0; bit < 16; ++bit) {
    if (!(condition & (1u << bit))) continue;
    std::string name = "bit " + std::to_string(bit);
    for (const RegisterBit& b : named)
      if (b.bit == bit) name = describe ? b.description : b.name;
    out.push_back(name);
  }
  return out;
}

std::string Hex(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

std::vector<Scalar> Texts(const std::vector<std::string>& words) {
  std::vector<Scalar> out;
  for (const std::string& w : words) out.push_back(Scalar::Text(w));
  return out;
}

}  // namespace

// The bits as the instrument's manual gives them (tqr-sim follows it); bits 0
// and 1 of each register are the ones the IviDCPwr output state reads.
const std::vector<RegisterBit>& OperationBitNames() {
  static const std::vector<RegisterBit> bits = {
      {0, "CV", "constant voltage"},
      {1, "CC", "constant current"},
      {2, "CP", "constant power"},
      {3, "CR", "constant resistance"},
      {4, "output on", "output on"},
      {5, "transient waiting for trigger", "transient waiting for trigger"},
      {6, "acquire waiting for trigger", "acquire waiting for trigger"},
      {7, "integrating", "integrating"},
      {8, "program paused", "program paused"},
      {14, "program running", "program running"},
  };
  return bits;
}

const std::vector<RegisterBit>& QuestionableBitNames() {
  static const std::vector<RegisterBit> bits = {
      {0, "OV", "over-voltage"},
      {1, "OC", "over-current"},
      {2, "OP", "over-power"},
      {3, "sink OC", "sink over-current"},
      {4, "sink OP", "sink over-power"},
      {5, "lower OV", "lower over-voltage"},
      {6, "line OV", "line over-voltage"},
      {7, "watchdog", "watchdog expired"},
      {8, "sensing", "sense lead fault"},
  };
  return bits;
}

std::vector<std::string> OperationBits(std::uint16_t condition) {
  return Names(condition, OperationBitNames(), false);
}

std::vector<std::string> QuestionableBits(std::uint16_t condition) {
  return Names(condition, QuestionableBitNames(), false);
}

std::string Regulation(std::uint16_t operation, bool output_on) {
  if (!output_on) return "off";
  for (const RegisterBit& b : OperationBitNames())
    if (b.bit < 4 && (operation & (1u << b.bit))) return b.name;
  return "unregulated";
}

Status ReadInstrumentState(const Session& session, InstrumentState* state) {
  com::ComPtr<IMorvaneTqrStatus> status;
  MOTQR_CLI_TRY(Check(session.driver()->get_Status(status.Put()), "Status"));
  com::ComPtr<IMorvaneTqrStatusOperation> operation;
  com::ComPtr<IMorvaneTqrStatusQuestionable> questionable;
  MOTQR_CLI_TRY(Check(status->get_Operation(operation.Put()), "Operation"));
  MOTQR_CLI_TRY(Check(status->get_Questionable(questionable.Put()), "Questionable"));
  std::int16_t oper = 0, ques = 0;
  MOTQR_CLI_TRY(Check(operation->get_ConditionRegister(&oper), "status.operation.condition"));
  MOTQR_CLI_TRY(Check(questionable->get_ConditionRegister(&ques), "status.questionable.condition"));
  com::ComPtr<IMorvaneTqrOutputChannel> channel;
  MOTQR_CLI_TRY(session.Channel({}, &channel));
  com::VARIANT_BOOL enabled = com::VARIANT_FALSE;
  MOTQR_CLI_TRY(Check(channel->get_Enabled(&enabled), "output"));
  state->operation = static_cast<std::uint16_t>(oper);
  state->questionable = static_cast<std::uint16_t>(ques);
  state->output_on = enabled != com::VARIANT_FALSE;
  return Status::Ok();
}

Status RunStatus(Context& c) {
  if (!c.args().empty()) return Status::Usage("status takes no arguments");
  Session* s;
  MOTQR_CLI_TRY(c.OpenSession(&s));
  InstrumentState state;
  MOTQR_CLI_TRY(ReadInstrumentState(*s, &state));
  const std::vector<std::string> trips = Names(state.questionable, QuestionableBitNames(), true);
  const bool text = c.out().style() == Output::Style::kText;
  c.out().Field("output", Scalar::Text(state.output_on ? "on" : "off"));
  c.out().Field("regulation", Scalar::Text(Regulation(state.operation, state.output_on)));
  if (text) {
    std::string joined;
    for (const std::string& t : trips) joined += (joined.empty() ? "" : ", ") + t;
    c.out().Field(
        "protection",
        Scalar::Text(trips.empty() ? "none tripped" : joined + " tripped (motqr output clear)"));
    const auto line = [](std::uint16_t value, const std::vector<std::string>& bits) {
      std::string out = Hex(value);
      for (std::size_t i = 0; i < bits.size(); ++i) out += (i ? ", " : "  ") + bits[i];
      return Scalar::Text(out);
    };
    c.out().Field("operation", line(state.operation, OperationBits(state.operation)));
    c.out().Field("questionable", line(state.questionable, QuestionableBits(state.questionable)));
  } else {
    c.out().List("protection", Texts(trips));
    c.out().Field("operation", Scalar::Integer(state.operation));
    c.out().List("operation-bits", Texts(OperationBits(state.operation)));
    c.out().Field("questionable", Scalar::Integer(state.questionable));
    c.out().List("questionable-bits", Texts(QuestionableBits(state.questionable)));
  }
  return Status::Ok();
}

}  // namespace motqr::cli
