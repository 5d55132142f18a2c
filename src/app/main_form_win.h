// The main window: toolbar, object grid with its separate scroll bar, status bar; the two
// readers, the field-filter texts, the settings and the mode of the last build.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_context_win.h"
#include "app/drop_target_win.h"
#include "app/object_diff_form_win.h"
#include "app/object_grid_win.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "listing/field_filter.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"
#include "platform/regional.h"
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

// The toolbar's buttons in toolbar order; the index is also the button's image index.
enum ToolButton : int {
    ToolButtonClear, ToolButtonOpenFile1, ToolButtonOpenFile2,
    ToolButtonTableData, ToolButtonTable, ToolButtonForm, ToolButtonReport, ToolButtonDataport,
    ToolButtonCodeunit, ToolButtonXMLport, ToolButtonMenuSuite, ToolButtonPage, ToolButtonQuery,
    ToolButtonCompareEqual, ToolButtonCompareDifferent, ToolButtonCompareOff, ToolButtonCompareAdded,
    ToolButtonCompareDeleted, ToolButtonFilterAdd, ToolButtonFilterClear, ToolButtonSave, ToolButtonPrint,
    ToolButtonExcel, ToolButtonMarkObjectDesigner, ToolButtonMakeFilterString, ToolButtonSettings,
    ToolButtonAbout, kToolButtonCount
};
// The command id of a button.
constexpr int ToolButtonId(int button) { return 100 + button; }
extern const std::array<const char*, kToolButtonCount> kToolButtonHints;

// The hint of the window's switch for system objects, which the settings dialog shows.
inline constexpr std::string_view kHideSystemObjectsHint = "Hide System Objects";

inline constexpr std::array<int, 5> kStatusPanelWidths = {40, 280, 280, 70, 70};

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

protected:
    bool OnCreate() override;
    void OnDestroy() override;
    bool OnSize(int width, int height) override;
    bool OnGetMinMaxInfo(MINMAXINFO& info) override;
    bool OnSizing(WPARAM edge, RECT& frame) override;
    bool OnWindowPosChanging(WINDOWPOS& pos) override;
    bool OnExitSizeMove() override;
    bool OnTimer(UINT_PTR id) override;
    bool OnScroll(int bar, int code, HWND control) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnContextMenu(HWND clicked, POINT screen) override;
    bool OnFocus(bool gained) override;
    void OnActivate(WPARAM state) override;
    bool OnAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TMainFormPeer;  // what the window tests look at (tests/win/main_form_peer.h)

    void LoadIntoSlot(const std::string& fileName, int fileNo, bool ask);
    void LoadBothSlots(const std::string& file1, const std::string& file2);
    void DropPIDLTarget1Drop(const std::vector<std::string>& paths);
    void BuildList(const BuildMode& mode);
    void UpdateScrollBar();
    void ShowProgress(bool visible, int minimum, int maximum, int position);
    std::string StatusText(int panel) const;       // the panel's text, whole
    std::string ShownStatusText(int panel) const;  // as the panel shows it
    std::string PanelText(int panel) const;
    // "Printing cancelled.": shown in the status bar for kStatusNoteMs.
    void ShowStatusNote(std::string_view text);
    static constexpr UINT_PTR kStatusNoteTimer = 1;
    static constexpr UINT kStatusNoteMs = 5000;
    bool TypeButtonDown(int type) const;
    bool LargeButtons() const { return settings_.ToolButtonSize == 1; }
    // The status bar's hint for a pointer at x (StatusBarMouseMove).
    void StatusBarMouseMove(int x);
    void HideStatusHint();
    static LRESULT CALLBACK StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
    // What the commands are given.
    CommandContext Context();

    void FormCreate();
    void FormDestroy();
    void FormResize();
    void WmStartup();
    void WmLoadDropped();
    void WmUpdateCheck(int result);
    void SizeToolButtonsClick(bool large);
    // Design pixels (96 DPI) in the window's pixels.
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    int ScrollBarWidth() const { return Scale(16); }
    int ImageSize(bool large) const;  // of the toolbar's images at this DPI
    void SetToolButtonSizes(bool large);
    void CreateToolBar();
    void CreateStatusBar();
    void LoadMarkers();
    void ScrollBarScroll(int code);
    void GridTopLeftChanged();
    void ToolBarContextMenu(POINT screen);
    void ToolButtonOpenFileClick(int fileNo);
    void ToolButtonClearClick();
    void ToolButtonCompareClick(const BuildMode& mode, bool askSettings);
    void NotBuiltYet(int button);
    void ShowMessageText(std::string_view text);
    void ToolButtonFilterAddClick();
    void ToolButtonSettingsClick();
    void ToolButtonAboutClick();
    void WmEditFieldFilter(int column);
    void WmFiltersChanged();
    void LoadCommandLine();
    TypeSwitches TypeSwitchStates() const;
    void BringToFront();
    void ShowModeInForce();
    void ReloadFiles();
    void CopySelectedRows();
    bool ToolBarKeyDown(WPARAM vk);
    void PressButton(int button);
    void SetToolBarFocusButton(int button);
    // The window's smallest outer size, at this DPI and toolbar size (see MinimumSize).
    int MinimumClientWidth() const;
    SIZE MinimumSize() const;
    void MeasureMinimumToolBar();  // minToolBarHeight_, after the toolbar's button size changed
    void KeepMinimumSize();        // grows the window's normal rectangle to the minimum size

    // SettingsWindow: what loading and saving the settings read and set of the window.
    void RestorePosition(int32_t left, int32_t top, std::optional<int32_t> width,
                         std::optional<int32_t> height, int32_t dpi) override;
    void SetMaximized() override;
    int ColumnCount() const override { return kGridColumns; }
    // Stored widths are design pixels, so that they mean the same at every DPI.
    void SetColumnWidth(int column, int32_t width) override { grid_.SetColWidth(column, Scale(width)); }
    void SetTypeButtonDown(int type, bool down) override;
    void SetHideSystemObjectsChecked(bool checked) override { hideSystemChecked_ = checked; }
    std::optional<SettingsPlacement> Placement() const override;
    int32_t ColumnWidth(int column) const override { return UnscaleFromDpi(grid_.ColWidth(column), dpi_); }

    Options options_;
    std::unique_ptr<Registry> ownRegistry_;
    SystemRegional regional_;
    int dpi_ = kDesignDpi;
    std::array<int, kStatusPanelWidths.size()> statusWidths_ = kStatusPanelWidths;  // at this DPI
    TFob fob1_, fob2_;
    FilterTexts filters_{};
    TBuiltList built_;
    TSettings settings_;
    CompareSettings compare_;  // for the whole run: the comparison dialog edits it, builds read it
    bool hideSystemChecked_ = false;
    bool maximizeAtShow_ = false;
    bool largeShown_ = false;  // the toolbar shows the large buttons
    bool creating_ = true;
    TObjectGrid grid_;
    TObjectDiffWindows diffWindows_;
    int loads_ = 0;  // files loaded or cleared so far: a diff window shows the files of its load
    HWND toolbar_ = nullptr, status_ = nullptr, scrollbar_ = nullptr, progress_ = nullptr, statusTip_ = nullptr;
    TOOLINFOA statusTool_{};
    std::string statusHint_;
    bool statusTracking_ = false;  // WM_MOUSELEAVE asked for
    int toolBarFocus_ = 0;         // the button the keyboard is on while the toolbar has the focus
    int minToolBarHeight_ = 0;     // the toolbar's height in the window at its smallest width
    UniqueImageList smallImages_, largeImages_, smallDisabledImages_, largeDisabledImages_;
    UniqueBitmap marker1_, marker2_;
    GridScrollState scroll_;
    int droppedCount_ = 0;
    std::array<std::string, 2> droppedNames_;
    std::unique_ptr<TAskFileNoForm> askFileNo_;
    std::unique_ptr<TCompareForm> compareForm_;
    std::unique_ptr<TFilterForm> filterForm_;
    std::unique_ptr<TSettingsForm> settingsForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    TDropPIDLTarget dropTarget_;
    std::string openFileName_;
    std::string openInitialDir_;
    std::array<std::string, kToolButtonCount> hints_;
};

}  // namespace kavlo
