// Output on/off, protection clear, output sync, channel selection and information.
#include <string>

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"
#include "sim/number_format.h"

namespace tqrsim {
namespace {

void SetOutput(Exec& e) {
  if (!e.ExpectParams(1, 1)) return;
  std::optional<bool> on = e.Boolean(0);
  if (!on) return;
  if (int rc = e.model().SetOutput(*on); rc != 0) e.Error(rc);
}

void QueryOutput(Exec& e) {
  if (e.NoParams()) e.ReplyBool(e.model().output_on());
}

}  // namespace

void RegisterOutputCommands(CommandTree& tree) {
  tree.Add("OUTPut[:STATe]", SetOutput, QueryOutput);
  tree.Add("GLOBal:OUTPut[:STATe]", SetOutput, QueryOutput);
  tree.Add(
      "OUTPut:PROTection:CLEar",
      [](Exec& e) {
        if (e.NoParams()) e.model().ClearProtection();
      },
      nullptr);
  // Sends the output sync signal; this unit follows it when it accepts the signal.
  tree.Add(
      "OUTPut:MSYNc[:EXECute]",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        std::optional<bool> on = e.Boolean(0);
        if (!on || !e.model().output().msync_accept) return;
        if (int rc = e.model().SetOutput(*on); rc != 0) e.Error(rc);
      },
      nullptr);
  // One output channel; more appear only with parallel units, which the simulator has not.
  tree.Add(
      "INSTrument[:SELect]",
      [](Exec& e) {
        if (e.ExpectParams(1, 1)) e.Integer(0, 1, 1, 1);
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyInt(1);
      });
  tree.Add("INSTrument:CATalog", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(1);
  });
  tree.Add("INSTrument:INFOrmation", nullptr, [](Exec& e) {
    if (!e.NoParams()) return;
    const ModelRatings& r = e.model().ratings();
    e.Reply(FormatReal(r.volts) + "," + FormatReal(r.amperes) + "," + FormatReal(r.watts) + "," +
            std::string(r.name));
  });
}

}  // namespace tqrsim
