// Finding the running Navision clients: every top-level window of the client's class that has a
// caption, in Z order; one is used as it is, several are offered in the selection dialog.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "marking/desktop.h"

namespace kavlo {

// The class of a Navision client's main window (compared exactly, case included).
inline constexpr std::string_view kNavisionClientClass = "C/SIDE Application";
inline constexpr std::string_view kNoNavisionClient = "No running Navision Client found.";

struct NavClient {
    std::string caption;
    WindowId window = 0;
    friend bool operator==(const NavClient&, const NavClient&) = default;
};
using NavClientList = std::vector<NavClient>;

// Appends (caption, window) for each top-level window whose class is `className` and whose
// caption is not empty, in Z order (topmost first). The list is not cleared.
void ListNavisionClients(Desktop& d, std::string_view className, NavClientList& list);

// The dialog that lets the user choose among several clients (TSelectNavForm on Windows).
class SelectNavDialog {
public:
    virtual ~SelectNavDialog() = default;
    // Shows the clients, the first selected; `refresh` lists them afresh. The chosen client's
    // window, or 0 when the user cancels or confirms with nothing selected.
    virtual WindowId Select(const NavClientList& clients, const std::function<NavClientList()>& refresh) = 0;
};

// The client to drive, or 0: with none, tells "No running Navision Client found."; with one,
// returns it; with several, asks the dialog.
WindowId FindNavisionClient(Desktop& d, std::string_view className, SelectNavDialog& dialog,
                            const std::function<void(std::string_view)>& tell);

}  // namespace kavlo
