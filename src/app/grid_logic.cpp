// The grid's and scroll bar's arithmetic: row metrics, the 0–9999 scroll position, the status
// panels and the progress bar's place.
#include "app/grid_logic.h"

#include <algorithm>
#include <cmath>

#include "base/calendar.h"
#include "objfile/conversions.h"

namespace kavlo {

std::vector<std::string> WidestTextCandidates(int col, const FormatSettings& fs) {
    std::vector<std::string> texts;
    if (col == ColumnDate) {
        // Two-digit days and every month (its name, and the weekday names that the 28th falls on).
        for (int month = 1; month <= 12; ++month) texts.push_back(FormatDateText(EncodeDate(2026, month, 28), fs));
    } else if (col == ColumnTime) {
        // Every hour, for the AM and PM designators and one- or two-digit hours.
        for (int hour = 0; hour < 24; ++hour) texts.push_back(FormatTimeText((hour * 3600 + 58 * 60 + 58) / 86400.0, fs));
    } else if (col == ColumnBlobSize) {
        texts.push_back("2147483647");
    }
    return texts;
}

int64_t RoundHalfEven(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

ScrollMetrics ComputeScrollMetrics(const GridScrollState& s) {
    ScrollMetrics m;
    m.range = s.maximum - s.minimum + 1;
    m.maxPos = m.range - s.page;
    m.fitRows = std::max(0, (s.clientHeight - s.rowHeight) / (s.rowHeight + kGridLineWidth));
    m.maxTop = std::max(kFirstDataRow, s.rowCount - m.fitRows);
    return m;
}

int VisibleDataRows(const GridScrollState& s) {
    const int fit = ComputeScrollMetrics(s).fitRows;
    return std::max(0, std::min(fit, s.rowCount - s.topRow));
}

void ApplyTopRowToScrollBar(GridScrollState& s) {
    const int dataRows = s.rowCount - kFirstDataRow;
    if (dataRows <= 0) return;
    const int range = s.maximum - s.minimum + 1;
    s.position = static_cast<int>(
        RoundHalfEven(static_cast<double>(s.topRow - kFirstDataRow) / dataRows * range));
}

void ApplyScrollPosition(GridScrollState& s, int pos) {
    const ScrollMetrics m = ComputeScrollMetrics(s);
    pos = std::min(pos, m.maxPos);
    s.position = pos;
    const int dataRows = s.rowCount - kFirstDataRow;
    const int top = kFirstDataRow + static_cast<int>(RoundHalfEven(static_cast<double>(pos) / m.range * dataRows));
    s.topRow = std::max(kFirstDataRow, std::min(top, m.maxTop));
    ApplyTopRowToScrollBar(s);
}

void UpdateScrollBarState(GridScrollState& s) {
    if (s.rowCount <= kFirstDataRow) {
        s.enabled = false;
        return;
    }
    const ScrollMetrics m = ComputeScrollMetrics(s);
    if (VisibleDataRows(s) < m.fitRows) s.topRow = kFirstDataRow;
    const int dataRows = s.rowCount - kFirstDataRow;
    const double ratio = static_cast<double>(VisibleDataRows(s)) / dataRows;
    if (ratio == 1.0) {
        s.enabled = false;
        return;
    }
    s.enabled = true;
    s.minimum = 0;
    s.maximum = kScrollMax;
    s.page = static_cast<int>(RoundHalfEven(10000.0 * ratio));
    s.smallChange = static_cast<int>(std::clamp<int64_t>(RoundHalfEven(10000.0 / dataRows), 1, 32767));
    s.largeChange = std::max(1, s.page);
    if (s.currentRow < s.topRow) s.topRow = s.currentRow;
    if (s.currentRow > s.topRow + m.fitRows - 1) s.topRow = m.maxTop;
    ApplyTopRowToScrollBar(s);
}

void ScrollCurrentIntoView(GridScrollState& s) {
    const ScrollMetrics m = ComputeScrollMetrics(s);
    const int fit = std::max(1, m.fitRows);
    if (s.currentRow < s.topRow) s.topRow = s.currentRow;
    else if (s.currentRow > s.topRow + fit - 1) s.topRow = s.currentRow - fit + 1;
    s.topRow = std::max(kFirstDataRow, std::min(s.topRow, m.maxTop));
    ApplyTopRowToScrollBar(s);
}

bool PageUp(GridScrollState& s) {
    if (s.currentRow != s.topRow) {
        s.currentRow = s.topRow;
        return true;
    }
    const int fit = std::max(1, ComputeScrollMetrics(s).fitRows);
    s.currentRow = std::max(kFirstDataRow, s.currentRow - fit);
    s.topRow = std::max(kFirstDataRow, s.topRow - fit);
    ScrollCurrentIntoView(s);
    return false;
}

bool PageDown(GridScrollState& s) {
    const int lastVisible = s.topRow + VisibleDataRows(s) - 1;
    if (s.currentRow != lastVisible && lastVisible >= kFirstDataRow) {
        s.currentRow = lastVisible;
        return true;
    }
    const ScrollMetrics m = ComputeScrollMetrics(s);
    const int fit = std::max(1, m.fitRows);
    s.currentRow = std::min(s.rowCount - 1, s.currentRow + fit);
    s.topRow = std::min(m.maxTop, s.topRow + fit);
    ScrollCurrentIntoView(s);
    return false;
}

void WheelMove(GridScrollState& s, int lines, bool down) {
    const int last = s.rowCount - 1;
    if (down && s.currentRow < last) s.currentRow += std::min(lines, last - s.currentRow);
    if (!down && s.currentRow > kFirstDataRow) s.currentRow -= std::min(lines, s.currentRow - kFirstDataRow);
    ScrollCurrentIntoView(s);
}

}  // namespace kavlo
