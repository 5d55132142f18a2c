// The Desktop seam on Win32: user32 for windows and keys, kernel32 for the process and the
// clock, gdi32 for the screen's pixels (through the desktop window's device context).
#pragma once
#include "marking/desktop.h"

namespace kavlo {

class WinDesktop final : public Desktop {
public:
    std::vector<WindowId> TopLevelWindows() override;
    std::string ClassName(WindowId w) override;
    std::string Caption(WindowId w) override;
    WindowId FindChild(WindowId parent, std::string_view className, std::optional<std::string_view> caption) override;
    bool IsWindow(WindowId w) override;
    bool IsVisible(WindowId w) override;
    bool IsMinimized(WindowId w) override;
    bool IsMaximized(WindowId w) override;
    void Restore(WindowId w) override;
    WindowId Foreground() override;
    void SetForeground(WindowId w) override;
    std::optional<ScreenRect> WindowRect(WindowId w) override;
    uint32_t WindowProcessId(WindowId w) override;
    ProcessId OpenProcess(uint32_t access, uint32_t processId) override;
    uint32_t WaitForInputIdle(ProcessId process, uint32_t milliseconds) override;
    void CloseProcess(ProcessId process) override;
    uint32_t LastError() override;
    std::string ErrorText(uint32_t code) override;
    void KeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) override;
    uint8_t ScanCode(uint8_t vk) override;
    int16_t KeyScan(char c) override;
    uint32_t TickCount() override;
    void Sleep(uint32_t milliseconds) override;
    std::optional<Pixels> Capture(const ScreenRect& r) override;
    std::optional<Color> Pixel(ScreenPoint p) override;
};

}  // namespace kavlo
