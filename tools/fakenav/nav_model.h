// The Object Designer of the stand-in Navision client: the objects and their marks, the Type and
// ID field filters, the cursor and the selection, the menu, and what each key does to them. It
// knows nothing of windows or time: fakenav (a Win32 program) and the marking tests' simulated
// desktop show its windows, with their own delays, and draw its records with Render.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fakenav {

struct NavObject {
    int type = 0;
    int id = 0;
    bool marked = false;
    friend bool operator==(const NavObject&, const NavObject&) = default;
};

// Modifier bits of a key press: Shift 1, Alt 2, Ctrl 4.
enum : unsigned { kShift = 1, kAlt = 2, kCtrl = 4 };

// The windows that a key opens or closes, for the host to show or hide.
enum class Window { None, Designer, TypeFilter, IdFilter };

class NavModel {
public:
    // The objects in Object Designer order (type, then ID).
    explicit NavModel(std::vector<NavObject> objects);

    struct Change {
        Window opened = Window::None;
        Window closed = Window::None;
    };
    // One key press (a key down that is no modifier) with the modifiers held.
    Change Key(uint8_t vk, unsigned modifiers);

    bool DesignerOpen() const { return designerOpen_; }
    Window FilterOpen() const { return filterOpen_; }
    const std::vector<NavObject>& Objects() const { return objects_; }
    const std::string& TypeFilter() const { return typeFilter_; }
    const std::string& IdFilter() const { return idFilter_; }
    // Each filter as it was set: "Type:5", "ID:18|27|36".
    const std::vector<std::string>& FilterLog() const { return filterLog_; }
    // The keys pressed while the menu was open (F10 included), e.g. "F10 Right Right Down Enter".
    const std::string& MenuKeys() const { return menuKeys_; }
    // The records that the filters let through, as indexes into Objects().
    std::vector<size_t> Filtered() const;
    int Cursor() const { return cursor_; }
    bool AllSelected() const { return allSelected_; }

    // The Object Designer's records drawn into a window of this size, colours 0x00BBGGRR row by
    // row. Row k of the filtered list lies at y = 56 + 18k; a marked record shows a black box at
    // x 118-129, y +2 to +15; the cursor's row a black bar at x 131-140 over its whole height.
    // So the screen check's scan (a run of black in column 131 from y 52, then black on its
    // middle row) finds (126, 60) with the cursor on the first row: black when it is marked.
    void Render(uint32_t* colors, int width, int height) const;

private:
    void KeyInDesigner(uint8_t vk, unsigned modifiers, Change& change);
    static bool Matches(const std::string& filter, int value);

    std::vector<NavObject> objects_;
    bool designerOpen_ = false;
    Window filterOpen_ = Window::None;
    std::string editing_;  // the text typed into the open filter window
    std::string typeFilter_, idFilter_;
    int column_ = 0;  // 0 Type, 1 ID, 2 Name
    int cursor_ = 0;  // into Filtered()
    bool allSelected_ = false;
    bool inMenu_ = false;
    std::string menuKeys_;
    std::vector<std::string> filterLog_;
};

// "Right", "F10", "Ctrl+Home", "Shift+|"…: a key's name for logs.
std::string KeyName(uint8_t vk, unsigned modifiers);

}  // namespace fakenav
