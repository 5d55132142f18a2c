// Key events of PressKey, TypeText and TypeCharByCode, the shortcut texts, and the polls of
// WaitForWindow, on the simulated desktop.
#include "marking/keystrokes.h"

#include <gtest/gtest.h>

#include "sim_desktop.h"

namespace kavlo {
namespace {

using testing::SimDesktop;
using Strings = std::vector<std::string>;

TEST(PressKey, ModifiersGoDownCtrlShiftAltAndComeUpReversed) {
    struct Case {
        KeyModifiers mods;
        Strings log;
    } cases[] = {
        {ModNone, {"down 41", "up 41"}},
        {ModShift, {"down 10", "down 7B", "up 7B", "up 10"}},
        {ModAlt | ModShift | ModCtrl,
         {"down 11", "down 10", "down 12", "down 41", "up 41", "up 12", "up 10", "up 11"}},
    };
    for (const Case& c : cases) {
        SimDesktop d;
        PressKey(d, c.mods == ModShift ? vk::F12 : 'A', c.mods);
        EXPECT_EQ(d.log, c.log) << c.mods;  // each with the key's scan code and no other flag
    }
}

TEST(TypeText, UsesTheLayoutsShiftStateOrTheCharactersCode) {
    SimDesktop us;
    TypeText(us, "12|345");
    EXPECT_EQ(us.Presses(), (Strings{"1", "2", "Shift+Oem5", "3", "4", "5"}));

    SimDesktop german;  // the bar is AltGr and the key left of Y there
    german.layout['|'] = 0x6E2;
    TypeText(german, "1|2");
    EXPECT_EQ(german.Presses(), (Strings{"1", "Ctrl+Alt+0xE2", "2"}));

    SimDesktop none;  // no key for the letter: its code on the keypad with Alt held
    none.layout.erase('A');
    TypeText(none, "A");
    EXPECT_EQ(none.log, (Strings{"down 12", "down 60", "up 60", "down 60", "up 60", "down 66", "up 66", "down 65",
                                 "up 65", "up 12"}));

    SimDesktop empty;
    TypeText(empty, "");
    EXPECT_TRUE(empty.log.empty());
}

TEST(TypeCharByCode, TypesTheByteValueAsFourDigits) {
    SimDesktop d;
    TypeCharByCode(d, static_cast<char>(0xE9));  // 233, not a negative char
    EXPECT_EQ(d.Presses(), (Strings{"Alt+Num0", "Alt+Num2", "Alt+Num3", "Alt+Num3"}));
    EXPECT_EQ(d.log.front(), "down 12");
    EXPECT_EQ(d.log.back(), "up 12");
}

TEST(SendShortcut, ReadsOneModifierWordAndTheLetterAfterTheSeparator) {
    struct Case {
        const char* text;
        bool pressed;
        const char* key;
    } cases[] = {
        {"Ctrl+A", true, "Ctrl+A"},      {" ctrl + a ", true, "Ctrl+A"}, {"Ctrl-A", true, "Ctrl+A"},
        {"Alt-x", true, "Alt+X"},        {"Shift+F12", true, "Shift+F"}, {"Ctrl+Shift+A", true, "Shift+S"},
        {"\tCtrl+A\n", true, "Ctrl+A"},  {"Strg+A", false, ""},          {"Ctrl+", false, ""},
        {"Ctrl+1", false, ""},           {"CtrlA", false, ""},           {"", false, ""},
    };
    for (const Case& c : cases) {
        SimDesktop d;
        EXPECT_EQ(SendShortcut(d, c.text), c.pressed) << c.text;
        EXPECT_EQ(d.Presses(), c.pressed ? Strings{c.key} : Strings{}) << c.text;
    }
}

TEST(WaitForWindow, PollsEvery100MsUntilTheStateOrTheTimeIsReached) {
    struct Case {
        bool appear;
        bool visibleAtStart;
        int changeAt;  // ms; -1: never
        int timeout;
        bool result;
        size_t polls;
    } cases[] = {
        {true, false, -1, 1000, false, 10},  // exists, stays hidden
        {true, false, -1, 100, false, 1},
        {true, false, -1, 50, false, 1},
        {true, true, -1, 1000, true, 1},     // seen at once, still one sleep
        {true, false, 250, 1000, true, 4},   // seen at 300
        {false, true, 150, 1000, true, 3},   // gone at 200
        {false, false, -1, 0, true, 1},
    };
    for (const Case& c : cases) {
        SimDesktop d;
        const WindowId parent = d.Add({0, "P", "p"});
        const WindowId w = d.Add({parent, "C/SIDE Form", "Filter", c.visibleAtStart});
        if (c.changeAt >= 0) d.After(static_cast<uint32_t>(c.changeAt), [&] { d.Win(w).visible = !c.visibleAtStart; });
        EXPECT_EQ(WaitForWindow(d, parent, "C/SIDE Form", "Filter", c.appear, c.timeout), c.result);
        EXPECT_EQ(d.log, Strings(c.polls, "sleep 100")) << c.timeout << " " << c.changeAt;
    }
    SimDesktop d;  // another caption is another window
    const WindowId parent = d.Add({0, "P", "p"});
    d.Add({parent, "C/SIDE Form", "Other"});
    EXPECT_FALSE(WaitForWindow(d, parent, "C/SIDE Form", "Filter", true, 200));
    EXPECT_TRUE(WaitForWindow(d, parent, "C/SIDE Form", "Filter", false, 200));
}

}  // namespace
}  // namespace kavlo
