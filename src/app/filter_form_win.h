// "Filter": the ten field filters at once, in a two-column grid whose Value cells are edited in
// place; and the standard text-input box of the one-column prompt.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "gui/gdi_handles_win.h"
#include "gui/modal_dialog_win.h"
#include "gui/window_base_win.h"
#include "listing/field_filter.h"

namespace kavlo {

class TFilterForm : public TRecordDialog<FilterTexts> {
public:
    TFilterForm();
    ~TFilterForm() override;
    // Edits the ten texts with the editor open on filter `startRow` (0 File … 9 Compiled).
    bool Edit(HWND owner, FilterTexts& texts, int startRow) {
        startRow_ = startRow;
        return TRecordDialog::Edit(owner, texts);
    }

    // The grid control, while the dialog is shown (for tests).
    HWND FilterStringGrid() const { return grid_.Handle(); }
    HWND Editor() const { return editor_.Handle(); }
    int CurrentRow() const { return row_; }

protected:
    bool OnInit() override;
    bool OnOk() override;

private:
    // The two-column grid: the names and the values, a click choosing a row; its focus goes on
    // to the editor.
    class TGrid : public TWindow {
    public:
        explicit TGrid(TFilterForm& form) : form_(form) {}
        void Create(int x, int y, int w, int h);

    protected:
        bool OnPaint() override;
        bool OnMouseDown(MouseButton button, int x, int y) override;
        bool OnFocus(bool gained) override;

    private:
        TFilterForm& form_;
    };
    // The editor on the current row's Value cell: the arrows move it up and down; Enter and
    // Escape, kept from the dialog, act when they are released.
    class TEditor : public TSubclass {
    public:
        explicit TEditor(TFilterForm& form) : form_(form) {}

    protected:
        LRESULT OnGetDlgCode() override;
        bool OnKey(WPARAM vk) override;
        bool OnChar(WPARAM ch) override;
        bool OnKeyUp(WPARAM vk) override;

    private:
        TFilterForm& form_;
    };
    void PaintGrid(HDC dc);
    void SelectRow(int row);  // 1 to 10
    void StoreEditor();
    RECT ValueCell(int row) const;
    // The grid's design sizes (a row 18 pixels, the columns 75 and 150) at the dialog's DPI.
    int RowHeight() const { return Scale(18); }
    int ColWidth(int col) const { return Scale(col == 0 ? 75 : 150); }

    int startRow_ = 0;
    TGrid grid_{*this};
    TEditor editor_{*this};
    int row_ = 1;
    UniqueFont font_;
};

// Shows the text-input box; true and the entered text on OK.
bool InputQuery(HWND owner, const std::string& caption, const std::string& label, std::string& value);

// A header click's prompt for one column's field filter, offering the filter set or else the
// current row's value; true when OK set the filter.
bool AskFieldFilter(HWND owner, FilterTexts& filters, int column, std::string_view currentCell);

}  // namespace kavlo
