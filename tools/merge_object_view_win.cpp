// merge_object_view.exe: opens the merge window of one object of three object files, as the
// Merge window opens it, until that window closes; for tools/screenshot.sh --merge-object.
//   merge_object_view ORIGINAL MODIFIED TARGET TYPE ID
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/merge_object_form_win.h"
#include "objfile/load_object_file.h"
#include "platform/command_line.h"
#include "platform/regional.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const std::vector<std::string> args = kavlo::ProgramArguments(0, nullptr);
    if (args.size() != 5) {
        MessageBoxA(nullptr, "merge_object_view ORIGINAL MODIFIED TARGET TYPE ID", "Merge", MB_OK);
        return 2;
    }
    kavlo::SystemRegional regional;
    kavlo::TFob fobs[3];
    kavlo::TMergeObjectWindows windows;
    const bool opened = kavlo::Guarded(nullptr, [&] {
        for (int k = 0; k < 3; ++k) kavlo::LoadObjectFile(fobs[k], k + 1, args[static_cast<size_t>(k)], regional.Get());
        windows.Open(fobs[0], fobs[1], fobs[2], kavlo::MergeOptions{}, std::atoi(args[3].c_str()),
                     std::atoi(args[4].c_str()), GetDesktopWindow());
    });
    if (!opened) return 1;
    MSG msg;
    while (!windows.OpenWindows().empty() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
