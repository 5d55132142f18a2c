// Save: the Save As dialog, ".txt" added when missing, the file written in one go under the
// hourglass and the progress bar. Copy: the rows' text on the clipboard.
#include "app/save_command_win.h"

#include <optional>

#include "gui/clipboard_win.h"
#include "gui/file_dialog_win.h"
#include "output/text_list.h"

namespace kavlo {

void SaveListCommand(const CommandContext& c, std::string& lastFileSaved) {
    if (!HasRows(c.list, c.tell)) return;
    static const char kFilter[] = "Text file (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    // The dialog adds ".txt" to a name typed without an extension, so that it asks about the
    // name that is written; for a name with another extension ".txt" is added here, and the
    // question is asked here too. Nothing is replaced without a Yes.
    const std::optional<std::string> chosen =
        RunFileDialog(c.owner, kFilter, lastFileSaved, std::string(), OFN_OVERWRITEPROMPT, true, "txt");
    if (!chosen) return;
    const std::string fileName = WithTxtExtension(*chosen);
    if (fileName != *chosen && FileExists(fileName) && !ConfirmReplace(c.owner, fileName)) return;
    {
        ProgressGuard progress(c.showProgress, c.list.RowCount());
        SaveListAsText(c.list, fileName, c.format, &progress);
    }
    lastFileSaved = fileName;
}

void CopyRowsCommand(const CommandContext& c, std::pair<int, int> rows) {
    if (!c.list.HasRows()) return;
    SetClipboardText(c.owner, RowsAsText(c.list, rows.first, rows.second, c.format));
}

}  // namespace kavlo
