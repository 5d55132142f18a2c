// What a command of the main window is given: the window that owns its dialogs and boxes, the
// visible list it works on, the regional formats, and how it tells the user and shows progress.
// Commands keep no state of their own and never reach into the main window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "gui/progress_guard_win.h"
#include "listing/visible_list.h"
#include "platform/format_settings.h"

namespace kavlo {

struct CommandContext {
    HWND owner;
    const TVisibleList& list;
    const FormatSettings& format;
    // An information box with the application's title (tests record the text instead).
    std::function<void(std::string_view text)> tell;
    ShowProgressFn showProgress;
    // A short note in the status bar ("Printing cancelled."), shown for a while.
    std::function<void(std::string_view text)> note;
};

}  // namespace kavlo
