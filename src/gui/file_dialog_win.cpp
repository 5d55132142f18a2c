// The system's open and save dialogs, with the options every use of them shares.
#include "gui/file_dialog_win.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/errors.h"
#include "platform/com_win.h"
#include "platform/command_line_win.h"

namespace kavlo {

namespace {

std::wstring AnsiToWide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 1) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
    out.pop_back();  // the terminating 0
    return out;
}

}  // namespace

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

std::optional<std::string> RunFolderDialog(HWND owner, const std::string& title, const std::string& start) {
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(dialog.put()))))
        throw EKavloError("The folder dialog could not be opened.");
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(AnsiToWide(title).c_str());
    // In the folder that holds `start`, its name in the name box: Enter takes it again.
    const size_t slash = start.find_last_of("\\/");
    if (slash != std::string::npos && slash + 1 < start.size()) {
        ComPtr<IShellItem> parent;
        const std::string above = start.substr(0, slash + (slash == 2 && start[1] == ':'));  // "C:\" stays whole
        if (SUCCEEDED(SHCreateItemFromParsingName(AnsiToWide(above).c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(parent.put())))) {
            dialog->SetFolder(parent.get());
            dialog->SetFileName(AnsiToWide(start.substr(slash + 1)).c_str());
        }
    }
    if (FAILED(dialog->Show(owner))) return std::nullopt;  // cancelled
    ComPtr<IShellItem> chosen;
    PWSTR path = nullptr;
    if (FAILED(dialog->GetResult(chosen.put())) || FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    std::string result = WideToAnsi(path);
    CoTaskMemFree(path);
    return result;
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
