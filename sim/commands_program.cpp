// The program store: selection, names, steps and their fields, chains.
#include <string>
#include <vector>

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/instrument.h"
#include "sim/number_format.h"
#include "sim/setting_commands.h"

namespace tqrsim {
namespace {

ProgramStep* SelectedStep(Exec& e) {
  int error = 0;
  ProgramStep* step = e.model().programs().Step(e.suffix(0), error);
  if (step == nullptr) e.Error(error);
  return step;
}

Program* SelectedProgram(Exec& e) {
  Program* program = e.model().programs().selected();
  if (program == nullptr) e.Error(kSettingsConflict);
  return program;
}

void Check(Exec& e, int rc) {
  if (rc != 0) e.Error(rc);
}

void ReplyQuotedList(Exec& e, const std::vector<std::string>& names) {
  // An empty list is an empty reply.
  e.Reply("");
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) e.Reply(",");
    e.ReplyQuoted(names[i]);
  }
}

}  // namespace

void RegisterProgramCommands(CommandTree& tree) {
  tree.Add(
      "PROGram[:SELected]:NAME",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto name = e.QuotedString(0)) Check(e, e.model().programs().Select(*name));
      },
      [](Exec& e) {
        if (e.NoParams()) e.ReplyQuoted(e.model().programs().selected_name());
      });
  tree.Add(
      "PROGram[:SELected]:REName",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto name = e.QuotedString(0)) Check(e, e.model().programs().RenameSelected(*name));
      },
      nullptr);
  tree.Add(
      "PROGram:DELete:ALL",
      [](Exec& e) {
        if (e.NoParams()) e.model().programs().DeleteAll();
      },
      nullptr);
  tree.Add(
      "PROGram[:SELected]:DELete[:SELected]",
      [](Exec& e) {
        if (e.NoParams()) Check(e, e.model().programs().DeleteSelected());
      },
      nullptr);
  tree.Add("PROGram:CATalog", nullptr, [](Exec& e) {
    if (e.NoParams()) ReplyQuotedList(e, e.model().programs().Names());
  });
  tree.Add(
      "PROGram[:SELected]:SAVE",
      [](Exec& e) {
        // Programs are kept as soon as they are edited; saving needs a selection.
        if (e.NoParams()) SelectedProgram(e);
      },
      nullptr);
  tree.Add(
      "PROGram[:SELected]:STEP#:INSert",
      [](Exec& e) {
        if (e.NoParams()) Check(e, e.model().programs().InsertStep(e.suffix(0)));
      },
      nullptr);
  tree.Add(
      "PROGram[:SELected]:STEP#:DELete",
      [](Exec& e) {
        if (e.NoParams()) Check(e, e.model().programs().DeleteStep(e.suffix(0)));
      },
      nullptr);
  tree.Add(
      "PROGram[:SELected]:STEP:COUNt",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        auto count = e.Integer(0, 1, static_cast<int>(ProgramStore::kMaxSteps), 1);
        if (count) Check(e, e.model().programs().SetStepCount(*count));
      },
      [](Exec& e) {
        if (!e.NoParams()) return;
        if (Program* program = SelectedProgram(e)) {
          e.ReplyInt(static_cast<long long>(program->steps.size()));
        }
      });
  tree.Add("PROGram:ALL:STEP:COUNt", nullptr, [](Exec& e) {
    if (e.NoParams()) e.ReplyInt(static_cast<long long>(e.model().programs().TotalSteps()));
  });
  tree.Add(
      "PROGram:CHAin:ADD",
      [](Exec& e) {
        if (!e.ExpectParams(1, 1)) return;
        if (auto name = e.QuotedString(0)) Check(e, e.model().programs().AddToChain(*name));
      },
      nullptr);
  tree.Add("PROGram:CHAin:CATalog", nullptr, [](Exec& e) {
    if (e.NoParams()) ReplyQuotedList(e, e.model().programs().chain());
  });
  tree.Add(
      "PROGram:CHAin:CLEar",
      [](Exec& e) {
        if (e.NoParams()) e.model().programs().ClearChain();
      },
      nullptr);

  AddRows(tree, StepRealRows(), Access<ProgramStep>(SelectedStep));
  AddRows(tree, StepBoolRows(), Access<ProgramStep>(SelectedStep));
  AddRows(tree, StepEnumRows(), Access<ProgramStep>(SelectedStep));
  AddRows(tree, ProgramIntRows(), Access<Program>(SelectedProgram));
  AddRows(tree, ProgramEnumRows(), Access<Program>(SelectedProgram));
}

}  // namespace tqrsim
