// The settings dialog: a tab control over three child-dialog pages, the bindings of every
// control to the settings record, the days edit's key filter, and "Check Now".
#include "app/settings_form_win.h"

#include <charconv>

#include "app/toolbar_art.h"
#include "gui/window_base_win.h"
#include "platform/windows_version_win.h"
#include "res/resource.h"

namespace kavlo {

namespace {

constexpr int kSettingsClientWidth = 422, kSettingsClientHeight = 433;
constexpr const char* kPageCaptions[] = {"Startup", "Updates", "Object Marking"};
constexpr int kPageTemplates[] = {IDD_SETTINGS_STARTUP, IDD_SETTINGS_UPDATES, IDD_SETTINGS_MARKING};

struct SettingsBox {
    int id;
    bool TSettings::*field;
};
constexpr SettingsBox kSettingsBoxes[] = {
    {IDC_CHECKBOX_HIDESYSTEM, &TSettings::HideSystemObjects},
    {IDC_CHECKBOX_CHECKFORUPDATES, &TSettings::CheckForUpdates},
    {IDC_SETTINGS_SORTBYFILE, &TSettings::SortByFile},
    {IDC_CHECKBOX_INTELLIGENT, &TSettings::IntelligentObjectMarking},
};
struct Text {
    int id;
    std::string TSettings::*field;
};
constexpr Text kTexts[] = {
    {IDC_EDIT_OBJECTDESIGNER, &TSettings::LanguageObjectDesigner},
    {IDC_EDIT_FIELDFILTERTYPE, &TSettings::LanguageFieldFilterType},
    {IDC_EDIT_FIELDFILTERID, &TSettings::LanguageFieldFilterID},
    {IDC_EDIT_SELECTALL, &TSettings::LanguageSelectAllShortcut},
};

bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND box, bool on) { SendMessageA(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

// The buttons and check boxes are composited from Windows 5.1 on, which keeps them from
// flickering when the pages switch. Group boxes are of the same class but stay as they are:
// composited, a group box paints over the controls inside it.
void CompositeButtons(HWND parent) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") != 0 || (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
        SetWindowLongPtrA(c, GWL_EXSTYLE, GetWindowLongPtrA(c, GWL_EXSTYLE) | WS_EX_COMPOSITED);
    }
}

// The days edit's text as a decimal number; text that does not read as one whole (empty, or
// "5x", which only pasting can bring) is 0.
int32_t DaysFromText(const std::string& text) {
    int32_t days = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), days);
    return error == std::errc{} && end == text.data() + text.size() ? days : 0;
}

// The pages' own dialog procedure leaves every message to the dialog manager: a page's
// subclass (TPage) hears its commands.
INT_PTR CALLBACK PageDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

TSettingsForm::TSettingsForm(Setup setup)
    : TRecordDialog(IDD_SETTINGS, kSettingsClientWidth, kSettingsClientHeight), setup_(std::move(setup)) {
    for (int t = 0; t < kObjectTypeCount; ++t)
        if (setup_.smallImages)
            typeIcons_[static_cast<size_t>(t)].reset(
                ImageList_GetIcon(setup_.smallImages, kImageTableData + t, ILD_NORMAL));
}

HWND TSettingsForm::Item(int id) const {
    if (!hwnd_) return nullptr;
    if (HWND own = GetDlgItem(hwnd_, id)) return own;
    for (const TPage& page : pages_)
        if (HWND c = page.Handle() ? GetDlgItem(page.Handle(), id) : nullptr) return c;
    return nullptr;
}

bool TSettingsForm::TPage::OnCommand(int id, int code, HWND control) {
    SendMessageA(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    return true;
}

void TSettingsForm::CreatePages() {
    // The tab control fills the client area above the two buttons, which sit at its bottom right.
    HWND tabs = GetDlgItem(hwnd_, IDC_SETTINGS_TABS);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int margin = Scale(8), buttonW = Scale(75), buttonH = Scale(25);
    const int buttonY = client.bottom - margin - buttonH;
    MoveWindow(tabs, margin, margin, client.right - 2 * margin, buttonY - 2 * margin, FALSE);
    MoveWindow(GetDlgItem(hwnd_, IDCANCEL), client.right - margin - buttonW, buttonY, buttonW, buttonH, FALSE);
    MoveWindow(GetDlgItem(hwnd_, IDOK), client.right - 2 * (margin + buttonW), buttonY, buttonW, buttonH, FALSE);
    TabCtrl_DeleteAllItems(tabs);
    for (int p = 0; p < kPageCount; ++p) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPageCaptions[p]);
        SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(&item));
    }
    // The pages fill the tab control's display area and come right after it in the tab order.
    RECT area{};
    GetWindowRect(tabs, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    HWND after = tabs;
    for (int p = 0; p < kPageCount; ++p) {
        HWND page = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(kPageTemplates[p]), hwnd_, PageDialogProc, 0);
        pages_[static_cast<size_t>(p)].Attach(page);
        SetWindowPos(page, after, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
        after = page;
        if (WindowsVersionAtLeast(5, 1)) CompositeButtons(page);
    }
    if (WindowsVersionAtLeast(5, 1)) CompositeButtons(hwnd_);
}

void TSettingsForm::ShowPage(int page) {
    page_ = page;
    TabCtrl_SetCurSel(GetDlgItem(hwnd_, IDC_SETTINGS_TABS), page);
    for (int p = 0; p < kPageCount; ++p)
        ShowWindow(pages_[static_cast<size_t>(p)].Handle(), p == page ? SW_SHOW : SW_HIDE);
}

bool TSettingsForm::OnInit() {
    CreatePages();
    // Made once per showing from what the main window gave: the type captions and images.
    for (int t = 0; t < kObjectTypeCount; ++t) {
        SetWindowTextA(Item(IDC_TYPE_CHECKBOX_FIRST + t), setup_.typeCaptions[static_cast<size_t>(t)].c_str());
        SendMessageA(Item(IDC_TYPE_IMAGE_FIRST + t), STM_SETICON,
                     reinterpret_cast<WPARAM>(typeIcons_[static_cast<size_t>(t)].get()), 0);
    }
    SetWindowTextA(Item(IDC_CHECKBOX_HIDESYSTEM), setup_.hideSystemCaption.c_str());
    HWND days = Item(IDC_EDIT_DAYS);
    SetWindowLongA(days, GWL_STYLE, GetWindowLongA(days, GWL_STYLE) | ES_NUMBER);
    SendMessageA(days, EM_LIMITTEXT, 2, 0);
    days_.Attach(days);

    // FormShow: every control from the record.
    for (int t = 0; t < kObjectTypeCount; ++t)
        SetChecked(Item(IDC_TYPE_CHECKBOX_FIRST + t), value_.*kShowTypeFields[t]);
    for (const SettingsBox& b : kSettingsBoxes) SetChecked(Item(b.id), value_.*b.field);
    SetWindowTextA(days, std::to_string(value_.CheckForUpdatesDays).c_str());
    CheckForUpdatesCheckBoxClick();
    for (const Text& t : kTexts) SetWindowTextA(Item(t.id), (value_.*t.field).c_str());
    SetChecked(Item(IDC_CHECKBOX_LARGEBUTTONS), value_.ToolButtonSize != 0);
    ShowPage(page_);
    PreviewKeys();
    return true;
}

bool TSettingsForm::OnOk() {
    for (int t = 0; t < kObjectTypeCount; ++t) value_.*kShowTypeFields[t] = Checked(Item(IDC_TYPE_CHECKBOX_FIRST + t));
    for (const SettingsBox& b : kSettingsBoxes) value_.*b.field = Checked(Item(b.id));
    value_.CheckForUpdatesDays = DaysFromText(WindowText(Item(IDC_EDIT_DAYS)));
    for (const Text& t : kTexts) value_.*t.field = WindowText(Item(t.id));  // as typed, untrimmed
    value_.ToolButtonSize = Checked(Item(IDC_CHECKBOX_LARGEBUTTONS)) ? 1 : 0;
    return true;
}

// Only the fields the dialog shows: the others may have changed while it was open (an update
// check finished in the background dates the last check), and stay as they are now.
void TSettingsForm::GiveBack(TSettings& record) const {
    for (bool TSettings::*show : kShowTypeFields) record.*show = value_.*show;
    for (const SettingsBox& b : kSettingsBoxes) record.*b.field = value_.*b.field;
    for (const Text& t : kTexts) record.*t.field = value_.*t.field;
    record.CheckForUpdatesDays = value_.CheckForUpdatesDays;
    record.ToolButtonSize = value_.ToolButtonSize;
}

void TSettingsForm::CheckForUpdatesCheckBoxClick() {
    EnableWindow(Item(IDC_EDIT_DAYS), Checked(Item(IDC_CHECKBOX_CHECKFORUPDATES)) ? TRUE : FALSE);
}

void TSettingsForm::CheckForUpdatesNowButtonClick() {
    if (!setup_.updateCheck) return;
    const int result = CheckForNewVersion(setup_.updateCheck(hwnd_), false);
    if (result <= 0) return;
    const double today = LocalToday();
    value_.CheckForUpdatesLastDate = today;
    if (setup_.checked) setup_.checked(today);
}

bool TSettingsForm::OnCommand(int id, int code, HWND) {
    if (id == IDC_CHECKBOX_CHECKFORUPDATES && code == BN_CLICKED) {
        CheckForUpdatesCheckBoxClick();
        return true;
    }
    if (id == IDC_BUTTON_CHECKNOW && code == BN_CLICKED) {
        CheckForUpdatesNowButtonClick();
        return true;
    }
    return false;
}

bool TSettingsForm::OnKeyUp(WPARAM vk) {
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in every tabbed dialog.
    if (vk != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
    const int step = GetKeyState(VK_SHIFT) < 0 ? kPageCount - 1 : 1;
    ShowPage((page_ + step) % kPageCount);
    SetFocus(GetDlgItem(hwnd_, IDC_SETTINGS_TABS));
    return true;
}

bool TSettingsForm::OnNotify(NMHDR& header, LRESULT&) {
    if (header.idFrom != IDC_SETTINGS_TABS || header.code != TCN_SELCHANGE) return false;
    ShowPage(TabCtrl_GetCurSel(header.hwndFrom));
    return true;
}

}  // namespace kavlo
