// The plain output and system settings: one set and one query per table row.
#include "sim/commands.h"
#include "sim/setting_commands.h"

namespace tqrsim {

void RegisterSettingCommands(CommandTree& tree) {
  Access<OutputSettings> output = [](Exec& e) { return &e.model().output(); };
  Access<SystemSettings> system = [](Exec& e) { return &e.model().system(); };
  AddRows(tree, OutputRealRows(), output);
  AddRows(tree, OutputIntRows(), output);
  AddRows(tree, OutputBoolRows(), output);
  AddRows(tree, OutputEnumRows(), output);
  AddRows(tree, SystemRealRows(), system);
  AddRows(tree, SystemIntRows(), system);
  AddRows(tree, SystemBoolRows(), system);
  AddRows(tree, SystemEnumRows(), system);
}

}  // namespace tqrsim
