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
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "listing/char_diff.h"
#include "objfile/fob.h"
#include "settings/settings.h"

namespace kavlo {

class TObjectDiffForm : public TWindow {
public:
    TObjectDiffForm() = default;
    ~TObjectDiffForm() override;
    // Called as the window closes with its normal (restored) size in 96-DPI pixels.
    using ClosedSize = std::function<void(int width, int height)>;
    // Creates the window over `rect` (screen pixels), shows it and gives it the focus. The
    // diff has lines to show (no message).
    void Create(ObjectDiff diff, const RECT& rect, ClosedSize closed);
    // Restores the window when it is minimized and activates it, once the input that asked
    // for it (a key or a double click in another window) has been handled.
    void BringToFront();

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
    std::string StatusText(int part) const;
    HWND Pane(int side) const { return panes_[static_cast<size_t>(side)].Handle(); }

protected:
    bool OnCreate() override;
    bool OnSize(int width, int height) override;
    bool OnGetMinMaxInfo(MINMAXINFO& info) override;
    bool OnDpiChanged(int dpi, const RECT& suggested) override;
    bool OnFocus(bool gained) override;
    bool OnAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void OnNcDestroy() override;

private:
    // One side: its header, line numbers and lines; its scroll bars move both sides.
    class TPane : public TWindow {
    public:
        void Create(TObjectDiffForm* form, int side);

    protected:
        bool OnPaint() override;
        bool OnEraseBackground() override { return true; }  // painted whole by OnPaint
        LRESULT OnGetDlgCode() override { return DLGC_WANTALLKEYS; }
        bool OnFocus(bool gained) override;
        bool OnKey(WPARAM vk) override;
        bool OnMouseDown(MouseButton button, int x, int y) override;
        bool OnMouseWheel(int delta, WPARAM keys, bool horizontal) override;
        bool OnScroll(int bar, int code, HWND control) override;

    private:
        TObjectDiffForm* form_ = nullptr;
        int side_ = 0;
    };

    void FormCreate();
    void FormResize();
    void DpiChanged(int dpi, const RECT* suggested);
    void MakeFonts();
    void PaintPane(int side, HDC dc, const RECT& dirty);
    void PaintText(HDC dc, int side, int row, const RECT& rect, COLORREF back);
    void ShowColumn(int col);
    void Activate();
    const LineCharChanges& CharChanges(int row);
    std::string_view LineOf(int side, int row) const;
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
    std::unordered_map<int, LineCharChanges> charChanges_;  // of the changed rows painted so far
    ClosedSize closed_;
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
