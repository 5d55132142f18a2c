// The "Object Differences" window: its two custom-painted panes (only the rows in view are
// drawn, so an object of 100,000 lines opens and scrolls as one of ten), the keys, wheel and
// scroll bars that move both panes together, the status bar; and the main window's list of
// these windows. The lines are drawn through the wide-character API, so that a Cyrillic,
// Greek or Central European text shows as it is; columns count characters.
#include "app/object_diff_form_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string_view>

#include "app/frame_size_win.h"
#include "base/errors.h"
#include "res/resource.h"

namespace kavlo {

namespace {

const char kFormClass[] = "TObjectDiffForm";
const char kPaneClass[] = "TObjectDiffPane";
constexpr int kDesignWidth = 1000, kDesignHeight = 640;
constexpr int kMinimumWidth = 420, kMinimumHeight = 260;
constexpr int kTextPoints = 10, kUiPoints = 9;
constexpr int kPositionPartWidth = 180;  // the status bar's right part, at 96 DPI
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif
#ifndef WM_MOUSEHWHEEL
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
#endif
// Posted to a diff window to bring it to the front after the input that asked for it.
constexpr UINT kWmBringToFront = WM_APP + 1;

// The tints: the blue/orange pair of the Okabe-Ito palette, which stays apart for every common
// kind of colour blindness (never red against green). Orange marks what only file 1 has, blue
// what only file 2 has; a changed line is a paler orange on the left and a paler blue on the
// right. Colour is never the only sign: the gutter shows "-", "+" or "!" beside every such line.
const COLORREF kRemovedBack = RGB(255, 207, 140);   // from orange #E69F00
const COLORREF kAddedBack = RGB(176, 216, 246);     // from sky blue #56B4E9
const COLORREF kChangedBack1 = RGB(255, 233, 200);  // paler orange
const COLORREF kChangedBack2 = RGB(216, 236, 251);  // paler blue
const COLORREF kBlankBack = RGB(228, 228, 228);     // where the other side has a line and this none
const COLORREF kGutterBack = RGB(244, 244, 244);
const COLORREF kGutterText = RGB(96, 96, 96);
const COLORREF kCurrentChangeBar = RGB(0, 114, 178);  // Okabe-Ito blue
// The changed characters of a changed line: a stronger tint of the line's own; where one side
// only lacks characters, and at the pane's edge for changes scrolled out of view, a bar in the
// palette's full orange or sky blue.
const COLORREF kChangedChars1 = RGB(255, 196, 110);
const COLORREF kChangedChars2 = RGB(150, 204, 242);
const COLORREF kChangeMark1 = RGB(230, 159, 0);   // orange #E69F00
const COLORREF kChangeMark2 = RGB(86, 180, 233);  // sky blue #56B4E9

// Text of ours as UTF-16: UTF-8 when it is, otherwise Windows-1252, as the line's characters
// are counted (LineChars).
std::wstring WideText(std::string_view text) {
    if (text.empty()) return {};
    const UINT codePage = IsUtf8(text) ? CP_UTF8 : 1252;
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(0, n)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// The index in `wide` of character `n`; a surrogate pair is one character.
size_t WideIndex(const std::wstring& wide, int n) {
    size_t at = 0;
    for (; at < wide.size() && n > 0; --n) at += IS_HIGH_SURROGATE(wide[at]) && at + 1 < wide.size() ? 2 : 1;
    return at;
}

UniqueFont MakeUiFont(int dpi) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONTA lf = ncm.lfMessageFont;
    lf.lfHeight = FontHeightForPoints(kUiPoints, dpi);
    lf.lfWidth = 0;
    return UniqueFont(CreateFontIndirectA(&lf));
}

// A fixed-pitch font, so that a character column is the same width on both sides.
UniqueFont MakeTextFont(int dpi) {
    for (const char* face : {"Consolas", "Courier New", ""}) {
        LOGFONTA lf{};
        lf.lfHeight = FontHeightForPoints(kTextPoints, dpi);
        lf.lfWeight = FW_NORMAL;
        // The wide text functions draw every script the face holds whatever the character set;
        // asking for any set (DEFAULT_CHARSET) makes Wine's font matching 20 ms slower.
        lf.lfCharSet = ANSI_CHARSET;
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
        UniqueFont font(CreateFontIndirectA(&lf));
        const WindowDc dc(nullptr);
        SelectGuard sel(dc.get(), font.get());
        TEXTMETRICA tm{};
        GetTextMetricsA(dc.get(), &tm);
        // TMPF_FIXED_PITCH set means a variable pitch; the face was not there.
        if (!(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) || !*face) return font;
    }
    return {};
}

int Digits(size_t n) {
    int d = 1;
    while (n >= 10) n /= 10, ++d;
    return d;
}

}  // namespace

// ---- the window ------------------------------------------------------------------------

TObjectDiffForm::~TObjectDiffForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TObjectDiffForm::Create(ObjectDiff diff, const RECT& rect, ClosedSize closed) {
    diff_ = std::move(diff);
    closed_ = std::move(closed);
    digits_ = std::max(3, Digits(std::max(diff_.Lines1.size(), diff_.Lines2.size())));
    HICON icon = LoadIcon(AppInstance(), MAKEINTRESOURCE(IDI_KAVLODEX));
    RegisterClassOnce(kFormClass, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      icon ? icon : LoadIcon(nullptr, IDI_APPLICATION));
    dpi_ = WindowDpi(nullptr);
    CreateWindowOf(kFormClass, 0, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect.left, rect.top,
                   rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    if (!hwnd_) throw EKavloError("The window \"" + std::string(kObjectDiffCaption) + "\" could not be created.");
    // The window is an ANSI one; its caption is set as wide text, as the panes draw theirs.
    const std::wstring caption = WideText(diff_.Caption);
    DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    Activate();
}

void TObjectDiffForm::BringToFront() {
    // At once it would lose to the main window: the grid takes the focus back, and with it
    // the activation, after the key or double click that asked for this window.
    PostMessageA(hwnd_, kWmBringToFront, 0, 0);
}

void TObjectDiffForm::Activate() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
    SetFocus(Pane(focusSide_));
}

void TObjectDiffForm::FormCreate() {
    const int dpi = WindowDpi(hwnd_);
    if (dpi != dpi_) {
        // The window came up on a monitor of another DPI than the system's.
        RECT r{};
        GetWindowRect(hwnd_, &r);
        const int w = MulDiv(r.right - r.left, dpi, dpi_), h = MulDiv(r.bottom - r.top, dpi, dpi_);
        dpi_ = dpi;
        SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    MakeFonts();
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                              nullptr, AppInstance(), nullptr);
    SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), FALSE);
    for (int side = 0; side < 2; ++side) panes_[static_cast<size_t>(side)].Create(this, side);
    FormResize();
    UpdateStatus();
}

void TObjectDiffForm::MakeFonts() {
    font_ = MakeTextFont(dpi_);
    uiFont_ = MakeUiFont(dpi_);
    const WindowDc dc(nullptr);
    SelectGuard sel(dc.get(), font_.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    lineHeight_ = tm.tmHeight + tm.tmExternalLeading + Scaled(1);
    charWidth_ = std::max<int>(1, tm.tmAveCharWidth);
    if (status_) SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), TRUE);
}

void TObjectDiffForm::DpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    MakeFonts();
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    FormResize();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TObjectDiffForm::FormResize() {
    if (!status_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT sb{};
    GetWindowRect(status_, &sb);
    const int parts[2] = {std::max<int>(0, client.right - Scaled(kPositionPartWidth)), -1};
    SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    const int height = std::max<int>(0, client.bottom - (sb.bottom - sb.top));
    const int gap = Scaled(4);
    const int half = (client.right - gap) / 2;
    MoveWindow(Pane(0), 0, 0, std::max(0, half), height, TRUE);
    MoveWindow(Pane(1), half + gap, 0, std::max<int>(0, client.right - half - gap), height, TRUE);
    SetTop(topRow_);
    SetLeft(leftCol_);
    UpdateScrollBars();
    // The panes' frames too: a pane that grows keeps the bits of its old scroll bars otherwise,
    // where its client area now is (and the gap between the panes moves).
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

int TObjectDiffForm::VisibleRows() const {
    RECT r{};
    GetClientRect(Pane(0), &r);
    return std::max(1, (static_cast<int>(r.bottom) - HeaderHeight()) / lineHeight_);
}

int TObjectDiffForm::VisibleColumns() const {
    RECT r{};
    GetClientRect(Pane(0), &r);
    return std::max(1, (static_cast<int>(r.right) - GutterWidth() - Scaled(4)) / charWidth_);
}

RECT TObjectDiffForm::CellRect(int row, int col) const {
    const int x = GutterWidth() + Scaled(4) + (col - leftCol_) * charWidth_;
    const int y = HeaderHeight() + (row - topRow_) * lineHeight_;
    return {x, y, x + charWidth_, y + lineHeight_};
}

// The current change's bar, the line number, the sign, and a margin before the text.
int TObjectDiffForm::GutterWidth() const { return Scaled(10) + (digits_ + 2) * charWidth_; }

void TObjectDiffForm::SetTop(int row) {
    row = std::clamp(row, 0, std::max(0, RowCount() - VisibleRows()));
    if (row == topRow_) return;
    topRow_ = row;
    Changed();
}

void TObjectDiffForm::SetLeft(int col) {
    col = std::clamp(col, 0, std::max(0, diff_.LongestLine + 1 - VisibleColumns()));
    if (col == leftCol_) return;
    leftCol_ = col;
    Changed();
}

void TObjectDiffForm::SetCurrentRow(int row) {
    if (RowCount() == 0) return;
    currentRow_ = std::clamp(row, 0, RowCount() - 1);
    if (currentRow_ < topRow_) SetTop(currentRow_);
    else if (currentRow_ >= topRow_ + VisibleRows()) SetTop(currentRow_ - VisibleRows() + 1);
    Changed();
}

// The change that starts at `row` becomes current, with a quarter of a page of context above
// it when it is not wholly in view.
void TObjectDiffForm::GoToChange(int row) {
    if (row < 0) {
        MessageBeep(MB_OK);
        return;
    }
    int end = row;
    while (end + 1 < RowCount() && diff_.View.Rows[static_cast<size_t>(end + 1)].Kind != RowKind::Same) ++end;
    currentRow_ = row;
    const int visible = VisibleRows();
    if (row < topRow_ || end >= topRow_ + visible) SetTop(row - std::min(visible / 4, 5));
    const SideBySideRow& first = diff_.View.Rows[static_cast<size_t>(row)];
    ShowColumn(FirstChangedChar(first.Kind, LineOf(0, row), LineOf(1, row)));
    Changed();
}

// Scrolls across only when column `col` is out of view: to the lines' start when it is then in
// the left three quarters, otherwise with a quarter of the pane before it.
void TObjectDiffForm::ShowColumn(int col) {
    const int visible = VisibleColumns();
    if (col >= leftCol_ && col < leftCol_ + visible) return;
    SetLeft(col < visible * 3 / 4 ? 0 : col - visible / 4);
}

std::string_view TObjectDiffForm::LineOf(int side, int row) const {
    const SideBySideRow& r = diff_.View.Rows[static_cast<size_t>(row)];
    const int line = side == 0 ? r.Line1 : r.Line2;
    const std::vector<std::string>& lines = side == 0 ? diff_.Lines1 : diff_.Lines2;
    if (line <= 0 || line > static_cast<int>(lines.size())) return {};
    return lines[static_cast<size_t>(line - 1)];
}

const LineCharChanges& TObjectDiffForm::CharChanges(int row) {
    auto it = charChanges_.find(row);
    if (it == charChanges_.end()) it = charChanges_.emplace(row, ChangedChars(LineOf(0, row), LineOf(1, row))).first;
    return it->second;
}

void TObjectDiffForm::Changed() {
    for (const TPane& p : panes_) InvalidateRect(p.Handle(), nullptr, FALSE);
    UpdateScrollBars();
    UpdateStatus();
}

void TObjectDiffForm::UpdateScrollBars() {
    for (const TPane& p : panes_) {
        SCROLLINFO v{sizeof v};
        v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        v.nMax = std::max(0, RowCount() - 1);
        v.nPage = static_cast<UINT>(VisibleRows());
        v.nPos = topRow_;
        SetScrollInfo(p.Handle(), SB_VERT, &v, TRUE);
        SCROLLINFO h = v;
        h.nMax = diff_.LongestLine;
        h.nPage = static_cast<UINT>(VisibleColumns());
        h.nPos = leftCol_;
        SetScrollInfo(p.Handle(), SB_HORZ, &h, TRUE);
    }
}

void TObjectDiffForm::UpdateStatus() {
    if (!status_) return;
    SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(diff_.Summary.c_str()));
    std::string position;
    const int change = ChangeAt(diff_.View, currentRow_);
    if (change >= 0)
        position = "Change " + std::to_string(change + 1) + " of " + std::to_string(diff_.View.ChangeStarts.size());
    SendMessageA(status_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(position.c_str()));
}

std::string TObjectDiffForm::StatusText(int part) const {
    std::string s(LOWORD(SendMessageA(status_, SB_GETTEXTLENGTHA, part, 0)) + 1, '\0');
    SendMessageA(status_, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(s.data()));
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

void TObjectDiffForm::KeyDown(int side, WPARAM vk) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const int page = VisibleRows();
    switch (vk) {
        case VK_ESCAPE: PostMessageA(hwnd_, WM_CLOSE, 0, 0); break;
        case VK_TAB: SetFocus(Pane(1 - side)); break;
        case VK_F8:
            GoToChange(shift ? PreviousChangeRow(diff_.View, currentRow_) : NextChangeRow(diff_.View, currentRow_));
            break;
        case VK_UP: SetCurrentRow(currentRow_ - 1); break;
        case VK_DOWN: SetCurrentRow(currentRow_ + 1); break;
        case VK_PRIOR:
            SetTop(topRow_ - page);
            SetCurrentRow(currentRow_ - page);
            break;
        case VK_NEXT:
            SetTop(topRow_ + page);
            SetCurrentRow(currentRow_ + page);
            break;
        case VK_HOME:
            if (ctrl) SetCurrentRow(0);
            else SetLeft(0);
            break;
        case VK_END:
            if (ctrl) {
                SetCurrentRow(RowCount() - 1);
            } else if (RowCount() > 0) {
                // The end of the current row's longer line at the pane's right edge.
                const int length = std::max(LineLength(LineOf(0, currentRow_)), LineLength(LineOf(1, currentRow_)));
                SetLeft(length + 1 - VisibleColumns());
            }
            break;
        case VK_LEFT: SetLeft(leftCol_ - (ctrl ? VisibleColumns() / 2 : 1)); break;
        case VK_RIGHT: SetLeft(leftCol_ + (ctrl ? VisibleColumns() / 2 : 1)); break;
        default: break;
    }
}

void TObjectDiffForm::MouseDown(int side, int y) {
    SetFocus(Pane(side));
    if (y < HeaderHeight()) return;
    const int row = topRow_ + (y - HeaderHeight()) / lineHeight_;
    if (row < RowCount()) SetCurrentRow(row);
}

void TObjectDiffForm::Wheel(int delta, bool horizontal) {
    int& remainder = horizontal ? hwheelRemainder_ : wheelRemainder_;
    remainder += delta;
    const int notches = remainder / WHEEL_DELTA;
    remainder -= notches * WHEEL_DELTA;
    if (notches == 0) return;
    UINT lines = 3;
    SystemParametersInfoA(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (horizontal) {
        SetLeft(leftCol_ + notches * static_cast<int>(std::max(1u, lines)));
        return;
    }
    const int step = lines == WHEEL_PAGESCROLL ? VisibleRows() : static_cast<int>(std::max(1u, lines));
    SetTop(topRow_ - notches * step);
}

void TObjectDiffForm::Scroll(int bar, int code, int side) {
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(Pane(side), bar, &si);
    const bool vertical = bar == SB_VERT;
    const int page = vertical ? VisibleRows() : VisibleColumns();
    int pos = vertical ? topRow_ : leftCol_;
    switch (code) {
        case SB_LINEUP: --pos; break;  // SB_LINELEFT
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;  // 32 bits, unlike the message's
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = si.nMax; break;
        default: return;
    }
    if (vertical) SetTop(pos);
    else SetLeft(pos);
}

void TObjectDiffForm::PaintPane(int side, HDC dc, const RECT& dirty) {
    RECT client{};
    GetClientRect(Pane(side), &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Drawn into a bitmap first: no flicker while scrolling.
    UniqueDc mem(CreateCompatibleDC(dc));
    UniqueBitmap bmp(CreateCompatibleBitmap(dc, client.right, client.bottom));
    SelectGuard selBmp(mem.get(), bmp.get());
    HDC m = mem.get();
    FillRect(m, &client, GetSysColorBrush(COLOR_WINDOW));

    // The header: which file this side shows.
    RECT head{0, 0, client.right, HeaderHeight()};
    FillRect(m, &head, GetSysColorBrush(COLOR_BTNFACE));
    {
        SelectGuard font(m, uiFont_.get());
        SetBkMode(m, TRANSPARENT);
        SetTextColor(m, GetSysColor(COLOR_BTNTEXT));
        RECT t = head;
        t.left += Scaled(6);
        t.right -= Scaled(4);
        const std::wstring heading = WideText(side == 0 ? diff_.Heading1 : diff_.Heading2);
        DrawTextW(m, heading.c_str(), static_cast<int>(heading.size()), &t,
                  DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_NOPREFIX);
        RECT line{0, head.bottom - 1, client.right, head.bottom};
        FillRect(m, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    }

    SelectGuard font(m, font_.get());
    SetBkMode(m, OPAQUE);
    const int gutter = GutterWidth();
    const int numberRight = Scaled(6) + digits_ * charWidth_;
    const int signX = numberRight + charWidth_ / 2;
    const int textX = gutter;
    const int currentChange = ChangeAt(diff_.View, currentRow_);
    const bool focused = GetFocus() == Pane(side);
    for (int r = topRow_, y = HeaderHeight(); r < RowCount() && y < client.bottom; ++r, y += lineHeight_) {
        const SideBySideRow& row = diff_.View.Rows[static_cast<size_t>(r)];
        const int line = side == 0 ? row.Line1 : row.Line2;
        COLORREF back = GetSysColor(COLOR_WINDOW);
        const char* sign = "";
        switch (row.Kind) {
            case RowKind::Same: break;
            case RowKind::Changed:
                back = side == 0 ? kChangedBack1 : kChangedBack2;
                sign = "!";
                break;
            case RowKind::Removed:
                back = side == 0 ? kRemovedBack : kBlankBack;
                sign = side == 0 ? "-" : "";
                break;
            case RowKind::Added:
                back = side == 0 ? kBlankBack : kAddedBack;
                sign = side == 0 ? "" : "+";
                break;
        }
        // The gutter: the line number right-aligned, the sign after it.
        RECT g{0, y, gutter, y + lineHeight_};
        SetBkColor(m, kGutterBack);
        SetTextColor(m, kGutterText);
        const std::string number = line > 0 ? std::to_string(line) : std::string();
        ExtTextOutA(m, numberRight - static_cast<int>(number.size()) * charWidth_, y,
                    ETO_OPAQUE | ETO_CLIPPED, &g, number.c_str(), static_cast<UINT>(number.size()), nullptr);
        if (*sign) TextOutA(m, signX, y, sign, 1);
        if (currentChange >= 0 && ChangeAt(diff_.View, r) == currentChange) {
            RECT bar{0, y, Scaled(4), y + lineHeight_};
            UniqueBrush brush(CreateSolidBrush(kCurrentChangeBar));
            FillRect(m, &bar, brush.get());
        }
        RECT t{textX, y, client.right, y + lineHeight_};
        PaintText(m, side, r, t, back);
        if (r == currentRow_) {
            if (focused) {
                SetTextColor(m, GetSysColor(COLOR_WINDOWTEXT));
                DrawFocusRect(m, &t);
            } else {
                FrameRect(m, &t, GetSysColorBrush(COLOR_BTNSHADOW));
            }
        }
    }
    BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, m, dirty.left, dirty.top,
           SRCCOPY);
}

// The line of `row` from the first character in view, over its tint; a changed line with its
// changed characters marked.
void TObjectDiffForm::PaintText(HDC dc, int side, int row, const RECT& rect, COLORREF back) {
    SetBkColor(dc, back);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    const int visible = VisibleColumns();
    const auto columnX = [&](int col) { return static_cast<int>(CellRect(row, col).left); };
    const int x = columnX(leftCol_);
    if (diff_.View.Rows[static_cast<size_t>(row)].Kind == RowKind::Changed) {
        const LineCharChanges& changes = CharChanges(row);
        const bool left = side == 0;
        UniqueBrush chars(CreateSolidBrush(left ? kChangedChars1 : kChangedChars2));
        UniqueBrush mark(CreateSolidBrush(left ? kChangeMark1 : kChangeMark2));
        const int bar = std::max(2, Scaled(2));
        for (const CharRange& c : left ? changes.Ranges1 : changes.Ranges2) {
            RECT m{0, rect.top, 0, rect.bottom};
            HBRUSH brush = chars.get();
            if (c.Begin >= leftCol_ + visible) {
                // Out of view to the right: a bar at the pane's edge.
                m.left = std::max(x, static_cast<int>(rect.right) - bar);
                m.right = rect.right;
                brush = mark.get();
            } else if (c.End < leftCol_ || (c.End == leftCol_ && c.Begin < c.End)) {
                m.left = rect.left;  // out of view to the left
                m.right = rect.left + bar;
                brush = mark.get();
            } else if (c.Begin == c.End) {
                m.left = columnX(c.Begin) - bar / 2;  // only the other side has characters here
                m.right = m.left + bar;
                brush = mark.get();
            } else {
                m.left = columnX(std::max(c.Begin, leftCol_));
                m.right = std::min<int>(rect.right, columnX(c.End));
            }
            m.left = std::max(m.left, rect.left);
            FillRect(dc, &m, brush);
        }
    }
    // One cell a character, whatever width the face (or the face that stands in for a missing
    // glyph) gives it, so that the columns of both panes stay in line.
    const std::wstring wide = WideText(LineOf(side, row));
    const size_t from = WideIndex(wide, leftCol_);
    const size_t to = from + WideIndex(wide.substr(from), visible + 1);
    if (to <= from) return;
    std::vector<INT> dx(to - from, charWidth_);
    for (size_t i = from; i + 1 < to; ++i)
        if (IS_HIGH_SURROGATE(wide[i])) dx[i + 1 - from] = 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ExtTextOutW(dc, x, rect.top, ETO_CLIPPED, &rect, wide.c_str() + from, static_cast<UINT>(to - from), dx.data());
    SetBkMode(dc, OPAQUE);
}

bool TObjectDiffForm::OnCreate() {
    FormCreate();
    return true;
}

bool TObjectDiffForm::OnSize(int, int) {
    FormResize();
    return true;
}

bool TObjectDiffForm::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize = {Scaled(kMinimumWidth), Scaled(kMinimumHeight)};
    return true;
}

bool TObjectDiffForm::OnDpiChanged(int dpi, const RECT& suggested) {
    DpiChanged(dpi, &suggested);
    return true;
}

bool TObjectDiffForm::OnFocus(bool gained) {
    if (!gained) return false;
    SetFocus(Pane(focusSide_));
    return true;
}

bool TObjectDiffForm::OnAppMessage(UINT msg, WPARAM, LPARAM) {
    if (msg != kWmBringToFront) return false;
    Activate();
    return true;
}

void TObjectDiffForm::OnDestroy() {
    WINDOWPLACEMENT wp{sizeof wp};
    if (closed_ && GetWindowPlacement(hwnd_, &wp)) {
        const RECT& n = wp.rcNormalPosition;
        closed_(UnscaleFromDpi(n.right - n.left, dpi_), UnscaleFromDpi(n.bottom - n.top, dpi_));
    }
}

// The texts go with the window; the main window forgets the rest at its next open.
void TObjectDiffForm::OnNcDestroy() {
    ObjectDiff none;
    std::swap(diff_, none);
    status_ = nullptr;
}

// ---- a pane ----------------------------------------------------------------------------

void TObjectDiffForm::TPane::Create(TObjectDiffForm* form, int side) {
    form_ = form;
    side_ = side;
    RegisterClassOnce(kPaneClass, 0, nullptr, nullptr);
    CreateWindowOf(kPaneClass, WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                   0, 0, 100, 100, form->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(10 + side)));
}

bool TObjectDiffForm::TPane::OnPaint() {
    PaintGuard pg(hwnd_);
    form_->PaintPane(side_, pg.dc(), pg.rect());
    return true;
}

bool TObjectDiffForm::TPane::OnFocus(bool gained) {
    if (gained) form_->focusSide_ = side_;
    InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
}

bool TObjectDiffForm::TPane::OnKey(WPARAM vk) {
    form_->KeyDown(side_, vk);
    return true;
}

bool TObjectDiffForm::TPane::OnMouseDown(MouseButton button, int, int y) {
    if (button == MouseButton::Middle) return false;
    form_->MouseDown(side_, y);
    return true;
}

// Shift turns the wheel sideways.
bool TObjectDiffForm::TPane::OnMouseWheel(int delta, WPARAM keys, bool horizontal) {
    form_->Wheel(delta, horizontal || (keys & MK_SHIFT) != 0);
    return true;
}

bool TObjectDiffForm::TPane::OnScroll(int bar, int code, HWND) {
    form_->Scroll(bar, code, side_);
    return true;
}

// ---- the main window's list ------------------------------------------------------------

void TObjectDiffWindows::Open(const TFob& fob1, const TFob& fob2, const TVisibleList& list, int row, int loads,
                              HWND mainWindow, TSettings& settings) {
    const std::optional<ObjectKey> key = RowObject(list, row);
    const std::optional<ObjectPair> pair = key ? FindInBoth(fob1, fob2, *key) : std::nullopt;
    if (!pair) {
        MessageBeep(MB_OK);
        return;
    }
    std::erase_if(entries_, [](const Entry& e) { return !e.form->Handle(); });
    for (Entry& e : entries_) {
        if (e.key == *key && e.loads == loads) {
            e.form->BringToFront();
            return;
        }
    }
    // Read and compared before the window exists: a file changed since loading leaves none.
    ObjectDiff diff = MakeObjectDiff(fob1, pair->Index1, fob2, pair->Index2);
    if (!diff.Message.empty()) {
        // Nothing to show but the one sentence: binary data, or formats that cannot be compared.
        const std::wstring text = WideText(diff.Message);
        const std::wstring caption = WideText(kObjectDiffCaption);
        MessageBoxW(mainWindow, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    // The stored size is in 96-DPI pixels; 0 (or less) is none.
    const int dpi = WindowDpi(mainWindow);
    const int width = ScaleToDpi(settings.DiffWindowWidth > 0 ? settings.DiffWindowWidth : kDesignWidth, dpi);
    const int height = ScaleToDpi(settings.DiffWindowHeight > 0 ? settings.DiffWindowHeight : kDesignHeight, dpi);
    const RECT rect = CascadedRect(mainWindow, entries_.empty() ? mainWindow : entries_.back().form->Handle(),
                                   std::max(width, ScaleToDpi(kMinimumWidth, dpi)),
                                   std::max(height, ScaleToDpi(kMinimumHeight, dpi)));
    auto form = std::make_unique<TObjectDiffForm>();
    form->Create(std::move(diff), rect, [&settings](int w, int h) {
        settings.DiffWindowWidth = w;
        settings.DiffWindowHeight = h;
    });
    entries_.push_back({*key, loads, std::move(form)});
}

void TObjectDiffWindows::CloseAll() { entries_.clear(); }

std::vector<TObjectDiffForm*> TObjectDiffWindows::OpenWindows() const {
    std::vector<TObjectDiffForm*> open;
    for (const Entry& e : entries_)
        if (e.form->Handle()) open.push_back(e.form.get());
    return open;
}

}  // namespace kavlo
