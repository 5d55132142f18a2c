// The client selection dialog.
#include "app/select_nav_form_win.h"

#include "res/select_nav_ids.h"

namespace kavlo {

TSelectNavForm::TSelectNavForm(HWND owner) : TRecordDialog(IDD_SELECTNAV, 532, 253), owner_(owner) {}

WindowId TSelectNavForm::Select(const NavClientList& clients, const std::function<NavClientList()>& refresh) {
    refresh_ = refresh;
    NavClientChoice choice{clients, 0};
    if (!Edit(owner_, choice)) return 0;
    return choice.SelectedClient;
}

HWND TSelectNavForm::NavListBox() const { return GetDlgItem(hwnd_, IDC_NAVLISTBOX); }

bool TSelectNavForm::OnInit() {
    // The design layout in pixels of the 532 x 253 client area.
    struct Place {
        int id, x, y, w, h;
    } places[] = {{IDC_SELECTNAV_LABEL, 8, 8, 513, 16}, {IDC_NAVLISTBOX, 8, 28, 513, 185},
                  {IDC_REFRESHBUTTON, 8, 221, 100, 25}, {IDOK, 366, 221, 75, 25}, {IDCANCEL, 449, 221, 75, 25}};
    for (const Place& p : places)
        MoveWindow(GetDlgItem(hwnd_, p.id), Scale(p.x), Scale(p.y), Scale(p.w), Scale(p.h), FALSE);
    const NavClientList clients = value_.clients;
    SetClients(clients);
    SetFocus(NavListBox());
    return false;
}

void TSelectNavForm::SetClients(const NavClientList& clients) {
    value_.clients = clients;
    HWND list = NavListBox();
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const NavClient& c : value_.clients) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.caption.c_str()));
    if (!value_.clients.empty()) SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void TSelectNavForm::RefreshButtonClick() {
    if (refresh_) SetClients(refresh_());
}

void TSelectNavForm::SelectButtonClick() {
    const LRESULT i = SendMessageA(NavListBox(), LB_GETCURSEL, 0, 0);
    if (i >= 0 && static_cast<size_t>(i) < value_.clients.size())
        value_.SelectedClient = value_.clients[static_cast<size_t>(i)].window;
}

void TSelectNavForm::NavListBoxDblClick() {
    if (SendMessageA(NavListBox(), LB_GETCURSEL, 0, 0) >= 0) Accept();
}

// Select is the OK button: it takes the selected line, if any, and closes with OK either way.
bool TSelectNavForm::OnOk() {
    SelectButtonClick();
    return true;
}

bool TSelectNavForm::OnCommand(int id, int code, HWND) {
    if (id == IDC_REFRESHBUTTON && code == BN_CLICKED) {
        RefreshButtonClick();
        return true;
    }
    if (id == IDC_NAVLISTBOX && code == LBN_DBLCLK) {
        NavListBoxDblClick();
        return true;
    }
    return false;
}

}  // namespace kavlo
