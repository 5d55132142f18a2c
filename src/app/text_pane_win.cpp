// The pieces that the windows of objects' lines share: wide text, fonts, header, gutter and
// line drawing, the back buffer, scrolling and cascaded placement.
#include "app/text_pane_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/errors.h"
#include "gui/dpi_win.h"
#include "res/resource.h"

namespace kavlo {

namespace {

constexpr int kTextPoints = 10, kUiPoints = 9;
// Posted to a window to bring it to the front after the input that asked for it.
constexpr UINT kWmBringToFront = WM_APP + 1;

}  // namespace

std::wstring WideText(std::string_view text) {
    if (text.empty()) return {};
    const UINT codePage = IsUtf8(text) ? CP_UTF8 : 1252;
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(0, n)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

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

void MeasureTextFont(HFONT font, int dpi, int& lineHeight, int& charWidth) {
    const WindowDc dc(nullptr);
    SelectGuard sel(dc.get(), font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    lineHeight = tm.tmHeight + tm.tmExternalLeading + ScaleToDpi(1, dpi);
    charWidth = std::max<int>(1, tm.tmAveCharWidth);
}

int Digits(size_t n) {
    int d = 1;
    while (n >= 10) n /= 10, ++d;
    return d;
}

void FitToWindowDpi(HWND hwnd, int& dpi) {
    const int now = WindowDpi(hwnd);
    if (now == dpi) return;
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = MulDiv(r.right - r.left, now, dpi), h = MulDiv(r.bottom - r.top, now, dpi);
    dpi = now;
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string StatusBarText(HWND status, int part) {
    std::string s(LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, part, 0)) + 1, '\0');
    SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(s.data()));
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

PaneBuffer::PaneBuffer(HWND pane, HDC target, const RECT& dirty) : target_(target), dirty_(dirty) {
    GetClientRect(pane, &client_);
    if (client_.right <= 0 || client_.bottom <= 0) return;
    mem_.reset(CreateCompatibleDC(target));
    bmp_.reset(CreateCompatibleBitmap(target, client_.right, client_.bottom));
    old_ = SelectObject(mem_.get(), bmp_.get());
    FillRect(mem_.get(), &client_, GetSysColorBrush(COLOR_WINDOW));
}

PaneBuffer::~PaneBuffer() {
    if (!mem_) return;
    BitBlt(target_, dirty_.left, dirty_.top, dirty_.right - dirty_.left, dirty_.bottom - dirty_.top, mem_.get(),
           dirty_.left, dirty_.top, SRCCOPY);
    SelectObject(mem_.get(), old_);
}

void PaintPaneHeader(HDC dc, const RECT& head, HFONT font, std::string_view text, int dpi) {
    FillRect(dc, &head, GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard sel(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT t = head;
    t.left += ScaleToDpi(6, dpi);
    t.right -= ScaleToDpi(4, dpi);
    const std::wstring heading = WideText(text);
    DrawTextW(dc, heading.c_str(), static_cast<int>(heading.size()), &t,
              DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_NOPREFIX);
    RECT line{head.left, head.bottom - 1, head.right, head.bottom};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    SetBkMode(dc, OPAQUE);
}

void PaintGutterNumber(HDC dc, const RECT& gutter, int numberRight, int charWidth, int line) {
    SetBkColor(dc, kGutterBack);
    SetTextColor(dc, kGutterText);
    const std::string number = line > 0 ? std::to_string(line) : std::string();
    ExtTextOutA(dc, numberRight - static_cast<int>(number.size()) * charWidth, gutter.top, ETO_OPAQUE | ETO_CLIPPED,
                &gutter, number.c_str(), static_cast<UINT>(number.size()), nullptr);
}

void FillWith(HDC dc, const RECT& rect, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

void PaintCurrentRow(HDC dc, const RECT& text, bool focused) {
    if (focused) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawFocusRect(dc, &text);
    } else {
        FrameRect(dc, &text, GetSysColorBrush(COLOR_BTNSHADOW));
    }
}

void PaintLineChars(HDC dc, const RECT& rect, int x, std::string_view line, int leftCol, int visible, int charWidth) {
    const std::wstring wide = WideText(line);
    const size_t from = WideIndex(wide, leftCol);
    const size_t to = from + WideIndex(wide.substr(from), visible + 1);
    if (to <= from) return;
    std::vector<INT> dx(to - from, charWidth);
    for (size_t i = from; i + 1 < to; ++i)
        if (IS_HIGH_SURROGATE(wide[i])) dx[i + 1 - from] = 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ExtTextOutW(dc, x, rect.top, ETO_CLIPPED, &rect, wide.c_str() + from, static_cast<UINT>(to - from), dx.data());
    SetBkMode(dc, OPAQUE);
}

void PaintCharMarks(HDC dc, const RECT& rect, int x, const std::vector<CharRange>& ranges, int leftCol, int visible,
                    int charWidth, CharMarkColours colours, int bar) {
    if (ranges.empty()) return;
    const UniqueBrush chars(CreateSolidBrush(colours.chars));
    const UniqueBrush mark(CreateSolidBrush(colours.bar));
    const auto columnX = [&](int col) { return x + (col - leftCol) * charWidth; };
    for (const CharRange& c : ranges) {
        RECT m{0, rect.top, 0, rect.bottom};
        HBRUSH brush = mark.get();
        if (c.Begin >= leftCol + visible) {
            m.left = std::max(x, static_cast<int>(rect.right) - bar);  // out of view to the right
            m.right = rect.right;
        } else if (c.End < leftCol || (c.End == leftCol && c.Begin < c.End)) {
            m.left = rect.left;  // out of view to the left
            m.right = rect.left + bar;
        } else if (c.Begin == c.End) {
            m.left = columnX(c.Begin) - bar / 2;  // only the other version has characters here
            m.right = m.left + bar;
        } else {
            m.left = columnX(std::max(c.Begin, leftCol));
            m.right = std::min<int>(rect.right, columnX(c.End));
            brush = chars.get();
        }
        m.left = std::max(m.left, rect.left);
        FillRect(dc, &m, brush);
    }
}

void SetPaneScrollBars(HWND pane, int rows, int pageRows, int top, int columns, int pageColumns, int left) {
    SCROLLINFO v{sizeof v};
    v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    v.nMax = std::max(0, rows - 1);
    v.nPage = static_cast<UINT>(pageRows);
    v.nPos = top;
    SetScrollInfo(pane, SB_VERT, &v, TRUE);
    SCROLLINFO h = v;
    h.nMax = columns;
    h.nPage = static_cast<UINT>(pageColumns);
    h.nPos = left;
    SetScrollInfo(pane, SB_HORZ, &h, TRUE);
}

int ScrolledPosition(HWND pane, int bar, int code, int pos, int page) {
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(pane, bar, &si);
    switch (code) {
        case SB_LINEUP: return pos - 1;  // SB_LINELEFT
        case SB_LINEDOWN: return pos + 1;
        case SB_PAGEUP: return pos - page;
        case SB_PAGEDOWN: return pos + page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return si.nTrackPos;  // 32 bits, unlike the message's
        case SB_TOP: return 0;
        case SB_BOTTOM: return si.nMax;
        default: return pos;
    }
}

int WheelStep(int& remainder, int delta, bool horizontal, int pageRows) {
    remainder += delta;
    const int notches = remainder / WHEEL_DELTA;
    remainder -= notches * WHEEL_DELTA;
    if (notches == 0) return 0;
    UINT lines = 3;
    SystemParametersInfoA(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (horizontal) return notches * static_cast<int>(std::max(1u, lines));
    const int step = lines == WHEEL_PAGESCROLL ? pageRows : static_cast<int>(std::max(1u, lines));
    return -notches * step;
}

// ---- a pane ----------------------------------------------------------------------------

void TLinePane::Create(TLinesForm* form, int pane) {
    form_ = form;
    pane_ = pane;
    RegisterClassOnce("TLinePane", 0, nullptr, nullptr);
    CreateWindowOf("TLinePane", WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, 0,
                   0, 100, 100, form->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(10 + pane)));
}

bool TLinePane::OnPaint() {
    PaintGuard pg(hwnd_);
    form_->PaintPane(pane_, pg.dc(), pg.rect());
    return true;
}

bool TLinePane::OnFocus(bool gained) {
    if (gained) form_->focusPane_ = pane_;
    InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
}

bool TLinePane::OnKey(WPARAM vk) {
    form_->KeyDown(pane_, vk);
    return true;
}

bool TLinePane::OnMouseDown(MouseButton button, int, int y) {
    if (button == MouseButton::Middle) return false;
    form_->MouseDown(pane_, y);
    return true;
}

// Shift turns the wheel sideways.
bool TLinePane::OnMouseWheel(int delta, WPARAM keys, bool horizontal) {
    form_->Wheel(pane_, delta, horizontal || (keys & MK_SHIFT) != 0);
    return true;
}

bool TLinePane::OnScroll(int bar, int code, HWND) {
    form_->Scroll(pane_, bar, code);
    return true;
}

// ---- the frame -------------------------------------------------------------------------

void TLinesForm::CreateFrame(const char* className, std::string_view caption, const RECT& rect, SIZE minimum,
                             ClosedSize closed, int panes) {
    closed_ = std::move(closed);
    minimum_ = minimum;
    paneCount_ = panes;
    HICON icon = LoadIcon(AppInstance(), MAKEINTRESOURCE(IDI_KAVLODEX));
    RegisterClassOnce(className, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      icon ? icon : LoadIcon(nullptr, IDI_APPLICATION));
    dpi_ = WindowDpi(nullptr);
    CreateWindowOf(className, 0, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect.left, rect.top,
                   rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    const std::string title(caption.substr(0, caption.find(" - ")));
    if (!hwnd_) throw EKavloError("The window \"" + title + "\" could not be created.");
    // The window is an ANSI one; its caption is set as wide text, as the panes draw theirs.
    const std::wstring wide = WideText(caption);
    DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    ShowWindow(hwnd_, SW_SHOWNORMAL);
}

// The window's fonts, status bar and panes, laid out.
bool TLinesForm::OnCreate() {
    FitToWindowDpi(hwnd_, dpi_);
    MakeFonts();
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                              nullptr, AppInstance(), nullptr);
    SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), FALSE);
    for (int p = 0; p < paneCount_; ++p) panes_[static_cast<size_t>(p)].Create(this, p);
    FormResize();
    UpdateStatus();
    return true;
}

bool TLinesForm::OnSize(int, int) {
    FormResize();
    return true;
}

RECT TLinesForm::PlaceStatusBar(std::initializer_list<int> rightWidths) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT sb{};
    GetWindowRect(status_, &sb);
    int total = 0;
    for (int w : rightWidths) total += w;
    std::vector<int> parts;
    int edge = client.right - Scaled(total);
    for (int w : rightWidths) {
        parts.push_back(std::max(0, edge));
        edge += Scaled(w);
    }
    parts.push_back(-1);
    SendMessageA(status_, SB_SETPARTS, parts.size(), reinterpret_cast<LPARAM>(parts.data()));
    client.bottom = std::max<LONG>(0, client.bottom - (sb.bottom - sb.top));
    return client;
}

void TLinesForm::BringToFront() {
    // At once it would lose to the window that asked: the grid takes the focus back, and with
    // it the activation, after the key or double click that asked for this window.
    PostMessageA(hwnd_, kWmBringToFront, 0, 0);
}

void TLinesForm::Activate() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
    SetFocus(Pane(focusPane_));
}

void TLinesForm::MakeFonts() {
    font_ = MakeTextFont(dpi_);
    uiFont_ = MakeUiFont(dpi_);
    MeasureTextFont(font_.get(), dpi_, lineHeight_, charWidth_);
    if (status_) SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), TRUE);
}

bool TLinesForm::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize = {Scaled(minimum_.cx), Scaled(minimum_.cy)};
    return true;
}

bool TLinesForm::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    MakeFonts();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FormResize();
    InvalidateRect(hwnd_, nullptr, TRUE);
    return true;
}

bool TLinesForm::OnFocus(bool gained) {
    if (!gained) return false;
    SetFocus(Pane(focusPane_));
    return true;
}

bool TLinesForm::OnAppMessage(UINT msg, WPARAM, LPARAM) {
    if (msg != kWmBringToFront) return false;
    Activate();
    return true;
}

void TLinesForm::OnDestroy() {
    WINDOWPLACEMENT wp{sizeof wp};
    if (closed_ && GetWindowPlacement(hwnd_, &wp)) {
        const RECT& n = wp.rcNormalPosition;
        closed_(UnscaleFromDpi(n.right - n.left, dpi_), UnscaleFromDpi(n.bottom - n.top, dpi_));
    }
}

}  // namespace kavlo
