// Key events in the order a keyboard makes them; the modifiers go down Ctrl, Shift, Alt and
// come up in the reverse order.
#include "marking/keystrokes.h"

#include <cstdio>
#include <string>

namespace kavlo {

namespace {

struct Modifier {
    KeyModifiers bit;
    uint8_t key;
};
constexpr Modifier kModifiers[] = {{ModCtrl, vk::Control}, {ModShift, vk::Shift}, {ModAlt, vk::Menu}};

void Down(Desktop& d, uint8_t key) { d.KeyEvent(key, d.ScanCode(key), 0); }
void Up(Desktop& d, uint8_t key) { d.KeyEvent(key, d.ScanCode(key), kKeyEventKeyUp); }

}  // namespace

void PressKey(Desktop& d, uint8_t key, KeyModifiers modifiers) {
    for (const Modifier& m : kModifiers)
        if (modifiers & m.bit) Down(d, m.key);
    Down(d, key);
    Up(d, key);
    for (auto m = std::rbegin(kModifiers); m != std::rend(kModifiers); ++m)
        if (modifiers & m->bit) Up(d, m->key);
}

void TypeCharByCode(Desktop& d, char c) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%4.4d", static_cast<int>(static_cast<unsigned char>(c)));
    Down(d, vk::Menu);
    for (int i = 0; i < 4; ++i) PressKey(d, static_cast<uint8_t>(digits[i] + 48));
    Up(d, vk::Menu);
}

void TypeText(Desktop& d, std::string_view text) {
    for (char c : text) {
        const int16_t scan = d.KeyScan(c);
        if (scan == -1) {
            TypeCharByCode(d, c);
            continue;
        }
        const unsigned state = (static_cast<uint16_t>(scan) >> 8) & 0xFF;
        unsigned mods = ModNone;
        if (state & 1) mods |= ModShift;
        if (state & 2) mods |= ModCtrl;
        if (state & 4) mods |= ModAlt;
        PressKey(d, static_cast<uint8_t>(scan & 0xFF), static_cast<KeyModifiers>(mods));
    }
}

bool SendShortcut(Desktop& d, std::string_view shortcut) {
    // Blanks and control characters are ignored around the text, spaces anywhere in it.
    size_t b = 0, e = shortcut.size();
    while (b < e && static_cast<unsigned char>(shortcut[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(shortcut[e - 1]) <= ' ') --e;
    std::string s;
    for (char c : shortcut.substr(b, e - b))
        if (c != ' ') s += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;

    KeyModifiers modifier = ModNone;
    if (s.find("SHIFT") != std::string::npos) modifier = ModShift;
    else if (s.find("ALT") != std::string::npos) modifier = ModAlt;
    else if (s.find("CTRL") != std::string::npos) modifier = ModCtrl;
    else return false;

    size_t sep = s.find('-');
    if (sep == std::string::npos) sep = s.find('+');
    if (sep == std::string::npos || sep + 1 >= s.size()) return false;
    const char key = s[sep + 1];
    if (key < 'A' || key > 'Z') return false;
    PressKey(d, static_cast<uint8_t>(key), modifier);
    return true;
}

bool WaitForWindow(Desktop& d, WindowId parent, std::string_view className, std::string_view caption,
                   bool appear, int timeoutMs) {
    bool seen = false;
    int remaining = timeoutMs;
    do {
        const WindowId w = d.FindChild(parent, className, caption);
        const bool shown = w != 0 && d.IsVisible(w);
        seen = appear ? shown : !shown;
        d.Sleep(100);
        remaining -= 100;
    } while (!seen && remaining > 0);
    return seen;
}

}  // namespace kavlo
