// "Load dropped file": asks whether a single dropped file is file 1 or file 2.
#pragma once
#include <windows.h>

#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"

namespace kavlo {

class TAskFileNoForm : public TModalDialog {
public:
    TAskFileNoForm();
    ~TAskFileNoForm() override;
    int FileNo = 1;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawGlyphButton(const DRAWITEMSTRUCT& d);
    static LRESULT CALLBACK KeyHook(int code, WPARAM wParam, LPARAM lParam);
    UniqueBitmap glyphs_[2];
    HHOOK hook_ = nullptr;
};

}  // namespace kavlo
