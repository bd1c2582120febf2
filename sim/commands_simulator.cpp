// Commands only the simulator has, for tests and demonstrations: the load, simulated time,
// the external trigger input, the AC line voltage, measurement noise and a sensing fault.
#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"

namespace tqrsim {

void RegisterSimulatorCommands(CommandTree& tree) {
  tree.Add(
      "SIMulator:LOAD",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto ohms = e.Real(0, {InstrumentModel::kMinLoadOhms, InstrumentModel::kMaxLoadOhms, 10});
        if (ohms) e.model().SetLoad(*ohms);
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyReal(e.model().load_ohms());
      });
  tree.Add(
      "SIMulator:TIME:ADVance",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto seconds = e.Real(0, {0, 1e7, 0})) e.model().clock().Advance(*seconds);
      },
      nullptr);
  tree.Add("SIMulator:TIME", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyReal(e.model().clock().Now());
  });
  tree.Add(
      "SIMulator:TRIGger[:EXTernal]",
      [](Exec& e) {
        if (e.NoParams()) e.model().TriggerExternal();
      },
      nullptr);
  tree.Add(
      "SIMulator:LINE[:VOLTage]",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto volts = e.Real(0, {0, 400, 230})) e.model().SetLineVolts(*volts);
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyReal(e.model().line_volts());
      });
  tree.Add(
      "SIMulator:NOISe",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto noise = e.Real(0, {0, 0.01, 1e-4})) e.model().SetNoise(*noise);
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyReal(e.model().noise());
      });
  tree.Add(
      "SIMulator:SENSe:FAULt",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto fault = e.Boolean(0)) e.model().SetSenseFault(*fault);
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyBool(e.model().sense_fault());
      });
}

}  // namespace tqrsim
