// The dropped-file dialog: two owner-drawn buttons with the file markers, and the keys 1 and 2.
#include "app/ask_file_no_form_win.h"

#include "app/main_messages.h"
#include "res/resource.h"

namespace kavlo {

namespace {

constexpr COLORREF kLime = RGB(0, 255, 0);

// The marker bitmap with one row of lime green added at its bottom: 14 x 15. The buttons draw
// the colour of a glyph's bottom-left pixel as transparent, so the square shows whole.
UniqueBitmap MakeGlyph(const char* resource) {
    const UniqueBitmap marker(LoadBitmapA(AppInstance(), resource));
    if (!marker) return {};
    BITMAP bm{};
    GetObject(marker.get(), sizeof bm, &bm);
    const WindowDc screen(nullptr);
    UniqueBitmap glyph(CreateCompatibleBitmap(screen.get(), bm.bmWidth, bm.bmHeight + 1));
    UniqueDc src(CreateCompatibleDC(screen.get())), dst(CreateCompatibleDC(screen.get()));
    SelectGuard s(src.get(), marker.get()), d(dst.get(), glyph.get());
    BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
    UniqueBrush lime(CreateSolidBrush(kLime));
    RECT row{0, bm.bmHeight, bm.bmWidth, bm.bmHeight + 1};
    FillRect(dst.get(), &row, lime.get());
    return glyph;
}

}  // namespace

TAskFileNoForm::TAskFileNoForm() : TRecordDialog(IDD_ASKFILENO, 192, 73) {
    glyphs_[0] = MakeGlyph("file1");
    glyphs_[1] = MakeGlyph("file2");
}

bool TAskFileNoForm::OnInit() {
    // The dialog sees the keys before its buttons do.
    PreviewKeys();
    PostMessageA(hwnd_, kWmAskShown, 0, 0);
    return true;
}

void TAskFileNoForm::Choose(int fileNo) {
    value_ = fileNo;
    End(IDOK);
}

bool TAskFileNoForm::OnKeyUp(WPARAM vk) {
    // The digits of the main keyboard only, without a modifier; the keypad's do nothing.
    const bool modifier = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (modifier || (vk != '1' && vk != '2')) return false;
    Choose(vk == '1' ? 1 : 2);
    return true;
}

bool TAskFileNoForm::OnCommand(int id, int code, HWND) {
    if (id != IDC_BITBTN1 && id != IDC_BITBTN2) return false;
    Choose(id == IDC_BITBTN1 ? 1 : 2);
    return true;
}

bool TAskFileNoForm::OnDrawItem(const DRAWITEMSTRUCT& d) {
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
    return true;
}

bool TAskFileNoForm::OnAppMessage(UINT msg, WPARAM, LPARAM) {
    if (msg != kWmAskShown) return false;
    if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
    if (GetForegroundWindow() != hwnd_) {
        HWND app = GetWindow(hwnd_, GW_OWNER);
        FlashWindow(app ? app : hwnd_, TRUE);
    }
    return true;
}

}  // namespace kavlo
