#include "app/ask_file_no_form_win.h"

#include "app/main_messages.h"
#include "res/resource.h"

namespace kavlo {

namespace {

constexpr COLORREF kLime = RGB(0, 255, 0);
TAskFileNoForm* g_shown = nullptr;  // the dialog whose keys the message hook watches

// The marker bitmap with one row of lime green added at its bottom: 14 x 15. The buttons draw
// the colour of a glyph's bottom-left pixel as transparent, so the square shows whole.
HBITMAP MakeGlyph(const char* resource) {
    HBITMAP marker = LoadBitmapA(AppInstance(), resource);
    if (!marker) return nullptr;
    BITMAP bm{};
    GetObject(marker, sizeof bm, &bm);
    HDC screen = GetDC(nullptr);
    HBITMAP glyph = CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight + 1);
    {
        UniqueDc src(CreateCompatibleDC(screen)), dst(CreateCompatibleDC(screen));
        SelectGuard s(src.get(), marker), d(dst.get(), glyph);
        BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
        UniqueBrush lime(CreateSolidBrush(kLime));
        RECT row{0, bm.bmHeight, bm.bmWidth, bm.bmHeight + 1};
        FillRect(dst.get(), &row, lime.get());
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(marker);
    return glyph;
}

}  // namespace

TAskFileNoForm::TAskFileNoForm() : TModalDialog(IDD_ASKFILENO) {
    glyphs_[0].reset(MakeGlyph("file1"));
    glyphs_[1].reset(MakeGlyph("file2"));
}

TAskFileNoForm::~TAskFileNoForm() {
    if (hook_) UnhookWindowsHookEx(hook_);
}

bool TAskFileNoForm::OnInit() {
    // Client area 192 x 73 pixels, centred on the main window.
    RECT r{0, 0, 192, 73};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    CenterOn(GetWindow(hwnd_, GW_OWNER));
    // The dialog sees keys before its controls: a message hook of the dialog's modal loop.
    g_shown = this;
    hook_ = SetWindowsHookExA(WH_MSGFILTER, KeyHook, nullptr, GetCurrentThreadId());
    PostMessageA(hwnd_, kWmAskShown, 0, 0);
    return true;
}

LRESULT CALLBACK TAskFileNoForm::KeyHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    TAskFileNoForm* self = g_shown;
    if (code >= 0 && self && self->hwnd_ && msg->message == WM_KEYUP &&
        (msg->hwnd == self->hwnd_ || IsChild(self->hwnd_, msg->hwnd))) {
        const bool modifier = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
        // The digits of the main keyboard only; the keypad's do nothing.
        if (!modifier && (msg->wParam == '1' || msg->wParam == '2')) {
            self->OnCommand(msg->wParam == '1' ? IDC_BITBTN1 : IDC_BITBTN2, BN_CLICKED);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool TAskFileNoForm::OnCommand(int id, int code) {
    if (id == IDC_BITBTN1 || id == IDC_BITBTN2) {
        FileNo = id == IDC_BITBTN1 ? 1 : 2;
        End(IDOK);
        return true;
    }
    return false;
}

void TAskFileNoForm::DrawGlyphButton(const DRAWITEMSTRUCT& d) {
    RECT r = d.rcItem;
    DrawFrameControl(d.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | ((d.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
    HBITMAP glyph = glyphs_[d.CtlID == IDC_BITBTN1 ? 0 : 1].get();
    if (glyph) {
        BITMAP bm{};
        GetObject(glyph, sizeof bm, &bm);
        UniqueDc mem(CreateCompatibleDC(d.hDC));
        SelectGuard sel(mem.get(), glyph);
        const COLORREF transparent = GetPixel(mem.get(), 0, bm.bmHeight - 1);
        const int x0 = r.left + (r.right - r.left - bm.bmWidth) / 2;
        const int y0 = r.top + (r.bottom - r.top - bm.bmHeight) / 2;
        for (int y = 0; y < bm.bmHeight; ++y)
            for (int x = 0; x < bm.bmWidth; ++x) {
                const COLORREF c = GetPixel(mem.get(), x, y);
                if (c != transparent) SetPixel(d.hDC, x0 + x, y0 + y, c);
            }
    }
    if (d.itemState & ODS_FOCUS) {
        RECT f = r;
        InflateRect(&f, -3, -3);
        DrawFocusRect(d.hDC, &f);
    }
}

INT_PTR TAskFileNoForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_DRAWITEM:
            DrawGlyphButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DESTROY:
            if (hook_) UnhookWindowsHookEx(hook_);
            hook_ = nullptr;
            if (g_shown == this) g_shown = nullptr;
            return FALSE;
        default:
            break;
    }
    if (msg == kWmAskShown) {
        if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
        if (GetForegroundWindow() != hwnd_) {
            HWND app = GetWindow(hwnd_, GW_OWNER);
            FlashWindow(app ? app : hwnd_, TRUE);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace kavlo
