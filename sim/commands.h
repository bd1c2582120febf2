// Registration of the instrument's commands, one function per area.
#pragma once

#include "sim/command_tree.h"

namespace tqrsim {

void RegisterCommonCommands(CommandTree& tree);
void RegisterStatusCommands(CommandTree& tree);
void RegisterSettingCommands(CommandTree& tree);
void RegisterOutputCommands(CommandTree& tree);
void RegisterMeasureCommands(CommandTree& tree);
void RegisterProgramCommands(CommandTree& tree);
void RegisterIvCommands(CommandTree& tree);
void RegisterSystemCommands(CommandTree& tree);
void RegisterSimulatorCommands(CommandTree& tree);

}  // namespace tqrsim
