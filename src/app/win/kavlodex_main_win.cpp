// kavlodex.exe: the program's start and its message loop.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "platform/win_handles_win.h"
#include "platform/windows_version_win.h"

namespace {

// The command line's arguments as ANSI texts, without the program's own name.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int argc = 0;
    const kavlo::UniqueLocalMemory<LPWSTR> owned(CommandLineToArgvW(GetCommandLineW(), &argc));
    LPWSTR* argv = owned.get();
    for (int i = 1; argv && i < argc; ++i) {
        const int n = WideCharToMultiByte(CP_ACP, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string a(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
        if (n > 1) WideCharToMultiByte(CP_ACP, 0, argv[i], -1, a.data(), n, nullptr, nullptr);
        args.push_back(a);
    }
    return args;
}

}  // namespace

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
        options.arguments = Arguments();
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
