// Pretending to be the user at the keyboard: one key with modifiers held, a text, a character by
// its code on the numeric keypad, a shortcut given as text, and waiting for a child window to
// appear or go away. Keys go to whichever window has the focus; nothing here pauses between
// events except WaitForWindow's polling.
#pragma once
#include <cstdint>
#include <string_view>

#include "marking/desktop.h"

namespace kavlo {

// A set of modifier keys.
enum KeyModifiers : unsigned {
    ModNone = 0,
    ModShift = 1,
    ModAlt = 2,
    ModCtrl = 4,
};
constexpr KeyModifiers operator|(KeyModifiers a, KeyModifiers b) {
    return static_cast<KeyModifiers>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// Virtual keys used here and by the marking procedure.
namespace vk {
inline constexpr uint8_t Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Home = 0x24,
                         Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Numpad0 = 0x60, F1 = 0x70,
                         F7 = 0x76, F10 = 0x79, F12 = 0x7B;
}

// Presses and releases `key` with the modifiers held: down Ctrl, Shift, Alt (those in the set),
// the key down and up, then up Alt, Shift, Ctrl.
void PressKey(Desktop& d, uint8_t key, KeyModifiers modifiers = ModNone);

// Types each character with the key and shift state that the keyboard layout gives it
// (AltGr as Ctrl and Alt), or by its code when the layout has no key for it.
void TypeText(Desktop& d, std::string_view text);

// Alt held while the character's code is typed as four digits on the numeric keypad.
void TypeCharByCode(Desktop& d, char c);

// Presses a shortcut written as text ("Ctrl+A", "alt - x"): the first of the words SHIFT, ALT,
// CTRL found anywhere in it is the one modifier, the letter after the first "-" (else "+") the
// key. False, and nothing pressed, for a text of any other form.
bool SendShortcut(Desktop& d, std::string_view shortcut);

// Polls every 100 ms until the first child of `parent` with this class and caption is visible
// (appear) or is gone or hidden (go away), for up to `timeoutMs`; at least one poll.
bool WaitForWindow(Desktop& d, WindowId parent, std::string_view className, std::string_view caption,
                   bool appear, int timeoutMs);

}  // namespace kavlo
