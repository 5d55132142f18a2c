// The update check's boxes and the program's web page, on Windows.
#pragma once
#include <windows.h>

#include <functional>

namespace kavlo {

// Opens the program's web page in the user's browser (ShellExecuteA "open", no owner; the
// result is not looked at).
void OpenWebsite();

// The question shown after a background check found a newer version: Yes, No and Cancel,
// with a question icon; Yes runs `openWebsite`.
void AskGoToWebsite(HWND owner, const std::function<void()>& openWebsite = OpenWebsite);

}  // namespace kavlo
