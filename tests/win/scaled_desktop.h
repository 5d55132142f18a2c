// The real desktop with its time scaled, for the marking tests under Wine: Sleep sleeps `scale`
// of the time asked and the tick count runs 1/scale as fast, so a run of the procedure keeps its
// every step but takes a fraction of the time. It also counts the key downs it sends and can act
// after any of them (to bring another window to the front mid-run).
#pragma once
#include <cmath>
#include <functional>

#include <windows.h>

#include "marking/desktop_win.h"

namespace kavlo {

class ScaledDesktop final : public Desktop {
public:
    explicit ScaledDesktop(Desktop& real) : r_(real), virtualBase_(real.TickCount()), realBase_(virtualBase_) {}

    // The tick count goes on from where it stands, at the new pace.
    void SetScale(double scale) {
        virtualBase_ = TickCount();
        realBase_ = r_.TickCount();
        scale_ = scale;
    }
    int keyDowns = 0;
    std::function<void(int keyDowns)> afterKeyDown;

    uint32_t TickCount() override {
        return virtualBase_ + static_cast<uint32_t>((r_.TickCount() - realBase_) / scale_);
    }
    void Sleep(uint32_t ms) override { r_.Sleep(static_cast<uint32_t>(std::ceil(ms * scale_))); }
    void KeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) override {
        r_.KeyEvent(vk, scan, flags);
        if (flags & kKeyEventKeyUp) return;
        ++keyDowns;
        if (afterKeyDown) afterKeyDown(keyDowns);
    }

    // Under Wine another process's window takes the keyboard a moment after it has become the
    // foreground, and a dialog that has just closed hands the focus back to its owner later
    // still (when this thread next reads its window events). Unscaled, the 300 ms that the
    // procedure pauses before its first key cover both; scaled they do not. So here this
    // thread's events are read for those 300 ms, and the client brought to the front again
    // until it stays there.
    void SetForeground(WindowId w) override {
        for (int attempt = 0; attempt < 5; ++attempt) {
            r_.SetForeground(w);
            const DWORD start = GetTickCount();
            while (GetTickCount() - start < 300) {
                MSG m;
                while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
                ::Sleep(10);
            }
            if (r_.Foreground() == w) return;
        }
    }

    std::vector<WindowId> TopLevelWindows() override { return r_.TopLevelWindows(); }
    std::string ClassName(WindowId w) override { return r_.ClassName(w); }
    std::string Caption(WindowId w) override { return r_.Caption(w); }
    WindowId FindChild(WindowId p, std::string_view c, std::optional<std::string_view> t) override {
        return r_.FindChild(p, c, t);
    }
    bool IsWindow(WindowId w) override { return r_.IsWindow(w); }
    bool IsVisible(WindowId w) override { return r_.IsVisible(w); }
    bool IsMinimized(WindowId w) override { return r_.IsMinimized(w); }
    bool IsMaximized(WindowId w) override { return r_.IsMaximized(w); }
    void Restore(WindowId w) override { r_.Restore(w); }
    WindowId Foreground() override { return r_.Foreground(); }
    std::optional<ScreenRect> WindowRect(WindowId w) override { return r_.WindowRect(w); }
    uint32_t WindowProcessId(WindowId w) override { return r_.WindowProcessId(w); }
    ProcessId OpenProcess(uint32_t a, uint32_t p) override { return r_.OpenProcess(a, p); }
    uint32_t WaitForInputIdle(ProcessId p, uint32_t ms) override { return r_.WaitForInputIdle(p, ms); }
    void CloseProcess(ProcessId p) override { r_.CloseProcess(p); }
    uint32_t LastError() override { return r_.LastError(); }
    std::string ErrorText(uint32_t code) override { return r_.ErrorText(code); }
    uint8_t ScanCode(uint8_t vk) override { return r_.ScanCode(vk); }
    int16_t KeyScan(char c) override { return r_.KeyScan(c); }
    std::optional<Pixels> Capture(const ScreenRect& r) override { return r_.Capture(r); }
    std::optional<Color> Pixel(ScreenPoint p) override { return r_.Pixel(p); }

private:
    Desktop& r_;
    uint32_t virtualBase_, realBase_;
    double scale_ = 1.0;
};

}  // namespace kavlo
