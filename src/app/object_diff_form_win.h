// The "Object Differences" window: one object of both files side by side, file 1 on the left,
// file 2 on the right, in two panes of our own that draw only the lines in view and scroll
// together; and the list of these windows that the main window keeps, one per object.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/object_diff.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "objfile/fob.h"

namespace kavlo {

class TObjectDiffForm : public TWindow {
public:
    TObjectDiffForm() = default;
    ~TObjectDiffForm() override;
    // Creates the window, shows it and gives it the focus.
    void Create(ObjectDiff diff);
    void BringToFront();

    // What the window shows: the first row in view, the current row (the one F8 moves to), the
    // first character in view, and a status bar part.
    int TopRow() const { return topRow_; }
    int CurrentRow() const { return currentRow_; }
    int LeftColumn() const { return leftCol_; }
    const ObjectDiff& Diff() const { return diff_; }
    std::string StatusText(int part) const;
    HWND Pane(int side) const { return panes_[static_cast<size_t>(side)].Handle(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // One side: its header, line numbers and lines; its scroll bars move both sides.
    class TPane : public TWindow {
    public:
        void Create(TObjectDiffForm* form, int side);

    protected:
        LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    private:
        TObjectDiffForm* form_ = nullptr;
        int side_ = 0;
    };

    void FormCreate();
    void FormResize();
    void DpiChanged(int dpi, const RECT* suggested);
    void MakeFonts();
    void PaintPane(int side, HDC dc, const RECT& dirty);
    void PaintMessage(HDC dc);
    void KeyDown(int side, WPARAM vk);
    void MouseDown(int side, int y);
    void Wheel(int delta, bool horizontal);
    void Scroll(int bar, int code, int side);
    // Moves the current row, keeping it in view.
    void SetCurrentRow(int row);
    void GoToChange(int row);
    void SetTop(int row);
    void SetLeft(int col);
    void Changed();
    void UpdateScrollBars();
    void UpdateStatus();
    int RowCount() const { return static_cast<int>(diff_.View.Rows.size()); }
    int VisibleRows() const;     // rows fully in view in a pane
    int VisibleColumns() const;  // characters in view in a pane
    int GutterWidth() const;
    int HeaderHeight() const { return lineHeight_ + Scaled(6); }
    int Scaled(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }

    ObjectDiff diff_;
    std::array<TPane, 2> panes_;
    HWND status_ = nullptr;
    UniqueFont font_, uiFont_;  // the lines' fixed-pitch font, the headers' and status bar's
    int dpi_ = kDesignDpi;
    int lineHeight_ = 16, charWidth_ = 8, digits_ = 1;
    int topRow_ = 0, currentRow_ = 0, leftCol_ = 0;
    int focusSide_ = 0;
    int wheelRemainder_ = 0, hwheelRemainder_ = 0;
};

// The diff windows of the main window: one per object of the two files as loaded; several may
// be open; they close with the main window.
class TObjectDiffWindows {
public:
    // Opens the window of the object of data row `row`, or brings its open window to the
    // front. A row of an object that only one file holds gets a beep. `loads` counts the
    // loads of the two files, so that an object of files loaded since has a window of its own.
    void Open(const TFob& fob1, const TFob& fob2, const TVisibleList& list, int row, int loads);
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
