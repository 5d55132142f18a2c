// The arithmetic of the object grid and its separate scroll bar, of the status bar's panels and
// of the progress bar's place, apart from any window so that it can be tested on its own.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "listing/columns.h"
#include "platform/format_settings.h"

namespace kavlo {

inline constexpr int kGridColumns = kColumnCount;
inline constexpr std::array<int, kGridColumns> kDefaultColumnWidths = {33, 66, 66, 170, 170, 66, 66, 66, 13, 13};
inline constexpr int kGridRowHeight = 16;
inline constexpr int kGridLineWidth = 1;
inline constexpr int kFirstDataRow = 1;
// The separate scroll bar maps 0 to 9999 onto the rows.
inline constexpr int kScrollMax = 9999;

// ID, Date, Time and BLOB Size are drawn right-aligned.
constexpr bool IsRightAlignedColumn(int col) {
    return col == ColumnID || col == ColumnDate || col == ColumnTime || col == ColumnBlobSize;
}

// The tick of the Modified and Compiled cells: 21 pixels from the cell's top-left corner.
inline constexpr std::array<std::pair<int, int>, 21> kCheckMarkPixels = {{
    {3, 6}, {3, 7}, {3, 8}, {4, 7}, {4, 8}, {4, 9}, {5, 8}, {5, 9}, {5, 10}, {6, 7}, {6, 8},
    {6, 9}, {7, 6}, {7, 7}, {7, 8}, {8, 5}, {8, 6}, {8, 7}, {9, 4}, {9, 5}, {9, 6}}};

// The texts that decide how wide the Date, Time and BLOB Size columns must be at least: the
// dates and times of every month and hour in the user's formats, and the largest BLOB size.
// Empty for the other columns.
std::vector<std::string> WidestTextCandidates(int col, const FormatSettings& fs);

// Rounds to the nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double v);

// What the grid and its scroll bar hold, as far as the scroll arithmetic needs it.
struct GridScrollState {
    int rowCount = 2;      // header included
    int clientHeight = 0;  // of the grid
    int rowHeight = kGridRowHeight;  // at the window's DPI
    int topRow = kFirstDataRow;
    int currentRow = kFirstDataRow;
    // The scroll bar.
    bool enabled = false;
    int minimum = 0, maximum = kScrollMax, page = 0, smallChange = 1, largeChange = 1, position = 0;
};

struct ScrollMetrics {
    int range = 0;    // R
    int maxPos = 0;   // R - page
    int fitRows = 0;  // data rows that fit under the header
    int maxTop = 0;   // the highest top row that still fills the grid
};
ScrollMetrics ComputeScrollMetrics(const GridScrollState& s);

// The data rows shown from the top row (those fully visible).
int VisibleDataRows(const GridScrollState& s);

// The position for the grid's top row (GridTopLeftChanged).
void ApplyTopRowToScrollBar(GridScrollState& s);
// The user moved the scroll bar to pos (ScrollBarScroll): the position and the top row.
void ApplyScrollPosition(GridScrollState& s, int pos);
// After a resize or a change of the row count (UpdateScrollBar).
void UpdateScrollBarState(GridScrollState& s);
// Makes the current row visible the way the grid does when the selection moves.
void ScrollCurrentIntoView(GridScrollState& s);

// Page keys without modifiers. Returns true when the key was consumed by the jump to the top
// or last fully visible row; false when the standard paging ran (it is applied here too).
bool PageUp(GridScrollState& s);
bool PageDown(GridScrollState& s);
// The wheel: lines > 0 moves the current row by up to `lines` (down when notches > 0).
void WheelMove(GridScrollState& s, int lines, bool down);

// The status-bar panel under x (-1 for none): panel i spans l(i) < x < r(i), l(0) = 0,
// l(i) = r(i-1) + 2; right of the last panel counts as the last panel.
template <std::size_t N>
int StatusPanelAt(const std::array<int, N>& widths, int x) {
    int right = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const int left = i == 0 ? 0 : right + 2;
        right += widths[i];
        if (left < x && x < right) return static_cast<int>(i);
    }
    return x >= right ? static_cast<int>(N) - 1 : -1;
}

struct ProgressPlace {
    int panel = 0, left = 0, top = 2, width = 0;
};
// The widest panel (on equal widths the later one) and the bar's place over it.
template <std::size_t N>
ProgressPlace ProgressPlacement(const std::array<int, N>& widths) {
    ProgressPlace p;
    for (std::size_t i = 0; i < N; ++i)
        if (widths[i] >= widths[static_cast<std::size_t>(p.panel)]) p.panel = static_cast<int>(i);
    int before = 0;
    for (int i = 0; i < p.panel; ++i) before += widths[static_cast<std::size_t>(i)];
    p.left = p.panel == 0 ? 0 : 2 + before;
    p.width = widths[static_cast<std::size_t>(p.panel)] - (p.panel == 0 ? 0 : 2);
    return p;
}

}  // namespace kavlo
