// Save: the visible list as a text file chosen in the Save As dialog.
#pragma once
#include <string>

#include "app/command_context_win.h"

namespace kavlo {

// Offers `lastFileSaved` in the dialog and sets it to the name written, after a successful
// write only. An empty list shows "No rows in list." and asks nothing.
void SaveListCommand(const CommandContext& c, std::string& lastFileSaved);

}  // namespace kavlo
