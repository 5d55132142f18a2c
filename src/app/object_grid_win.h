// The object grid: our own control that shows the visible list. It draws only the rows in view,
// so a list of a million rows paints and scrolls as a list of ten does. Vertical scrolling is
// done by a separate scroll bar at the grid's right, a sibling that the grid owns and places;
// the grid has its own horizontal one.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "app/grid_logic.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/tracking_tip_win.h"
#include "gui/window_base_win.h"
#include "listing/visible_list.h"
#include "platform/format_settings.h"

namespace kavlo {

class TObjectGrid : public TWindow {
public:
    struct Events {
        std::function<bool(int column)> ColumnFiltered;
        std::function<void()> CopyRows;  // Ctrl+C
        std::function<void(int row)> RowOpened;  // Enter or a double click on a data row
    };

    TObjectGrid() = default;
    // The grid and its scroll bar (`id` + 1), both children of `parent`, and the File column's
    // marker bitmaps.
    void Create(HWND parent, int id, Events events);
    // Places the grid and, at its right, the scroll bar.
    void SetBounds(int x, int y, int width, int height);

    // The separate scroll bar: its 0 to 9999 map onto the rows. It follows the grid from the
    // first UpdateScrollBar on (UpdateScrollBar, run after every resize of the window).
    HWND ScrollBar() const { return scrollbar_; }
    const GridScrollState& ScrollState() const { return scroll_; }
    void UpdateScrollBar();
    // A scroll request of the bar (WM_VSCROLL's code), which its parent hands on.
    void ScrollBarScroll(int code);
    // Fonts, row height and default column widths for the screen's DPI (the design sizes at 96);
    // with the user's formats, the Date, Time and BLOB Size columns hold their widest texts.
    void SetDpi(int dpi, const FormatSettings* fs);
    int Dpi() const { return dpi_; }
    int RowHeight() const { return rowHeight_; }
    // The height that shows the header and `rows` data rows within the frame, over the
    // horizontal scroll bar.
    int HeightFor(int rows) const;
    HFONT Font() const { return font_.get(); }

    // The list to show; the grid keeps the pointer until the next call.
    void SetList(const TVisibleList* list);
    // After a build: current row and top row back to the first data row.
    void ResetPosition();
    int RowCount() const { return list_ ? list_->RowCount() : 2; }
    int TopRow() const { return topRow_; }
    int CurrentRow() const { return currentRow_; }
    int LeftCol() const { return leftCol_; }
    void SetTopRow(int row);
    // Moves the current row; the selection becomes that row alone.
    void SetCurrentRow(int row);
    // The selected data rows, first to last: the current row alone, the rows between the anchor
    // of a Shift move and the current row, or all rows after Ctrl+A.
    std::pair<int, int> Selection() const;
    void SelectAll();
    int ColWidth(int col) const { return widths_[static_cast<size_t>(col)]; }
    void SetColWidth(int col, int width);
    int ClientHeight() const;
    // Data rows fully visible from the top row.
    int VisibleDataRowCount() const;
    std::string_view Cell(int row, int col) const;

    // Geometry, in client coordinates: the column and row under a point (-1 outside).
    int ColumnAt(int x) const;
    int RowAt(int y) const;
    RECT CellRect(int row, int col) const;

    // The text of the cell hint now shown, empty when none (for tests).
    const std::string& CurrentHint() const { return hint_; }
    void HideHint();

protected:
    bool OnPaint() override;
    bool OnEraseBackground() override { return true; }  // Paint fills every pixel
    bool OnSize(int width, int height) override;
    LRESULT OnGetDlgCode() override { return DLGC_WANTARROWS; }
    bool OnKey(WPARAM vk) override;
    bool OnMouseWheel(int delta, WPARAM keys, bool horizontal) override;
    bool OnMouseMove(int x, int y) override;
    bool OnMouseLeave() override;
    bool OnMouseDown(MouseButton button, int x, int y) override;
    bool OnMouseUp(MouseButton button, int x, int y) override;
    bool OnDoubleClick(int x, int y) override;
    bool OnSetCursor(int hitTest) override;
    bool OnScroll(int bar, int code, HWND control) override;
    void OnDestroy() override;

private:
    void Paint(HDC dc, const RECT& dirty);
    void DrawCell(HDC dc, int row, int col, const RECT& r);
    void DrawRuling(HDC dc, int lastRowBottom, const RECT& client);
    void KeyDown(WPARAM vk);
    void MouseWheel(int delta);
    void MouseMove(int x, int y);
    void MouseDown(int x, int y);
    void MouseDoubleClick(int x, int y);
    void FitColumn(int col);
    void MouseUp(int x, int y);
    int BorderNear(int x) const;  // the column whose right border is within reach of x, or -1
    void ShowHint(const std::string& text);
    void UpdateHorizontalBar();
    void Changed();
    void TopLeftChanged();  // GridTopLeftChanged: the scroll bar follows the top row
    GridScrollState CurrentScrollState() const;
    // Takes a move of the current row; `extend` (Shift held) keeps the selection's anchor.
    void TakeScrollState(const GridScrollState& s, bool extend = false);

    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }

    Events events_;
    HWND scrollbar_ = nullptr;
    bool scrollBarLive_ = false;  // from the first UpdateScrollBar on
    GridScrollState scroll_;
    int dpi_ = 96, rowHeight_ = kGridRowHeight, fontHeight_ = 13;
    const TVisibleList* list_ = nullptr;
    std::array<int, kGridColumns> widths_ = kDefaultColumnWidths;
    int topRow_ = kFirstDataRow, currentRow_ = kFirstDataRow, leftCol_ = 0;
    int anchorRow_ = kFirstDataRow;  // the other end of the selection
    bool allSelected_ = false;
    std::array<UniqueBitmap, 2> markers_;  // of files 1 and 2; none: the digits show
    UniqueFont font_, boldFont_;
    HWND tooltip_ = nullptr;
    std::string hint_;
    TOOLINFOA toolInfo_{};
    int sizingColumn_ = -1, sizingStartX_ = 0, sizingStartWidth_ = 0;
    int wheelRemainder_ = 0;
    bool trackingLeave_ = false;
    bool upBelongsToDoubleClick_ = false;
};

}  // namespace kavlo
