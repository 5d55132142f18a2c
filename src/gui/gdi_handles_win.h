// Owners of the window system's handles (GDI objects, DCs, menus, image lists, icons) on the
// one UniqueHandle template, and guards that give back what they take for a scope: a window's
// DC, a paint cycle, an object selected into a DC, the hourglass.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/unique_handle.h"
#include "platform/win_handles_win.h"

namespace kavlo {

struct MenuCloser {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct ImageListCloser {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct IconCloser {
    void operator()(HICON h) const { DestroyIcon(h); }
};

using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, GdiObjectCloser>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, GdiObjectCloser>>;
using UniquePen = UniqueHandle<NullHandleTraits<HPEN, GdiObjectCloser>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, MenuCloser>>;
using UniqueImageList = UniqueHandle<NullHandleTraits<HIMAGELIST, ImageListCloser>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, IconCloser>>;

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint and EndPaint of one WM_PAINT.
class PaintGuard {
public:
    explicit PaintGuard(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintGuard() { EndPaint(hwnd_, &ps_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    HDC dc() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Shows the hourglass while alive and restores the previous cursor in every case.
class HourglassGuard {
public:
    HourglassGuard();
    ~HourglassGuard() { SetCursor(old_); }
    HourglassGuard(const HourglassGuard&) = delete;
    HourglassGuard& operator=(const HourglassGuard&) = delete;

private:
    HCURSOR old_;
};

}  // namespace kavlo
