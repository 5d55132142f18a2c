// "Select which Navision Application to mark objects": the list of running clients' captions,
// Select (Enter, or a double click on a line), Cancel (Esc) and Refresh List.
#pragma once
#include <windows.h>

#include <functional>

#include "gui/modal_dialog_win.h"
#include "marking/client_discovery.h"

namespace kavlo {

// The dialog's record: its own copy of the clients and the chosen one's window (0: none).
struct NavClientChoice {
    NavClientList clients;
    WindowId SelectedClient = 0;
};

class TSelectNavForm : public TRecordDialog<NavClientChoice>, public SelectNavDialog {
public:
    explicit TSelectNavForm(HWND owner);
    WindowId Select(const NavClientList& clients, const std::function<NavClientList()>& refresh) override;

protected:
    bool OnInit() override;
    bool OnOk() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // Replaces the list by `clients` and selects its first line.
    void SetClients(const NavClientList& clients);
    void RefreshButtonClick();
    void SelectButtonClick();
    void NavListBoxDblClick();
    HWND NavListBox() const;

    HWND owner_;
    std::function<NavClientList()> refresh_;
};

}  // namespace kavlo
