// Move-only owners of Win32 handles, and guards that restore what they change.
#pragma once
#include <windows.h>

#include <utility>

namespace kavlo {

template <typename H, typename Closer, H Invalid = H{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Invalid);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    void reset(H h = Invalid) {
        if (h_ != Invalid) Closer{}(h_);
        h_ = h;
    }
    H release() { return std::exchange(h_, Invalid); }

private:
    H h_ = Invalid;
};

struct GdiObjectCloser {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DcCloser {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct MenuCloser {
    void operator()(HMENU h) const { DestroyMenu(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectCloser>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectCloser>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectCloser>;
using UniquePen = UniqueHandle<HPEN, GdiObjectCloser>;
using UniqueDc = UniqueHandle<HDC, DcCloser>;
using UniqueMenu = UniqueHandle<HMENU, MenuCloser>;

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
    HourglassGuard() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~HourglassGuard() { SetCursor(old_); }
    HourglassGuard(const HourglassGuard&) = delete;
    HourglassGuard& operator=(const HourglassGuard&) = delete;
private:
    HCURSOR old_;
};

}  // namespace kavlo
