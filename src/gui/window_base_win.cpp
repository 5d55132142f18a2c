#include "gui/window_base_win.h"

#include <commdlg.h>

#include "gui/error_report.h"

namespace kavlo {

namespace {

ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
}

}  // namespace

HINSTANCE AppInstance() { return GetModuleHandleA(nullptr); }

HWND CreateTrackingTip(HWND owner, UINT_PTR id, TOOLINFOA& info) {
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               AppInstance(), nullptr);
    info = TOOLINFOA{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = const_cast<char*>("");
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return tip;
}

std::optional<std::string> RunFileDialog(HWND owner, const char* filter, const std::string& start,
                                         const std::string& initialDir, DWORD flags, bool save) {
    char name[MAX_PATH * 4] = {};
    start.copy(name, sizeof name - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.Flags = flags | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
    if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return std::nullopt;
    return std::string(name);
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
    try {
        const LRESULT r = self->HandleMessage(msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return r;
    } catch (const std::exception& e) {
        ShowException(GetAncestor(hwnd, GA_ROOT), e);
        return 0;
    }
}

INT_PTR TModalDialog::ShowModal(HWND owner) {
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId_), owner, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

void TModalDialog::CenterOn(HWND owner) {
    RECT o{}, d{};
    if (!owner || !GetWindowRect(owner, &o)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
    GetWindowRect(hwnd_, &d);
    const int w = d.right - d.left, h = d.bottom - d.top;
    SetWindowPos(hwnd_, nullptr, o.left + ((o.right - o.left) - w) / 2, o.top + ((o.bottom - o.top) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK TModalDialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TModalDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<TModalDialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<TModalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        switch (msg) {
            case WM_INITDIALOG:
                self->CenterOn(GetWindow(hwnd, GW_OWNER));
                return self->OnInit() ? TRUE : FALSE;
            case WM_COMMAND:
                if (self->OnCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
                if (LOWORD(wParam) == IDCANCEL) {
                    self->End(IDCANCEL);
                    return TRUE;
                }
                break;
            case WM_NCDESTROY:
                self->hwnd_ = nullptr;
                break;
            default:
                break;
        }
        return self->OnMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ShowException(hwnd, e);
        return TRUE;
    }
}

}  // namespace kavlo
