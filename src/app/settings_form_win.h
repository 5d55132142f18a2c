// "Settings": the settings record on three pages (Startup, Updates, Object Marking) and the
// manual update check. Edits the TSettings it is given; reopens on the page it was closed on.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "gui/gdi_handles_win.h"
#include "gui/modal_dialog_win.h"
#include "objfile/object_types.h"
#include "settings/settings.h"
#include "settings/update_check.h"

namespace kavlo {

class TSettingsForm : public TRecordDialog<TSettings> {
public:
    // What the dialog takes from the main window once, when it is created.
    struct Setup {
        HIMAGELIST smallImages = nullptr;  // the toolbar's 16-pixel images
        std::array<std::string, kObjectTypeCount> typeCaptions;  // the type buttons' hints
        std::string hideSystemCaption;     // the hint of the window's system-object switch
        // What "Check Now" touches, with the dialog as the owner of its boxes.
        std::function<UpdateCheckEnv(HWND owner)> updateCheck;
        // "Check Now" reached a verdict: the date stands even if the dialog is then cancelled.
        std::function<void(double today)> checked;
    };
    explicit TSettingsForm(Setup setup);

    enum Page { PageStartup, PageUpdates, PageMarking, kPageCount };
    // The page now shown (while open) or shown last.
    int CurrentPage() const { return page_; }
    // The control `id` on whichever page holds it; null when the dialog is not shown.
    HWND Item(int id) const;

protected:
    bool OnInit() override;  // FormShow
    bool OnOk() override;    // ButtonOKClick
    void GiveBack(TSettings& record) const override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnKeyUp(WPARAM vk) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;

private:
    // A page, a child dialog of the tab control's: its controls' commands are the dialog's.
    class TPage : public TSubclass {
    protected:
        bool OnCommand(int id, int code, HWND control) override;
    };
    // The days edit (CheckForUpdatesDaysEditKeyPress): a backspace or a digit passes, every
    // other character (control characters included) is dropped.
    class TDaysEdit : public TSubclass {
    protected:
        bool OnChar(WPARAM ch) override { return ch != 8 && (ch < '0' || ch > '9'); }
    };
    void CreatePages();
    void ShowPage(int page);
    void CheckForUpdatesCheckBoxClick();
    void CheckForUpdatesNowButtonClick();

    Setup setup_;
    std::array<TPage, kPageCount> pages_;  // their handles null while the dialog is not shown
    TDaysEdit days_;
    int page_ = PageStartup;
    std::array<UniqueIcon, kObjectTypeCount> typeIcons_;
};

}  // namespace kavlo
