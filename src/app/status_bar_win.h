// The main window's status bar: five panels (the count, the two file names, the two files'
// counts), a hint that shows a panel's whole text under the pointer, the progress bar of the
// output commands over the widest panel, and a short note that stands in a panel for a while.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>

#include "gui/dpi_win.h"
#include "gui/window_base_win.h"
#include "listing/list_builder.h"

namespace kavlo {

inline constexpr std::array<int, 5> kStatusPanelWidths = {40, 280, 280, 70, 70};

// The system's status bar control, subclassed: it hears the pointer and the note's timer.
class TStatusBar : public TSubclass {
public:
    TStatusBar() = default;

    // At the bottom of `parent`, with the panels' widths at the DPI; `parent` owns the hint and
    // the progress bar until the bar is shown.
    void Create(HWND parent, int id, int dpi);
    HWND ProgressBar() const { return progress_; }
    int Height() const;
    // The panels and the size grip side by side.
    int MinimumWidth() const;
    // Follows the parent's size.
    void Resize();

    // The panels' texts, drawn once for all of them.
    void SetTexts(const StatusTexts& texts);
    // A panel's text, whole; as the panel shows it (a long path loses its middle).
    std::string Text(int panel) const;
    std::string ShownText(int panel) const;

    // StatusBarMouseMove: the hint for a pointer at x, in the status bar's coordinates.
    void MouseMove(int x);
    void HideHint();
    const std::string& Hint() const { return hint_; }

    // ShowProgress: shown or hidden, the range, the position; a position of 0 or less
    // (re)starts the bar with the range over the widest panel.
    void ShowProgress(bool visible, int minimum, int maximum, int position);
    // "Printing cancelled.": shown in the panel the progress bar covered for kNoteMs, then the
    // panel's own text again (its hint shows that text all along).
    void ShowNote(std::string_view text);
    static constexpr UINT kNoteMs = 5000;

protected:
    bool OnMouseMove(int x, int y) override;
    bool OnMouseLeave() override;
    bool OnTimer(UINT_PTR id) override;

private:
    std::string PanelText(int panel) const;
    void ShowTexts();
    static constexpr UINT_PTR kNoteTimer = 1;

    HWND progress_ = nullptr, tip_ = nullptr;
    std::array<int, kStatusPanelWidths.size()> widths_ = kStatusPanelWidths;  // at this DPI
    StatusTexts texts_;
    TOOLINFOA tool_{};
    std::string hint_;
    bool tracking_ = false;  // WM_MOUSELEAVE asked for
};

}  // namespace kavlo
