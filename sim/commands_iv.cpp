// The current and voltage I-V maps: point editing, counts, catalogue and bulk blocks.
#include <string>

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"
#include "sim/number_format.h"

namespace tqrsim {
namespace {

using MapOf = IvMap& (*)(InstrumentModel&);

IvLimits LimitsOf(const InstrumentModel& model) {
  return {model.ratings().volts, model.ratings().amperes};
}

void Check(Exec& e, int rc) {
  if (rc != 0) e.Error(rc);
}

void AddMap(CommandTree& tree, const std::string& root, MapOf map) {
  tree.Add(
      root + ":IV:CLEar",
      [map](Exec& e) {
        if (e.NoParams()) map(e.model()).Clear();
      },
      nullptr);
  tree.Add(
      root + ":IV:MAP#",
      [map](Exec& e) {
        if (!e.ExpectParams(2, 2)) return;
        const IvLimits limits = LimitsOf(e.model());
        auto volts = e.Real(0, {-limits.max_volts, limits.max_volts, 0});
        auto amperes = e.Real(1, {-limits.max_amperes, limits.max_amperes, 0});
        if (volts && amperes)
          Check(e, map(e.model()).SetPoint(e.suffix(0), *volts, *amperes, limits));
      },
      [map](Exec& e) {
        if (!e.NoParams()) return;
        const auto& points = map(e.model()).points();
        int number = e.suffix(0);
        if (number < 1 || static_cast<std::size_t>(number) > points.size()) {
          return e.Error(kHeaderSuffixOutOfRange);
        }
        const IvPoint& point = points[static_cast<std::size_t>(number - 1)];
        e.Reply(FormatReal(point.volts) + "," + FormatReal(point.amperes));
      });
  tree.Add(
      root + ":IV:MAP#:INSert",
      [map](Exec& e) {
        if (e.NoParams()) Check(e, map(e.model()).Insert(e.suffix(0)));
      },
      nullptr);
  tree.Add(
      root + ":IV:MAP#:DELete",
      [map](Exec& e) {
        if (e.NoParams()) Check(e, map(e.model()).Delete(e.suffix(0)));
      },
      nullptr);
  tree.Add(
      root + ":IV:COUNt",
      [map](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto count = e.Integer(0, 0, static_cast<int>(map(e.model()).max_points()), 0);
        if (count) Check(e, map(e.model()).SetCount(*count));
      },
      [map](Exec& e) {
        if (e.NoParams()) e.ReplyInt(static_cast<long long>(map(e.model()).points().size()));
      });
  // Voltage and current of every point in turn; an empty map gives an empty reply.
  tree.Add(root + ":IV:CATalog", nullptr, [map](Exec& e) {
    if (!e.NoParams()) return;
    std::string text;
    for (const IvPoint& point : map(e.model()).points()) {
      if (!text.empty()) text += ',';
      text += FormatReal(point.volts) + "," + FormatReal(point.amperes);
    }
    e.Reply(text);
  });
  tree.Add(
      root + ":IV:DATA",
      [map](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        const std::string* block = e.Block(0);
        if (block != nullptr) Check(e, map(e.model()).DecodeBlockData(*block, LimitsOf(e.model())));
      },
      [map](Exec& e) {
        if (e.NoParams()) e.ReplyBlock(map(e.model()).EncodeBlockData());
      });
}

}  // namespace

void RegisterIvCommands(CommandTree& tree) {
  AddMap(tree, "[:SOURce]:CURRent", [](InstrumentModel& m) -> IvMap& { return m.current_map(); });
  AddMap(tree, "[:SOURce]:VOLTage", [](InstrumentModel& m) -> IvMap& { return m.voltage_map(); });
}

}  // namespace tqrsim
