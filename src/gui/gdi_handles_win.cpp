// The hourglass guard's start: the wait cursor shown at once, also when the pointer has not
// moved since the window under it appeared.
#include "gui/gdi_handles_win.h"

namespace kavlo {

HourglassGuard::HourglassGuard() {
    // A cursor goes to the screen on the window the system last saw the pointer over. After a
    // start or a closed dialog the pointer may not have moved over this window yet (Wine then
    // shows no pointer, or the desktop's): putting the pointer where it is tells the system
    // whose it is. The move this queues is dropped, so that no WM_SETCURSOR puts the arrow back.
    POINT at{};
    if (GetCursorPos(&at)) {
        SetCursorPos(at.x, at.y);
        MSG moved;
        while (PeekMessageA(&moved, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
    }
    old_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

}  // namespace kavlo
