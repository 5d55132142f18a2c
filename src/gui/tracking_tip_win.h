// A tooltip that shows a text at a given place on request (the grid's cell hints, the status
// bar's panel hints).
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace kavlo {

// The tooltip window; `info` is filled as its one tool, with `id` for the tool's id.
HWND CreateTrackingTip(HWND owner, UINT_PTR id, TOOLINFOA& info);

}  // namespace kavlo
