// Save Filter String to Clipboard: the IDs of the visible list, joined by "|".
#pragma once
#include "app/command_context_win.h"

namespace kavlo {

// An empty list shows "No rows in list." and leaves the clipboard as it is.
void MakeFilterStringCommand(const CommandContext& c);

}  // namespace kavlo
