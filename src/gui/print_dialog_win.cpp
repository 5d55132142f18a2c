// The print dialog: whole document only (no page range, no selection), the printer's driver
// making the copies, and the chosen printer's device context handed to the caller.
#include "gui/print_dialog_win.h"

#include <commdlg.h>

#include <string>

#include "base/errors.h"
#include "platform/win_handles_win.h"

namespace kavlo {

UniqueDc RunPrintDialog(HWND owner) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgA(&pd);
    UniqueGlobalMemory devMode(pd.hDevMode), devNames(pd.hDevNames);
    return PrintDialogOutcome(chosen != FALSE, chosen ? 0 : CommDlgExtendedError(), UniqueDc(pd.hDC));
}

UniqueDc PrintDialogOutcome(bool chosen, DWORD error, UniqueDc dc) {
    if (!chosen) {
        if (error) throw EKavloError("The print dialog failed (error " + std::to_string(error) + ").");
        return UniqueDc();
    }
    if (!dc) throw EKavloError("The chosen printer gave no device context.");
    return dc;
}

}  // namespace kavlo
