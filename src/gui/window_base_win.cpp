// The window base and the application's error report.
#include "gui/window_base_win.h"

#include "gui/error_report.h"
#include "platform/win_handles_win.h"

namespace kavlo {

namespace {

ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
}

}  // namespace

HINSTANCE AppInstance() { return GetModuleHandleA(nullptr); }

std::string WindowText(HWND hwnd) {
    std::string s(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    GetWindowTextA(hwnd, s.data(), static_cast<int>(s.size()));
    s.resize(s.size() - 1);
    return s;
}

int WindowDpi(HWND hwnd) {
    // GetDpiForWindow exists from Windows 10 1607 on; before, every window has the system's DPI.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (hwnd && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : kDesignDpi;
    return dpi > 0 ? dpi : kDesignDpi;
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
    ErrorReporter old = std::move(Reporter());
    Reporter() = std::move(reporter);
    return old;
}

void ShowErrorText(HWND owner, const std::string& message) {
    const std::string text = ErrorReportText(message);
    if (Reporter()) {
        Reporter()(owner, text);
        return;
    }
    MessageBoxA(owner, text.c_str(), std::string(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
}

void ShowException(HWND owner, const std::exception& e) { ShowErrorText(owner, e.what()); }

TWindow::~TWindow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void TWindow::RegisterClassOnce(const char* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(AppInstance(), className, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = AppInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
}

HWND TWindow::CreateWindowOf(const char* className, DWORD exStyle, const char* caption, DWORD style, int x,
                             int y, int w, int h, HWND parent, HMENU id) {
    return CreateWindowExA(exStyle, className, caption, style, x, y, w, h, parent, id, AppInstance(), this);
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT CALLBACK TWindow::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;  // a handler that failed has handled its message
    Guarded(GetAncestor(hwnd, GA_ROOT), [&] { result = self->HandleMessage(msg, wParam, lParam); });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace kavlo
