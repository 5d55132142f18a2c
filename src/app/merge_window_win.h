// The "Merge" window: the objects of one Three-Way Merge run that are not unchanged, one row
// each with its type, ID, name, status and conflicts, conflicts first; a status filter, the
// counts in the status bar. Enter or a double click opens the object's three versions; the
// conflicts can be marked in the Object Designer and saved as text as the main list is. And
// the list of these windows that the main window keeps: several may be open, and they close
// with it, as the windows of one object each that they open do.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/merge_document.h"
#include "app/merge_object_form_win.h"
#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "listing/visible_list.h"
#include "settings/settings.h"

namespace kavlo {

inline constexpr std::string_view kMergeCaption = "Merge";

// What a Merge window asks of the program.
struct MergeWindowCommands {
    // Opens the object's three versions side by side; the document (its three files and options)
    // is handed on so that it lives as long as what shows it. Empty: a beep.
    std::function<void(const std::shared_ptr<const TMergeDocument>& doc, int type, int id, HWND owner)> openObject;
    // The main window's Mark and Save commands, on the list given, owned by `owner`.
    std::function<void(HWND owner, const TVisibleList& list)> mark, save;
};

class TMergeWindow : public TWindow {
public:
    // Control ids.
    enum : int { IdFilter = 10, IdList, IdMark, IdSave, IdStatus, IdFilterLabel };

    TMergeWindow() = default;
    ~TMergeWindow() override;
    using ClosedSize = std::function<void(int width, int height)>;
    // Creates the window over `rect` (screen pixels), shows it with the focus on the list.
    void Create(std::shared_ptr<const TMergeDocument> doc, const RECT& rect, MergeWindowCommands commands,
                ClosedSize closed);

    const TMergeDocument& Document() const { return *doc_; }
    // The rows shown now (after the filter).
    const std::vector<MergeEntry>& Rows() const { return rows_; }
    HWND List() const { return list_; }
    HWND Filter() const { return filter_; }
    std::string StatusText() const;
    // The messages of this window that the dialog manager handles first: Tab, Enter, Escape
    // and the mnemonics. True when taken.
    bool PreTranslate(const MSG& msg);

    // The row's object opened through the seam (Enter, a double click).
    void OpenRow(int row);
    void MarkConflicts();
    void SaveConflicts();

protected:
    bool OnCreate() override;
    bool OnSize(int width, int height) override;
    bool OnGetMinMaxInfo(MINMAXINFO& info) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnFocus(bool gained) override;
    void OnActivate(WPARAM state) override;
    void OnDestroy() override;

private:
    void FillRows();
    int Scaled(int pixels) const { return ScaleToDpi(pixels, dpi_); }

    std::shared_ptr<const TMergeDocument> doc_;
    MergeWindowCommands commands_;
    ClosedSize closed_;
    std::vector<MergeEntry> rows_;
    std::vector<MergeStatus> filterStatuses_;  // the combo box's items after "All statuses"
    HWND filterLabel_ = nullptr, filter_ = nullptr, list_ = nullptr, mark_ = nullptr, save_ = nullptr,
         status_ = nullptr;
    HWND lastFocus_ = nullptr;
    UniqueFont font_;
    int dpi_ = kDesignDpi;
};

class TMergeWindows {
public:
    // Opens a Merge window for the run, cascaded from the main window (from the newest Merge
    // window when one is open) at the size last used, kept in the settings record. Without
    // commands.openObject, its objects open in ObjectWindows().
    TMergeWindow& Open(std::shared_ptr<const TMergeDocument> doc, HWND mainWindow, TSettings& settings,
                       MergeWindowCommands commands);
    // Hands the message to the Merge window it is for; true when taken.
    bool PreTranslate(const MSG& msg);
    // The Merge windows and the object windows.
    void CloseAll();
    std::vector<TMergeWindow*> OpenWindows() const;
    // The objects' windows, which may outlive the Merge window they came from.
    TMergeObjectWindows& ObjectWindows() { return objectWindows_; }

private:
    TMergeObjectWindows objectWindows_;
    std::vector<std::unique_ptr<TMergeWindow>> windows_;
};

}  // namespace kavlo
