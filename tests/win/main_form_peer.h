// What the window tests look at and drive inside the main window; the program has no use for it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/about_form_win.h"
#include "app/filter_form_win.h"
#include "app/settings_form_win.h"
#include "app/main_form_win.h"

namespace kavlo {

class TMainFormPeer {
public:
    explicit TMainFormPeer(TMainForm& form) : f_(form) {}

    const TFob& Fob(int fileNo) const { return fileNo == 1 ? f_.fob1_ : f_.fob2_; }
    const TBuiltList& Built() const { return f_.built_; }
    TObjectGrid& Grid() { return f_.grid_; }
    TObjectDiffWindows& DiffWindows() { return f_.diffWindows_; }
    FilterTexts& Filters() { return f_.filters_; }
    TSettings& Settings() { return f_.settings_; }
    const CompareSettings& Compare() const { return f_.compare_; }
    TFilterForm& FilterForm() { return *f_.filterForm_; }
    TSettingsForm& SettingsForm() { return *f_.settingsForm_; }
    TAboutForm& AboutForm() { return *f_.aboutForm_; }
    HWND ToolBar() const { return f_.toolbar_; }
    HWND ScrollBar() const { return f_.scrollbar_; }
    HWND StatusBar() const { return f_.status_; }
    HWND ProgressBar() const { return f_.progress_; }
    const GridScrollState& ScrollState() const { return f_.scroll_; }
    int DroppedCount() const { return f_.droppedCount_; }
    const std::string& StatusHint() const { return f_.statusHint_; }
    IDropTarget* DropTarget() const { return f_.dropTarget_.Target(); }
    bool LargeButtons() const { return f_.LargeButtons(); }

    std::string StatusText(int panel) const { return f_.StatusText(panel); }
    std::string ShownStatusText(int panel) const { return f_.ShownStatusText(panel); }
    std::string ToolButtonHint(int button) const { return f_.hints_[static_cast<size_t>(button)]; }
    bool TypeButtonDown(int type) const { return f_.TypeButtonDown(type); }
    bool ButtonEnabled(int button) const {
        return SendMessageA(f_.toolbar_, TB_ISBUTTONENABLED, ToolButtonId(button), 0) != 0;
    }

    void LoadIntoSlot(const std::string& fileName, int fileNo, bool ask) { f_.LoadIntoSlot(fileName, fileNo, ask); }
    void DropPIDLTarget1Drop(const std::vector<std::string>& paths) { f_.DropPIDLTarget1Drop(paths); }
    void BuildList(const BuildMode& mode) { f_.BuildList(mode); }
    void StatusBarMouseMove(int x) { f_.StatusBarMouseMove(x); }

private:
    TMainForm& f_;
};

}  // namespace kavlo
