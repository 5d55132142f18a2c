// The progress guard's message pump: the window repaints between rows, input waits or goes.
#include "gui/progress_guard_win.h"

namespace kavlo {

namespace {

bool IsKeyboard(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }
bool IsMouse(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCXBUTTONDBLCLK) ||
           m == WM_MOUSELEAVE || m == WM_NCMOUSELEAVE || m == WM_MOUSEHOVER || m == WM_NCMOUSEHOVER;
}
// A posted request that would start something in the window: it waits until the work is done.
bool MustWait(UINT m) {
    return m == WM_CLOSE || m == WM_SYSCOMMAND || m == WM_COMMAND || m == WM_DROPFILES || m >= WM_USER;
}

}  // namespace

ProgressGuard::ProgressGuard(ShowProgressFn show, int rows, HWND cancellable)
    : show_(std::move(show)), window_(cancellable) {
    if (show_) show_(true, 0, rows, 0);
}

ProgressGuard::~ProgressGuard() {
    if (show_) show_(false, 0, 0, 0);
    for (const MSG& m : held_) PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    if (quit_) PostQuitMessage(static_cast<int>(quitCode_));
}

void ProgressGuard::Progress(int row) {
    if (show_) show_(true, 0, 0, row);
    if (window_ && PumpMessages()) throw ECancelled();
}

bool ProgressGuard::PumpMessages() {
    bool escape = false;
    MSG msg;
    while (!quit_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;  // the loop that waits for it gets it when the work is done
            quitCode_ = msg.wParam;
            break;
        }
        if (Ours(msg.hwnd)) {
            if (IsKeyboard(msg.message)) {
                if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE)
                    escape = true;
                continue;
            }
            if (IsMouse(msg.message)) {
                // The window's cursor would go back to the arrow as the pointer moves.
                SetCursor(LoadCursor(nullptr, IDC_WAIT));
                continue;
            }
            if (msg.hwnd == window_ && MustWait(msg.message)) {
                held_.push_back(msg);
                continue;
            }
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return escape;
}

}  // namespace kavlo
