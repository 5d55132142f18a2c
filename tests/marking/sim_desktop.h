// A scripted desktop for the marking tests: windows held in memory, a virtual clock that only
// Sleep moves (with actions scheduled on it), the keyboard's modifier state, and a log of every
// event. SimNavClient puts a stand-in Navision client on it, the one that fakenav also runs.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "marking/desktop.h"
#include "nav_model.h"

namespace kavlo::testing {

class SimDesktop : public Desktop {
public:
    struct Window {
        WindowId parent = 0;
        std::string className, caption;
        bool visible = true, minimized = false, maximized = false;
        ScreenRect rect{0, 0, 100, 100};
        uint32_t processId = 0;
    };

    SimDesktop();
    // Top-level windows are added in Z order, topmost first.
    WindowId Add(Window w);
    Window& Win(WindowId w) { return windows_.at(w); }

    // Runs `action` once the clock has moved `delay` ms on from now.
    void After(uint32_t delay, std::function<void()> action);
    uint32_t Now() const { return now_; }

    // The log: "down VK", "up VK" (hex), "sleep MS", "foreground W", "restore W",
    // "open ACCESS PID", "idle", "close".
    std::vector<std::string> log;
    // The log's key presses by fakenav::KeyName ("Shift+F12", "Ctrl+Home", "5") and sleeps
    // ("~200"), in order; modifier keys and releases left out.
    std::vector<std::string> Trace() const;
    // Only the key presses.
    std::vector<std::string> Presses() const;
    // Called for each key down that is no modifier, with the modifiers held (fakenav's bits).
    std::function<void(uint8_t vk, unsigned modifiers)> onPress;

    // Process behaviour: OpenProcess fails with openError when it is set; WaitForInputIdle
    // answers idleResult (and fails with "Access denied" without SYNCHRONIZE).
    uint32_t openError = 0;
    uint32_t idleResult = 0;
    uint32_t tickBase = 0;
    uint32_t lastError = 0;
    int captures = 0;
    // VkKeyScan's answers (the US layout's digits, letters and "|" by default).
    std::map<char, int16_t> layout;
    // The screen's colour at a point (white when not set); nullopt for a failed read.
    std::function<std::optional<Color>(int x, int y)> screen;
    bool captureFails = false;

    std::vector<WindowId> TopLevelWindows() override;
    std::string ClassName(WindowId w) override;
    std::string Caption(WindowId w) override;
    WindowId FindChild(WindowId parent, std::string_view className, std::optional<std::string_view> caption) override;
    bool IsWindow(WindowId w) override { return windows_.count(w) != 0; }
    bool IsVisible(WindowId w) override { return IsWindow(w) && windows_[w].visible; }
    bool IsMinimized(WindowId w) override { return IsWindow(w) && windows_[w].minimized; }
    bool IsMaximized(WindowId w) override { return IsWindow(w) && windows_[w].maximized; }
    void Restore(WindowId w) override;
    WindowId Foreground() override { return foreground; }
    void SetForeground(WindowId w) override;
    std::optional<ScreenRect> WindowRect(WindowId w) override;
    uint32_t WindowProcessId(WindowId w) override { return IsWindow(w) ? windows_[w].processId : 0; }
    ProcessId OpenProcess(uint32_t access, uint32_t processId) override;
    uint32_t WaitForInputIdle(ProcessId process, uint32_t milliseconds) override;
    void CloseProcess(ProcessId process) override { log.push_back("close"); }
    uint32_t LastError() override { return lastError; }
    std::string ErrorText(uint32_t code) override { return "system text " + std::to_string(code); }
    void KeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) override;
    uint8_t ScanCode(uint8_t vk) override { return static_cast<uint8_t>(vk + 0x40); }
    int16_t KeyScan(char c) override;
    uint32_t TickCount() override { return tickBase + now_; }
    void Sleep(uint32_t milliseconds) override;
    std::optional<Pixels> Capture(const ScreenRect& r) override;
    std::optional<Color> Pixel(ScreenPoint p) override;

    WindowId foreground = 0;

private:
    std::map<WindowId, Window> windows_;
    std::vector<WindowId> zOrder_;
    WindowId next_ = 0x100;
    uint32_t now_ = 0;
    uint32_t openAccess_ = 0;
    unsigned modifiers_ = 0;
    std::multimap<uint32_t, std::function<void()>> scheduled_;
};

// The stand-in client on the simulated desktop: its main window, MDI client area, Object
// Designer and two field filter windows, which show `designerDelay` and `filterDelay` ms after
// the key that opens them; the Object Designer's records are drawn on the simulated screen.
class SimNavClient {
public:
    struct Options {
        std::vector<fakenav::NavObject> objects;
        std::string caption = "Navision Client";
        std::string designer = "Object Designer", typeFilter = "Type - Field Filter", idFilter = "ID - Field Filter";
        uint32_t designerDelay = 300, filterDelay = 150;
        ScreenRect designerRect{100, 100, 700, 600};
        bool designerMaximized = false;
    };
    SimNavClient(SimDesktop& d, Options o);

    fakenav::NavModel model;
    WindowId main = 0, mdi = 0, designer = 0, typeFilter = 0, idFilter = 0;
    // The marked objects' "type:id".
    std::vector<std::string> Marked() const;

private:
    WindowId WindowOf(fakenav::Window w) const;
    SimDesktop& d_;
    Options o_;
    std::vector<uint32_t> frame_;
    bool dirty_ = true;
};

}  // namespace kavlo::testing
