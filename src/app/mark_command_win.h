// Mark objects in Navision Object Designer (Ctrl+M): the visible list's objects marked in a
// running client by keystrokes.
#pragma once
#include <string>
#include <vector>

#include "app/command_context_win.h"
#include "marking/desktop.h"
#include "settings/settings.h"

namespace kavlo {

// Takes the captions, the Select All shortcut and the screen check from the settings, and the
// "saveanalyze" switch from the command line's arguments. `desktop` is the real one when null.
void MarkObjectDesignerCommand(const CommandContext& c, const TSettings& settings,
                               const std::vector<std::string>& arguments, Desktop* desktop);

}  // namespace kavlo
