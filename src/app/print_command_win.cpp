// Print: the print dialog, then the list printed under the hourglass and the progress bar; the
// time of printing is taken once, so every page shows the same. Escape cancels the job.
#include "app/print_command_win.h"

#include "base/calendar.h"
#include "gui/print_dialog_win.h"
#include "gui/printer_canvas_win.h"
#include "output/print_list.h"
#include "output/printers_win.h"

namespace kavlo {

namespace {

double LocalNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

}  // namespace

void PrintListCommand(const CommandContext& c, const std::string& file1, const std::string& file2) {
    if (!PrintersInstalled()) return;
    if (!HasRows(c.list, c.tell)) return;
    UniqueDc dc = RunPrintDialog(c.owner);
    if (!dc) return;
    const std::string printTime = PrintTimeText(LocalNow(), c.format);
    TPrinterCanvas canvas(std::move(dc));
    try {
        ProgressGuard progress(c.showProgress, c.list.RowCount(), c.owner);
        PrintList(canvas, c.list, file1, file2, printTime, &progress);
    } catch (const ECancelled&) {
        if (c.note) c.note("Printing cancelled.");
    }
}

}  // namespace kavlo
