// The main window's toolbar: 30 buttons in groups, small or large images, the hints with the
// keys of their commands, the keys themselves, and the keyboard's way along the buttons.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "listing/list_builder.h"
#include "objfile/object_types.h"

namespace kavlo {

// The toolbar's buttons in toolbar order; the index is also the button's image index.
enum ToolButton : int {
    ToolButtonClear, ToolButtonOpenFile1, ToolButtonOpenFile2, ToolButtonOpenFolder1, ToolButtonOpenFolder2,
    ToolButtonTableData, ToolButtonTable, ToolButtonForm, ToolButtonReport, ToolButtonDataport,
    ToolButtonCodeunit, ToolButtonXMLport, ToolButtonMenuSuite, ToolButtonPage, ToolButtonQuery,
    ToolButtonCompareEqual, ToolButtonCompareDifferent, ToolButtonCompareOff, ToolButtonCompareAdded,
    ToolButtonCompareDeleted, ToolButtonFilterAdd, ToolButtonFilterClear, ToolButtonSave, ToolButtonPrint,
    ToolButtonExcel, ToolButtonMarkObjectDesigner, ToolButtonMakeFilterString, ToolButtonMerge, ToolButtonSettings,
    ToolButtonAbout, kToolButtonCount
};
// The command id of a button.
constexpr int ToolButtonId(int button) { return 100 + button; }
extern const std::array<const char*, kToolButtonCount> kToolButtonHints;
// The type buttons' hints (without their keys), in type order.
std::array<std::string, kObjectTypeCount> TypeButtonHints();
constexpr bool IsTypeButton(int b) { return b >= ToolButtonTableData && b <= ToolButtonQuery; }
// F5 reads both files again; it has no button.
inline constexpr int kReloadKey = -1;

class TMainToolBar {
public:
    TMainToolBar();
    TMainToolBar(const TMainToolBar&) = delete;
    TMainToolBar& operator=(const TMainToolBar&) = delete;

    // Creates it with small buttons at the top of `parent`, `width` wide.
    void Create(HWND parent, int id, int dpi, int width);
    HWND Handle() const { return hwnd_; }

    // SizeToolButtonsClick's part: the images and buttons of that size (the large images are
    // drawn when they are first shown: most starts never need them).
    void SetLarge(bool large);
    bool Large() const { return large_; }
    // The 16-pixel images at this DPI, which the settings dialog shows too.
    HIMAGELIST SmallImages() const { return smallImages_.get(); }
    // The button size, width in the low word, height in the high one.
    LRESULT ButtonSize() const;
    // Lays the buttons out `width` wide and returns the toolbar's height then: its last button's
    // bottom plus 5. `keep` leaves the toolbar as it was (to measure only).
    int LayOut(int width, bool keep = false);

    bool Checked(int button) const;
    void SetChecked(int button, bool checked);
    bool Enabled(int button) const;
    void Enable(int button, bool enabled);
    const std::string& Hint(int button) const { return hints_[static_cast<size_t>(button)]; }
    void SetHint(int button, std::string hint) { hints_[static_cast<size_t>(button)] = std::move(hint); }
    // TTN_GETDISPINFO of a button's hint; false for another tool.
    bool GiveHint(NMTTDISPINFOA& info);
    // The button of the mode the list was built in is drawn pressed (checked); the comparison
    // buttons still act as push buttons.
    void ShowMode(const BuildMode& mode);

    // The button a released key presses (kReloadKey for F5), with exactly the modifiers of its
    // shortcut or Enter or Space on the toolbar; it acts on release, so that a dialog that the
    // button opens does not take the release for its own.
    std::optional<int> KeyUp(WPARAM vk) const;

    // The keyboard on the toolbar: Tab takes it from `grid` to the toolbar and back; on the
    // toolbar Left, Right, Home and End move between the buttons and Escape goes back. True
    // when the key is taken.
    bool KeyDown(WPARAM vk, HWND grid);
    bool HasFocus() const { return GetFocus() == hwnd_; }

    // The context menu of the sizes at a screen point: true for large, false for small,
    // nothing when dismissed.
    std::optional<bool> ChooseSize(HWND owner, POINT screen) const;

private:
    // The button whose key this is (kReloadKey for F5), pressed with exactly these modifiers.
    static std::optional<int> ShortcutButton(WPARAM vk, bool ctrl, bool shift);
    int ImageSize(bool large) const;
    void SetButtonSizes(bool large);
    void SetFocusButton(int button);
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }

    HWND hwnd_ = nullptr;
    int dpi_ = kDesignDpi;
    bool large_ = false;
    int focus_ = 0;
    UniqueImageList smallImages_, largeImages_, smallDisabledImages_, largeDisabledImages_;
    std::array<std::string, kToolButtonCount> hints_;
};

}  // namespace kavlo
