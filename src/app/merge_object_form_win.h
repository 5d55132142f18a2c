// The window of one object's three-way merge: MODIFIED, ORIGINAL and TARGET side by side in
// three panes that scroll together, RESULT in a pane below that scrolls on its own and follows
// F8 from conflict to conflict; and the list of these windows that the Merge window keeps.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/merge_document.h"
#include "app/merge_view.h"
#include "app/text_pane_win.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "merge/merge.h"
#include "objfile/fob.h"

namespace kavlo {

class TMergeObjectForm : public TLinesForm {
public:
    // The panes: the three sides (MergePane order), then RESULT.
    static constexpr int kResultPane = 3;
    // The upper panes scroll as one area, RESULT's pane as the other.
    enum Area { Upper = 0, Result = 1 };

    TMergeObjectForm() = default;
    ~TMergeObjectForm() override;
    // Creates the window over `rect` (screen pixels), shows it at the first stop and gives it
    // the focus.
    void Create(MergeView view, const RECT& rect, ClosedSize closed);

    // What the window shows: per area the first row in view, the current row, the first
    // character in view; the stop F8 went to last (-1 for none).
    int TopRow(Area a) const { return areas_[a].top; }
    int CurrentRow(Area a) const { return areas_[a].current; }
    int LeftColumn(Area a) const { return areas_[a].left; }
    int CurrentStop() const { return currentStop_; }
    int VisibleRows(Area a) const;
    // Where character `col` of row `row` of an area is drawn, in a pane's client pixels.
    RECT CellRect(Area a, int row, int col) const;
    const MergeView& View() const { return view_; }

protected:
    void OnNcDestroy() override;
    void FormResize() override;
    void PaintPane(int pane, HDC dc, const RECT& dirty) override;
    void KeyDown(int pane, WPARAM vk) override;
    void MouseDown(int pane, int y) override;
    void Wheel(int pane, int delta, bool horizontal) override;
    void Scroll(int pane, int bar, int code) override;

private:
    // Where one area stands.
    struct Place {
        int top = 0, left = 0, current = 0;
        int wheel = 0, hwheel = 0;  // the parts of a wheel notch not yet moved
    };

    static Area AreaOf(int pane) { return pane == kResultPane ? Result : Upper; }
    void SetTop(Area a, int row);
    void SetLeft(Area a, int col);
    void SetCurrentRow(Area a, int row);
    // Shows rows [row, end) of an area with some context above when they are not in view.
    void Reveal(Area a, int row, int end);
    void GoToStop(int stop);
    void ShowChangedColumn(int row);
    // The changed characters of upper row `row` in each side's pane, worked out when first drawn.
    const std::array<std::vector<CharRange>, 3>& CharChanges(int row);
    void Changed();
    void UpdateScrollBars();
    void UpdateStatus() override;
    int RowCount(Area a) const;
    int Longest(Area a) const { return a == Upper ? view_.LongestLine : view_.LongestResultLine; }
    int VisibleColumns(Area a) const;
    int GutterWidth() const;
    int HeaderHeight() const { return lineHeight_ + Scaled(6); }

    MergeView view_;
    int digits_ = 1;
    std::array<Place, 2> areas_;
    int currentStop_ = -1;
    int resultStopEnd_ = -1;  // one past the current stop's last RESULT row
    std::unordered_map<int, std::array<std::vector<CharRange>, 3>> charChanges_;  // of the changed rows drawn so far
};

// The merge windows of one object each that the Merge window opens; several may be open.
class TMergeObjectWindows {
public:
    // Opens the window of object `type` `id` of the three files, or brings its open window to
    // the front. An object that only some files hold opens with empty panes where it is absent.
    // A file changed since it was loaded gets a message box and no window. A new window opens
    // cascaded from `owner` (from the newest merge window when one is open) at the size last
    // used in this run.
    void Open(const TFob& original, const TFob& modified, const TFob& target, const MergeOptions& options, int type,
              int id, HWND owner);
    // An object of a merge, which is kept while an open window shows one of its objects: a
    // merge that none shows goes at the next opening (an object window may outlive its Merge
    // window).
    void Open(const std::shared_ptr<const TMergeDocument>& doc, int type, int id, HWND owner);
    void CloseAll();
    // The windows still open, oldest first.
    std::vector<TMergeObjectForm*> OpenWindows() const;

private:
    // Whether an open window shows an object of the merge whose ORIGINAL is `original`.
    bool Shows(const TFob& original) const;

    struct Entry {
        const TFob *original, *modified, *target;
        int type, id;
        std::unique_ptr<TMergeObjectForm> form;
    };
    int width_ = 0, height_ = 0;  // the last window's size in 96-DPI pixels; 0 for none yet
    std::vector<std::shared_ptr<const TMergeDocument>> docs_;  // the merges the windows show
    std::vector<Entry> entries_;  // after the size, which a closing window sets, and the merges
};

}  // namespace kavlo
