// The tracking tooltip that the grid and the status bar show their hints in.
#include "gui/tracking_tip_win.h"

#include "gui/window_base_win.h"

namespace kavlo {

HWND CreateTrackingTip(HWND owner, UINT_PTR id, TOOLINFOA& info) {
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               AppInstance(), nullptr);
    info = TOOLINFOA{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = const_cast<char*>("");
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return tip;
}

}  // namespace kavlo
