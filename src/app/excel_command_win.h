// Excel: the visible list handed to a new Excel.
#pragma once
#include "app/command_context_win.h"

namespace kavlo {

// Does nothing, silently, when Excel is not registered; an empty list shows "No rows in
// list.". A failure is told in one box, "Export to Excel failed." with the error's type and
// text, after the progress bar and the hourglass have gone. Escape while it runs stops it:
// Excel is handed over with the rows written so far, and the status bar says "Export to Excel
// cancelled.".
void ExportToExcelCommand(const CommandContext& c);

}  // namespace kavlo
