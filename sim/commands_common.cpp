// IEEE 488.2 common commands.
#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"

namespace tqrsim {
namespace {

void SetEse(Exec& e) {
  if (!e.ExpectParams(1, 1)) return;
  if (auto value = e.Integer(0, 0, 255, 0))
    e.instrument().events().SetEse(static_cast<unsigned>(*value));
}

void SetSre(Exec& e) {
  if (!e.ExpectParams(1, 1)) return;
  if (auto value = e.Integer(0, 0, 255, 0))
    e.instrument().events().SetSre(static_cast<unsigned>(*value));
}

}  // namespace

void RegisterCommonCommands(CommandTree& tree) {
  tree.Add("*IDN", nullptr, [](Exec& e) {
    if (e.NoParams()) e.Reply(e.instrument().identity());
  });
  tree.Add(
      "*RST",
      [](Exec& e) {
        if (e.NoParams()) e.model().Reset();
      },
      nullptr);
  tree.Add(
      "*CLS",
      [](Exec& e) {
        if (!e.NoParams()) return;
        Instrument& tqr = e.instrument();
        tqr.errors().Clear();
        tqr.events().TakeEsr();
        tqr.operation().ClearEvent();
        tqr.questionable().ClearEvent();
      },
      nullptr);
  tree.Add("*ESR", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(e.instrument().events().TakeEsr());
  });
  tree.Add("*ESE", SetEse, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(e.instrument().events().ese());
  });
  tree.Add("*SRE", SetSre, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(e.instrument().events().sre());
  });
  tree.Add("*STB", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(e.instrument().StatusByte());
  });
  // Every operation completes before the next command runs.
  tree.Add(
      "*OPC",
      [](Exec& e) {
        if (e.NoParams()) e.instrument().events().Set(EventStatus::kOperationComplete);
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyInt(1);
      });
  tree.Add(
      "*WAI", [](Exec& e) { e.NoParams(); }, nullptr);
  tree.Add("*TST", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(0);
  });
  tree.Add("*OPT", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(0);
  });
  tree.Add(
      "*TRG",
      [](Exec& e) {
        if (!e.NoParams()) return;
        if (int rc = e.model().TriggerBoth(); rc != 0) e.Error(rc);
      },
      nullptr);
  tree.Add(
      "*SAV",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto number = e.Integer(0, 1, InstrumentModel::kMemories, 1);
        if (number) e.model().SaveMemory(*number);
      },
      nullptr);
  tree.Add(
      "*RCL",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto number = e.Integer(0, 1, InstrumentModel::kMemories, 1);
        if (number) e.model().RecallMemory(*number);
      },
      nullptr);
}

}  // namespace tqrsim
