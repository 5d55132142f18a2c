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
#include "app/text_pane_win.h"
#include "base/errors.h"

namespace kavlo {

namespace {

const char kDiffFormClass[] = "TObjectDiffForm";
constexpr int kDiffDesignWidth = 1000, kDiffDesignHeight = 640;
constexpr int kDiffMinimumWidth = 420, kDiffMinimumHeight = 260;
constexpr int kDiffPositionPartWidth = 180;  // the status bar's right part, at 96 DPI
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif
#ifndef WM_MOUSEHWHEEL
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
#endif

}  // namespace

// ---- the window ------------------------------------------------------------------------

TObjectDiffForm::~TObjectDiffForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TObjectDiffForm::Create(ObjectDiff diff, const RECT& rect, ClosedSize closed) {
    diff_ = std::move(diff);
    digits_ = std::max(3, Digits(std::max(diff_.Lines1.size(), diff_.Lines2.size())));
    CreateFrame(kDiffFormClass, diff_.Caption, rect, {kDiffMinimumWidth, kDiffMinimumHeight}, std::move(closed), 2);
    Activate();
}

void TObjectDiffForm::FormResize() {
    if (!status_) return;
    const RECT client = PlaceStatusBar({kDiffPositionPartWidth});
    const int height = client.bottom;
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
    for (int side = 0; side < 2; ++side) InvalidateRect(Pane(side), nullptr, FALSE);
    UpdateScrollBars();
    UpdateStatus();
}

void TObjectDiffForm::UpdateScrollBars() {
    for (int side = 0; side < 2; ++side)
        SetPaneScrollBars(Pane(side), RowCount(), VisibleRows(), topRow_, diff_.LongestLine, VisibleColumns(), leftCol_);
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

void TObjectDiffForm::Wheel(int, int delta, bool horizontal) {
    const int step = WheelStep(horizontal ? hwheelRemainder_ : wheelRemainder_, delta, horizontal, VisibleRows());
    if (horizontal) SetLeft(leftCol_ + step);
    else SetTop(topRow_ + step);
}

void TObjectDiffForm::Scroll(int side, int bar, int code) {
    if (bar == SB_VERT) SetTop(ScrolledPosition(Pane(side), bar, code, topRow_, VisibleRows()));
    else SetLeft(ScrolledPosition(Pane(side), bar, code, leftCol_, VisibleColumns()));
}

void TObjectDiffForm::PaintPane(int side, HDC dc, const RECT& dirty) {
    const PaneBuffer buffer(Pane(side), dc, dirty);
    const HDC m = buffer.dc();
    if (!m) return;
    const RECT& client = buffer.client();
    PaintPaneHeader(m, {0, 0, client.right, HeaderHeight()}, uiFont_.get(), side == 0 ? diff_.Heading1 : diff_.Heading2,
                    dpi_);

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
        PaintGutterNumber(m, {0, y, gutter, y + lineHeight_}, numberRight, charWidth_, line);
        if (*sign) TextOutA(m, signX, y, sign, 1);
        if (currentChange >= 0 && ChangeAt(diff_.View, r) == currentChange)
            FillWith(m, {0, y, Scaled(4), y + lineHeight_}, kCurrentChangeBar);
        RECT t{textX, y, client.right, y + lineHeight_};
        PaintText(m, side, r, t, back);
        if (r == currentRow_) PaintCurrentRow(m, t, focused);
    }
}

// The line of `row` from the first character in view, over its tint; a changed line with its
// changed characters marked.
void TObjectDiffForm::PaintText(HDC dc, int side, int row, const RECT& rect, COLORREF back) {
    SetBkColor(dc, back);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    const int visible = VisibleColumns();
    const int x = static_cast<int>(CellRect(row, leftCol_).left);
    if (diff_.View.Rows[static_cast<size_t>(row)].Kind == RowKind::Changed) {
        const LineCharChanges& changes = CharChanges(row);
        PaintCharMarks(dc, rect, x, side == 0 ? changes.Ranges1 : changes.Ranges2, leftCol_, visible, charWidth_,
                       side == 0 ? kChangedChars1 : kChangedChars2, std::max(2, Scaled(2)));
    }
    PaintLineChars(dc, rect, x, LineOf(side, row), leftCol_, visible, charWidth_);
}

// The texts go with the window; the main window forgets the rest at its next open.
void TObjectDiffForm::OnNcDestroy() {
    ObjectDiff none;
    std::swap(diff_, none);
    status_ = nullptr;
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
    const int width = ScaleToDpi(settings.DiffWindowWidth > 0 ? settings.DiffWindowWidth : kDiffDesignWidth, dpi);
    const int height = ScaleToDpi(settings.DiffWindowHeight > 0 ? settings.DiffWindowHeight : kDiffDesignHeight, dpi);
    const RECT rect = CascadedRect(mainWindow, entries_.empty() ? mainWindow : entries_.back().form->Handle(),
                                   std::max(width, ScaleToDpi(kDiffMinimumWidth, dpi)),
                                   std::max(height, ScaleToDpi(kDiffMinimumHeight, dpi)));
    auto form = std::make_unique<TObjectDiffForm>();
    form->Create(std::move(diff), rect, [&settings](int w, int h) {
        settings.DiffWindowWidth = w;
        settings.DiffWindowHeight = h;
    });
    entries_.push_back({*key, loads, std::move(form)});
}

void TObjectDiffWindows::CloseAll() { entries_.clear(); }

std::vector<TObjectDiffForm*> TObjectDiffWindows::OpenWindows() const {
    return OpenWindowsOf(entries_, [](const Entry& e) { return e.form.get(); });
}

}  // namespace kavlo
