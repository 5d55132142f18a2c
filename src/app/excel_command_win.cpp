// Excel: the export under the hourglass and the progress bar; its failure told in a box of
// its own rather than the standard error report. Escape stops it; Excel keeps what it has.
#include "app/excel_command_win.h"

#include "output/excel_automation_win.h"
#include "output/excel_export.h"

namespace kavlo {

void ExportToExcelCommand(const CommandContext& c) {
    if (!ExcelInstalled()) return;
    if (!HasRows(c.list, c.tell)) return;
    try {
        ProgressGuard progress(c.showProgress, c.list.RowCount(), c.owner);
        ComExcelHost excel;
        ExportToExcel(c.list, c.format, excel, &progress);
    } catch (const ECancelled&) {
        if (c.note) c.note("Export to Excel cancelled.");
    } catch (const std::exception& e) {
        c.tell(ExcelExportFailedText(e));
    }
}

}  // namespace kavlo
