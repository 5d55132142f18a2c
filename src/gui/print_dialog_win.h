// The system's print dialog.
#pragma once
#include <windows.h>

#include "gui/gdi_handles_win.h"

namespace kavlo {

// Shows the standard print dialog; the chosen printer's device context, or an empty one when
// the user cancels. A dialog that cannot be shown raises EKavloError.
UniqueDc RunPrintDialog(HWND owner);

}  // namespace kavlo
