// kavlodex.exe: the program's start and its message loop.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "platform/command_line.h"
#include "platform/windows_version_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    // On 6.1 and later the thread follows the user's default locale, so that the date and time
    // texts use the user's own formats.
    if (kavlo::WindowsVersionAtLeast(6, 1)) SetThreadLocale(GetUserDefaultLCID());

    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);

    int rc = 0;
    {
        kavlo::TMainForm main;
        kavlo::TMainForm::Options options;
        options.arguments = kavlo::ProgramArguments(0, nullptr);  // the wide command line, in ANSI
        options.quitOnClose = true;
        if (!kavlo::Guarded(nullptr, [&] { main.Create(std::move(options)); })) return 1;
        main.Show(show);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (main.PreTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        rc = static_cast<int>(msg.wParam);
    }
    OleUninitialize();
    return rc;
}
