// Save: the visible list as a text file chosen in the Save As dialog; Copy: rows of it on the
// clipboard, as Save writes them.
#pragma once
#include <string>
#include <utility>

#include "app/command_context_win.h"

namespace kavlo {

// Offers `lastFileSaved` in the dialog and sets it to the name written, after a successful
// write only. An empty list shows "No rows in list." and asks nothing.
void SaveListCommand(const CommandContext& c, std::string& lastFileSaved);

// Ctrl+C in the grid: data rows `rows.first` to `rows.second` on the clipboard; an empty list
// copies nothing.
void CopyRowsCommand(const CommandContext& c, std::pair<int, int> rows);

}  // namespace kavlo
