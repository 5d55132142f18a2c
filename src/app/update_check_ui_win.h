// What the user sees of the update check: the boxes with the caption "Check for updates", the
// question after a background check found a newer version, and the program's web page opened
// in the browser. The check itself (settings/update_check*) only asks for them through its
// UpdateCheckEnv.
#pragma once
#include <windows.h>

#include <functional>

#include "settings/update_check.h"

namespace kavlo {

// Opens the program's web page in the user's browser (ShellExecuteA "open", no owner; the
// result is not looked at).
void OpenWebsite();

// The question shown after a background check found a newer version: Yes, No and Cancel,
// with a question icon; Yes runs `openWebsite`.
void AskGoToWebsite(HWND owner, const std::function<void()>& openWebsite = OpenWebsite);

// The background check's verdict (its code): any verdict (a code above 0) dates the check in
// `lastCheckDate`, and a newer version is offered (AskGoToWebsite).
void TakeUpdateCheckVerdict(HWND owner, int result, double& lastCheckDate,
                            const std::function<void()>& openWebsite = OpenWebsite);

// The real network test, version data and HTTP request (SystemUpdateCheckSources), with the
// browser and boxes owned by `owner` with the caption "Check for updates".
UpdateCheckEnv SystemUpdateCheckEnv(HWND owner);

}  // namespace kavlo
