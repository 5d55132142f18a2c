// The system's open and save dialogs and its folder picker.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>

namespace kavlo {

// The common open or save dialog; the chosen name, or nothing when cancelled. A default
// extension (without the dot) is added by the dialog to a name typed without one, before it
// asks whether to replace an existing file.
std::optional<std::string> RunFileDialog(HWND owner, const char* filter, const std::string& start,
                                         const std::string& initialDir, DWORD flags, bool save,
                                         const char* defaultExtension = nullptr);

// The system's folder picker (the open dialog choosing a folder) titled `title`; with a `start`
// folder it opens in the folder above it with `start`'s name in the name box. The chosen
// folder, or nothing when cancelled.
std::optional<std::string> RunFolderDialog(HWND owner, const std::string& title, const std::string& start);

// True for an existing file (not a folder).
bool FileExists(const std::string& name);

// The question the save dialog asks before it replaces a file ("… already exists. Do you want
// to replace it?", Yes and No); true on Yes.
bool ConfirmReplace(HWND owner, const std::string& fileName);

}  // namespace kavlo
