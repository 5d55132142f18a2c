// The main window's frame: kept at least at its minimum size however it is sized, and its placement
// kept in the settings' terms.
#include "app/frame_size_win.h"

#include <algorithm>

namespace kavlo {

namespace {

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace

void TFrameSize::Attach(HWND window, std::function<SIZE()> minimumClient) {
    hwnd_ = window;
    minimumClient_ = std::move(minimumClient);
}

SIZE TFrameSize::Minimum() const {
    const SIZE client = minimumClient_ ? minimumClient_() : SIZE{0, 0};
    if (client.cx == 0 && client.cy == 0) return client;
    RECT r{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    const RECT work = WorkArea();
    return {std::min(r.right - r.left, work.right - work.left), std::min(r.bottom - r.top, work.bottom - work.top)};
}

void TFrameSize::GetMinMaxInfo(MINMAXINFO& info) const {
    const SIZE minimum = Minimum();
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, minimum.cx);
    info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, minimum.cy);
}

// A frame being dragged stops at the minimum size: the edge that moves is held back, the
// opposite one stays where it is.
void TFrameSize::Sizing(WPARAM edge, RECT& r) const {
    const SIZE minimum = Minimum();
    if (r.right - r.left < minimum.cx) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) r.left = r.right - minimum.cx;
        else r.right = r.left + minimum.cx;
    }
    if (r.bottom - r.top < minimum.cy) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) r.top = r.bottom - minimum.cy;
        else r.bottom = r.top + minimum.cy;
    }
}

bool TFrameSize::WindowPosChanging(const WINDOWPOS& pos) const {
    const SIZE minimum = Minimum();
    if ((pos.flags & SWP_NOSIZE) || (pos.cx >= minimum.cx && pos.cy >= minimum.cy) || IsIconic(hwnd_) ||
        IsZoomed(hwnd_))
        return false;
    PostMessageA(hwnd_, kWmKeepMinimumSize, 0, 0);
    return true;
}

void TFrameSize::KeepMinimumSize() const {
    const SIZE minimum = Minimum();
    WINDOWPLACEMENT wp{sizeof wp};
    if (!GetWindowPlacement(hwnd_, &wp)) return;
    RECT& r = wp.rcNormalPosition;
    if (r.right - r.left >= minimum.cx && r.bottom - r.top >= minimum.cy) return;
    r.right = r.left + std::max<LONG>(r.right - r.left, minimum.cx);
    r.bottom = r.top + std::max<LONG>(r.bottom - r.top, minimum.cy);
    if (IsWindowVisible(hwnd_) && !IsZoomed(hwnd_) && !IsIconic(hwnd_)) {
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (!IsWindowVisible(hwnd_)) wp.showCmd = SW_HIDE;
    wp.flags = 0;
    SetWindowPlacement(hwnd_, &wp);
}

void TFrameSize::Restore(int32_t left, int32_t top, std::optional<int32_t> width, std::optional<int32_t> height,
                         int32_t storedDpi, int dpi) const {
    // The stored rectangle is the window placement's, in workspace coordinates; setting it back
    // the same way keeps the window where it was also with a taskbar at the top or the left.
    WINDOWPLACEMENT wp{sizeof wp};
    GetWindowPlacement(hwnd_, &wp);
    const RECT& now = wp.rcNormalPosition;
    // A size stored at another DPI holds the same text and rows at this one once it is scaled,
    // as the design size is; it never goes below the minimum size.
    const auto scaled = [&](int32_t pixels) { return storedDpi == dpi ? pixels : MulDiv(pixels, dpi, storedDpi); };
    const SIZE minimum = Minimum();
    int32_t w = std::max<int32_t>(width ? scaled(*width) : now.right - now.left, minimum.cx);
    int32_t h = std::max<int32_t>(height ? scaled(*height) : now.bottom - now.top, minimum.cy);
    if (storedDpi != dpi) {
        // Grown by the scaling, the window is kept on the work area (which starts at 0, 0 in
        // workspace coordinates).
        const RECT work = WorkArea();
        w = std::min<int32_t>(w, work.right - work.left);
        h = std::min<int32_t>(h, work.bottom - work.top);
        left = std::clamp<int32_t>(left, 0, work.right - work.left - w);
        top = std::clamp<int32_t>(top, 0, work.bottom - work.top - h);
    }
    wp.rcNormalPosition = RECT{left, top, left + w, top + h};
    wp.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWNORMAL : SW_HIDE;
    wp.flags = 0;
    SetWindowPlacement(hwnd_, &wp);
}

std::optional<SettingsPlacement> TFrameSize::Placement(int dpi) const {
    WINDOWPLACEMENT wp{sizeof wp};
    if (!hwnd_ || !GetWindowPlacement(hwnd_, &wp)) return std::nullopt;
    SettingsPlacement p;
    p.left = wp.rcNormalPosition.left;
    p.top = wp.rcNormalPosition.top;
    p.right = wp.rcNormalPosition.right;
    p.bottom = wp.rcNormalPosition.bottom;
    p.maximized = wp.showCmd == SW_SHOWMAXIMIZED || IsZoomed(hwnd_);
    p.dpi = dpi;
    return p;
}

RECT CascadedRect(HWND mainWindow, HWND after, int width, int height) {
    MONITORINFO mi{sizeof mi};
    GetMonitorInfoA(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;
    width = std::min<int>(width, work.right - work.left);
    height = std::min<int>(height, work.bottom - work.top);
    RECT from{};
    WINDOWPLACEMENT wp{sizeof wp};
    if (IsIconic(after) && GetWindowPlacement(after, &wp)) from = wp.rcNormalPosition;
    else GetWindowRect(after, &from);
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    const int left = std::clamp<int>(from.left + step, work.left, work.right - width);
    const int top = std::clamp<int>(from.top + step, work.top, work.bottom - height);
    return {left, top, left + width, top + height};
}

RECT CentredInWorkArea(int width, int height) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    width = std::min<int>(width, work.right - work.left);
    height = std::min<int>(height, work.bottom - work.top);
    const int left = work.left + ((work.right - work.left) - width) / 2;
    const int top = work.top + ((work.bottom - work.top) - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace kavlo
