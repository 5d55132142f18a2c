// The system's print dialog.
#pragma once
#include <windows.h>

#include "gui/gdi_handles_win.h"

namespace kavlo {

// Shows the standard print dialog; the chosen printer's device context, or an empty one when
// the user cancels. A dialog that cannot be shown raises EKavloError.
UniqueDc RunPrintDialog(HWND owner);

// What the dialog's return means, given its result, CommDlgExtendedError's code and the device
// context it gave: the context; an empty one for a cancel (no code); EKavloError when the
// dialog failed ("The print dialog failed (error N).", for example PDERR_NODEFAULTPRN with no
// default printer) or the chosen printer gave no device context.
UniqueDc PrintDialogOutcome(bool chosen, DWORD error, UniqueDc dc);

}  // namespace kavlo
