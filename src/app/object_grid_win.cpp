// The object grid control: painting the rows in view, column sizing, keys, wheel, header clicks
// and cell hints.
#include "app/object_grid_win.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "app/main_messages.h"
#include "gui/dpi_win.h"
#include "objfile/object_types.h"

namespace kavlo {

namespace {

const char kGridClass[] = "TStringGrid";
const COLORREF kSilver = RGB(192, 192, 192);
// A click within this many pixels of a column border drags the border instead.
constexpr int kSizingReach = 4;

int TextWidth(HDC dc, std::string_view text) {
    SIZE sz{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &sz);
    return sz.cx;
}

}  // namespace

void TObjectGrid::Create(HWND parent, int id, Events events) {
    events_ = std::move(events);
    RegisterClassOnce(kGridClass, CS_DBLCLKS, nullptr, nullptr);
    CreateWindowOf(kGridClass, WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL, 0, 0, 100,
                   100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    SetDpi(ScreenDpi(), nullptr);
    tooltip_ = CreateTrackingTip(hwnd_, reinterpret_cast<UINT_PTR>(hwnd_), toolInfo_);
    scrollbar_ = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, Scale(16), 100,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id + 1)), AppInstance(), nullptr);
    UpdateHorizontalBar();
    markers_[0].reset(LoadBitmapA(AppInstance(), "file1"));
    markers_[1].reset(LoadBitmapA(AppInstance(), "file2"));
    if (!markers_[0] || !markers_[1]) markers_ = {};  // one without the other would be misleading
}

int TObjectGrid::HeightFor(int rows) const {
    return rowHeight_ + rows * (rowHeight_ + kGridLineWidth) + 2 * GetSystemMetrics(SM_CYEDGE) +
           GetSystemMetrics(SM_CYHSCROLL);
}

void TObjectGrid::SetBounds(int x, int y, int width, int height) {
    const int bar = Scale(16);
    MoveWindow(scrollbar_, std::max(0, x + width - bar), y, bar, height, TRUE);
    MoveWindow(hwnd_, x, y, std::max(0, width - bar), height, TRUE);
}

void TObjectGrid::UpdateScrollBar() {
    scrollBarLive_ = true;
    scroll_.rowCount = RowCount();
    scroll_.clientHeight = ClientHeight();
    scroll_.rowHeight = RowHeight();
    scroll_.topRow = TopRow();
    scroll_.currentRow = CurrentRow();
    UpdateScrollBarState(scroll_);
    EnableWindow(scrollbar_, scroll_.enabled ? TRUE : FALSE);
    if (!scroll_.enabled) return;
    SCROLLINFO si{sizeof si};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = scroll_.minimum;
    si.nMax = scroll_.maximum;
    si.nPage = static_cast<UINT>(scroll_.page);
    si.nPos = scroll_.position;
    SetScrollInfo(scrollbar_, SB_CTL, &si, TRUE);
    if (TopRow() != scroll_.topRow) SetTopRow(scroll_.topRow);
    else TopLeftChanged();
}

void TObjectGrid::TopLeftChanged() {
    if (!scrollbar_) return;
    scroll_.rowCount = RowCount();
    scroll_.topRow = TopRow();
    scroll_.currentRow = CurrentRow();
    ApplyTopRowToScrollBar(scroll_);
    SetScrollPos(scrollbar_, SB_CTL, scroll_.position, TRUE);
}

void TObjectGrid::ScrollBarScroll(int code) {
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(scrollbar_, SB_CTL, &si);
    int pos = scroll_.position;
    switch (code) {
        case SB_LINEUP: pos -= scroll_.smallChange; break;
        case SB_LINEDOWN: pos += scroll_.smallChange; break;
        case SB_PAGEUP: pos -= scroll_.largeChange; break;
        case SB_PAGEDOWN: pos += scroll_.largeChange; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: pos = scroll_.minimum; break;
        case SB_BOTTOM: pos = scroll_.maximum; break;
        default: return;
    }
    pos = std::max(pos, scroll_.minimum);
    scroll_.rowCount = RowCount();
    scroll_.clientHeight = ClientHeight();
    scroll_.rowHeight = RowHeight();
    ApplyScrollPosition(scroll_, pos);
    SetScrollPos(scrollbar_, SB_CTL, std::min(pos, ComputeScrollMetrics(scroll_).maxPos), TRUE);
    SetTopRow(scroll_.topRow);
}

std::string_view TObjectGrid::Cell(int row, int col) const {
    if (!list_) return row == 0 ? ColumnTitles[static_cast<size_t>(col)] : std::string_view();
    return list_->Cell(row, col);
}

void TObjectGrid::SetList(const TVisibleList* list) {
    list_ = list;
    topRow_ = std::clamp(topRow_, kFirstDataRow, std::max(kFirstDataRow, RowCount() - 1));
    currentRow_ = std::clamp(currentRow_, kFirstDataRow, std::max(kFirstDataRow, RowCount() - 1));
    anchorRow_ = std::clamp(anchorRow_, kFirstDataRow, std::max(kFirstDataRow, RowCount() - 1));
    HideHint();
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (scrollBarLive_) UpdateScrollBar();
}

void TObjectGrid::ResetPosition() {
    currentRow_ = anchorRow_ = kFirstDataRow;
    allSelected_ = false;
    SetTopRow(kFirstDataRow);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TObjectGrid::SetTopRow(int row) {
    row = std::clamp(row, kFirstDataRow, std::max(kFirstDataRow, RowCount() - 1));
    const bool changed = row != topRow_;
    topRow_ = row;
    if (changed) InvalidateRect(hwnd_, nullptr, TRUE);
    // The scroll bar follows every setting of the top row, as the grid's own event does.
    TopLeftChanged();
}

void TObjectGrid::SetCurrentRow(int row) {
    row = std::clamp(row, kFirstDataRow, std::max(kFirstDataRow, RowCount() - 1));
    if (row == currentRow_ && anchorRow_ == row && !allSelected_) return;
    currentRow_ = anchorRow_ = row;
    allSelected_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

std::pair<int, int> TObjectGrid::Selection() const {
    const int last = std::max(kFirstDataRow, RowCount() - 1);
    if (allSelected_) return {kFirstDataRow, last};
    const int anchor = std::clamp(anchorRow_, kFirstDataRow, last);
    return {std::min(anchor, currentRow_), std::max(anchor, currentRow_)};
}

void TObjectGrid::SelectAll() {
    allSelected_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TObjectGrid::SetDpi(int dpi, const FormatSettings* fs) {
    dpi_ = dpi;
    // The system's sans-serif at 8 points; a row is 16 design pixels, or the font's cell and
    // its margins when that is taller.
    font_ = CreateMessageFont(8, dpi_);
    boldFont_ = CreateMessageFont(8, dpi_, true);
    fontHeight_ = FontHeight(font_.get());
    rowHeight_ = std::max(Scale(kGridRowHeight), fontHeight_ + Scale(3));
    for (int c = 0; c < kGridColumns; ++c) widths_[static_cast<size_t>(c)] = Scale(kDefaultColumnWidths[static_cast<size_t>(c)]);
    // A column whose texts the user's formats decide is at least as wide as its widest one.
    if (fs) {
        const WindowDc dc(hwnd_);
        SelectGuard f(dc.get(), font_.get());
        for (int c = 0; c < kGridColumns; ++c)
            for (const std::string& text : WidestTextCandidates(c, *fs))
                widths_[static_cast<size_t>(c)] = std::max(widths_[static_cast<size_t>(c)], TextWidth(dc.get(), text) + Scale(5));
    }
    UpdateHorizontalBar();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TObjectGrid::SetColWidth(int col, int width) {
    widths_[static_cast<size_t>(col)] = std::max(0, width);
    UpdateHorizontalBar();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int TObjectGrid::ClientHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.bottom - r.top;
}

GridScrollState TObjectGrid::CurrentScrollState() const {
    GridScrollState s;
    s.rowCount = RowCount();
    s.clientHeight = ClientHeight();
    s.rowHeight = rowHeight_;
    s.topRow = topRow_;
    s.currentRow = currentRow_;
    return s;
}

void TObjectGrid::TakeScrollState(const GridScrollState& s, bool extend) {
    const bool moved = s.currentRow != currentRow_ || allSelected_ || (!extend && anchorRow_ != s.currentRow);
    currentRow_ = s.currentRow;
    if (!extend) anchorRow_ = currentRow_;
    allSelected_ = false;
    if (moved) InvalidateRect(hwnd_, nullptr, FALSE);
    if (s.topRow != topRow_) SetTopRow(s.topRow);
}

int TObjectGrid::VisibleDataRowCount() const { return VisibleDataRows(CurrentScrollState()); }

RECT TObjectGrid::CellRect(int row, int col) const {
    RECT r{};
    int x = 0;
    for (int c = leftCol_; c < col; ++c) x += widths_[static_cast<size_t>(c)] + kGridLineWidth;
    r.left = x;
    r.right = x + widths_[static_cast<size_t>(col)];
    const int y = row == 0 ? 0 : rowHeight_ + kGridLineWidth + (row - topRow_) * (rowHeight_ + kGridLineWidth);
    r.top = y;
    r.bottom = y + rowHeight_;
    return r;
}

int TObjectGrid::ColumnAt(int x) const {
    if (x < 0) return -1;
    int right = 0;
    for (int c = leftCol_; c < kGridColumns; ++c) {
        right += widths_[static_cast<size_t>(c)] + kGridLineWidth;
        if (x < right) return c;
    }
    return -1;
}

int TObjectGrid::RowAt(int y) const {
    if (y < 0) return -1;
    if (y < rowHeight_ + kGridLineWidth) return 0;
    const int row = topRow_ + (y - rowHeight_ - kGridLineWidth) / (rowHeight_ + kGridLineWidth);
    return row < RowCount() ? row : -1;
}

int TObjectGrid::BorderNear(int x) const {
    int right = 0;
    for (int c = leftCol_; c < kGridColumns; ++c) {
        right += widths_[static_cast<size_t>(c)];
        if (std::abs(x - right) <= Scale(kSizingReach) - 1) return c;
        right += kGridLineWidth;
    }
    return -1;
}

void TObjectGrid::UpdateHorizontalBar() {
    if (!hwnd_) return;
    RECT r{};
    GetClientRect(hwnd_, &r);
    int total = 0;
    for (int w : widths_) total += w + kGridLineWidth;
    SCROLLINFO si{sizeof si};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = kGridColumns - 1;
    // The columns that fit from the left one decide the page, in whole columns.
    int fit = 0, width = 0;
    for (int c = kGridColumns - 1; c >= 0 && width + widths_[static_cast<size_t>(c)] <= r.right; --c, ++fit)
        width += widths_[static_cast<size_t>(c)] + kGridLineWidth;
    si.nPage = total <= r.right ? kGridColumns : static_cast<UINT>(std::max(1, fit));
    if (total <= r.right) leftCol_ = 0;
    leftCol_ = std::min(leftCol_, kGridColumns - static_cast<int>(si.nPage));
    si.nPos = leftCol_;
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    ShowScrollBar(hwnd_, SB_HORZ, total > r.right);
}

void TObjectGrid::Changed() { TopLeftChanged(); }

void TObjectGrid::Paint(HDC dc, const RECT& dirty) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    // Draw into a bitmap first: no flicker while scrolling.
    UniqueDc mem(CreateCompatibleDC(dc));
    UniqueBitmap bmp(CreateCompatibleBitmap(dc, client.right, client.bottom));
    SelectGuard selBmp(mem.get(), bmp.get());
    HDC m = mem.get();
    FillRect(m, &client, GetSysColorBrush(COLOR_WINDOW));
    SelectGuard selFont(m, font_.get());
    SetBkMode(m, TRANSPARENT);

    UniquePen silver(CreatePen(PS_SOLID, 1, kSilver));
    UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    const int rows = RowCount();
    int lastRowBottom = rowHeight_;
    int rightEdge = 0;
    for (int c = leftCol_; c < kGridColumns; ++c) rightEdge += widths_[static_cast<size_t>(c)] + kGridLineWidth;
    for (int row = 0; row < rows; row = row == 0 ? topRow_ : row + 1) {
        const RECT probe = CellRect(row, 0);
        if (probe.top >= client.bottom) break;
        for (int col = leftCol_; col < kGridColumns; ++col) {
            const RECT r = CellRect(row, col);
            if (r.left >= client.right) break;
            DrawCell(m, row, col, r);
            // The cell's grid lines: right and bottom.
            SelectGuard pen(m, row == 0 ? shadow.get() : silver.get());
            MoveToEx(m, r.right, r.top, nullptr);
            LineTo(m, r.right, r.bottom + 1);
            MoveToEx(m, r.left, r.bottom, nullptr);
            LineTo(m, r.right + 1, r.bottom);
        }
        lastRowBottom = probe.bottom;
        if (row == 0 && rows <= kFirstDataRow) break;
    }
    DrawRuling(m, lastRowBottom, client);
    (void)rightEdge;
    BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, m, dirty.left, dirty.top,
           SRCCOPY);
}

void TObjectGrid::DrawCell(HDC dc, int row, int col, const RECT& r) {
    const std::string_view text = Cell(row, col);
    const bool header = row == 0;
    const auto [first, last] = Selection();
    const bool selected = !header && row >= first && row <= last;
    COLORREF back = GetSysColor(header ? COLOR_BTNFACE : selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : header ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(dc, &r, brush.get());
    SetTextColor(dc, fore);
    const bool bold = header && events_.ColumnFiltered && events_.ColumnFiltered(col);
    SelectGuard font(dc, bold ? boldFont_.get() : font_.get());
    int x = r.left + Scale(2);
    if (IsRightAlignedColumn(col)) x = r.right - TextWidth(dc, text) - Scale(3);
    if (!header && col == ColumnFile && (text == "1" || text == "2") && markers_[0] && markers_[1]) {
        UniqueDc bm(CreateCompatibleDC(dc));
        SelectGuard sel(bm.get(), markers_[text == "1" ? 0 : 1].get());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left + Scale(2), r.top + Scale(1), Scale(14), Scale(14), bm.get(), 0, 0, 14, 14, SRCCOPY);
        return;
    }
    if (!header && IsFlagColumn(col)) {
        // The flag columns: the cell is filled in one colour, which hides the "1", and a tick
        // of 21 pixels is set when the flag is on.
        UniquePen pen(CreatePen(PS_SOLID, 1, back));
        SelectGuard p(dc, pen.get());
        SelectGuard b(dc, brush.get());
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        if (text == "1") {
            // Each design pixel of the tick as a square of the DPI's size.
            UniqueBrush tick(CreateSolidBrush(fore));
            for (const auto& [dx, dy] : kCheckMarkPixels) {
                const RECT px{r.left + Scale(dx), r.top + Scale(dy), r.left + Scale(dx + 1), r.top + Scale(dy + 1)};
                FillRect(dc, &px, tick.get());
            }
        }
        return;
    }
    RECT clip = r;
    ExtTextOutA(dc, x, r.top + (rowHeight_ - fontHeight_) / 2 + 1, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TObjectGrid::DrawRuling(HDC dc, int lastRowBottom, const RECT& client) {
    // Below the last row the sheet goes on ruled in silver, down to the bottom of the window.
    const int from = lastRowBottom + kGridLineWidth;
    if (from >= client.bottom) return;
    UniquePen silver(CreatePen(PS_SOLID, 1, kSilver));
    SelectGuard pen(dc, silver.get());
    int x = 0;
    for (int c = leftCol_; c < kGridColumns; ++c) {
        x += widths_[static_cast<size_t>(c)];
        MoveToEx(dc, x, lastRowBottom, nullptr);
        LineTo(dc, x, client.bottom);
        x += kGridLineWidth;
    }
    for (int y = lastRowBottom + rowHeight_; y < client.bottom; y += rowHeight_ + kGridLineWidth) {
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, x, y);
    }
}

void TObjectGrid::KeyDown(WPARAM vk) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (ctrl && !alt && (vk == 'A' || vk == 'C')) {
        if (vk == 'A') SelectAll();
        else if (events_.CopyRows) events_.CopyRows();
        return;
    }
    GridScrollState s = CurrentScrollState();
    const int last = RowCount() - 1;
    switch (vk) {
        case VK_PRIOR:
        case VK_NEXT:
            if (ctrl || shift || alt) return;
            if (vk == VK_PRIOR) PageUp(s);
            else PageDown(s);
            break;
        case VK_UP: s.currentRow = std::max(kFirstDataRow, s.currentRow - 1); ScrollCurrentIntoView(s); break;
        case VK_DOWN: s.currentRow = std::min(last, s.currentRow + 1); ScrollCurrentIntoView(s); break;
        case VK_HOME: s.currentRow = kFirstDataRow; ScrollCurrentIntoView(s); break;
        case VK_END: s.currentRow = last; ScrollCurrentIntoView(s); break;
        case VK_LEFT:
        case VK_RIGHT:
            SendMessageA(hwnd_, WM_HSCROLL, vk == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT, 0);
            return;
        case VK_RETURN:
            if (!ctrl && !shift && !alt && events_.RowOpened) events_.RowOpened(currentRow_);
            return;
        default: return;
    }
    TakeScrollState(s, shift && vk != VK_PRIOR && vk != VK_NEXT);
    Changed();
}

void TObjectGrid::MouseWheel(int delta) {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    if (notches == 0) return;
    GridScrollState s = CurrentScrollState();
    const int step = lines > 0 && lines != WHEEL_PAGESCROLL ? static_cast<int>(lines) : 1;
    for (int i = 0; i < std::abs(notches); ++i) WheelMove(s, step, notches < 0);
    TakeScrollState(s);
    Changed();
}

void TObjectGrid::HideHint() {
    if (!hint_.empty() && tooltip_) SendMessageA(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
    hint_.clear();
}

void TObjectGrid::ShowHint(const std::string& text) {
    hint_ = text;
    toolInfo_.lpszText = hint_.data();
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&toolInfo_));
    POINT pt{};
    GetCursorPos(&pt);
    SendMessageA(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x + 12, pt.y + 16));
    SendMessageA(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&toolInfo_));
}

void TObjectGrid::MouseMove(int x, int y) {
    // The pointer leaving the grid hides the hint (WM_MOUSELEAVE, asked for once per visit).
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    if (sizingColumn_ >= 0) {
        SetColWidth(sizingColumn_, sizingStartWidth_ + x - sizingStartX_);
        return;
    }
    if (y < rowHeight_ + kGridLineWidth && BorderNear(x) >= 0) SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
    // The cell hint: the whole text of a cell too narrow for it.
    const int col = ColumnAt(x), row = RowAt(y);
    if (col < 0 || row < 0) {
        HideHint();
        return;
    }
    const std::string text(TrimBlanks(Cell(row, col)));
    if (text.empty()) {
        HideHint();
        return;
    }
    if (text == hint_) return;
    int width = 0;
    {
        const WindowDc dc(hwnd_);
        SelectGuard f(dc.get(), font_.get());
        width = TextWidth(dc.get(), text);
    }
    if (width < widths_[static_cast<size_t>(col)] - 2) HideHint();
    else ShowHint(text);
}

// A double click on a header border fits the column to the widest text in view, its title
// included, as the system's list views do.
void TObjectGrid::FitColumn(int col) {
    const WindowDc dc(hwnd_);
    int widest = 0;
    {
        const bool bold = events_.ColumnFiltered && events_.ColumnFiltered(col);
        SelectGuard f(dc.get(), bold ? boldFont_.get() : font_.get());
        widest = TextWidth(dc.get(), Cell(0, col));
    }
    SelectGuard f(dc.get(), font_.get());
    const int last = std::min(RowCount() - 1, topRow_ + VisibleDataRowCount());
    for (int row = topRow_; row <= last; ++row) widest = std::max(widest, TextWidth(dc.get(), Cell(row, col)));
    // The text's margins (2 left, 3 right); a marker or a tick keeps its room.
    int width = widest + Scale(5);
    if (col == ColumnFile) width = std::max(width, Scale(18));
    if (IsFlagColumn(col)) width = std::max(width, Scale(13));
    SetColWidth(col, width);
}

void TObjectGrid::MouseDoubleClick(int x, int y) {
    if (y >= rowHeight_ + kGridLineWidth) {
        const int row = RowAt(y);
        if (row >= kFirstDataRow && events_.RowOpened) events_.RowOpened(row);
        return;
    }
    const int border = BorderNear(x);
    if (border < 0) return;
    sizingColumn_ = -1;
    if (GetCapture() == hwnd_) ReleaseCapture();
    FitColumn(border);
    // The button's release belongs to the double click: the border has moved, and the release
    // must not read as a click on the title below it.
    upBelongsToDoubleClick_ = true;
}

void TObjectGrid::MouseDown(int x, int y) {
    SetFocus(hwnd_);
    if (y < rowHeight_ + kGridLineWidth) {
        const int border = BorderNear(x);
        if (border >= 0) {
            sizingColumn_ = border;
            sizingStartX_ = x;
            sizingStartWidth_ = widths_[static_cast<size_t>(border)];
            SetCapture(hwnd_);
        }
        return;
    }
    const int row = RowAt(y);
    if (row >= kFirstDataRow) {
        GridScrollState s = CurrentScrollState();
        s.currentRow = row;
        ScrollCurrentIntoView(s);
        TakeScrollState(s, GetKeyState(VK_SHIFT) < 0);  // Shift+click selects the rows between
        Changed();
    }
}

void TObjectGrid::MouseUp(int x, int y) {
    if (std::exchange(upBelongsToDoubleClick_, false)) return;
    if (sizingColumn_ >= 0) {
        sizingColumn_ = -1;
        ReleaseCapture();
    }
    // A header click opens the column's filter; one within reach of a border, where widths are
    // dragged, does not.
    const int col = ColumnAt(x);
    if (RowAt(y) == 0 && col >= 0 && col == ColumnAt(x - 4) && col == ColumnAt(x + 4))
        PostMessageA(GetParent(hwnd_), kWmEditFieldFilter, static_cast<WPARAM>(col), 0);
}

bool TObjectGrid::OnPaint() {
    PaintGuard pg(hwnd_);
    Paint(pg.dc(), pg.rect());
    return true;
}

bool TObjectGrid::OnSize(int, int) {
    UpdateHorizontalBar();
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (scrollBarLive_) UpdateScrollBar();
    return true;
}

bool TObjectGrid::OnKey(WPARAM vk) {
    KeyDown(vk);
    return true;
}

bool TObjectGrid::OnMouseWheel(int delta, WPARAM, bool horizontal) {
    if (horizontal) return false;
    MouseWheel(delta);
    return true;
}

bool TObjectGrid::OnMouseMove(int x, int y) {
    MouseMove(x, y);
    return true;
}

bool TObjectGrid::OnMouseLeave() {
    trackingLeave_ = false;
    HideHint();
    return true;
}

bool TObjectGrid::OnMouseDown(MouseButton, int x, int y) {
    MouseDown(x, y);
    return true;
}

bool TObjectGrid::OnMouseUp(MouseButton, int x, int y) {
    MouseUp(x, y);
    return true;
}

bool TObjectGrid::OnDoubleClick(int x, int y) {
    MouseDoubleClick(x, y);
    return true;
}

// Over a column border in the header the pointer becomes the sizing arrow.
bool TObjectGrid::OnSetCursor(int hitTest) {
    if (hitTest != HTCLIENT) return false;
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(hwnd_, &pt);
    if (pt.y >= rowHeight_ + kGridLineWidth || BorderNear(pt.x) < 0) return false;
    SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
    return true;
}

// The horizontal scroll bar moves one column at a time.
bool TObjectGrid::OnScroll(int bar, int code, HWND) {
    if (bar != SB_HORZ) return false;
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(hwnd_, SB_HORZ, &si);
    int pos = leftCol_;
    switch (code) {
        case SB_LINELEFT: case SB_PAGELEFT: --pos; break;
        case SB_LINERIGHT: case SB_PAGERIGHT: ++pos; break;
        case SB_LEFT: pos = 0; break;
        case SB_RIGHT: pos = si.nMax; break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        default: break;
    }
    pos = std::clamp(pos, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
    if (pos != leftCol_) {
        leftCol_ = pos;
        SetScrollPos(hwnd_, SB_HORZ, pos, TRUE);
        InvalidateRect(hwnd_, nullptr, FALSE);
        Changed();
    }
    return true;
}

void TObjectGrid::OnDestroy() {
    if (tooltip_) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
}

}  // namespace kavlo
