// The window base and the application's error report.
#include "gui/window_base_win.h"

#include "gui/error_report.h"

#include <windowsx.h>

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

TMessageTarget::MouseButton TMessageTarget::ButtonOf(UINT msg) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) return MouseButton::Left;
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) return MouseButton::Right;
    return MouseButton::Middle;
}

// The one message switch: each message to its typed handler.
bool TMessageTarget::Crack(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    result = 0;
    switch (msg) {
        case WM_CREATE:
            if (OnCreate()) return true;
            break;
        case WM_DESTROY: OnDestroy(); break;
        case WM_NCDESTROY: OnNcDestroy(); break;
        case WM_SIZE:
            if (OnSize(LOWORD(lParam), HIWORD(lParam))) return true;
            break;
        case WM_GETMINMAXINFO:
            if (OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam))) return true;
            break;
        case WM_SIZING:
            if (OnSizing(wParam, *reinterpret_cast<RECT*>(lParam))) return result = TRUE, true;
            break;
        case WM_WINDOWPOSCHANGING:
            if (OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam))) return true;
            break;
        case WM_EXITSIZEMOVE:
            if (OnExitSizeMove()) return true;
            break;
        case WM_DPICHANGED:
            if (OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam))) return true;
            break;
        case WM_PAINT:
            if (OnPaint()) return true;
            break;
        case WM_DRAWITEM:
            if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return result = TRUE, true;
            break;
        case WM_CTLCOLORSTATIC:
            result = reinterpret_cast<LRESULT>(
                OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
            return result != 0;
        case WM_ERASEBKGND:
            if (OnEraseBackground()) return result = 1, true;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (OnFocus(msg == WM_SETFOCUS)) return true;
            break;
        case WM_ACTIVATE: OnActivate(wParam); break;
        case WM_GETDLGCODE:
            result = OnGetDlgCode();
            return result != 0;
        case WM_KEYDOWN:
            if (OnKey(wParam)) return true;
            break;
        case WM_CHAR:
            if (OnChar(wParam)) return true;
            break;
        case WM_KEYUP:
            if (OnKeyUp(wParam)) return true;
            break;
        case WM_MOUSEMOVE:
            if (OnMouseMove(x, y)) return true;
            break;
        case WM_MOUSELEAVE:
            if (OnMouseLeave()) return true;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (OnMouseDown(ButtonOf(msg), x, y)) return true;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (OnMouseUp(ButtonOf(msg), x, y)) return true;
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDoubleClick(x, y)) return true;
            break;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            if (OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam), msg == WM_MOUSEHWHEEL))
                return true;
            break;
        case WM_SETCURSOR:
            if (OnSetCursor(static_cast<short>(LOWORD(lParam)))) return result = TRUE, true;
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (OnScroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), reinterpret_cast<HWND>(lParam)))
                return true;
            break;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return true;
            break;
        case WM_NOTIFY:
            if (OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return true;
            break;
        case WM_CONTEXTMENU:
            if (OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{x, y})) return true;
            break;
        case WM_TIMER:
            if (OnTimer(wParam)) return true;
            break;
        default:
            if (msg >= WM_USER && msg <= 0xBFFF && OnAppMessage(msg, wParam, lParam)) return true;
            break;
    }
    result = 0;
    return false;
}

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
    Guarded(GetAncestor(hwnd, GA_ROOT), [&] {
        if (!self->Crack(msg, wParam, lParam, result)) result = self->Default(msg, wParam, lParam);
    });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

TSubclass::~TSubclass() {
    if (hwnd_) RemoveWindowSubclass(hwnd_, StaticSubclassProc, 0);
}

void TSubclass::Attach(HWND control) {
    hwnd_ = control;
    SetWindowSubclass(control, StaticSubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TSubclass::StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<TSubclass*>(data);
    const MSG outer = self->now_;  // a handler may send the control another message
    self->now_ = MSG{hwnd, msg, wParam, lParam, 0, {}};
    LRESULT result = 0;
    bool handled = false;
    Guarded(GetAncestor(hwnd, GA_ROOT), [&] { handled = self->Crack(msg, wParam, lParam, result); });
    self->now_ = outer;
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, StaticSubclassProc, 0);
        self->hwnd_ = nullptr;
    }
    return handled ? result : DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace kavlo
