// The Win32 desktop. Screen pixels come from the desktop window's device context, copied into
// a 24-bit top-down DIB section, so no mouse cursor is drawn into them.
#include "marking/desktop_win.h"

#include <windows.h>

#include "platform/system_error_win.h"
#include "platform/win_handles_win.h"

namespace kavlo {

namespace {

HWND H(WindowId w) { return reinterpret_cast<HWND>(w); }
WindowId Id(HWND h) { return reinterpret_cast<WindowId>(h); }

std::string Text(int(WINAPI* get)(HWND, LPSTR, int), WindowId w) {
    char buffer[300];
    const int n = get(H(w), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

}  // namespace

std::vector<WindowId> WinDesktop::TopLevelWindows() {
    std::vector<WindowId> windows;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<WindowId>*>(p)->push_back(Id(h));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string WinDesktop::ClassName(WindowId w) { return Text(GetClassNameA, w); }
std::string WinDesktop::Caption(WindowId w) { return Text(GetWindowTextA, w); }

WindowId WinDesktop::FindChild(WindowId parent, std::string_view className, std::optional<std::string_view> caption) {
    const std::string cls(className);
    const std::string text = caption ? std::string(*caption) : std::string();
    return Id(FindWindowExA(H(parent), nullptr, cls.c_str(), caption ? text.c_str() : nullptr));
}

bool WinDesktop::IsWindow(WindowId w) { return ::IsWindow(H(w)) != FALSE; }
bool WinDesktop::IsVisible(WindowId w) { return IsWindowVisible(H(w)) != FALSE; }
bool WinDesktop::IsMinimized(WindowId w) { return IsIconic(H(w)) != FALSE; }
bool WinDesktop::IsMaximized(WindowId w) { return IsZoomed(H(w)) != FALSE; }
void WinDesktop::Restore(WindowId w) { ShowWindow(H(w), SW_RESTORE); }
WindowId WinDesktop::Foreground() { return Id(GetForegroundWindow()); }
void WinDesktop::SetForeground(WindowId w) { SetForegroundWindow(H(w)); }

std::optional<ScreenRect> WinDesktop::WindowRect(WindowId w) {
    RECT r{};
    if (!GetWindowRect(H(w), &r)) return std::nullopt;
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

uint32_t WinDesktop::WindowProcessId(WindowId w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(H(w), &pid);
    return pid;
}

ProcessId WinDesktop::OpenProcess(uint32_t access, uint32_t processId) {
    return reinterpret_cast<ProcessId>(::OpenProcess(access, FALSE, processId));
}
uint32_t WinDesktop::WaitForInputIdle(ProcessId process, uint32_t milliseconds) {
    return ::WaitForInputIdle(reinterpret_cast<HANDLE>(process), milliseconds);
}
void WinDesktop::CloseProcess(ProcessId process) { CloseHandle(reinterpret_cast<HANDLE>(process)); }
uint32_t WinDesktop::LastError() { return GetLastError(); }
std::string WinDesktop::ErrorText(uint32_t code) { return SystemErrorText(code); }

void WinDesktop::KeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) { keybd_event(vk, scan, flags, 0); }
uint8_t WinDesktop::ScanCode(uint8_t vk) { return static_cast<uint8_t>(MapVirtualKeyA(vk, 0)); }
int16_t WinDesktop::KeyScan(char c) { return VkKeyScanA(c); }
uint32_t WinDesktop::TickCount() { return GetTickCount(); }
void WinDesktop::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

std::optional<Pixels> WinDesktop::Capture(const ScreenRect& r) {
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0) return std::nullopt;
    const WindowDc screen(GetDesktopWindow(), WindowDc::Whole);
    if (!screen.get()) return std::nullopt;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory || !bits) return std::nullopt;
    const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    const BOOL copied = BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory.get(), old);
    if (!copied) return std::nullopt;
    Pixels p(w, h);
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    const auto* row = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < h; ++y, row += stride)
        for (int x = 0; x < w; ++x) {
            const uint8_t* px = row + static_cast<size_t>(x) * 3;  // blue, green, red
            p.Set(x, y, static_cast<Color>(px[2]) | static_cast<Color>(px[1]) << 8 | static_cast<Color>(px[0]) << 16);
        }
    return p;
}

std::optional<Color> WinDesktop::Pixel(ScreenPoint p) {
    const WindowDc screen(GetDesktopWindow(), WindowDc::Whole);
    if (!screen.get()) return std::nullopt;
    return GetPixel(screen.get(), p.x, p.y);
}

}  // namespace kavlo
