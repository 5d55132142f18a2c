// The window of one object's three-way merge: three custom-painted panes above that draw only
// the rows in view and scroll together, RESULT's pane below with a place of its own, F8 and
// Shift+F8 moving both to the next or previous conflict; and the Merge window's list of them.
#include "app/merge_object_form_win.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "app/frame_size_win.h"
#include "app/text_pane_win.h"
#include "base/errors.h"
#include "listing/char_diff.h"

namespace kavlo {

namespace {

const char kMergeObjectFormClass[] = "TMergeObjectForm";
constexpr int kMergeObjectDesignWidth = 1200, kMergeObjectDesignHeight = 760;
constexpr int kMergeObjectMinimumWidth = 600, kMergeObjectMinimumHeight = 360;
constexpr int kMergeStatusPartWidth = 140, kMergePositionPartWidth = 180;  // at 96 DPI

// A conflict is light red in every pane, its block's marker lines a stronger red, so that a
// conflict never reads as one side's change (orange or blue). A line that RESULT takes from
// both sides alike, or merges from both, is a pale violet between the two.
const COLORREF kConflictBack = RGB(255, 210, 210);
const COLORREF kMarkerBack = RGB(240, 150, 150);
const COLORREF kBothBack = RGB(232, 224, 246);
// The changed characters of a conflict row, and of ORIGINAL's line against both sides, marked
// as a side's are: a stronger tint of the row's own and a full-colour bar.
const CharMarkColours kConflictChars{RGB(250, 170, 170), RGB(204, 51, 51)};
const CharMarkColours kBothChars{RGB(208, 190, 240), RGB(136, 96, 200)};

// The tint and gutter sign of an upper row in `pane`, or of a RESULT row (pane kResultPane).
struct Look {
    COLORREF back;
    const char* sign;
};

Look LookOf(MergeRowKind kind, int pane, bool filler) {
    const Look plain{GetSysColor(COLOR_WINDOW), ""};
    if (filler) return {kBlankBack, ""};
    const bool result = pane == TMergeObjectForm::kResultPane;
    switch (kind) {
        case MergeRowKind::Same: break;
        case MergeRowKind::Modified:
            if (result) return {kChangedBack1, "M"};
            return pane == PaneModified ? Look{kChangedBack1, "!"} : plain;
        case MergeRowKind::Target:
            if (result) return {kChangedBack2, "T"};
            return pane == PaneTarget ? Look{kChangedBack2, "!"} : plain;
        case MergeRowKind::Both:
            if (result) return {kBothBack, "B"};
            if (pane == PaneOriginal) return plain;
            return {pane == PaneModified ? kChangedBack1 : kChangedBack2, "!"};
        case MergeRowKind::Conflict: return {kConflictBack, "X"};
        case MergeRowKind::Marker: return {kMarkerBack, ""};
    }
    return plain;
}

// The colours that mark the changed characters of an upper row in `pane`: those of the side
// whose change they show.
CharMarkColours CharMarksOf(MergeRowKind kind, int pane) {
    if (kind == MergeRowKind::Conflict) return kConflictChars;
    if (pane == PaneOriginal)
        return kind == MergeRowKind::Both ? kBothChars : kind == MergeRowKind::Target ? kChangedChars2 : kChangedChars1;
    return pane == PaneModified ? kChangedChars1 : kChangedChars2;
}

}  // namespace

// ---- the window ------------------------------------------------------------------------

TMergeObjectForm::~TMergeObjectForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TMergeObjectForm::Create(MergeView view, const RECT& rect, ClosedSize closed) {
    view_ = std::move(view);
    size_t most = view_.ResultLines.size();
    for (const std::vector<std::string>& lines : view_.Lines) most = std::max(most, lines.size());
    digits_ = std::max(3, Digits(most));
    CreateFrame(kMergeObjectFormClass, view_.Caption, rect, {kMergeObjectMinimumWidth, kMergeObjectMinimumHeight}, std::move(closed), 4);
    if (!view_.Stops.empty()) GoToStop(0);
    Activate();
}

// The sides take three fifths of the height in three equal columns, RESULT the rest.
void TMergeObjectForm::FormResize() {
    if (!status_) return;
    const RECT area = PlaceStatusBar({kMergeStatusPartWidth, kMergePositionPartWidth});
    const int right = area.right, height = area.bottom;
    const int gap = Scaled(4);
    const int upper = std::max(0, (height - gap) * 3 / 5);
    const int third = std::max(0, (right - 2 * gap) / 3);
    for (int p = 0; p < 3; ++p) {
        const int x = p * (third + gap);
        MoveWindow(Pane(p), x, 0, p == 2 ? std::max(0, right - x) : third, upper, TRUE);
    }
    MoveWindow(Pane(kResultPane), 0, upper + gap, right, std::max(0, height - upper - gap), TRUE);
    for (Area a : {Upper, Result}) {
        SetTop(a, areas_[a].top);
        SetLeft(a, areas_[a].left);
    }
    UpdateScrollBars();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

int TMergeObjectForm::RowCount(Area a) const {
    return static_cast<int>(a == Upper ? view_.Rows.size() : view_.ResultLines.size());
}

int TMergeObjectForm::VisibleRows(Area a) const {
    RECT r{};
    GetClientRect(Pane(a == Upper ? 0 : kResultPane), &r);
    return std::max(1, (static_cast<int>(r.bottom) - HeaderHeight()) / lineHeight_);
}

int TMergeObjectForm::VisibleColumns(Area a) const {
    RECT r{};
    GetClientRect(Pane(a == Upper ? 0 : kResultPane), &r);
    return std::max(1, (static_cast<int>(r.right) - GutterWidth() - Scaled(4)) / charWidth_);
}

RECT TMergeObjectForm::CellRect(Area a, int row, int col) const {
    const int x = GutterWidth() + Scaled(4) + (col - areas_[a].left) * charWidth_;
    const int y = HeaderHeight() + (row - areas_[a].top) * lineHeight_;
    return {x, y, x + charWidth_, y + lineHeight_};
}

// The current stop's bar, the line number, the sign, and a margin before the text.
int TMergeObjectForm::GutterWidth() const { return Scaled(10) + (digits_ + 2) * charWidth_; }

void TMergeObjectForm::SetTop(Area a, int row) {
    row = std::clamp(row, 0, std::max(0, RowCount(a) - VisibleRows(a)));
    if (row == areas_[a].top) return;
    areas_[a].top = row;
    Changed();
}

void TMergeObjectForm::SetLeft(Area a, int col) {
    col = std::clamp(col, 0, std::max(0, Longest(a) + 1 - VisibleColumns(a)));
    if (col == areas_[a].left) return;
    areas_[a].left = col;
    Changed();
}

void TMergeObjectForm::SetCurrentRow(Area a, int row) {
    if (RowCount(a) == 0) return;
    Place& p = areas_[a];
    p.current = std::clamp(row, 0, RowCount(a) - 1);
    if (p.current < p.top) SetTop(a, p.current);
    else if (p.current >= p.top + VisibleRows(a)) SetTop(a, p.current - VisibleRows(a) + 1);
    Changed();
}

void TMergeObjectForm::Reveal(Area a, int row, int end) {
    const int visible = VisibleRows(a);
    if (row < areas_[a].top || end > areas_[a].top + visible) SetTop(a, row - std::min(visible / 4, 5));
}

// The stop becomes current in both areas (RESULT stays where it is when it holds nothing for
// it); -1 beeps.
void TMergeObjectForm::GoToStop(int stop) {
    if (stop < 0 || stop >= static_cast<int>(view_.Stops.size())) {
        MessageBeep(MB_OK);
        return;
    }
    const MergeStop& s = view_.Stops[static_cast<size_t>(stop)];
    currentStop_ = stop;
    areas_[Upper].current = s.Row;
    Reveal(Upper, s.Row, s.End);
    ShowChangedColumn(s.Row);
    resultStopEnd_ = -1;
    if (s.ResultRow >= 0) {
        // The block (or run of changed lines) that starts there.
        const auto kindAt = [&](int r) { return view_.ResultKinds[static_cast<size_t>(r)]; };
        const bool block = kindAt(s.ResultRow) == MergeRowKind::Marker;
        int end = s.ResultRow + 1;
        for (; end < RowCount(Result); ++end) {
            const MergeRowKind k = kindAt(end);
            if (block ? k != MergeRowKind::Conflict && k != MergeRowKind::Marker : k != kindAt(s.ResultRow)) break;
            if (block && k == MergeRowKind::Marker && view_.ResultLines[static_cast<size_t>(end)] == kConflictEnd) {
                ++end;
                break;
            }
        }
        resultStopEnd_ = end;
        areas_[Result].current = s.ResultRow;
        Reveal(Result, s.ResultRow, end);
    }
    Changed();
}

// Scrolls the sides across only when the first character that the row's change touches is out
// of view: to the lines' start when it is then in the left three quarters, otherwise with a
// quarter of the pane before it. The change is the changing side's line against ORIGINAL's, or
// for a conflict MODIFIED's against TARGET's.
void TMergeObjectForm::ShowChangedColumn(int row) {
    const MergeViewRow& r = view_.Rows[static_cast<size_t>(row)];
    const bool conflict = r.Kind == MergeRowKind::Conflict;
    const int a = r.Kind == MergeRowKind::Target ? PaneTarget : PaneModified;
    const int b = conflict ? PaneTarget : PaneOriginal;
    const auto lineOf = [&](int pane) -> std::string_view {
        const int line = r.Line[static_cast<size_t>(pane)];
        return line ? std::string_view(view_.Lines[static_cast<size_t>(pane)][static_cast<size_t>(line - 1)])
                    : std::string_view();
    };
    const RowKind kind = !r.Line[static_cast<size_t>(b)]   ? RowKind::Removed
                         : !r.Line[static_cast<size_t>(a)] ? RowKind::Added
                                                          : RowKind::Changed;
    const int col = FirstChangedChar(kind, lineOf(a), lineOf(b));
    const int visible = VisibleColumns(Upper);
    if (col >= areas_[Upper].left && col < areas_[Upper].left + visible) return;
    SetLeft(Upper, col < visible * 3 / 4 ? 0 : col - visible / 4);
}

const std::array<std::vector<CharRange>, 3>& TMergeObjectForm::CharChanges(int row) {
    auto it = charChanges_.find(row);
    if (it == charChanges_.end()) it = charChanges_.emplace(row, RowChangedChars(view_, row)).first;
    return it->second;
}

void TMergeObjectForm::Changed() {
    for (int p = 0; p < 4; ++p) InvalidateRect(Pane(p), nullptr, FALSE);
    UpdateScrollBars();
    UpdateStatus();
}

void TMergeObjectForm::UpdateScrollBars() {
    for (int p = 0; p < 4; ++p) {
        const Area a = AreaOf(p);
        SetPaneScrollBars(Pane(p), RowCount(a), VisibleRows(a), areas_[a].top, Longest(a), VisibleColumns(a),
                          areas_[a].left);
    }
}

void TMergeObjectForm::UpdateStatus() {
    if (!status_) return;
    const std::string status(MergeStatusName(view_.Status));
    std::string count = std::to_string(view_.Conflicts) + (view_.Conflicts == 1 ? " conflict" : " conflicts");
    std::string position;
    const int stop = StopAt(view_, areas_[Upper].current);
    if (stop >= 0)
        position = std::string(view_.StopsAreConflicts ? "Conflict " : "Change ") + std::to_string(stop + 1) +
                   " of " + std::to_string(view_.Stops.size());
    const std::string* texts[3] = {&status, &count, &position};
    for (int part = 0; part < 3; ++part)
        SendMessageA(status_, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(texts[part]->c_str()));
}

void TMergeObjectForm::KeyDown(int pane, WPARAM vk) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const Area a = AreaOf(pane);
    Place& p = areas_[a];
    const int page = VisibleRows(a);
    switch (vk) {
        case VK_ESCAPE: PostMessageA(hwnd_, WM_CLOSE, 0, 0); break;
        case VK_TAB: SetFocus(Pane((pane + (shift ? 3 : 1)) % 4)); break;
        case VK_F8: {
            // From the stop that holds the current upper row, or from between two stops.
            const int row = areas_[Upper].current;
            int next = -1, previous = -1;
            for (int s = 0; s < static_cast<int>(view_.Stops.size()); ++s) {
                const MergeStop& st = view_.Stops[static_cast<size_t>(s)];
                if (next < 0 && st.Row > row) next = s;
                if (st.End <= row) previous = s;
            }
            GoToStop(shift ? previous : next);
            break;
        }
        case VK_UP: SetCurrentRow(a, p.current - 1); break;
        case VK_DOWN: SetCurrentRow(a, p.current + 1); break;
        case VK_PRIOR:
            SetTop(a, p.top - page);
            SetCurrentRow(a, p.current - page);
            break;
        case VK_NEXT:
            SetTop(a, p.top + page);
            SetCurrentRow(a, p.current + page);
            break;
        case VK_HOME:
            if (ctrl) SetCurrentRow(a, 0);
            else SetLeft(a, 0);
            break;
        case VK_END:
            if (ctrl) SetCurrentRow(a, RowCount(a) - 1);
            else SetLeft(a, Longest(a));
            break;
        case VK_LEFT: SetLeft(a, p.left - (ctrl ? VisibleColumns(a) / 2 : 1)); break;
        case VK_RIGHT: SetLeft(a, p.left + (ctrl ? VisibleColumns(a) / 2 : 1)); break;
        default: break;
    }
}

void TMergeObjectForm::MouseDown(int pane, int y) {
    SetFocus(Pane(pane));
    if (y < HeaderHeight()) return;
    const Area a = AreaOf(pane);
    const int row = areas_[a].top + (y - HeaderHeight()) / lineHeight_;
    if (row < RowCount(a)) SetCurrentRow(a, row);
}

void TMergeObjectForm::PaintPane(int pane, HDC dc, const RECT& dirty) {
    const PaneBuffer buffer(Pane(pane), dc, dirty);
    const HDC m = buffer.dc();
    if (!m) return;
    const RECT& client = buffer.client();
    const bool result = pane == kResultPane;
    const Area a = AreaOf(pane);
    const Place& place = areas_[a];
    PaintPaneHeader(m, {0, 0, client.right, HeaderHeight()}, uiFont_.get(),
                    result ? view_.ResultHeading : view_.Headings[static_cast<size_t>(pane)], dpi_);

    SelectGuard font(m, font_.get());
    SetBkMode(m, OPAQUE);
    const int gutter = GutterWidth();
    const int numberRight = Scaled(6) + digits_ * charWidth_;
    const bool focused = GetFocus() == Pane(pane);
    // The current stop's rows get the bar.
    int barFrom = -1, barTo = -1;
    if (currentStop_ >= 0) {
        const MergeStop& s = view_.Stops[static_cast<size_t>(currentStop_)];
        barFrom = result ? s.ResultRow : s.Row;
        barTo = result ? resultStopEnd_ : s.End;
    }
    const int visible = VisibleColumns(a);
    const int textX = static_cast<int>(CellRect(a, place.top, place.left).left);
    for (int r = place.top, y = HeaderHeight(); r < RowCount(a) && y < client.bottom; ++r, y += lineHeight_) {
        int line = r + 1;
        MergeRowKind kind;
        if (result) {
            kind = view_.ResultKinds[static_cast<size_t>(r)];
        } else {
            const MergeViewRow& row = view_.Rows[static_cast<size_t>(r)];
            kind = row.Kind;
            line = row.Line[static_cast<size_t>(pane)];
        }
        const Look look = LookOf(kind, pane, line == 0);
        PaintGutterNumber(m, {0, y, gutter, y + lineHeight_}, numberRight, charWidth_, line);
        if (*look.sign) TextOutA(m, numberRight + charWidth_ / 2, y, look.sign, 1);
        if (r >= barFrom && r < barTo) FillWith(m, {0, y, Scaled(4), y + lineHeight_}, kCurrentChangeBar);
        const RECT t{gutter, y, client.right, y + lineHeight_};
        FillWith(m, t, look.back);
        if (line > 0) {
            const std::vector<std::string>& lines = result ? view_.ResultLines : view_.Lines[static_cast<size_t>(pane)];
            if (!result && kind != MergeRowKind::Same)
                PaintCharMarks(m, t, textX, CharChanges(r)[static_cast<size_t>(pane)], place.left, visible, charWidth_,
                               CharMarksOf(kind, pane), std::max(2, Scaled(2)));
            PaintLineChars(m, t, textX, lines[static_cast<size_t>(line - 1)], place.left, visible, charWidth_);
        }
        if (r == place.current) PaintCurrentRow(m, t, focused);
    }
}

void TMergeObjectForm::OnNcDestroy() {
    MergeView none;
    std::swap(view_, none);
    charChanges_.clear();
    status_ = nullptr;
}

void TMergeObjectForm::Wheel(int pane, int delta, bool horizontal) {
    const Area a = AreaOf(pane);
    Place& p = areas_[a];
    const int step = WheelStep(horizontal ? p.hwheel : p.wheel, delta, horizontal, VisibleRows(a));
    if (horizontal) SetLeft(a, p.left + step);
    else SetTop(a, p.top + step);
}

void TMergeObjectForm::Scroll(int pane, int bar, int code) {
    const Area a = AreaOf(pane);
    const Place& p = areas_[a];
    if (bar == SB_VERT) SetTop(a, ScrolledPosition(Pane(pane), bar, code, p.top, VisibleRows(a)));
    else SetLeft(a, ScrolledPosition(Pane(pane), bar, code, p.left, VisibleColumns(a)));
}

// ---- the Merge window's list -------------------------------------------------------------

void TMergeObjectWindows::Open(const TFob& original, const TFob& modified, const TFob& target,
                               const MergeOptions& options, int type, int id, HWND owner) {
    std::erase_if(entries_, [](const Entry& e) { return !e.form->Handle(); });
    for (Entry& e : entries_) {
        if (e.original == &original && e.modified == &modified && e.target == &target && e.type == type &&
            e.id == id) {
            e.form->BringToFront();
            return;
        }
    }
    // Read and merged before the window exists: a file changed since loading leaves none.
    MergeView view;
    try {
        const ObjectSides sides = ReadObjectSides(original, modified, target, options, type, id);
        view = MakeMergeView(sides, type, id, original.FileName(), modified.FileName(), target.FileName());
    } catch (const std::exception& e) {
        ShowException(owner, e);
        return;
    }
    const int dpi = WindowDpi(owner);
    const int width = ScaleToDpi(width_ > 0 ? width_ : kMergeObjectDesignWidth, dpi);
    const int height = ScaleToDpi(height_ > 0 ? height_ : kMergeObjectDesignHeight, dpi);
    const RECT rect = CascadedRect(owner, entries_.empty() ? owner : entries_.back().form->Handle(),
                                   std::max(width, ScaleToDpi(kMergeObjectMinimumWidth, dpi)),
                                   std::max(height, ScaleToDpi(kMergeObjectMinimumHeight, dpi)));
    auto form = std::make_unique<TMergeObjectForm>();
    form->Create(std::move(view), rect, [this](int w, int h) {
        width_ = w;
        height_ = h;
    });
    entries_.push_back({&original, &modified, &target, type, id, std::move(form)});
}

void TMergeObjectWindows::Open(const std::shared_ptr<const TMergeDocument>& doc, int type, int id, HWND owner) {
    // Only the merges that an open object window shows are kept, and this one.
    std::erase_if(docs_, [&](const auto& d) { return d != doc && !Shows(d->Original()); });
    if (std::find(docs_.begin(), docs_.end(), doc) == docs_.end()) docs_.push_back(doc);
    Open(doc->Original(), doc->Modified(), doc->Target(), doc->Options(), type, id, owner);
}

void TMergeObjectWindows::CloseAll() {
    entries_.clear();
    docs_.clear();
}

std::vector<TMergeObjectForm*> TMergeObjectWindows::OpenWindows() const {
    return OpenWindowsOf(entries_, [](const Entry& e) { return e.form.get(); });
}

bool TMergeObjectWindows::Shows(const TFob& original) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.original == &original && e.form->Handle(); });
}

}  // namespace kavlo
