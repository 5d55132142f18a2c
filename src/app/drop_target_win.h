// The main window's drop target: accepts files dropped from the file manager with the copy or
// link effect, and hands them as file-system paths in drop order to the handler while the drop
// is still in progress.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/com_win.h"

namespace kavlo {

using DropHandler = std::function<void(const std::vector<std::string>& paths)>;

// The drop target while it is registered on a window: revoked and released when it goes.
class TDropPIDLTarget {
public:
    TDropPIDLTarget() = default;
    // RegisterDragDrop on the window (OLE must be initialised on the thread); empty on failure.
    static TDropPIDLTarget Register(HWND hwnd, DropHandler handler);
    ~TDropPIDLTarget() { Revoke(); }
    TDropPIDLTarget(TDropPIDLTarget&& o) noexcept;
    TDropPIDLTarget& operator=(TDropPIDLTarget&& o) noexcept;
    void Revoke();
    // The registered target, to drive a drop directly (tests); null when none.
    IDropTarget* Target() const { return target_.get(); }

    // The paths a data object carries: its shell item list when it has one, else CF_HDROP.
    static std::vector<std::string> PathsOf(IDataObject* data);

private:
    HWND hwnd_ = nullptr;
    ComPtr<IDropTarget> target_;
};

}  // namespace kavlo
