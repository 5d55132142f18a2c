// The main window's toolbar.
#include "app/main_toolbar_win.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/toolbar_images_win.h"
#include "gui/window_base_win.h"

namespace kavlo {

const std::array<const char*, kToolButtonCount> kToolButtonHints = {
    "Clear", "Open File 1", "Open File 2", "Open Folder 1", "Open Folder 2",
    "TableData", "Table", "Form", "Report", "Dataport", "Codeunit", "XMLport", "MenuSuite", "Page", "Query",
    "Show objects that are equal in both files", "Show objects that are different in both files",
    "Show all objects of selected types", "Show objects that are added in file 2",
    "Show objects that are deleted in file 2",
    "Add Filter  Ctrl+F7", "Clear Filters  Shift+Ctrl+F7",
    "Save  Ctrl+S", "Print  Ctrl+P", "Excel  Ctrl+E",
    "Mark objects in Navision Object Designer  Ctrl+M", "Save Filter String to Clipboard  Ctrl+F",
    "Three-Way Merge", "Settings", "About"};

namespace {

// The keys of the commands, acting when the key is released with exactly these modifiers. The
// ones the toolbar's hints do not name yet are added to them.
struct Shortcut {
    WPARAM vk;
    bool ctrl, shift;
    int button;
    const char* name;
};
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
    {'D', true, false, ToolButtonOpenFolder1, "Ctrl+D"},
    {'D', true, true, ToolButtonOpenFolder2, "Ctrl+Shift+D"},
    {'1', true, false, ToolButtonCompareEqual, "Ctrl+1"},
    {'2', true, false, ToolButtonCompareDifferent, "Ctrl+2"},
    {'3', true, false, ToolButtonCompareOff, "Ctrl+3"},
    {'4', true, false, ToolButtonCompareAdded, "Ctrl+4"},
    {'5', true, false, ToolButtonCompareDeleted, "Ctrl+5"},
    {'M', true, true, ToolButtonMerge, "Ctrl+Shift+M"},
    {VK_F5, false, false, kReloadKey, nullptr},
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

constexpr int kMenuSmall = 201, kMenuLarge = 202;
// The last button of each group, after which a separator follows.
constexpr int kGroupEnds[] = {ToolButtonClear, ToolButtonOpenFolder2, ToolButtonQuery, ToolButtonCompareDeleted,
                              ToolButtonFilterClear, ToolButtonExcel, ToolButtonMakeFilterString,
                              ToolButtonMerge, ToolButtonSettings};

}  // namespace

std::array<std::string, kObjectTypeCount> TypeButtonHints() {
    std::array<std::string, kObjectTypeCount> hints;
    for (int t = 0; t < kObjectTypeCount; ++t)
        hints[static_cast<size_t>(t)] = kToolButtonHints[static_cast<size_t>(ToolButtonTableData + t)];
    return hints;
}

TMainToolBar::TMainToolBar() {
    for (int i = 0; i < kToolButtonCount; ++i) hints_[static_cast<size_t>(i)] = kToolButtonHints[static_cast<size_t>(i)];
    for (const Shortcut& k : kShortcuts)
        if (k.name) hints_[static_cast<size_t>(k.button)] += std::string("  ") + k.name;
}

void TMainToolBar::Create(HWND parent, int id, int dpi, int width) {
    dpi_ = dpi;
    hwnd_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                TBSTYLE_WRAPABLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                            0, 0, width, Scale(29), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            AppInstance(), nullptr);
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ToolbarImageLists small = CreateToolbarImageLists(ImageSize(false));
    smallImages_ = std::move(small.normal);
    smallDisabledImages_ = std::move(small.disabled);
    SendMessageA(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(smallImages_.get()));
    SendMessageA(hwnd_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(smallDisabledImages_.get()));
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
    SendMessageA(hwnd_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SetButtonSizes(false);
}

int TMainToolBar::ImageSize(bool large) const {
    return NearestToolbarImageSize(Scale(large ? kToolbarLarge : kToolbarSmall));
}

// A button is its image plus 7 pixels wide and 6 high (23 × 22 for the small images at 96 DPI).
void TMainToolBar::SetButtonSizes(bool large) {
    const int image = ImageSize(large);
    SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELONG(image, image));
    SendMessageA(hwnd_, TB_SETBUTTONSIZE, 0, MAKELONG(image + Scale(7), image + Scale(6)));
}

void TMainToolBar::SetLarge(bool large) {
    if (large && !largeImages_) {
        ToolbarImageLists lists = CreateToolbarImageLists(ImageSize(true));
        largeImages_ = std::move(lists.normal);
        largeDisabledImages_ = std::move(lists.disabled);
    }
    SendMessageA(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>((large ? largeImages_ : smallImages_).get()));
    SendMessageA(hwnd_, TB_SETDISABLEDIMAGELIST, 0,
                 reinterpret_cast<LPARAM>((large ? largeDisabledImages_ : smallDisabledImages_).get()));
    SetButtonSizes(large);
    large_ = large;
}

LRESULT TMainToolBar::ButtonSize() const { return SendMessageA(hwnd_, TB_GETBUTTONSIZE, 0, 0); }

int TMainToolBar::LayOut(int width, bool keep) {
    RECT now{};
    GetWindowRect(hwnd_, &now);
    MoveWindow(hwnd_, 0, 0, width, std::max<int>(now.bottom - now.top, Scale(29)), !keep);
    const int count = static_cast<int>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0));
    RECT last{};
    SendMessageA(hwnd_, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    const int height = last.bottom + Scale(5);
    if (keep) MoveWindow(hwnd_, 0, 0, now.right - now.left, now.bottom - now.top, FALSE);
    else MoveWindow(hwnd_, 0, 0, width, height, TRUE);
    return height;
}

bool TMainToolBar::Checked(int button) const {
    return SendMessageA(hwnd_, TB_ISBUTTONCHECKED, ToolButtonId(button), 0) != 0;
}

void TMainToolBar::SetChecked(int button, bool checked) {
    SendMessageA(hwnd_, TB_CHECKBUTTON, ToolButtonId(button), MAKELONG(checked ? TRUE : FALSE, 0));
}

bool TMainToolBar::Enabled(int button) const {
    return SendMessageA(hwnd_, TB_ISBUTTONENABLED, ToolButtonId(button), 0) != 0;
}

void TMainToolBar::Enable(int button, bool enabled) {
    SendMessageA(hwnd_, TB_ENABLEBUTTON, ToolButtonId(button), enabled ? TRUE : FALSE);
}

bool TMainToolBar::GiveHint(NMTTDISPINFOA& info) {
    const int id = static_cast<int>(info.hdr.idFrom);
    if (id < ToolButtonId(0) || id >= ToolButtonId(kToolButtonCount)) return false;
    info.lpszText = hints_[static_cast<size_t>(id - ToolButtonId(0))].data();
    info.hinst = nullptr;
    return true;
}

void TMainToolBar::ShowMode(const BuildMode& mode) {
    SetChecked(ToolButtonCompareEqual, mode.CompareEqual);
    SetChecked(ToolButtonCompareDifferent, mode.CompareDifferent);
    SetChecked(ToolButtonCompareOff, mode.CompareOff);
    SetChecked(ToolButtonCompareAdded, mode.CompareAdded);
    SetChecked(ToolButtonCompareDeleted, mode.CompareDeleted);
}

std::optional<int> TMainToolBar::KeyUp(WPARAM vk) const {
    if (HasFocus() && (vk == VK_RETURN || vk == VK_SPACE)) return focus_;
    if (GetKeyState(VK_MENU) < 0) return std::nullopt;
    return ShortcutButton(vk, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0);
}

std::optional<int> TMainToolBar::ShortcutButton(WPARAM vk, bool ctrl, bool shift) {
    for (const Shortcut& k : kShortcuts)
        if (k.vk == vk && k.ctrl == ctrl && k.shift == shift) return k.button;
    return std::nullopt;
}

// Tab takes the keyboard from the grid to the toolbar and back (Shift+Tab too: there are two
// stops). On the toolbar Left and Right move between the buttons, Enter or Space presses the
// one in focus (on release, by the window), Escape goes back to the grid.
bool TMainToolBar::KeyDown(WPARAM vk, HWND grid) {
    const bool onToolBar = HasFocus();
    if (vk == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        if (onToolBar) {
            SendMessageA(hwnd_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
            SetFocus(grid);
        } else {
            SetFocus(hwnd_);
            SetFocusButton(focus_);
        }
        return true;
    }
    if (!onToolBar) return false;
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT: {
            const int step = vk == VK_LEFT ? -1 : 1;
            SetFocusButton((focus_ + step + kToolButtonCount) % kToolButtonCount);
            return true;
        }
        case VK_HOME: SetFocusButton(0); return true;
        case VK_END: SetFocusButton(kToolButtonCount - 1); return true;
        case VK_RETURN:
        case VK_SPACE: return true;  // the button is pressed when the key is released

        case VK_ESCAPE:
            SendMessageA(hwnd_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
            SetFocus(grid);
            return true;
        default: return false;
    }
}

// Shows the button as the toolbar's hot one, the look of the keyboard's place on it.
void TMainToolBar::SetFocusButton(int button) {
    focus_ = button;
    const LRESULT index = SendMessageA(hwnd_, TB_COMMANDTOINDEX, ToolButtonId(button), 0);
    SendMessageA(hwnd_, TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
}

std::optional<bool> TMainToolBar::ChooseSize(HWND owner, POINT screen) const {
    if (screen.x == -1 && screen.y == -1) {  // from the keyboard: below the toolbar's left end
        RECT r{};
        GetWindowRect(hwnd_, &r);
        screen = {r.left + 8, r.bottom};
    }
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, kMenuSmall, "&Small Tool Buttons");
    AppendMenuA(menu.get(), MF_STRING, kMenuLarge, "&Large Tool Buttons");
    CheckMenuRadioItem(menu.get(), kMenuSmall, kMenuLarge, large_ ? kMenuLarge : kMenuSmall, MF_BYCOMMAND);
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    if (chosen == kMenuSmall) return false;
    if (chosen == kMenuLarge) return true;
    return std::nullopt;
}

}  // namespace kavlo
