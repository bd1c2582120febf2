// :SYSTem:ERRor and the OPERation / QUEStionable register groups.
#include <cstdint>
#include <string>

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"

namespace tqrsim {
namespace {

using GroupOf = RegisterGroup& (*)(Instrument&);

// Register values arrive as signed 16-bit patterns (-1 is all ones) or as 0 to 65535.
std::optional<std::uint16_t> RegisterValue(Exec& e) {
  if (!e.ExpectParams(1, 1)) return std::nullopt;
  auto value = e.Integer(0, -32768, 65535, 0);
  if (!value) return std::nullopt;
  return static_cast<std::uint16_t>(static_cast<unsigned>(*value) & 0xffffu);
}

void AddGroup(CommandTree& tree, const std::string& root, GroupOf group) {
  tree.Add(root + "[:EVENt]", nullptr, [group](Exec& e) {
    if (e.NoParams()) e.ReplyInt(group(e.instrument()).TakeEvent());
  });
  tree.Add(root + ":CONDition", nullptr, [group](Exec& e) {
    if (e.NoParams()) e.ReplyInt(group(e.instrument()).condition());
  });
  tree.Add(
      root + ":ENABle",
      [group](Exec& e) {
        if (auto value = RegisterValue(e)) group(e.instrument()).SetEnable(*value);
      },
      [group](Exec& e) {
        if (e.NoParams()) e.ReplyInt(group(e.instrument()).enable());
      });
  tree.Add(
      root + ":PTRansition",
      [group](Exec& e) {
        if (auto value = RegisterValue(e)) group(e.instrument()).SetPositiveFilter(*value);
      },
      [group](Exec& e) {
        if (e.NoParams()) e.ReplyInt(group(e.instrument()).positive_filter());
      });
  tree.Add(
      root + ":NTRansition",
      [group](Exec& e) {
        if (auto value = RegisterValue(e)) group(e.instrument()).SetNegativeFilter(*value);
      },
      [group](Exec& e) {
        if (e.NoParams()) e.ReplyInt(group(e.instrument()).negative_filter());
      });
}

}  // namespace

void RegisterStatusCommands(CommandTree& tree) {
  tree.Add("SYSTem:ERRor[:NEXT]", nullptr, [](Exec& e) {
    if (e.NoParams()) e.Reply(ErrorQueue::Format(e.instrument().errors().Pop()));
  });
  tree.Add("SYSTem:ERRor:COUNt", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(static_cast<long long>(e.instrument().errors().size()));
  });
  tree.Add("SYSTem:VERSion", nullptr, [](Exec& e) {
    if (e.NoParams()) e.Reply("1999.0");
  });
  AddGroup(tree, "STATus:OPERation",
           [](Instrument& tqr) -> RegisterGroup& { return tqr.operation(); });
  AddGroup(tree, "STATus:QUEStionable",
           [](Instrument& tqr) -> RegisterGroup& { return tqr.questionable(); });
  tree.Add(
      "STATus:PRESet",
      [](Exec& e) {
        if (!e.NoParams()) return;
        e.instrument().operation().Preset();
        e.instrument().questionable().Preset();
      },
      nullptr);
}

}  // namespace tqrsim
