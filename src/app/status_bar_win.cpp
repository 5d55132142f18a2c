// The main window's status bar.
#include "app/status_bar_win.h"

#include <algorithm>

#include "app/grid_logic.h"
#include "gui/compact_path_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/tracking_tip_win.h"
#include "gui/window_base_win.h"

namespace kavlo {

void TStatusBar::Create(HWND parent, int id, int dpi) {
    for (size_t i = 0; i < kStatusPanelWidths.size(); ++i) widths_[i] = ScaleToDpi(kStatusPanelWidths[i], dpi);
    Attach(CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(), nullptr));
    int edges[kStatusPanelWidths.size()];
    int right = 0;
    for (size_t i = 0; i < widths_.size(); ++i) {
        right += widths_[i];
        edges[i] = right;
    }
    edges[widths_.size() - 1] = -1;  // the last panel reaches the right edge
    SendMessageA(hwnd_, SB_SETPARTS, widths_.size(), reinterpret_cast<LPARAM>(edges));
    tip_ = CreateTrackingTip(parent, reinterpret_cast<UINT_PTR>(hwnd_), tool_);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD, 0, 0, 10, 10, parent, nullptr, AppInstance(),
                                nullptr);
}

// The control goes on to see the pointer's messages; the note's timer is ours alone.
bool TStatusBar::OnMouseMove(int x, int) {
    // The pointer leaving the status bar hides the hint (WM_MOUSELEAVE, asked for once).
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    MouseMove(x);
    return false;
}

bool TStatusBar::OnMouseLeave() {
    tracking_ = false;
    HideHint();
    return false;
}

bool TStatusBar::OnTimer(UINT_PTR id) {
    if (id != kNoteTimer) return false;
    KillTimer(hwnd_, kNoteTimer);
    ShowTexts();
    return true;
}

int TStatusBar::Height() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

int TStatusBar::MinimumWidth() const {
    int width = GetSystemMetrics(SM_CXVSCROLL);  // the size grip
    for (const int panel : widths_) width += panel;
    return width;
}

void TStatusBar::Resize() {
    SendMessageA(hwnd_, WM_SIZE, 0, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);  // the size grip is drawn where it is now, nowhere else
}

void TStatusBar::SetTexts(const StatusTexts& texts) {
    texts_ = texts;
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    ShowTexts();
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TStatusBar::ShowTexts() {
    for (int i = 0; i < kStatusPanelCount; ++i)
        SendMessageA(hwnd_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(PanelText(i).c_str()));
}

std::string TStatusBar::Text(int panel) const {
    return panel >= 0 && panel < kStatusPanelCount ? texts_[static_cast<size_t>(panel)] : std::string();
}

std::string TStatusBar::ShownText(int panel) const {
    char buffer[1024] = {};
    const LRESULT len = SendMessageA(hwnd_, SB_GETTEXTLENGTHA, panel, 0);
    if (LOWORD(len) >= sizeof buffer) return Text(panel);
    SendMessageA(hwnd_, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// The text as a panel shows it: a file name too long for its panel loses the middle of its
// path ("C:\Projects\...\objects.fob"), so that the file's own name stays in view; the hint
// shows it whole.
std::string TStatusBar::PanelText(int panel) const {
    std::string text = Text(panel);
    if (panel != 1 && panel != 2) return text;
    RECT part{};
    SendMessageA(hwnd_, SB_GETRECT, panel, reinterpret_cast<LPARAM>(&part));
    const WindowDc dc(hwnd_);
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    return CompactPathToWidth(dc.get(), text, std::max<int>(part.right - part.left - 8, 16));
}

void TStatusBar::MouseMove(int x) {
    const int panel = StatusPanelAt(widths_, x);
    const std::string text = panel < 0 ? std::string() : Text(panel);
    if (text.empty()) {
        HideHint();
        return;
    }
    if (hint_ == text) return;
    hint_ = text;
    tool_.lpszText = hint_.data();
    SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool_));
    POINT pt{};
    GetCursorPos(&pt);
    SendMessageA(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x + 12, pt.y - 24));
    SendMessageA(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
}

void TStatusBar::HideHint() {
    if (!hint_.empty()) SendMessageA(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
    hint_.clear();
}

void TStatusBar::ShowProgress(bool visible, int minimum, int maximum, int position) {
    if (!visible) {
        ShowWindow(progress_, SW_HIDE);
        return;
    }
    if (position <= 0) {
        const ProgressPlace p = ProgressPlacement(widths_);
        SendMessageA(progress_, PBM_SETRANGE32, minimum, maximum);
        SendMessageA(progress_, PBM_SETPOS, position, 0);
        SetParent(progress_, hwnd_);
        RECT sb{};
        GetClientRect(hwnd_, &sb);
        MoveWindow(progress_, p.left, p.top, p.width, sb.bottom - p.top, TRUE);
        ShowWindow(progress_, SW_SHOW);
        return;
    }
    SendMessageA(progress_, PBM_SETPOS, position, 0);
}

void TStatusBar::ShowNote(std::string_view text) {
    const int panel = ProgressPlacement(widths_).panel;
    SendMessageA(hwnd_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(std::string(text).c_str()));
    SetTimer(hwnd_, kNoteTimer, kNoteMs, nullptr);
}

}  // namespace kavlo
