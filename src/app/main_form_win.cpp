// The main window: its parts laid out, the private messages, the shortcuts, and the wiring of
// every button to its command.
#include "app/main_form_win.h"

#include <algorithm>
#include <utility>

#include "app/about_form_win.h"
#include "app/ask_file_no_form_win.h"
#include "app/compare_form_win.h"
#include "app/excel_command_win.h"
#include "app/filter_form_win.h"
#include "app/filter_string_command_win.h"
#include "app/main_messages.h"
#include "app/mark_command_win.h"
#include "app/merge_form_win.h"
#include "app/open_file_command_win.h"
#include "app/print_command_win.h"
#include "app/save_command_win.h"
#include "app/settings_form_win.h"
#include "app/update_check_ui_win.h"
#include "gui/error_report.h"
#include "gui/file_dialog_win.h"
#include "output/excel_automation_win.h"
#include "output/printers_win.h"
#include "res/resource.h"
#include "settings/registry_win.h"
#include "settings/update_check_win.h"

namespace kavlo {

namespace {

const char kMainClass[] = "TMainForm";
constexpr int kMainDesignWidth = 775, kMainDesignHeight = 520;
constexpr int kMinimumRows = 3;  // the data rows the grid shows at the window's smallest height
constexpr int kGridId = 10, kToolBarId = 12, kStatusBarId = 13;  // the grid's scroll bar is 11

}  // namespace

TMainForm::TMainForm()
    : session_({[this](int& fileNo) { return askFileNo_->Edit(hwnd_, fileNo); }, [this] { BringToFront(); },
                [] { return std::make_shared<HourglassGuard>(); }, [this] { ListRebuilding(); },
                [this] { ListRebuilt(); }, [](const std::string& name) { return FileExists(name); },
                [this](const std::string& folder, const std::vector<std::string>& others) {
                    return AskOpenWithoutOthers(hwnd_, folder, others);
                }}) {}

// The window goes first: its toolbar uses the image lists until then.
TMainForm::~TMainForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TMainForm::Create(Options options) {
    options_ = std::move(options);
    if (!options_.registry) {
        ownRegistry_ = std::make_unique<Win32Registry>();
        options_.registry = ownRegistry_.get();
    }
    if (options_.languageId == 0) options_.languageId = UserDefaultLanguageId();
    if (!options_.updateCheck) options_.updateCheck = SystemUpdateCheckEnv;
    if (!options_.openWebsite) options_.openWebsite = OpenWebsite;
    askFileNo_ = std::make_unique<TAskFileNoForm>();
    compareForm_ = std::make_unique<TCompareForm>();
    filterForm_ = std::make_unique<TFilterForm>();
    HICON icon = LoadIcon(AppInstance(), MAKEINTRESOURCE(IDI_KAVLODEX));
    RegisterClassOnce(kMainClass, CS_DROPSHADOW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      icon ? icon : LoadIcon(nullptr, IDI_APPLICATION));
    dpi_ = ScreenDpi();
    const RECT r = CentredInWorkArea(Scale(kMainDesignWidth), Scale(kMainDesignHeight));
    CreateWindowOf(kMainClass, 0, std::string(kMainCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left,
                   r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr);
    if (!hwnd_) throw EKavloError("The main window could not be created.");
    // The settings dialog takes the type buttons' hints and images from the window.
    settingsForm_ = std::make_unique<TSettingsForm>(TSettingsForm::Setup{
        toolbar_.SmallImages(), TypeButtonHints(), std::string(kHideSystemObjectsHint), options_.updateCheck,
        [this](double today) { session_.Settings().CheckForUpdatesLastDate = today; }});
    std::string version, date;
    ReadOwnVersion(version, date);
    aboutForm_ = std::make_unique<TAboutForm>(version, date, options_.openLink);
}

void TMainForm::Show(int showCommand) {
    ShowWindow(hwnd_, maximizeAtShow_ ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(hwnd_);
}

void TMainForm::FormCreate() {
    // Column titles are row 0 of the visible list itself (the grid brings its own markers); the
    // drop target and the stored settings follow.
    frame_.Attach(hwnd_, [this] { return MinimumClientSize(); });
    toolbar_.Create(hwnd_, kToolBarId, dpi_, Scale(kMainDesignWidth));
    status_.Create(hwnd_, kStatusBarId, dpi_);
    grid_.Create(hwnd_, kGridId,
                 {[this](int col) { return !session_.Filters()[static_cast<size_t>(col)].empty(); },
                  [this] { CopyRowsCommand(Context(), grid_.Selection()); },
                  [this](int row) {
                      diffWindows_.Open(session_.Fob(1), session_.Fob(2), session_.List(), row,
                                        session_.LoadGeneration(), hwnd_, session_.Settings());
                  }});
    grid_.SetDpi(dpi_, &session_.Format());
    grid_.SetList(&session_.List());
    dropTarget_ =
        TDropPIDLTarget::Register(hwnd_, [this](const std::vector<std::string>& p) { DropPIDLTarget1Drop(p); });
    FormResize();  // the status bar takes its height, which the minimum size counts
    MeasureMinimumToolBar();
    LoadSettings(session_.Settings(), *this, *options_.registry, options_.languageId, options_.settingsKey);
    if (!ExcelInstalled()) toolbar_.SetHint(ToolButtonExcel, "Excel - is not installed");
    if (!PrintersInstalled()) toolbar_.SetHint(ToolButtonPrint, "Print - no printers installed");
    creating_ = false;
    FormResize();
    PostMessageA(hwnd_, kWmStartup, 0, 0);
}

void TMainForm::FormDestroy() {
    diffWindows_.CloseAll();
    mergeWindows_.CloseAll();
    dropTarget_.Revoke();
    SaveSettings(session_.Settings(), *this, *options_.registry, options_.settingsKey);
}

// The toolbar wraps its buttons onto more lines when the window is narrow: it is as tall as its
// last button reaches, plus 5. The grid with its scroll bar fills what the status bar leaves.
void TMainForm::FormResize() {
    if (!toolbar_.Handle() || !status_.Handle()) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int toolBarHeight = toolbar_.LayOut(client.right);
    status_.Resize();
    grid_.SetBounds(0, toolBarHeight, client.right,
                    std::max(0, static_cast<int>(client.bottom) - toolBarHeight - status_.Height()));
    if (!creating_) grid_.UpdateScrollBar();
}

void TMainForm::SizeToolButtonsClick(bool large) {
    toolbar_.SetLarge(large);
    session_.Settings().ToolButtonSize = large ? 1 : 0;
    MeasureMinimumToolBar();
    FormResize();
    FormResize();
    frame_.KeepMinimumSize();  // the large buttons wrap onto more lines
}

// ---- the list -----------------------------------------------------------------------------

// The grid lets go of the list while it is rebuilt from scratch.
void TMainForm::ListRebuilding() { grid_.SetList(nullptr); }

void TMainForm::ListRebuilt() {
    status_.SetTexts(session_.Built().Status);
    grid_.ResetPosition();
    grid_.SetList(&session_.List());
    toolbar_.ShowMode(session_.Built().LastMode);
}

void TMainForm::SetTypeButtonDown(int type, bool down) {
    session_.SetTypeSwitch(type, down);
    toolbar_.SetChecked(ToolButtonTableData + type, down);
}

// ---- the commands -------------------------------------------------------------------------

void TMainForm::Click(int button) {
    if (IsTypeButton(button)) {  // the button has flipped already
        const int type = button - ToolButtonTableData;
        session_.SetTypeSwitch(type, toolbar_.Checked(button));
        session_.BuildList(BuildMode::Off());
        return;
    }
    switch (button) {
        case ToolButtonClear: session_.Clear(); break;
        case ToolButtonOpenFile1:
        case ToolButtonOpenFile2:
            if (const std::optional<std::string> chosen = openFile_.Choose(hwnd_))
                session_.OpenFile(*chosen, button == ToolButtonOpenFile1 ? 1 : 2);
            break;
        case ToolButtonOpenFolder1:
        case ToolButtonOpenFolder2: {
            const int fileNo = button == ToolButtonOpenFolder1 ? 1 : 2;
            if (const std::optional<std::string> chosen = openFolder_.Choose(hwnd_, fileNo))
                session_.OpenFile(*chosen, fileNo);
            break;
        }
        case ToolButtonCompareEqual: ToolButtonCompareClick(BuildMode::Equal(), true); break;
        case ToolButtonCompareDifferent: ToolButtonCompareClick(BuildMode::Different(), true); break;
        case ToolButtonCompareOff: session_.BuildList(BuildMode::Off()); break;
        case ToolButtonCompareAdded: session_.BuildList(BuildMode::Added()); break;
        case ToolButtonCompareDeleted: session_.BuildList(BuildMode::Deleted()); break;
        case ToolButtonFilterAdd: ToolButtonFilterAddClick(); break;
        case ToolButtonFilterClear:
            session_.ClearFilters();
            PostMessageA(hwnd_, kWmFiltersChanged, 0, 0);
            break;
        case ToolButtonSave: SaveListCommand(Context(), session_.Settings().LastFileSaved); break;
        case ToolButtonPrint: PrintListCommand(Context(), session_.Fob(1).FileName(), session_.Fob(2).FileName()); break;
        case ToolButtonExcel: ExportToExcelCommand(Context()); break;
        case ToolButtonMarkObjectDesigner:
            MarkObjectDesignerCommand(Context(), session_.Settings(), options_.arguments, options_.desktop);
            break;
        case ToolButtonMakeFilterString: MakeFilterStringCommand(Context()); break;
        case ToolButtonMerge: ToolButtonMergeClick(); break;
        case ToolButtonSettings: ToolButtonSettingsClick(); break;
        case ToolButtonAbout: ToolButtonAboutClick(); break;
        default: break;
    }
}

CommandContext TMainForm::Context() { return ContextFor(hwnd_, session_.List()); }

CommandContext TMainForm::ContextFor(HWND owner, const TVisibleList& list) {
    return CommandContext{owner,
                          list,
                          session_.Format(),
                          [this, owner](std::string_view text) { ShowMessageText(text, owner); },
                          std::bind_front(&TStatusBar::ShowProgress, &status_),
                          std::bind_front(&TStatusBar::ShowNote, &status_)};
}

void TMainForm::ShowMessageText(std::string_view text, HWND owner) {
    const std::string s(text);
    if (!owner) owner = hwnd_;
    if (options_.showMessage) options_.showMessage(owner, s);
    else MessageBoxA(owner, s.c_str(), std::string(kApplicationTitle).c_str(), MB_OK);
}

void TMainForm::ToolButtonCompareClick(const BuildMode& mode, bool askSettings) {
    if (askSettings && !compareForm_->Edit(hwnd_, session_.Compare())) return;
    session_.BuildComparison(mode);
    // Contents of a text and an XML export (or a binary file) cannot be compared: say so once,
    // when the comparison is asked for, not on every rebuild.
    if (askSettings && !session_.Built().ContentNote.empty()) ShowMessageText(session_.Built().ContentNote + ".");
}

// After OK the toolbar takes the chosen size at once; everything else waits for the next start.
void TMainForm::ToolButtonSettingsClick() {
    if (!settingsForm_->Edit(hwnd_, session_.Settings())) return;
    const bool large = session_.Settings().ToolButtonSize != 0;
    if (large != toolbar_.Large()) SizeToolButtonsClick(large);
}

void TMainForm::ToolButtonAboutClick() {
    aboutForm_->SetAppName(WindowText(hwnd_));
    aboutForm_->Show(hwnd_);
}

void TMainForm::ToolButtonMergeClick() {
    std::shared_ptr<TMergeDocument> doc = ThreeWayMergeCommand(Context(), session_.Settings());
    if (!doc) return;
    MergeWindowCommands commands;
    commands.openObject = options_.openMergeObject;  // empty: the Merge windows' own object windows
    commands.mark = [this](HWND owner, const TVisibleList& list) {
        MarkObjectDesignerCommand(ContextFor(owner, list), session_.Settings(), options_.arguments, options_.desktop);
    };
    commands.save = [this](HWND owner, const TVisibleList& list) {
        SaveListCommand(ContextFor(owner, list), session_.Settings().LastFileSaved);
    };
    mergeWindows_.Open(std::move(doc), hwnd_, session_.Settings(), std::move(commands));
}

void TMainForm::ToolButtonFilterAddClick() {
    if (!filterForm_->Edit(hwnd_, session_.Filters(), 0)) return;
    PostMessageA(hwnd_, kWmFiltersChanged, 0, 0);
}

void TMainForm::WmEditFieldFilter(int column) {
    if (column < 0 || column >= kColumnCount) return;
    if (AskFieldFilter(hwnd_, session_.Filters(), column, session_.List().Cell(grid_.CurrentRow(), column)))
        PostMessageA(hwnd_, kWmFiltersChanged, 0, 0);
}

void TMainForm::WmFiltersChanged() {
    toolbar_.Enable(ToolButtonFilterClear, session_.NormaliseFilters());
    session_.Rebuild();
}

void TMainForm::WmStartup() {
    SizeToolButtonsClick(session_.Settings().ToolButtonSize == 1);
    if (UpdateCheckDue(session_.Settings(), LocalToday()))
        StartUpdateThread(hwnd_, kWmUpdateCheck, options_.updateCheck(hwnd_));
    toolbar_.Enable(ToolButtonFilterClear, false);
    session_.Start(options_.arguments);
}

void TMainForm::WmUpdateCheck(int result) {
    TakeUpdateCheckVerdict(hwnd_, result, session_.Settings().CheckForUpdatesLastDate, options_.openWebsite);
}

void TMainForm::DropPIDLTarget1Drop(const std::vector<std::string>& paths) {
    if (session_.Drop(paths)) PostMessageA(hwnd_, kWmLoadDropped, 0, 0);
}

void TMainForm::BringToFront() {
    if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
}

// ---- the keyboard -------------------------------------------------------------------------

void TMainForm::PressButton(int button) {
    if (IsTypeButton(button)) toolbar_.SetChecked(button, !toolbar_.Checked(button));
    Click(button);
}

bool TMainForm::PreTranslate(const MSG& msg) {
    if (mergeWindows_.PreTranslate(msg)) return true;
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN) return toolbar_.KeyDown(msg.wParam, grid_.Handle());
    if (msg.message != WM_KEYUP) return false;
    const std::optional<int> button = toolbar_.KeyUp(msg.wParam);
    if (!button) return false;
    // Whether or not the button is enabled.
    Guarded(hwnd_, [&] { *button == kReloadKey ? session_.Reload() : PressButton(*button); });
    return true;
}

// ---- the messages -------------------------------------------------------------------------

void TMainForm::OnDestroy() {
    FormDestroy();
    if (options_.quitOnClose) PostQuitMessage(0);
}

bool TMainForm::OnScroll(int bar, int code, HWND control) {
    if (bar == SB_VERT && control == grid_.ScrollBar()) grid_.ScrollBarScroll(code);
    return true;
}

bool TMainForm::OnCommand(int id, int, HWND) {
    if (id >= ToolButtonId(0) && id < ToolButtonId(kToolButtonCount)) Click(id - ToolButtonId(0));
    return true;
}

// The toolbar's hints, with the keys of their commands.
bool TMainForm::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != TTN_GETDISPINFOA) return false;
    toolbar_.GiveHint(reinterpret_cast<NMTTDISPINFOA&>(header));
    result = 0;
    return true;
}

bool TMainForm::OnContextMenu(HWND clicked, POINT screen) {
    if (clicked != toolbar_.Handle()) return false;
    if (const std::optional<bool> large = toolbar_.ChooseSize(hwnd_, screen)) SizeToolButtonsClick(*large);
    return true;
}

bool TMainForm::OnFocus(bool gained) {
    if (!gained) return false;
    SetFocus(grid_.Handle());
    return true;
}

// No hint outlives the window's activation.
void TMainForm::OnActivate(WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) return;
    status_.HideHint();
    grid_.HideHint();
}

bool TMainForm::OnAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Each private message to its handler.
    using Handler = void (*)(TMainForm&, WPARAM, LPARAM);
    static constexpr std::pair<UINT, Handler> kHandlers[] = {
        {kWmStartup, [](TMainForm& f, WPARAM, LPARAM) { f.WmStartup(); }},
        {kWmLoadDropped, [](TMainForm& f, WPARAM, LPARAM) { f.session_.LoadDropped(); }},
        {kWmUpdateCheck, [](TMainForm& f, WPARAM w, LPARAM) { f.WmUpdateCheck(static_cast<int32_t>(w)); }},
        {kWmEditFieldFilter,
         [](TMainForm& f, WPARAM w, LPARAM l) {
             if (l == 0) f.WmEditFieldFilter(static_cast<int>(w));
         }},
        {kWmFiltersChanged, [](TMainForm& f, WPARAM, LPARAM) { f.WmFiltersChanged(); }},
        {TFrameSize::kWmKeepMinimumSize, [](TMainForm& f, WPARAM, LPARAM) { f.frame_.KeepMinimumSize(); }},
    };
    for (const auto& [message, handle] : kHandlers)
        if (message == msg) {
            handle(*this, wParam, lParam);
            return true;
        }
    return false;
}

// ---- place and size -----------------------------------------------------------------------

// As wide as the status bar's panels side by side with the size grip, so that the counts at
// its right are never cut off (and as a toolbar button, which it always is). As high as the
// toolbar wrapped at that width, the grid with a few rows, and the status bar.
SIZE TMainForm::MinimumClientSize() const {
    if (!toolbar_.Handle() || !status_.Handle()) return {0, 0};
    return {MinimumClientWidth(), minToolBarHeight_ + grid_.HeightFor(kMinimumRows) + status_.Height()};
}

int TMainForm::MinimumClientWidth() const {
    return std::max<int>(status_.MinimumWidth(), LOWORD(toolbar_.ButtonSize()));
}

// The toolbar wraps onto the most lines in the narrowest window: laid out at that width, it is
// as tall as FormResize then makes it. FormResize lays it out again at the window's width.
void TMainForm::MeasureMinimumToolBar() { minToolBarHeight_ = toolbar_.LayOut(MinimumClientWidth(), true); }

}  // namespace kavlo
