// The "Object Differences" window: one object of both files side by side, file 1 on the left,
// file 2 on the right, in two panes of our own that draw only the lines in view and scroll
// together; and the list of these windows that the main window keeps, one per object.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/object_diff.h"
#include "app/text_pane_win.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "listing/char_diff.h"
#include "objfile/fob.h"
#include "settings/settings.h"

namespace kavlo {

class TObjectDiffForm : public TLinesForm {
public:
    TObjectDiffForm() = default;
    ~TObjectDiffForm() override;
    // Creates the window over `rect` (screen pixels), shows it and gives it the focus. The
    // diff has lines to show (no message).
    void Create(ObjectDiff diff, const RECT& rect, ClosedSize closed);

    // What the window shows: the first row in view, the current row (the one F8 moves to), the
    // first character in view, and a status bar part.
    int TopRow() const { return topRow_; }
    int CurrentRow() const { return currentRow_; }
    int LeftColumn() const { return leftCol_; }
    int VisibleColumns() const;  // characters in view in a pane
    // Where character `col` of `row` is drawn, in a pane's client pixels (out of the pane when
    // it is scrolled out of view).
    RECT CellRect(int row, int col) const;
    const ObjectDiff& Diff() const { return diff_; }

protected:
    void OnNcDestroy() override;
    void FormResize() override;
    void PaintPane(int side, HDC dc, const RECT& dirty) override;
    void KeyDown(int side, WPARAM vk) override;
    void MouseDown(int side, int y) override;
    void Wheel(int side, int delta, bool horizontal) override;
    void Scroll(int side, int bar, int code) override;

private:
    void PaintText(HDC dc, int side, int row, const RECT& rect, COLORREF back);
    void ShowColumn(int col);
    const LineCharChanges& CharChanges(int row);
    std::string_view LineOf(int side, int row) const;
    // Moves the current row, keeping it in view.
    void SetCurrentRow(int row);
    void GoToChange(int row);
    void SetTop(int row);
    void SetLeft(int col);
    void Changed();
    void UpdateScrollBars();
    void UpdateStatus() override;
    int RowCount() const { return static_cast<int>(diff_.View.Rows.size()); }
    int VisibleRows() const;     // rows fully in view in a pane
    int GutterWidth() const;
    int HeaderHeight() const { return lineHeight_ + Scaled(6); }

    ObjectDiff diff_;
    int digits_ = 1;
    int topRow_ = 0, currentRow_ = 0, leftCol_ = 0;
    int wheelRemainder_ = 0, hwheelRemainder_ = 0;
    std::unordered_map<int, LineCharChanges> charChanges_;  // of the changed rows painted so far
};

// The diff windows of the main window: one per object of the two files as loaded; several may
// be open; they close with the main window.
class TObjectDiffWindows {
public:
    // Opens the window of the object of data row `row`, or brings its open window to the
    // front. A row of an object that only one file holds gets a beep; one whose contents are
    // binary or cannot be compared gets a message box that says so. `loads` counts the loads
    // of the two files, so that an object of files loaded since has a window of its own. A new
    // window opens cascaded from the main window (from the newest diff window when one is
    // open) at the size last used, which it keeps in the settings record.
    void Open(const TFob& fob1, const TFob& fob2, const TVisibleList& list, int row, int loads, HWND mainWindow,
              TSettings& settings);
    void CloseAll();
    // The windows still open, oldest first.
    std::vector<TObjectDiffForm*> OpenWindows() const;

private:
    struct Entry {
        ObjectKey key;
        int loads;
        std::unique_ptr<TObjectDiffForm> form;
    };
    std::vector<Entry> entries_;
};

}  // namespace kavlo
