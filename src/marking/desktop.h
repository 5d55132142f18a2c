// The Desktop seam: everything that marking asks of the window system — top-level windows and
// their children, the foreground, the client's process, key events, the tick count and sleep,
// and screen pixels. The Win32 desktop (desktop_win.h) is the real one; tests drive the marking
// code on a scripted desktop with a virtual clock.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// A window handle as a number; 0 is no window.
using WindowId = std::uintptr_t;
// An open process; 0 is none.
using ProcessId = std::uintptr_t;

struct ScreenPoint {
    int x = 0, y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Colours as the system gives them: 0x00BBGGRR; 0 is pure black.
using Color = uint32_t;
inline constexpr Color kBlack = 0x000000;
// What a point off the screen reads as.
inline constexpr Color kInvalidColor = 0xFFFFFFFF;

// A captured rectangle of the screen, row by row from its top-left pixel.
struct Pixels {
    int width = 0, height = 0;
    std::vector<Color> colors;

    Pixels() = default;
    Pixels(int w, int h, Color fill = 0xFFFFFF)
        : width(w), height(h), colors(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}
    Color At(int x, int y) const { return colors[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    void Set(int x, int y, Color c) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            colors[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = c;
    }
};

// keybd_event's flag of a key release.
inline constexpr uint32_t kKeyEventKeyUp = 0x0002;
// OpenProcess access rights.
inline constexpr uint32_t kProcessQueryInformation = 0x0400;
inline constexpr uint32_t kSynchronize = 0x00100000;
// WaitForInputIdle's result when the process did not become idle in time.
inline constexpr uint32_t kWaitTimeout = 258;

class Desktop {
public:
    virtual ~Desktop() = default;

    // The top-level windows in Z order, topmost first (EnumWindows).
    virtual std::vector<WindowId> TopLevelWindows() = 0;
    // Class name and caption, each cut to 299 characters; empty when there is none or the
    // window is gone.
    virtual std::string ClassName(WindowId w) = 0;
    virtual std::string Caption(WindowId w) = 0;
    // The first child of `parent` with this class and, when given, this caption (FindWindowEx).
    virtual WindowId FindChild(WindowId parent, std::string_view className,
                               std::optional<std::string_view> caption) = 0;
    virtual bool IsWindow(WindowId w) = 0;
    virtual bool IsVisible(WindowId w) = 0;
    virtual bool IsMinimized(WindowId w) = 0;
    virtual bool IsMaximized(WindowId w) = 0;
    virtual void Restore(WindowId w) = 0;
    virtual WindowId Foreground() = 0;
    virtual void SetForeground(WindowId w) = 0;
    // The window's rectangle on the screen; nullopt when it cannot be had.
    virtual std::optional<ScreenRect> WindowRect(WindowId w) = 0;
    // The id of the process that owns the window; 0 when it cannot be had.
    virtual uint32_t WindowProcessId(WindowId w) = 0;

    // 0 when the process cannot be opened (LastError tells why).
    virtual ProcessId OpenProcess(uint32_t access, uint32_t processId) = 0;
    // 0 when idle, kWaitTimeout, or another value on failure (LastError tells why).
    virtual uint32_t WaitForInputIdle(ProcessId process, uint32_t milliseconds) = 0;
    virtual void CloseProcess(ProcessId process) = 0;
    virtual uint32_t LastError() = 0;
    // The system's message text for an error code.
    virtual std::string ErrorText(uint32_t code) = 0;

    // One keyboard event (keybd_event): virtual key, scan code, flags (kKeyEventKeyUp).
    virtual void KeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
    // The scan code of a virtual key (MapVirtualKey, map type 0).
    virtual uint8_t ScanCode(uint8_t vk) = 0;
    // VkKeyScan: the virtual key in the low byte and the shift state in the high byte, or -1
    // when the keyboard layout has no key for the character.
    virtual int16_t KeyScan(char c) = 0;

    // Milliseconds since the system started, wrapping at 2^32.
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;

    // The screen's pixels in the rectangle; nullopt when they cannot be copied.
    virtual std::optional<Pixels> Capture(const ScreenRect& r) = 0;
    // One screen pixel: kInvalidColor off the screen, nullopt when reading fails.
    virtual std::optional<Color> Pixel(ScreenPoint p) = 0;
};

}  // namespace kavlo
