// Measurement queries (:MEASure, :READ, :FETCh), the acquire and transient trigger
// systems, and the sequencer's state.
#include <array>
#include <string>
#include <string_view>

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"
#include "sim/number_format.h"

namespace tqrsim {
namespace {

struct Quantity {
  std::string_view node;
  double Measurement::*value;
};

constexpr std::array<Quantity, 6> kQuantities{{
    {":VOLTage", &Measurement::volts},
    {":CURRent", &Measurement::amperes},
    {":POWer", &Measurement::watts},
    {":ETIMe", &Measurement::elapsed_seconds},
    {":CAPacity", &Measurement::ampere_hours},
    {":ENERgy", &Measurement::watt_hours},
}};

std::string AllValues(const Measurement& m) {
  std::string text;
  for (const Quantity& q : kQuantities) {
    if (!text.empty()) text += ',';
    text += FormatReal(m.*(q.value));
  }
  return text;
}

// :MEASure and :READ take a new reading; :FETCh returns the last one taken.
void AddMeasurementRoot(CommandTree& tree, const std::string& root, bool fresh) {
  for (const Quantity& q : kQuantities) {
    double Measurement::*value = q.value;
    tree.Add(root + "[:SCALar]" + std::string(q.node), nullptr, [value, fresh](Exec& e) {
      if (!e.NoParams()) return;
      Measurement m = fresh ? e.model().Measure() : e.model().last_acquired();
      e.ReplyReal(m.*value);
    });
  }
  tree.Add(root + ":ALL", nullptr, [fresh](Exec& e) {
    if (!e.NoParams()) return;
    Measurement m = fresh ? e.model().Measure() : e.model().last_acquired();
    e.Reply(AllValues(m));
  });
}

template <int (InstrumentModel::*Action)()>
void Run(Exec& e) {
  if (!e.NoParams()) return;
  if (int rc = (e.model().*Action)(); rc != 0) e.Error(rc);
}

std::string_view StateText(TransientState state) {
  switch (state) {
    case TransientState::kIdle:
      return "IDLE";
    case TransientState::kWaitTrigger:
      return "WTG";
    case TransientState::kRun:
      return "RUN";
    case TransientState::kPause:
      return "PAUS";
  }
  return "IDLE";
}

void QueryExecution(Exec& e) {
  if (!e.NoParams()) return;
  const Sequencer& seq = e.model().sequencer();
  std::string name = seq.state() == TransientState::kIdle ? e.model().programs().selected_name()
                                                          : seq.program_name();
  e.Reply(StateText(seq.state()));
  e.Reply(",");
  e.ReplyQuoted(name);
  e.Reply("," + FormatInt(seq.step_number()) + "," + FormatInt(seq.loop_number()));
}

}  // namespace

void RegisterMeasureCommands(CommandTree& tree) {
  AddMeasurementRoot(tree, "MEASure", true);
  AddMeasurementRoot(tree, "READ", true);
  AddMeasurementRoot(tree, "FETCh", false);

  tree.Add("INITiate[:IMMediate]:ACQuire", Run<&InstrumentModel::InitiateAcquire>, nullptr);
  tree.Add("INITiate[:IMMediate]:TRANsient[:PROGram]", Run<&InstrumentModel::InitiateTransient>,
           nullptr);
  tree.Add(
      "ABORt:ACQuire",
      [](Exec& e) {
        if (e.NoParams()) e.model().AbortAcquire();
      },
      nullptr);
  tree.Add(
      "ABORt:TRANsient",
      [](Exec& e) {
        if (e.NoParams()) e.model().AbortTransient();
      },
      nullptr);
  tree.Add(
      "ABORt[:ALL]",
      [](Exec& e) {
        if (!e.NoParams()) return;
        e.model().AbortAcquire();
        e.model().AbortTransient();
      },
      nullptr);
  tree.Add("TRIGger:ACQuire[:IMMediate]", Run<&InstrumentModel::TriggerAcquire>, nullptr);
  tree.Add("TRIGger:TRANsient[:IMMediate]", Run<&InstrumentModel::TriggerTransient>, nullptr);
  tree.Add("TRIGger:TRANsient:PAUSe", Run<&InstrumentModel::PauseTransient>, nullptr);
  tree.Add("TRIGger:TRANsient:RESume", Run<&InstrumentModel::ResumeTransient>, nullptr);
  tree.Add("TRIGger:TRANsient:EXECute", nullptr, QueryExecution);
}

}  // namespace tqrsim
