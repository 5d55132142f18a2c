// The simulated desktop and the stand-in client on it.
#include "sim_desktop.h"

#include <cstdio>

namespace kavlo::testing {

namespace {

std::string Hex(uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02X", v);
    return b;
}

unsigned ModifierBit(uint8_t vk) {
    switch (vk) {
        case 0x10: return fakenav::kShift;
        case 0x11: return fakenav::kCtrl;
        case 0x12: return fakenav::kAlt;
        default: return 0;
    }
}

}  // namespace

SimDesktop::SimDesktop() {
    for (char c = '0'; c <= '9'; ++c) layout[c] = c;
    for (char c = 'A'; c <= 'Z'; ++c) layout[c] = static_cast<int16_t>(0x100 | c);
    for (char c = 'a'; c <= 'z'; ++c) layout[c] = static_cast<int16_t>(c - 'a' + 'A');
    layout['|'] = 0x1DC;  // Shift and the key left of Backspace
}

WindowId SimDesktop::Add(Window w) {
    const WindowId id = next_++;
    if (w.parent == 0) zOrder_.push_back(id);
    windows_[id] = std::move(w);
    return id;
}

void SimDesktop::After(uint32_t delay, std::function<void()> action) {
    scheduled_.emplace(now_ + delay, std::move(action));
}

std::vector<std::string> SimDesktop::Trace() const {
    std::vector<std::string> out;
    unsigned held = 0;
    for (const std::string& e : log) {
        if (e.rfind("sleep ", 0) == 0) {
            out.push_back("~" + e.substr(6));
            continue;
        }
        const bool down = e.rfind("down ", 0) == 0, up = e.rfind("up ", 0) == 0;
        if (!down && !up) continue;
        const auto vk = static_cast<uint8_t>(std::stoul(e.substr(down ? 5 : 3), nullptr, 16));
        if (const unsigned bit = ModifierBit(vk)) {
            held = down ? held | bit : held & ~bit;
        } else if (down) {
            out.push_back(fakenav::KeyName(vk, held));
        }
    }
    return out;
}

std::vector<std::string> SimDesktop::Presses() const {
    std::vector<std::string> out;
    for (const std::string& t : Trace())
        if (t[0] != '~') out.push_back(t);
    return out;
}

std::vector<WindowId> SimDesktop::TopLevelWindows() {
    std::vector<WindowId> out;
    for (WindowId w : zOrder_)
        if (windows_.count(w)) out.push_back(w);
    return out;
}

std::string SimDesktop::ClassName(WindowId w) {
    return IsWindow(w) ? windows_[w].className.substr(0, 299) : std::string();
}

std::string SimDesktop::Caption(WindowId w) { return IsWindow(w) ? windows_[w].caption.substr(0, 299) : std::string(); }

WindowId SimDesktop::FindChild(WindowId parent, std::string_view className, std::optional<std::string_view> caption) {
    for (const auto& [id, w] : windows_)
        if (w.parent == parent && parent != 0 && w.className == className && (!caption || w.caption == *caption))
            return id;
    return 0;
}

void SimDesktop::Restore(WindowId w) {
    log.push_back("restore " + Hex(static_cast<uint32_t>(w)));
    if (IsWindow(w)) windows_[w].minimized = windows_[w].maximized = false;
}

void SimDesktop::SetForeground(WindowId w) {
    log.push_back("foreground " + Hex(static_cast<uint32_t>(w)));
    foreground = w;
}

std::optional<ScreenRect> SimDesktop::WindowRect(WindowId w) {
    if (!IsWindow(w)) return std::nullopt;
    return windows_[w].rect;
}

ProcessId SimDesktop::OpenProcess(uint32_t access, uint32_t processId) {
    log.push_back("open " + Hex(access) + " " + std::to_string(processId));
    if (openError) {
        lastError = openError;
        return 0;
    }
    openAccess_ = access;
    return 0x77;
}

uint32_t SimDesktop::WaitForInputIdle(ProcessId, uint32_t milliseconds) {
    log.push_back("idle " + std::to_string(milliseconds));
    if (!(openAccess_ & kSynchronize)) {
        lastError = 5;  // access denied, as the system answers a handle that cannot be waited on
        return 0xFFFFFFFF;
    }
    if (idleResult != 0 && idleResult != kWaitTimeout) lastError = 6;
    return idleResult;
}

void SimDesktop::KeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    const bool up = flags & kKeyEventKeyUp;
    log.push_back((up ? "up " : "down ") + Hex(vk) + (scan == ScanCode(vk) ? "" : " bad scan") +
                  ((flags & ~kKeyEventKeyUp) ? " bad flags" : ""));
    if (const unsigned bit = ModifierBit(vk)) {
        modifiers_ = up ? modifiers_ & ~bit : modifiers_ | bit;
    } else if (!up && onPress) {
        onPress(vk, modifiers_);
    }
}

int16_t SimDesktop::KeyScan(char c) {
    const auto it = layout.find(c);
    return it == layout.end() ? int16_t{-1} : it->second;
}

void SimDesktop::Sleep(uint32_t ms) {
    log.push_back("sleep " + std::to_string(ms));
    const uint32_t until = now_ + ms;
    while (!scheduled_.empty() && scheduled_.begin()->first <= until) {
        auto first = scheduled_.begin();
        now_ = std::max(now_, first->first);
        auto action = std::move(first->second);
        scheduled_.erase(first);
        action();
    }
    now_ = until;
}

std::optional<Pixels> SimDesktop::Capture(const ScreenRect& r) {
    ++captures;
    if (captureFails) return std::nullopt;
    Pixels p(r.Width(), r.Height());
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.Set(x, y, Pixel({r.left + x, r.top + y}).value_or(0x010203));
    return p;
}

std::optional<Color> SimDesktop::Pixel(ScreenPoint p) {
    if (screen) return screen(p.x, p.y);
    return Color{0xFFFFFF};
}

SimNavClient::SimNavClient(SimDesktop& d, Options o) : model(o.objects), d_(d), o_(std::move(o)) {
    main = d.Add({0, "C/SIDE Application", o_.caption, true, false, false, {0, 0, 1000, 800}, 4711});
    mdi = d.Add({main, "MDIClient", "", true, false, false, {0, 40, 1000, 800}, 4711});
    designer = d.Add({mdi, "C/SIDE Form", o_.designer, false, false, o_.designerMaximized, o_.designerRect, 4711});
    typeFilter = d.Add({mdi, "C/SIDE Form", o_.typeFilter, false, false, false, {300, 300, 500, 400}, 4711});
    idFilter = d.Add({mdi, "C/SIDE Form", o_.idFilter, false, false, false, {300, 300, 500, 400}, 4711});
    d.onPress = [this](uint8_t vk, unsigned modifiers) {
        if (d_.foreground != main) return;  // keys go to the window in front
        const fakenav::NavModel::Change c = model.Key(vk, modifiers);
        dirty_ = true;
        if (c.closed != fakenav::Window::None) d_.Win(WindowOf(c.closed)).visible = false;
        if (c.opened != fakenav::Window::None) {
            const WindowId w = WindowOf(c.opened);
            d_.After(c.opened == fakenav::Window::Designer ? o_.designerDelay : o_.filterDelay,
                     [this, w, opened = c.opened] {
                         // Shown only when still open by then.
                         if (opened == fakenav::Window::Designer || model.FilterOpen() == opened)
                             d_.Win(w).visible = true;
                     });
        }
    };
    d.screen = [this](int x, int y) -> std::optional<Color> {
        const SimDesktop::Window& w = d_.Win(designer);
        if (!w.visible || x < w.rect.left || y < w.rect.top || x >= w.rect.right || y >= w.rect.bottom)
            return Color{0xFFFFFF};
        const int width = w.rect.Width(), height = w.rect.Height();
        if (dirty_) {  // drawn again only after a key
            frame_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
            model.Render(frame_.data(), width, height);
            dirty_ = false;
        }
        return frame_[static_cast<size_t>(y - w.rect.top) * static_cast<size_t>(width) + static_cast<size_t>(x - w.rect.left)];
    };
}

WindowId SimNavClient::WindowOf(fakenav::Window w) const {
    switch (w) {
        case fakenav::Window::Designer: return designer;
        case fakenav::Window::TypeFilter: return typeFilter;
        case fakenav::Window::IdFilter: return idFilter;
        default: return 0;
    }
}

std::vector<std::string> SimNavClient::Marked() const {
    std::vector<std::string> out;
    for (const fakenav::NavObject& o : model.Objects())
        if (o.marked) out.push_back(std::to_string(o.type) + ":" + std::to_string(o.id));
    return out;
}

}  // namespace kavlo::testing
