// The main window: the document (the session: both files, the filters, the settings and the
// list built from them) shown by its parts, the toolbar, the object grid with its scroll bar and
// the status bar; the window wires each button and key to its command.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_context_win.h"
#include "app/drop_target_win.h"
#include "app/main_toolbar_win.h"
#include "app/merge_window_win.h"
#include "app/object_diff_form_win.h"
#include "app/object_grid_win.h"
#include "app/open_file_command_win.h"
#include "app/session.h"
#include "app/status_bar_win.h"
#include "app/frame_size_win.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "settings/update_check.h"

namespace kavlo {

class Desktop;
class TAboutForm;
class TAskFileNoForm;
class TCompareForm;
class TFilterForm;
class TSettingsForm;

// The hint of the window's switch for system objects, which the settings dialog shows.
inline constexpr std::string_view kHideSystemObjectsHint = "Hide System Objects";

class TMainForm : public TWindow, private SettingsWindow {
public:
    struct Options {
        std::vector<std::string> arguments;  // the command line's file names and switches
        Registry* registry = nullptr;        // where the settings live (the user's key when null)
        std::string settingsKey = std::string(kSettingsKeyPath);
        uint16_t languageId = 0;             // 0: the user's default language
        bool quitOnClose = false;            // the program ends when this window closes
        // Information messages (a message box by default); tests record them instead.
        std::function<void(HWND owner, const std::string& text)> showMessage;
        // Opens the program's web page (the browser by default); tests record it instead.
        std::function<void()> openWebsite;
        // What the update checks touch (the network, the web site, boxes owned by the given
        // window; the real ones by default); tests point it at a server of their own.
        std::function<UpdateCheckEnv(HWND owner)> updateCheck;
        // Opens the about box's links (the shell by default); tests record them instead.
        std::function<void(const std::string& address)> openLink;
        // What marking drives (the real desktop when null); tests scale its time.
        Desktop* desktop = nullptr;
        // Opens an object of a Merge window, its three versions side by side (a beep when empty).
        decltype(MergeWindowCommands::openObject) openMergeObject;
    };

    TMainForm();
    ~TMainForm() override;
    // Creates the window (not yet shown) and posts WM_STARTUP to it.
    void Create(Options options);
    void Show(int showCommand);

    // Runs the shortcuts on key release before the focused control sees the key. The message
    // loop (and tests that pump messages) call it for every message; true when consumed.
    bool PreTranslate(const MSG& msg);

    // Runs a toolbar button's command, as a click or its shortcut does.
    void Click(int button);
    // Files dropped on the window (DropPIDLTarget1Drop): loaded once the drop has finished.
    void DropPIDLTarget1Drop(const std::vector<std::string>& paths);

    // The document and the parts that show it.
    TSession& Session() { return session_; }
    const TSession& Session() const { return session_; }
    TMainToolBar& ToolBar() { return toolbar_; }
    const TMainToolBar& ToolBar() const { return toolbar_; }
    TStatusBar& StatusBar() { return status_; }
    const TStatusBar& StatusBar() const { return status_; }
    TObjectGrid& Grid() { return grid_; }
    const TObjectGrid& Grid() const { return grid_; }
    TObjectDiffWindows& DiffWindows() { return diffWindows_; }
    TMergeWindows& MergeWindows() { return mergeWindows_; }
    TMergeObjectWindows& MergeObjectWindows() { return mergeWindows_.ObjectWindows(); }
    // The dialogs the window opens, and where files are dropped.
    TFilterForm& FilterForm() { return *filterForm_; }
    TSettingsForm& SettingsForm() { return *settingsForm_; }
    TAboutForm& AboutForm() { return *aboutForm_; }
    IDropTarget* DropTarget() const { return dropTarget_.Target(); }

protected:
    bool OnCreate() override {
        FormCreate();
        return true;
    }
    void OnDestroy() override;
    bool OnSize(int, int) override {
        FormResize();
        return true;
    }
    bool OnGetMinMaxInfo(MINMAXINFO& info) override {
        frame_.GetMinMaxInfo(info);
        return true;
    }
    bool OnSizing(WPARAM edge, RECT& frame) override {
        frame_.Sizing(edge, frame);
        return true;
    }
    bool OnWindowPosChanging(WINDOWPOS& pos) override { return frame_.WindowPosChanging(pos); }
    bool OnExitSizeMove() override {
        grid_.UpdateScrollBar();
        return true;
    }
    bool OnScroll(int bar, int code, HWND control) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnContextMenu(HWND clicked, POINT screen) override;
    bool OnFocus(bool gained) override;
    void OnActivate(WPARAM state) override;
    bool OnAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The session's list is rebuilt: the grid lets go of it, then shows it with its status.
    void ListRebuilding();
    void ListRebuilt();
    // What the commands are given: on the main list, or on another list in another window.
    CommandContext Context();
    CommandContext ContextFor(HWND owner, const TVisibleList& list);

    void FormCreate();
    void FormDestroy();
    void FormResize();
    void WmStartup();
    void WmUpdateCheck(int result);
    void WmEditFieldFilter(int column);
    void WmFiltersChanged();
    void SizeToolButtonsClick(bool large);
    // Design pixels (96 DPI) in the window's pixels.
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    void ToolButtonCompareClick(const BuildMode& mode, bool askSettings);
    void ToolButtonFilterAddClick();
    void ToolButtonSettingsClick();
    void ToolButtonAboutClick();
    // Three-Way Merge: the dialog, the run under the progress bar, then a Merge window.
    void ToolButtonMergeClick();
    void ShowMessageText(std::string_view text, HWND owner = nullptr);
    void BringToFront();
    // A button pressed from the keyboard: a type switch flips first, as its click does.
    void PressButton(int button);
    // The window's smallest client area, at this DPI and toolbar size.
    SIZE MinimumClientSize() const;
    int MinimumClientWidth() const;
    void MeasureMinimumToolBar();  // minToolBarHeight_, after the toolbar's button size changed

    // SettingsWindow: what loading and saving the settings read and set of the window.
    void RestorePosition(int32_t left, int32_t top, std::optional<int32_t> width, std::optional<int32_t> height,
                         int32_t dpi) override {
        frame_.Restore(left, top, width, height, dpi, dpi_);
    }
    void SetMaximized() override { maximizeAtShow_ = true; }
    int ColumnCount() const override { return kGridColumns; }
    // Stored widths are design pixels, so that they mean the same at every DPI.
    void SetColumnWidth(int column, int32_t width) override { grid_.SetColWidth(column, Scale(width)); }
    void SetTypeButtonDown(int type, bool down) override;
    // The switch is the settings record's HideSystemObjects, which the builds read.
    void SetHideSystemObjectsChecked(bool) override {}
    std::optional<SettingsPlacement> Placement() const override { return frame_.Placement(dpi_); }
    int32_t ColumnWidth(int column) const override { return UnscaleFromDpi(grid_.ColWidth(column), dpi_); }

    Options options_;
    std::unique_ptr<Registry> ownRegistry_;
    int dpi_ = kDesignDpi;
    TSession session_;
    TFrameSize frame_;
    bool maximizeAtShow_ = false;
    bool creating_ = true;
    TMainToolBar toolbar_;
    TObjectGrid grid_;
    TStatusBar status_;
    TObjectDiffWindows diffWindows_;
    TMergeWindows mergeWindows_;
    int minToolBarHeight_ = 0;  // the toolbar's height in the window at its smallest width
    std::unique_ptr<TAskFileNoForm> askFileNo_;
    std::unique_ptr<TCompareForm> compareForm_;
    std::unique_ptr<TFilterForm> filterForm_;
    std::unique_ptr<TSettingsForm> settingsForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    TDropPIDLTarget dropTarget_;
    TOpenFileDialog openFile_;
    TOpenFolderDialog openFolder_;
};

}  // namespace kavlo
