// The system's open and save dialogs.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>

namespace kavlo {

// The common open or save dialog; the chosen name, or nothing when cancelled.
std::optional<std::string> RunFileDialog(HWND owner, const char* filter, const std::string& start,
                                         const std::string& initialDir, DWORD flags, bool save);

}  // namespace kavlo
