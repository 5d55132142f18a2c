// The system's open and save dialogs, with the options every use of them shares.
#include "gui/file_dialog_win.h"

#include <commdlg.h>

namespace kavlo {

std::optional<std::string> RunFileDialog(HWND owner, const char* filter, const std::string& start,
                                         const std::string& initialDir, DWORD flags, bool save,
                                         const char* defaultExtension) {
    char name[MAX_PATH * 4] = {};
    start.copy(name, sizeof name - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = flags | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
    if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return std::nullopt;
    return std::string(name);
}

bool FileExists(const std::string& name) {
    const DWORD a = GetFileAttributesA(name.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ConfirmReplace(HWND owner, const std::string& fileName) {
    const std::string text = fileName + " already exists.\nDo you want to replace it?";
    return MessageBoxA(owner, text.c_str(), "Save As", MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace kavlo
