// Open File 1 and Open File 2, Open Folder 1 and Open Folder 2, and Open Folder's question.
#include "app/open_file_command_win.h"

#include <commdlg.h>

#include "gui/error_report.h"
#include "gui/file_dialog_win.h"
#include "objfile/load_object_file.h"

namespace kavlo {

std::optional<std::string> TOpenFileDialog::Choose(HWND owner) {
    static const char kFilter[] =
        "Supported files (*.fob;*.fbk;*.txt;*.xml)\0*.fob;*.fbk;*.txt;*.xml\0Object files (*.fob)\0*.fob\0"
        "Backup files (*.fbk)\0*.fbk\0Text Object files (*.txt)\0*.txt\0XML Object files (*.xml)\0*.xml\0"
        "All files\0*.*\0";
    const std::optional<std::string> chosen =
        RunFileDialog(owner, kFilter, fileName_, initialDir_, OFN_FILEMUSTEXIST, false);
    if (!chosen) return std::nullopt;
    fileName_ = *chosen;
    const size_t slash = fileName_.find_last_of("\\/");
    if (slash != std::string::npos) initialDir_ = fileName_.substr(0, slash);
    return chosen;
}

std::optional<std::string> TOpenFolderDialog::Choose(HWND owner, int fileNo) {
    const std::optional<std::string> chosen =
        RunFolderDialog(owner, "Open Folder " + std::to_string(fileNo), folder_);
    if (chosen) folder_ = *chosen;
    return chosen;
}

// The names of the other files, the first ten of them when there are more: a question stays on
// the screen.
bool AskOpenWithoutOthers(HWND owner, const std::string& folder, const std::vector<std::string>& others) {
    const std::string text = "The folder " + folder + " holds files that are no object files: " +
                             OtherFileNames(others) + ". Open it without them?";
    return MessageBoxA(owner, text.c_str(), std::string(kApplicationTitle).c_str(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

}  // namespace kavlo
