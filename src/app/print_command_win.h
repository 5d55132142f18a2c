// Print: the visible list on the printer chosen in the print dialog.
#pragma once
#include <string>

#include "app/command_context_win.h"

namespace kavlo {

// Does nothing, silently, when the system has no printer; an empty list shows "No rows in
// list." and asks nothing. The header names the two files (empty when a slot has none).
// Escape while it prints aborts the job, and the status bar says "Printing cancelled.".
void PrintListCommand(const CommandContext& c, const std::string& file1, const std::string& file2);

}  // namespace kavlo
