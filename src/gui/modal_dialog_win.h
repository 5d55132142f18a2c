// Modal dialogs from resource templates: one base that binds `this`, sizes the dialog to its
// design client size scaled for the screen's DPI, centres it over its owner, and catches every
// exception of a handler; and the record dialog, which edits a copy of the record it is given
// and writes it back only on OK.
#pragma once
#include <windows.h>

#include "gui/window_base_win.h"

namespace kavlo {

// Its messages are cracked into the typed handlers of TMessageTarget: OnCommand hears every
// command but OK; Cancel, when OnCommand leaves it, closes the dialog.
class TModalDialog : public TMessageTarget {
protected:
    // The client size in pixels at 96 DPI; 0 keeps the template's size.
    TModalDialog(int templateId, int clientWidth, int clientHeight)
        : templateId_(templateId), clientWidth_(clientWidth), clientHeight_(clientHeight) {}
    // IDOK or IDCANCEL.
    INT_PTR ShowModal(HWND owner);

    // Fills the controls (FormShow); false when it has set the focus itself.
    virtual bool OnInit() { return true; }
    // OK was chosen: takes the controls' values; false keeps the dialog open.
    virtual bool OnOk() { return true; }
    // Lets OnKeyUp see the keys released in every control the dialog has now, at any depth,
    // before the control sees them.
    void PreviewKeys();
    // Closes with OK when OnOk agrees (the OK button does this).
    void Accept() {
        if (OnOk()) End(IDOK);
    }
    void End(INT_PTR result) { EndDialog(hwnd_, result); }
    // Design pixels (96 DPI) in the dialog's pixels.
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyPreviewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void SizeAndCentre();

    int templateId_;
    int clientWidth_, clientHeight_;
    int dpi_ = 96;
};

// A dialog that edits a record of type R (CompareSettings, the filter texts, a file number…):
// Edit copies the record in, the dialog fills its controls from the copy and writes the
// controls into it on OK, and only then is the copy given back.
template <typename R>
class TRecordDialog : public TModalDialog {
public:
    // True on OK, and the record then holds the dialog's values; on Cancel it is untouched.
    bool Edit(HWND owner, R& record) {
        value_ = record;
        if (ShowModal(owner) != IDOK) return false;
        GiveBack(record);
        return true;
    }

protected:
    using TModalDialog::TModalDialog;
    // Writes the dialog's values into the record on OK: the whole copy, unless the dialog edits
    // only part of a record that others may change while it is open.
    virtual void GiveBack(R& record) const { record = value_; }
    R value_{};
};

}  // namespace kavlo
