// A top-level window's frame: kept at least at its minimum size however it is sized (by the
// user's drag, by a window manager that sizes frames itself, by a program), and its normal
// placement read and set in workspace coordinates, scaled between DPIs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "settings/settings.h"

namespace kavlo {

// Where a new secondary window (an Object Differences or Merge window) goes: one caption's
// height right of and below `after` (the main window or the newest such window), `width` by
// `height` pixels at most the work area of the monitor of `mainWindow`, moved back into that
// work area where it would leave it.
RECT CascadedRect(HWND mainWindow, HWND after, int width, int height);
// Where the main window first goes: `width` by `height` pixels at most the work area, in its
// middle.
RECT CentredInWorkArea(int width, int height);

class TFrameSize {
public:
    // `minimumClient` gives the smallest client area whenever it counts ({0, 0}: none yet).
    void Attach(HWND window, std::function<SIZE()> minimumClient);

    // The smallest outer size, never more than the work area.
    SIZE Minimum() const;
    // WM_GETMINMAXINFO and WM_SIZING (`edge` the WMSZ_ side or corner being dragged).
    void GetMinMaxInfo(MINMAXINFO& info) const;
    void Sizing(WPARAM edge, RECT& frame) const;
    // WM_WINDOWPOSCHANGING: a size below the minimum that did not come through the system's
    // sizing is taken as it is, so that the window and its frame agree, and kWmKeepMinimumSize
    // is posted to grow it then (holding it back here would leave the frame at the small size).
    // True when the message is handled so.
    bool WindowPosChanging(const WINDOWPOS& pos) const;
    static constexpr UINT kWmKeepMinimumSize = WM_APP + 1;
    // Grows the window's normal rectangle to the minimum size.
    void KeepMinimumSize() const;

    // The stored placement set back: top and left as stored, width and height when given
    // (scaled from the DPI they were stored at to `dpi`, and kept on the work area then).
    void Restore(int32_t left, int32_t top, std::optional<int32_t> width, std::optional<int32_t> height,
                 int32_t storedDpi, int dpi) const;
    std::optional<SettingsPlacement> Placement(int dpi) const;

private:
    HWND hwnd_ = nullptr;
    std::function<SIZE()> minimumClient_;
};

}  // namespace kavlo
