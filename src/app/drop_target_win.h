// The main window's drop target: accepts files dropped from the file manager with the copy or
// link effect, and hands them as file-system paths in drop order to the handler while the drop
// is still in progress.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace kavlo {

class TDropPIDLTarget;
using DropHandler = std::function<void(const std::vector<std::string>& paths)>;

class TDropPIDLTarget {
public:
    // RegisterDragDrop on the window (OLE must be initialised on the thread); null on failure.
    static TDropPIDLTarget* Register(HWND hwnd, DropHandler handler);
    static void Revoke(HWND hwnd, TDropPIDLTarget* target);
    // The paths a data object carries: its shell item list when it has one, else CF_HDROP.
    static std::vector<std::string> PathsOf(IDataObject* data);
};

}  // namespace kavlo
