#include "app/grid_logic.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

// A grid whose client area shows `visible` data rows under the header.
GridScrollState Grid(int dataRows, int visible) {
    GridScrollState s;
    s.rowCount = dataRows + 1;
    s.clientHeight = kGridRowHeight + visible * (kGridRowHeight + kGridLineWidth) + 5;
    return s;
}

TEST(GridLogic, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
}

TEST(GridLogic, TenThousandRowsWithTwentyFiveVisible) {
    GridScrollState s = Grid(10000, 25);
    UpdateScrollBarState(s);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.page, 25);
    EXPECT_EQ(s.smallChange, 1);
    EXPECT_EQ(s.largeChange, 25);
    // Dragging the thumb to the bottom shows the last page, not beyond it.
    ApplyScrollPosition(s, kScrollMax);
    EXPECT_EQ(s.topRow, 10001 - 25);
    EXPECT_EQ(s.topRow + VisibleDataRows(s) - 1, 10000);
    EXPECT_LE(s.position, 10000 - s.page);
}

TEST(GridLogic, FortyRowsWithTwentyVisible) {
    GridScrollState s = Grid(40, 20);
    UpdateScrollBarState(s);
    EXPECT_EQ(s.page, 5000);
    EXPECT_EQ(s.smallChange, 250);
    ApplyScrollPosition(s, 2500);  // a quarter down: row 1 + 10
    EXPECT_EQ(s.topRow, 11);
    EXPECT_EQ(s.position, 2500);
}

TEST(GridLogic, AllRowsVisibleDisablesTheBar) {
    GridScrollState s = Grid(1, 25);
    s.enabled = true;
    UpdateScrollBarState(s);
    EXPECT_FALSE(s.enabled);
    GridScrollState none;
    none.rowCount = 1;
    none.enabled = true;
    UpdateScrollBarState(none);
    EXPECT_FALSE(none.enabled);
}

TEST(GridLogic, EnlargingAScrolledViewReturnsToTheFirstRow) {
    GridScrollState s = Grid(100, 20);
    UpdateScrollBarState(s);
    ApplyScrollPosition(s, kScrollMax);
    EXPECT_EQ(s.topRow, 81);
    s.currentRow = 90;
    s.clientHeight = kGridRowHeight + 50 * (kGridRowHeight + kGridLineWidth);  // empty space below
    UpdateScrollBarState(s);
    // The view went back to the first data row, then followed the current row to the end.
    EXPECT_EQ(s.topRow, 51);
    s.currentRow = 5;
    s.topRow = 81;
    UpdateScrollBarState(s);
    EXPECT_EQ(s.topRow, 1);
}

TEST(GridLogic, PageDownJumpsToTheLastVisibleRowThenPages) {
    GridScrollState s = Grid(100, 20);
    UpdateScrollBarState(s);
    s.currentRow = 7;
    EXPECT_TRUE(PageDown(s));
    EXPECT_EQ(s.currentRow, 20);
    EXPECT_FALSE(PageDown(s));
    EXPECT_EQ(s.currentRow, 40);
    EXPECT_EQ(s.topRow + VisibleDataRows(s) - 1, 40);
    EXPECT_TRUE(PageUp(s));
    EXPECT_EQ(s.currentRow, s.topRow);
    EXPECT_FALSE(PageUp(s));
}

TEST(GridLogic, WheelMovesTheSelectionByTheLinesButStopsAtTheEnds) {
    GridScrollState s = Grid(10, 20);
    s.currentRow = 5;
    WheelMove(s, 3, true);
    EXPECT_EQ(s.currentRow, 8);
    WheelMove(s, 3, true);
    EXPECT_EQ(s.currentRow, 10);
    WheelMove(s, 3, true);
    EXPECT_EQ(s.currentRow, 10);
    s.currentRow = 2;
    WheelMove(s, 3, false);
    EXPECT_EQ(s.currentRow, 1);
}

TEST(GridLogic, StatusPanelsAndTheirGaps) {
    const std::array<int, 5> w = {40, 280, 280, 70, 70};
    EXPECT_EQ(StatusPanelAt(w, 0), -1);
    EXPECT_EQ(StatusPanelAt(w, 1), 0);
    EXPECT_EQ(StatusPanelAt(w, 39), 0);
    EXPECT_EQ(StatusPanelAt(w, 40), -1);  // the gap
    EXPECT_EQ(StatusPanelAt(w, 42), -1);
    EXPECT_EQ(StatusPanelAt(w, 43), 1);
    EXPECT_EQ(StatusPanelAt(w, 5000), 4);  // right of the last
    const ProgressPlace p = ProgressPlacement(w);
    EXPECT_EQ(p.panel, 2);
    EXPECT_EQ(p.left, 322);
    EXPECT_EQ(p.width, 278);
}

}  // namespace
}  // namespace kavlo
