// "Load dropped file": asks whether a single dropped file is file 1 or file 2. Edits the file
// number it is given; the keys 1 and 2 choose as the two buttons do.
#pragma once
#include <windows.h>

#include "gui/gdi_handles_win.h"
#include "gui/modal_dialog_win.h"
#include "gui/window_base_win.h"

namespace kavlo {

class TAskFileNoForm : public TRecordDialog<int> {
public:
    TAskFileNoForm();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnKeyUp(WPARAM vk) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;  // the two glyph buttons
    bool OnAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Choose(int fileNo);
    UniqueBitmap glyphs_[2];
};

}  // namespace kavlo
