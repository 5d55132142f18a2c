// The main window: its toolbar, grid, scroll bar and status bar, the private messages, the
// shortcuts, and the wiring of every button to its command.
#include "app/main_form_win.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <thread>

#include "app/about_form_win.h"
#include "app/ask_file_no_form_win.h"
#include "app/compare_form_win.h"
#include "app/drop_target_win.h"
#include "app/excel_command_win.h"
#include "app/filter_form_win.h"
#include "app/filter_string_command_win.h"
#include "app/main_messages.h"
#include "app/mark_command_win.h"
#include "app/print_command_win.h"
#include "app/save_command_win.h"
#include "app/settings_form_win.h"
#include "app/toolbar_images_win.h"
#include "gui/error_report.h"
#include "gui/clipboard_win.h"
#include "gui/compact_path_win.h"
#include "gui/file_dialog_win.h"
#include "gui/tracking_tip_win.h"
#include "listing/filter_string.h"
#include "objfile/load_object_file.h"
#include "output/text_list.h"
#include "marking/mark_probe.h"
#include "output/excel_automation_win.h"
#include "output/printers_win.h"
#include "res/resource.h"
#include "settings/registry_win.h"
#include "settings/update_check.h"
#include "settings/update_check_win.h"

namespace kavlo {

const std::array<const char*, kToolButtonCount> kToolButtonHints = {
    "Clear", "Open File 1", "Open File 2",
    "TableData", "Table", "Form", "Report", "Dataport", "Codeunit", "XMLport", "MenuSuite", "Page", "Query",
    "Show objects that are equal in both files", "Show objects that are different in both files",
    "Show all objects of selected types", "Show objects that are added in file 2",
    "Show objects that are deleted in file 2",
    "Add Filter  Ctrl+F7", "Clear Filters  Shift+Ctrl+F7",
    "Save  Ctrl+S", "Print  Ctrl+P", "Excel  Ctrl+E",
    "Mark objects in Navision Object Designer  Ctrl+M", "Save Filter String to Clipboard  Ctrl+F",
    "Settings", "About"};

namespace {

// The keys of the commands, acting when the key is released with exactly these modifiers. The
// ones the toolbar's hints do not name yet are added to them at start.
struct Shortcut {
    WPARAM vk;
    bool ctrl, shift;
    int button;  // kReload: F5, which has no button
    const char* name;
};
constexpr int kReload = -1;
constexpr Shortcut kShortcuts[] = {
    {VK_F7, true, false, ToolButtonFilterAdd, nullptr},
    {VK_F7, true, true, ToolButtonFilterClear, nullptr},
    {'S', true, false, ToolButtonSave, nullptr},
    {'P', true, false, ToolButtonPrint, nullptr},
    {'E', true, false, ToolButtonExcel, nullptr},
    {'M', true, false, ToolButtonMarkObjectDesigner, nullptr},
    {'F', true, false, ToolButtonMakeFilterString, nullptr},
    {'N', true, false, ToolButtonClear, "Ctrl+N"},
    {'O', true, false, ToolButtonOpenFile1, "Ctrl+O"},
    {'O', true, true, ToolButtonOpenFile2, "Ctrl+Shift+O"},
    {'1', true, false, ToolButtonCompareEqual, "Ctrl+1"},
    {'2', true, false, ToolButtonCompareDifferent, "Ctrl+2"},
    {'3', true, false, ToolButtonCompareOff, "Ctrl+3"},
    {'4', true, false, ToolButtonCompareAdded, "Ctrl+4"},
    {'5', true, false, ToolButtonCompareDeleted, "Ctrl+5"},
    {VK_F5, false, false, kReload, nullptr},
    // The type switches, in toolbar order: Ctrl+Shift+1 to Ctrl+Shift+9, then Ctrl+Shift+0.
    {'1', true, true, ToolButtonTableData, "Ctrl+Shift+1"},
    {'2', true, true, ToolButtonTable, "Ctrl+Shift+2"},
    {'3', true, true, ToolButtonForm, "Ctrl+Shift+3"},
    {'4', true, true, ToolButtonReport, "Ctrl+Shift+4"},
    {'5', true, true, ToolButtonDataport, "Ctrl+Shift+5"},
    {'6', true, true, ToolButtonCodeunit, "Ctrl+Shift+6"},
    {'7', true, true, ToolButtonXMLport, "Ctrl+Shift+7"},
    {'8', true, true, ToolButtonMenuSuite, "Ctrl+Shift+8"},
    {'9', true, true, ToolButtonPage, "Ctrl+Shift+9"},
    {'0', true, true, ToolButtonQuery, "Ctrl+Shift+0"},
};

const char kMainClass[] = "TMainForm";
constexpr int kDesignWidth = 775, kDesignHeight = 520;
constexpr int kMinimumRows = 3;  // the data rows the grid shows at the window's smallest height
constexpr UINT kWmKeepMinimumSize = WM_APP + 1;  // grows the window to its minimum size
constexpr int kGridId = 10, kScrollBarId = 11, kToolBarId = 12, kStatusBarId = 13;
constexpr int kMenuSmall = 201, kMenuLarge = 202;
// The last button of each group, after which a separator follows.
constexpr int kGroupEnds[] = {ToolButtonClear, ToolButtonOpenFile2, ToolButtonQuery, ToolButtonCompareDeleted,
                              ToolButtonFilterClear, ToolButtonExcel, ToolButtonMakeFilterString,
                              ToolButtonSettings};

bool IsTypeButton(int b) { return b >= ToolButtonTableData && b <= ToolButtonQuery; }

// A frame being dragged (WM_SIZING, `edge` the WMSZ_ side or corner) stops at the minimum size:
// the edge that moves is held back, the opposite one stays where it is.
void KeepSizingRectAtLeast(RECT& r, SIZE minimum, WPARAM edge) {
    if (r.right - r.left < minimum.cx) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) r.left = r.right - minimum.cx;
        else r.right = r.left + minimum.cx;
    }
    if (r.bottom - r.top < minimum.cy) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) r.top = r.bottom - minimum.cy;
        else r.bottom = r.top + minimum.cy;
    }
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace

LRESULT CALLBACK TMainForm::StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<TMainForm*>(data);
    if (msg == WM_MOUSEMOVE) {
        // The pointer leaving the status bar hides the hint (WM_MOUSELEAVE, asked for once).
        if (!self->statusTracking_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            self->statusTracking_ = TrackMouseEvent(&track) != FALSE;
        }
        Guarded(GetParent(hwnd), [&] { self->StatusBarMouseMove(GET_X_LPARAM(lParam)); });
    } else if (msg == WM_MOUSELEAVE) {
        self->statusTracking_ = false;
        self->HideStatusHint();
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TMainForm::TMainForm() {
    for (int i = 0; i < kToolButtonCount; ++i) hints_[static_cast<size_t>(i)] = kToolButtonHints[static_cast<size_t>(i)];
    for (const Shortcut& k : kShortcuts)
        if (k.name) hints_[static_cast<size_t>(k.button)] += std::string("  ") + k.name;
}

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
    askFileNo_ = std::make_unique<TAskFileNoForm>();
    compareForm_ = std::make_unique<TCompareForm>();
    filterForm_ = std::make_unique<TFilterForm>();
    HICON icon = LoadIcon(AppInstance(), MAKEINTRESOURCE(IDI_KAVLODEX));
    RegisterClassOnce(kMainClass, CS_DROPSHADOW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      icon ? icon : LoadIcon(nullptr, IDI_APPLICATION));
    dpi_ = ScreenDpi();
    for (size_t i = 0; i < kStatusPanelWidths.size(); ++i) statusWidths_[i] = Scale(kStatusPanelWidths[i]);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(Scale(kDesignWidth), work.right - work.left);
    const int height = std::min<int>(Scale(kDesignHeight), work.bottom - work.top);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    CreateWindowOf(kMainClass, 0, std::string(kMainCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                   width, height, nullptr, nullptr);
    if (!hwnd_) throw EKavloError("The main window could not be created.");
    // The settings dialog takes the type buttons' hints (without their keys) and images from the window.
    TSettingsForm::Setup setup;
    setup.smallImages = smallImages_.get();
    for (int t = 0; t < kObjectTypeCount; ++t)
        setup.typeCaptions[static_cast<size_t>(t)] = kToolButtonHints[static_cast<size_t>(ToolButtonTableData + t)];
    setup.hideSystemCaption = std::string(kHideSystemObjectsHint);
    setup.updateCheck = options_.updateCheck;
    setup.checked = [this](double today) { settings_.CheckForUpdatesLastDate = today; };
    settingsForm_ = std::make_unique<TSettingsForm>(std::move(setup));
    std::string version, date;
    ReadOwnVersion(version, date);
    aboutForm_ = std::make_unique<TAboutForm>(version, date, options_.openLink);
}

void TMainForm::Show(int showCommand) {
    ShowWindow(hwnd_, maximizeAtShow_ ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(hwnd_);
}

void TMainForm::FormCreate() {
    // Column titles are row 0 of the visible list itself; the markers, the drop target and the
    // stored settings follow.
    CreateToolBar();
    CreateStatusBar();
    grid_.Create(hwnd_, kGridId,
                 {[this] { GridTopLeftChanged(); }, [this] { UpdateScrollBar(); },
                  [this](int col) { return !filters_[static_cast<size_t>(col)].empty(); },
                  [this] { CopySelectedRows(); },
                  [this](int row) { diffWindows_.Open(fob1_, fob2_, built_.List, row, loads_, hwnd_, settings_); }});
    grid_.SetDpi(dpi_, &regional_.format);
    scrollbar_ = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, ScrollBarWidth(),
                                 100, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kScrollBarId)),
                                 AppInstance(), nullptr);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD, 0, 0, 10, 10, hwnd_, nullptr, AppInstance(),
                                nullptr);
    LoadMarkers();
    grid_.SetList(&built_.List);
    dropTarget_ =
        TDropPIDLTarget::Register(hwnd_, [this](const std::vector<std::string>& p) { DropPIDLTarget1Drop(p); });
    FormResize();  // the status bar takes its height, which the minimum size counts
    MeasureMinimumToolBar();
    LoadSettings(settings_, *this, *options_.registry, options_.languageId, options_.settingsKey);
    if (!ExcelInstalled()) hints_[ToolButtonExcel] = "Excel - is not installed";
    if (!PrintersInstalled()) hints_[ToolButtonPrint] = "Print - no printers installed";
    creating_ = false;
    FormResize();
    PostMessageA(hwnd_, kWmStartup, 0, 0);
}

void TMainForm::FormDestroy() {
    diffWindows_.CloseAll();
    dropTarget_.Revoke();
    fob1_.Clear();
    fob2_.Clear();
    SaveSettings(settings_, *this, *options_.registry, options_.settingsKey);
}

void TMainForm::CreateToolBar() {
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   TBSTYLE_WRAPABLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                               0, 0, Scale(kDesignWidth), Scale(29), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolBarId)),
                               AppInstance(), nullptr);
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The large images are drawn when they are first shown: most starts never need them.
    ToolbarImageLists small = CreateToolbarImageLists(ImageSize(false));
    smallImages_ = std::move(small.normal);
    smallDisabledImages_ = std::move(small.disabled);
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(smallImages_.get()));
    SendMessageA(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(smallDisabledImages_.get()));
    std::vector<TBBUTTON> buttons;
    for (int b = 0; b < kToolButtonCount; ++b) {
        TBBUTTON tb{};
        tb.iBitmap = b;
        tb.idCommand = ToolButtonId(b);
        tb.fsState = TBSTATE_ENABLED;
        tb.fsStyle = static_cast<BYTE>(IsTypeButton(b) ? BTNS_CHECK : BTNS_BUTTON);
        buttons.push_back(tb);
        if (std::find(std::begin(kGroupEnds), std::end(kGroupEnds), b) != std::end(kGroupEnds)) {
            TBBUTTON sep{};
            sep.fsStyle = BTNS_SEP;
            sep.iBitmap = Scale(6);
            buttons.push_back(sep);
        }
    }
    SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SetToolButtonSizes(false);
}

int TMainForm::ImageSize(bool large) const {
    return NearestToolbarImageSize(Scale(large ? kToolbarLarge : kToolbarSmall));
}

// A button is its image plus 7 pixels wide and 6 high (23 × 22 for the small images at 96 DPI).
void TMainForm::SetToolButtonSizes(bool large) {
    const int image = ImageSize(large);
    SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELONG(image, image));
    SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELONG(image + Scale(7), image + Scale(6)));
}

void TMainForm::CreateStatusBar() {
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), AppInstance(), nullptr);
    int edges[kStatusPanelWidths.size()];
    int right = 0;
    for (size_t i = 0; i < statusWidths_.size(); ++i) {
        right += statusWidths_[i];
        edges[i] = right;
    }
    edges[statusWidths_.size() - 1] = -1;  // the last panel reaches the right edge
    SendMessageA(status_, SB_SETPARTS, statusWidths_.size(), reinterpret_cast<LPARAM>(edges));
    SetWindowSubclass(status_, StatusBarProc, 1, reinterpret_cast<DWORD_PTR>(this));
    statusTip_ = CreateTrackingTip(hwnd_, reinterpret_cast<UINT_PTR>(status_), statusTool_);
}

void TMainForm::LoadMarkers() {
    marker1_.reset(LoadBitmapA(AppInstance(), "file1"));
    marker2_.reset(LoadBitmapA(AppInstance(), "file2"));
    if (!marker1_ || !marker2_) {  // one without the other would be misleading: neither is drawn
        marker1_.reset();
        marker2_.reset();
    }
    grid_.SetMarkers(marker1_.get(), marker2_.get());
}

std::string TMainForm::StatusText(int panel) const {
    return panel >= 0 && panel < kStatusPanelCount ? built_.Status[static_cast<size_t>(panel)] : std::string();
}

std::string TMainForm::ShownStatusText(int panel) const {
    char buffer[1024] = {};
    const LRESULT len = SendMessageA(status_, SB_GETTEXTLENGTHA, panel, 0);
    if (LOWORD(len) >= sizeof buffer) return StatusText(panel);
    SendMessageA(status_, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// The text as a panel shows it: a file name too long for its panel loses the middle of its
// path ("C:\Projects\...\objects.fob"), so that the file's own name stays in view; the hint
// shows it whole.
std::string TMainForm::PanelText(int panel) const {
    std::string text = StatusText(panel);
    if (panel != 1 && panel != 2) return text;
    RECT part{};
    SendMessageA(status_, SB_GETRECT, panel, reinterpret_cast<LPARAM>(&part));
    const WindowDc dc(status_);
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(status_, WM_GETFONT, 0, 0)));
    return CompactPathToWidth(dc.get(), text, std::max<int>(part.right - part.left - 8, 16));
}

bool TMainForm::TypeButtonDown(int type) const {
    return SendMessageA(toolbar_, TB_ISBUTTONCHECKED, ToolButtonId(ToolButtonTableData + type), 0) != 0;
}

TypeSwitches TMainForm::TypeSwitchStates() const {
    TypeSwitches t{};
    for (int i = 0; i < kObjectTypeCount; ++i) t[static_cast<size_t>(i)] = TypeButtonDown(i);
    return t;
}

void TMainForm::SetTypeButtonDown(int type, bool down) {
    SendMessageA(toolbar_, TB_CHECKBUTTON, ToolButtonId(ToolButtonTableData + type), MAKELONG(down ? TRUE : FALSE, 0));
}

void TMainForm::RestorePosition(int32_t left, int32_t top, std::optional<int32_t> width, std::optional<int32_t> height,
                                int32_t storedDpi) {
    // The stored rectangle is the window placement's, in workspace coordinates; setting it back
    // the same way keeps the window where it was also with a taskbar at the top or the left.
    WINDOWPLACEMENT wp{sizeof wp};
    GetWindowPlacement(hwnd_, &wp);
    const RECT& now = wp.rcNormalPosition;
    // A size stored at another DPI holds the same text and rows at this one once it is scaled,
    // as the design size is; it never goes below the minimum size.
    const auto scaled = [&](int32_t pixels) { return storedDpi == dpi_ ? pixels : MulDiv(pixels, dpi_, storedDpi); };
    const SIZE minimum = MinimumSize();
    int32_t w = std::max<int32_t>(width ? scaled(*width) : now.right - now.left, minimum.cx);
    int32_t h = std::max<int32_t>(height ? scaled(*height) : now.bottom - now.top, minimum.cy);
    if (storedDpi != dpi_) {
        // Grown by the scaling, the window is kept on the work area (which starts at 0, 0 in
        // workspace coordinates).
        const RECT work = WorkArea();
        w = std::min<int32_t>(w, work.right - work.left);
        h = std::min<int32_t>(h, work.bottom - work.top);
        left = std::clamp<int32_t>(left, 0, work.right - work.left - w);
        top = std::clamp<int32_t>(top, 0, work.bottom - work.top - h);
    }
    wp.rcNormalPosition = RECT{left, top, left + w, top + h};
    wp.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWNORMAL : SW_HIDE;
    wp.flags = 0;
    SetWindowPlacement(hwnd_, &wp);
}

void TMainForm::SetMaximized() { maximizeAtShow_ = true; }

std::optional<SettingsPlacement> TMainForm::Placement() const {
    WINDOWPLACEMENT wp{sizeof wp};
    if (!hwnd_ || !GetWindowPlacement(hwnd_, &wp)) return std::nullopt;
    SettingsPlacement p;
    p.left = wp.rcNormalPosition.left;
    p.top = wp.rcNormalPosition.top;
    p.right = wp.rcNormalPosition.right;
    p.bottom = wp.rcNormalPosition.bottom;
    p.maximized = wp.showCmd == SW_SHOWMAXIMIZED || IsZoomed(hwnd_);
    p.dpi = dpi_;
    return p;
}

// As wide as the status bar's panels side by side with the size grip, so that the counts at
// its right are never cut off (and as a toolbar button, which it always is).
int TMainForm::MinimumClientWidth() const {
    int width = GetSystemMetrics(SM_CXVSCROLL);  // the size grip
    for (const int panel : statusWidths_) width += panel;
    const int button = LOWORD(SendMessageA(toolbar_, TB_GETBUTTONSIZE, 0, 0));
    return std::max(width, button);
}

// The window's smallest outer size: the minimum client width; as high as the toolbar wrapped
// at that width, the grid's header and a few rows (within its frame, under its horizontal
// scroll bar) and the status bar. Never more than the work area.
SIZE TMainForm::MinimumSize() const {
    if (!toolbar_ || !status_) return {0, 0};
    const int gridHeight = grid_.RowHeight() + kMinimumRows * (grid_.RowHeight() + kGridLineWidth) +
                           2 * GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYHSCROLL);
    RECT status{};
    GetWindowRect(status_, &status);
    RECT r{0, 0, MinimumClientWidth(), minToolBarHeight_ + gridHeight + (status.bottom - status.top)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    const RECT work = WorkArea();
    return {std::min(r.right - r.left, work.right - work.left), std::min(r.bottom - r.top, work.bottom - work.top)};
}

// The toolbar wraps onto the most lines in the narrowest window: laid out at that width, it is
// as tall as FormResize then makes it. FormResize lays it out again at the window's width.
void TMainForm::MeasureMinimumToolBar() {
    RECT now{};
    GetWindowRect(toolbar_, &now);
    MoveWindow(toolbar_, 0, 0, MinimumClientWidth(), std::max<int>(now.bottom - now.top, Scale(29)), FALSE);
    const int count = static_cast<int>(SendMessageA(toolbar_, TB_BUTTONCOUNT, 0, 0));
    RECT last{};
    SendMessageA(toolbar_, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    minToolBarHeight_ = last.bottom + Scale(5);
    MoveWindow(toolbar_, 0, 0, now.right - now.left, now.bottom - now.top, FALSE);
}

void TMainForm::KeepMinimumSize() {
    const SIZE minimum = MinimumSize();
    WINDOWPLACEMENT wp{sizeof wp};
    if (!GetWindowPlacement(hwnd_, &wp)) return;
    RECT& r = wp.rcNormalPosition;
    if (r.right - r.left >= minimum.cx && r.bottom - r.top >= minimum.cy) return;
    r.right = r.left + std::max<LONG>(r.right - r.left, minimum.cx);
    r.bottom = r.top + std::max<LONG>(r.bottom - r.top, minimum.cy);
    if (IsWindowVisible(hwnd_) && !IsZoomed(hwnd_) && !IsIconic(hwnd_)) {
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (!IsWindowVisible(hwnd_)) wp.showCmd = SW_HIDE;
    wp.flags = 0;
    SetWindowPlacement(hwnd_, &wp);
}

void TMainForm::SizeToolButtonsClick(bool large) {
    if (large && !largeImages_) {
        ToolbarImageLists lists = CreateToolbarImageLists(ImageSize(true));
        largeImages_ = std::move(lists.normal);
        largeDisabledImages_ = std::move(lists.disabled);
    }
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>((large ? largeImages_ : smallImages_).get()));
    SendMessageA(toolbar_, TB_SETDISABLEDIMAGELIST, 0,
                 reinterpret_cast<LPARAM>((large ? largeDisabledImages_ : smallDisabledImages_).get()));
    SetToolButtonSizes(large);
    settings_.ToolButtonSize = large ? 1 : 0;
    largeShown_ = large;
    MeasureMinimumToolBar();
    FormResize();
    FormResize();
    KeepMinimumSize();  // the large buttons wrap onto more lines
}

void TMainForm::ToolBarContextMenu(POINT screen) {
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, kMenuSmall, "&Small Tool Buttons");
    AppendMenuA(menu.get(), MF_STRING, kMenuLarge, "&Large Tool Buttons");
    CheckMenuRadioItem(menu.get(), kMenuSmall, kMenuLarge, LargeButtons() ? kMenuLarge : kMenuSmall, MF_BYCOMMAND);
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr);
    if (chosen == kMenuSmall) SizeToolButtonsClick(false);
    if (chosen == kMenuLarge) SizeToolButtonsClick(true);
}

void TMainForm::FormResize() {
    if (!toolbar_ || !status_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int w = client.right;
    // The toolbar wraps its buttons onto more lines when the window is narrow: it is as tall as
    // its last button reaches, plus 5.
    RECT tbNow{};
    GetWindowRect(toolbar_, &tbNow);
    MoveWindow(toolbar_, 0, 0, w, std::max<int>(tbNow.bottom - tbNow.top, Scale(29)), TRUE);
    const int count = static_cast<int>(SendMessageA(toolbar_, TB_BUTTONCOUNT, 0, 0));
    RECT last{};
    SendMessageA(toolbar_, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    const int tbHeight = last.bottom + Scale(5);
    MoveWindow(toolbar_, 0, 0, w, tbHeight, TRUE);
    SendMessageA(status_, WM_SIZE, 0, 0);
    InvalidateRect(status_, nullptr, TRUE);  // the size grip is drawn where it is now, nowhere else
    RECT sb{};
    GetWindowRect(status_, &sb);
    const int sbHeight = sb.bottom - sb.top;
    const int gridHeight = std::max(0, static_cast<int>(client.bottom) - tbHeight - sbHeight);
    MoveWindow(scrollbar_, std::max(0, w - ScrollBarWidth()), tbHeight, ScrollBarWidth(), gridHeight, TRUE);
    MoveWindow(grid_.Handle(), 0, tbHeight, std::max(0, w - ScrollBarWidth()), gridHeight, TRUE);
    UpdateScrollBar();
}

void TMainForm::UpdateScrollBar() {
    if (creating_ || !scrollbar_) return;
    scroll_.rowCount = grid_.RowCount();
    scroll_.clientHeight = grid_.ClientHeight();
    scroll_.rowHeight = grid_.RowHeight();
    scroll_.topRow = grid_.TopRow();
    scroll_.currentRow = grid_.CurrentRow();
    UpdateScrollBarState(scroll_);
    EnableWindow(scrollbar_, scroll_.enabled ? TRUE : FALSE);
    if (!scroll_.enabled) return;
    SCROLLINFO si{sizeof si};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = scroll_.minimum;
    si.nMax = scroll_.maximum;
    si.nPage = static_cast<UINT>(scroll_.page);
    si.nPos = scroll_.position;
    SetScrollInfo(scrollbar_, SB_CTL, &si, TRUE);
    if (grid_.TopRow() != scroll_.topRow) grid_.SetTopRow(scroll_.topRow);
    else GridTopLeftChanged();
}

void TMainForm::GridTopLeftChanged() {
    if (!scrollbar_) return;
    scroll_.rowCount = grid_.RowCount();
    scroll_.topRow = grid_.TopRow();
    scroll_.currentRow = grid_.CurrentRow();
    ApplyTopRowToScrollBar(scroll_);
    SetScrollPos(scrollbar_, SB_CTL, scroll_.position, TRUE);
}

void TMainForm::ScrollBarScroll(int code) {
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(scrollbar_, SB_CTL, &si);
    int pos = scroll_.position;
    switch (code) {
        case SB_LINEUP: pos -= scroll_.smallChange; break;
        case SB_LINEDOWN: pos += scroll_.smallChange; break;
        case SB_PAGEUP: pos -= scroll_.largeChange; break;
        case SB_PAGEDOWN: pos += scroll_.largeChange; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: pos = scroll_.minimum; break;
        case SB_BOTTOM: pos = scroll_.maximum; break;
        default: return;
    }
    pos = std::max(pos, scroll_.minimum);
    scroll_.rowCount = grid_.RowCount();
    scroll_.clientHeight = grid_.ClientHeight();
    scroll_.rowHeight = grid_.RowHeight();
    ApplyScrollPosition(scroll_, pos);
    SetScrollPos(scrollbar_, SB_CTL, std::min(pos, ComputeScrollMetrics(scroll_).maxPos), TRUE);
    grid_.SetTopRow(scroll_.topRow);
}

void TMainForm::StatusBarMouseMove(int x) {
    const int panel = StatusPanelAt(statusWidths_, x);
    const std::string text = panel < 0 ? std::string() : StatusText(panel);
    if (text.empty()) {
        HideStatusHint();
        return;
    }
    if (statusHint_ == text) return;
    statusHint_ = text;
    statusTool_.lpszText = statusHint_.data();
    SendMessageA(statusTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&statusTool_));
    POINT pt{};
    GetCursorPos(&pt);
    SendMessageA(statusTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x + 12, pt.y - 24));
    SendMessageA(statusTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&statusTool_));
}

void TMainForm::HideStatusHint() {
    if (!statusHint_.empty()) SendMessageA(statusTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&statusTool_));
    statusHint_.clear();
}

void TMainForm::ShowProgress(bool visible, int minimum, int maximum, int position) {
    if (!visible) {
        ShowWindow(progress_, SW_HIDE);
        return;
    }
    if (position <= 0) {
        const ProgressPlace p = ProgressPlacement(statusWidths_);
        SendMessageA(progress_, PBM_SETRANGE32, minimum, maximum);
        SendMessageA(progress_, PBM_SETPOS, position, 0);
        SetParent(progress_, status_);
        RECT sb{};
        GetClientRect(status_, &sb);
        MoveWindow(progress_, p.left, p.top, p.width, sb.bottom - p.top, TRUE);
        ShowWindow(progress_, SW_SHOW);
        return;
    }
    SendMessageA(progress_, PBM_SETPOS, position, 0);
}

void TMainForm::BuildList(const BuildMode& mode) {
    HourglassGuard hourglass;
    // The grid shows no rows while the list is rebuilt from scratch.
    const ListSources sources{fob1_, fob2_, TypeSwitchStates(), settings_.HideSystemObjects, compare_,
                              filters_, static_cast<uint64_t>(loads_) + 1};
    grid_.SetList(nullptr);
    kavlo::BuildList(mode, sources, built_);
    // The panels are drawn once for all their texts, not once for each.
    SendMessageA(status_, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kStatusPanelCount; ++i)
        SendMessageA(status_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(PanelText(i).c_str()));
    SendMessageA(status_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(status_, nullptr, TRUE);
    grid_.ResetPosition();
    grid_.SetList(&built_.List);
    ShowModeInForce();
}

// The button of the mode the list was built in is drawn pressed (checked); the buttons still
// act as push buttons.
void TMainForm::ShowModeInForce() {
    const std::pair<int, bool> modes[] = {
        {ToolButtonCompareEqual, built_.LastMode.CompareEqual},
        {ToolButtonCompareDifferent, built_.LastMode.CompareDifferent},
        {ToolButtonCompareOff, built_.LastMode.CompareOff},
        {ToolButtonCompareAdded, built_.LastMode.CompareAdded},
        {ToolButtonCompareDeleted, built_.LastMode.CompareDeleted},
    };
    for (const auto& [button, on] : modes)
        SendMessageA(toolbar_, TB_CHECKBUTTON, ToolButtonId(button), MAKELONG(on ? TRUE : FALSE, 0));
}

void TMainForm::BringToFront() {
    if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
}

void TMainForm::LoadIntoSlot(const std::string& fileName, int fileNo, bool ask) {
    int number = fileNo;
    if (ask) {
        const bool chosen = askFileNo_->Edit(hwnd_, number);
        BringToFront();
        if (!chosen) return;
    }
    HourglassGuard hourglass;
    TFob& fob = number == 1 ? fob1_ : fob2_;
    ++loads_;
    LoadObjectFile(fob, number == 1 ? 1 : 2, fileName, regional_.Get());
}

// As LoadIntoSlot for file 1 and then for file 2, but file 2 is read on a second thread while
// file 1 is read: two whole-database exports load in the time of the larger. Slot 2 takes what
// was read only when file 1 loaded, as it would have been loaded only then; a failure of file 2
// leaves in it what was read before the failure, as LoadIntoSlot does.
void TMainForm::LoadBothSlots(const std::string& file1, const std::string& file2) {
    HourglassGuard hourglass;
    const Regional regional = regional_.Get();
    TFob second;
    std::exception_ptr secondFailed;
    std::thread reader([&] {
        try {
            LoadObjectFile(second, 2, file2, regional);
        } catch (...) {
            secondFailed = std::current_exception();
        }
    });
    try {
        ++loads_;
        LoadObjectFile(fob1_, 1, file1, regional);
    } catch (...) {
        reader.join();
        throw;
    }
    reader.join();
    ++loads_;
    fob2_ = std::move(second);
    if (secondFailed) std::rethrow_exception(secondFailed);
}

void TMainForm::ToolButtonOpenFileClick(int fileNo) {
    static const char kFilter[] =
        "Supported files (*.fob;*.fbk;*.txt;*.xml)\0*.fob;*.fbk;*.txt;*.xml\0Object files (*.fob)\0*.fob\0"
        "Backup files (*.fbk)\0*.fbk\0Text Object files (*.txt)\0*.txt\0XML Object files (*.xml)\0*.xml\0"
        "All files\0*.*\0";
    const std::optional<std::string> chosen =
        RunFileDialog(hwnd_, kFilter, openFileName_, openInitialDir_, OFN_FILEMUSTEXIST, false);
    if (!chosen) return;
    openFileName_ = *chosen;
    // One dialog for both commands: the next use starts where this one ended.
    const size_t slash = openFileName_.find_last_of("\\/");
    if (slash != std::string::npos) openInitialDir_ = openFileName_.substr(0, slash);
    TFob::CheckFileType(openFileName_);
    LoadIntoSlot(openFileName_, fileNo, false);
    BuildList(BuildMode::Off());
}

void TMainForm::ToolButtonClearClick() {
    droppedCount_ = 0;
    droppedNames_ = {};
    ++loads_;
    fob1_.Clear();
    fob2_.Clear();
    BuildList(BuildMode::Off());
}

void TMainForm::ToolButtonCompareClick(const BuildMode& mode, bool askSettings) {
    if (askSettings && !compareForm_->Edit(hwnd_, compare_)) return;
    // "Content" is kept from run to run; the other boxes hold for this run only.
    settings_.CompareContent = compare_.CompareContent;
    BuildList(mode);
    // Contents of a text and an XML export (or a binary file) cannot be compared: say so once,
    // when the comparison is asked for, not on every rebuild.
    if (askSettings && !built_.ContentNote.empty()) ShowMessageText(built_.ContentNote + ".");
}

void TMainForm::ShowMessageText(std::string_view text) {
    const std::string s(text);
    if (options_.showMessage) options_.showMessage(hwnd_, s);
    else MessageBoxA(hwnd_, s.c_str(), std::string(kApplicationTitle).c_str(), MB_OK);
}

void TMainForm::NotBuiltYet(int button) {
    ShowMessageText("\"" + std::string(kToolButtonHints[static_cast<size_t>(button)]) +
                    "\" is not available in this version yet.");
}

CommandContext TMainForm::Context() {
    return CommandContext{hwnd_, built_.List, regional_.format, [this](std::string_view text) { ShowMessageText(text); },
                          [this](bool visible, int minimum, int maximum, int position) {
                              ShowProgress(visible, minimum, maximum, position);
                          },
                          [this](std::string_view text) { ShowStatusNote(text); }};
}

// A note takes the panel that the progress bar covered, where the eye already is, for a few
// seconds; then the panel shows its own text again (its hint shows that text all along).
void TMainForm::ShowStatusNote(std::string_view text) {
    const int panel = ProgressPlacement(statusWidths_).panel;
    SendMessageA(status_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(std::string(text).c_str()));
    SetTimer(hwnd_, kStatusNoteTimer, kStatusNoteMs, nullptr);
}

// After OK the toolbar takes the chosen size at once; everything else waits for the next start.
void TMainForm::ToolButtonSettingsClick() {
    if (!settingsForm_->Edit(hwnd_, settings_)) return;
    const bool large = settings_.ToolButtonSize != 0;
    if (large != largeShown_) SizeToolButtonsClick(large);
}

void TMainForm::ToolButtonAboutClick() {
    aboutForm_->SetAppName(WindowText(hwnd_));
    aboutForm_->Show(hwnd_);
}

void TMainForm::ToolButtonFilterAddClick() {
    if (!filterForm_->Edit(hwnd_, filters_, 0)) return;
    PostMessageA(hwnd_, kWmFiltersChanged, 0, 0);
}

void TMainForm::WmEditFieldFilter(int column) {
    if (column < 0 || column >= kColumnCount) return;
    std::string value = FieldFilterValue(filters_, column, built_.List.Cell(grid_.CurrentRow(), column));
    if (!InputQuery(hwnd_, "Field Filter", FieldFilterLabel(column), value)) return;
    filters_[static_cast<size_t>(column)] = value;
    PostMessageA(hwnd_, kWmFiltersChanged, 0, 0);
}

void TMainForm::Click(int button) {
    if (IsTypeButton(button)) {
        BuildList(BuildMode::Off());
        return;
    }
    switch (button) {
        case ToolButtonClear: ToolButtonClearClick(); break;
        case ToolButtonOpenFile1: ToolButtonOpenFileClick(1); break;
        case ToolButtonOpenFile2: ToolButtonOpenFileClick(2); break;
        case ToolButtonCompareEqual: ToolButtonCompareClick(BuildMode::Equal(), true); break;
        case ToolButtonCompareDifferent: ToolButtonCompareClick(BuildMode::Different(), true); break;
        case ToolButtonCompareOff: BuildList(BuildMode::Off()); break;
        case ToolButtonCompareAdded: BuildList(BuildMode::Added()); break;
        case ToolButtonCompareDeleted: BuildList(BuildMode::Deleted()); break;
        case ToolButtonFilterAdd: ToolButtonFilterAddClick(); break;
        case ToolButtonSave: SaveListCommand(Context(), settings_.LastFileSaved); break;
        case ToolButtonPrint: PrintListCommand(Context(), fob1_.FileName(), fob2_.FileName()); break;
        case ToolButtonExcel: ExportToExcelCommand(Context()); break;
        case ToolButtonMakeFilterString: MakeFilterStringCommand(Context()); break;
        case ToolButtonMarkObjectDesigner: MarkObjectDesignerCommand(Context(), settings_, options_.arguments, options_.desktop); break;
        case ToolButtonFilterClear:
            for (std::string& f : filters_) f.clear();
            PostMessageA(hwnd_, kWmFiltersChanged, 0, 0);
            break;
        case ToolButtonSettings: ToolButtonSettingsClick(); break;
        case ToolButtonAbout: ToolButtonAboutClick(); break;
        default: NotBuiltYet(button); break;
    }
}

// A button pressed from the keyboard: a type switch flips first, as its click does.
void TMainForm::PressButton(int button) {
    if (IsTypeButton(button)) SetTypeButtonDown(button - ToolButtonTableData, !TypeButtonDown(button - ToolButtonTableData));
    Click(button);
}

bool TMainForm::PreTranslate(const MSG& msg) {
    if (msg.message == WM_KEYDOWN && hwnd_ && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd)))
        return ToolBarKeyDown(msg.wParam);
    if (msg.message != WM_KEYUP || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    // On release, as the command keys: a dialog that the button opens must not take the
    // release for its own.
    if (GetFocus() == toolbar_ && (msg.wParam == VK_RETURN || msg.wParam == VK_SPACE)) {
        Guarded(hwnd_, [&] { PressButton(toolBarFocus_); });
        return true;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_MENU) < 0) return false;
    for (const Shortcut& k : kShortcuts) {
        if (k.vk != msg.wParam || k.ctrl != ctrl || k.shift != shift) continue;
        // Whether or not the button is enabled.
        Guarded(hwnd_, [&] { k.button == kReload ? ReloadFiles() : PressButton(k.button); });
        return true;
    }
    return false;
}

// Tab takes the keyboard from the grid to the toolbar and back (Shift+Tab too: there are two
// stops). On the toolbar Left and Right move between the buttons, Enter or Space presses the
// one in focus (on release, see PreTranslate), Escape goes back to the grid.
bool TMainForm::ToolBarKeyDown(WPARAM vk) {
    const bool onToolBar = GetFocus() == toolbar_;
    if (vk == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        if (onToolBar) {
            SendMessageA(toolbar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
            SetFocus(grid_.Handle());
        } else {
            SetFocus(toolbar_);
            SetToolBarFocusButton(toolBarFocus_);
        }
        return true;
    }
    if (!onToolBar) return false;
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT: {
            const int step = vk == VK_LEFT ? -1 : 1;
            SetToolBarFocusButton((toolBarFocus_ + step + kToolButtonCount) % kToolButtonCount);
            return true;
        }
        case VK_HOME: SetToolBarFocusButton(0); return true;
        case VK_END: SetToolBarFocusButton(kToolButtonCount - 1); return true;
        case VK_RETURN:
        case VK_SPACE: return true;  // the button is pressed when the key is released

        case VK_ESCAPE:
            SendMessageA(toolbar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
            SetFocus(grid_.Handle());
            return true;
        default: return false;
    }
}

// Shows the button as the toolbar's hot one, the look of the keyboard's place on it.
void TMainForm::SetToolBarFocusButton(int button) {
    toolBarFocus_ = button;
    const LRESULT index = SendMessageA(toolbar_, TB_COMMANDTOINDEX, ToolButtonId(button), 0);
    SendMessageA(toolbar_, TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
}

// Ctrl+C in the grid: the selected rows as the saved list writes them.
void TMainForm::CopySelectedRows() {
    if (!built_.List.HasRows()) return;
    const auto [first, last] = grid_.Selection();
    SetClipboardText(hwnd_, RowsAsText(built_.List, first, last, regional_.format));
}

// F5: both files read again from disk, and the list built again in its mode.
void TMainForm::ReloadFiles() {
    for (int fileNo : {1, 2}) {
        const std::string name = (fileNo == 1 ? fob1_ : fob2_).FileName();
        if (!name.empty()) LoadIntoSlot(name, fileNo, false);
    }
    BuildList(built_.LastMode);
}

void TMainForm::DropPIDLTarget1Drop(const std::vector<std::string>& paths) {
    if (paths.size() != 1 && paths.size() != 2) return;
    droppedCount_ = static_cast<int>(paths.size());
    droppedNames_[0] = paths[0];
    droppedNames_[1] = paths.size() == 2 ? paths[1] : std::string();
    PostMessageA(hwnd_, kWmLoadDropped, 0, 0);
}

void TMainForm::WmLoadDropped() {
    BringToFront();
    if (droppedCount_ == 1) {
        TFob::CheckFileType(droppedNames_[0]);
        LoadIntoSlot(droppedNames_[0], 1, true);
        BuildList(BuildMode::Off());
    } else if (droppedCount_ == 2) {
        TFob::CheckFileType(droppedNames_[0]);
        TFob::CheckFileType(droppedNames_[1]);
        LoadBothSlots(droppedNames_[0], droppedNames_[1]);
        BuildList(BuildMode::Off());
    }
}

void TMainForm::LoadCommandLine() {
    std::vector<std::string> args;  // the file names: the "saveanalyze" switch is none
    for (const std::string& a : options_.arguments)
        if (!IsSaveAnalyzeSwitch(a)) args.push_back(a);
    if (!args.empty() && FileExists(args[0])) {
        droppedCount_ = 1;
        droppedNames_[0] = args[0];
        TFob::CheckFileType(args[0]);
        const bool second = args.size() >= 2 && FileExists(args[1]);
        if (second && TFob::IsKnownFileType(args[1])) {
            droppedCount_ = 2;
            droppedNames_[1] = args[1];
            LoadBothSlots(args[0], args[1]);  // read side by side
        } else {
            LoadIntoSlot(args[0], 1, false);
            if (second) {
                droppedCount_ = 2;
                droppedNames_[1] = args[1];
                TFob::CheckFileType(args[1]);  // raises: not an object file
                LoadIntoSlot(args[1], 2, false);
            }
        }
    }
    BuildList(BuildMode::Off());
}

void TMainForm::WmStartup() {
    SizeToolButtonsClick(settings_.ToolButtonSize == 1);
    compare_.SortByFile = settings_.SortByFile;
    compare_.OnlyShowBoth = settings_.OnlyShowBoth;
    compare_.CompareContent = settings_.CompareContent;
    if (UpdateCheckDue(settings_, LocalToday()))
        StartUpdateThread(hwnd_, kWmUpdateCheck, options_.updateCheck(hwnd_));
    SendMessageA(toolbar_, TB_ENABLEBUTTON, ToolButtonId(ToolButtonFilterClear), FALSE);
    droppedCount_ = 0;
    droppedNames_ = {};
    BuildList(BuildMode::Off());
    LoadCommandLine();
}

// The background update check's verdict: any verdict (a code above 0) dates the check, and a
// newer version is offered.
void TMainForm::WmUpdateCheck(int result) {
    if (result > 0) settings_.CheckForUpdatesLastDate = LocalToday();
    if (result == kNewerVersionAvailable) AskGoToWebsite(hwnd_, options_.openWebsite ? options_.openWebsite : OpenWebsite);
}

void TMainForm::WmFiltersChanged() {
    NormaliseFilters(filters_);
    bool any = false;
    for (const std::string& f : filters_) any |= !f.empty();
    SendMessageA(toolbar_, TB_ENABLEBUTTON, ToolButtonId(ToolButtonFilterClear), any ? TRUE : FALSE);
    BuildList(built_.LastMode);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: FormCreate(); return 0;
        case WM_DESTROY:
            FormDestroy();
            if (options_.quitOnClose) PostQuitMessage(0);
            return 0;
        case WM_SIZE: FormResize(); return 0;
        case WM_GETMINMAXINFO: {
            const SIZE minimum = MinimumSize();
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minimum.cx);
            info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minimum.cy);
            return 0;
        }
        case WM_SIZING:
            KeepSizingRectAtLeast(*reinterpret_cast<RECT*>(lParam), MinimumSize(), wParam);
            return TRUE;
        case WM_WINDOWPOSCHANGING: {
            // A size below the minimum that did not come through the system's sizing (a window
            // manager that sizes the frame itself, as X's do under Wine, or a program) is taken
            // as it is, so that the window and its frame agree, and then grown to the minimum
            // (holding it back here would leave the frame at the small size).
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            const SIZE minimum = MinimumSize();
            if (!(pos->flags & SWP_NOSIZE) && (pos->cx < minimum.cx || pos->cy < minimum.cy) && !IsIconic(hwnd_) &&
                !IsZoomed(hwnd_)) {
                PostMessageA(hwnd_, kWmKeepMinimumSize, 0, 0);
                return 0;
            }
            return Default(msg, wParam, lParam);
        }
        case kWmKeepMinimumSize: KeepMinimumSize(); return 0;
        case WM_EXITSIZEMOVE: UpdateScrollBar(); return 0;
        case WM_TIMER:
            if (wParam != kStatusNoteTimer) break;
            KillTimer(hwnd_, kStatusNoteTimer);
            for (int i = 0; i < kStatusPanelCount; ++i)
                SendMessageA(status_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(PanelText(i).c_str()));
            return 0;
        case WM_VSCROLL:
            if (reinterpret_cast<HWND>(lParam) == scrollbar_) ScrollBarScroll(LOWORD(wParam));
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id >= ToolButtonId(0) && id < ToolButtonId(kToolButtonCount)) Click(id - ToolButtonId(0));
            return 0;
        }
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->code == TTN_GETDISPINFOA) {
                auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                const int id = static_cast<int>(hdr->idFrom);
                if (id >= ToolButtonId(0) && id < ToolButtonId(kToolButtonCount)) {
                    info->lpszText = hints_[static_cast<size_t>(id - ToolButtonId(0))].data();
                    info->hinst = nullptr;
                }
                return 0;
            }
            break;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == toolbar_) {
                POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (pt.x == -1 && pt.y == -1) {
                    RECT r{};
                    GetWindowRect(toolbar_, &r);
                    pt = {r.left + 8, r.bottom};
                }
                ToolBarContextMenu(pt);
                return 0;
            }
            break;
        case WM_SETFOCUS: SetFocus(grid_.Handle()); return 0;
        case WM_ACTIVATE:
            // No hint outlives the window's activation.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HideStatusHint();
                grid_.HideHint();
            }
            return Default(msg, wParam, lParam);
        default: break;
    }
    if (msg == kWmStartup) {
        WmStartup();
        return 0;
    }
    if (msg == kWmLoadDropped) {
        WmLoadDropped();
        return 0;
    }
    if (msg == kWmUpdateCheck) {
        WmUpdateCheck(static_cast<int>(static_cast<int32_t>(wParam)));
        return 0;
    }
    if (msg == kWmEditFieldFilter) {
        if (lParam == 0) WmEditFieldFilter(static_cast<int>(wParam));
        return 0;
    }
    if (msg == kWmFiltersChanged) {
        WmFiltersChanged();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace kavlo
