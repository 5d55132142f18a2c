// The main window's document: the two loaded files and which load of them this is, the type
// switches, the field filters, the comparison settings, the settings record and the list built
// from all of them; and what the program does with files (the command line, a drop, the open
// dialog's choice, a reload, a clear). It has no window: what it needs of one it asks through
// its hooks, so that it runs and is tested without one.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "listing/field_filter.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"
#include "platform/regional.h"
#include "settings/settings.h"

namespace kavlo {

class TSession {
public:
    // What the session asks of its window; each may be left empty.
    struct Hooks {
        // Which slot a single dropped file goes to (`fileNo` comes preset to 1); false when the
        // user cancels.
        std::function<bool(int& fileNo)> askFileNo;
        // Brings the window to the front: a drop comes from another program's window.
        std::function<void()> bringToFront;
        // Shows that the program is busy (the hourglass) while what it returns is alive.
        std::function<std::shared_ptr<void>()> busy;
        // The list is about to be built anew (a view must let go of it), and it has been.
        std::function<void()> rebuilding, rebuilt;
        // Whether a file of that name exists; without it, whether it can be opened for reading.
        // A folder of that name is found without it.
        std::function<bool(const std::string& name)> fileExists;
        // A folder holds files that are no object files (their names in it): whether to open
        // it without them. Without it, the folder's error is raised.
        std::function<bool(const std::string& folder, const std::vector<std::string>& others)> openWithoutOthers;
    };

    explicit TSession(Hooks hooks = {});
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    const TFob& Fob(int fileNo) const { return fileNo == 1 ? fob1_ : fob2_; }
    // Files loaded or cleared so far: a view of an object shows the files of its load.
    int LoadGeneration() const { return loads_; }
    const TBuiltList& Built() const { return built_; }
    const TVisibleList& List() const { return built_.List; }
    FilterTexts& Filters() { return filters_; }
    const FilterTexts& Filters() const { return filters_; }
    CompareSettings& Compare() { return compare_; }
    TSettings& Settings() { return settings_; }
    const TSettings& Settings() const { return settings_; }
    const FormatSettings& Format() const { return regional_.format; }
    bool TypeSwitch(int type) const { return types_[static_cast<size_t>(type)]; }
    void SetTypeSwitch(int type, bool on) { types_[static_cast<size_t>(type)] = on; }
    // The files of the last drop or command line: 0, 1 or 2.
    int DroppedCount() const { return droppedCount_; }

    // Builds the list anew from both files in the mode; Rebuild in the mode of the last build.
    void BuildList(const BuildMode& mode);
    void Rebuild() { BuildList(built_.LastMode); }
    // A comparison button: "Content" is kept from run to run, the other switches for this run.
    void BuildComparison(const BuildMode& mode);
    // After the field filters changed: they are normalised; true when any is set.
    bool NormaliseFilters();
    void ClearFilters();

    // At start: the comparison switches that are stored, no drop, the first list, then the
    // files of the command line (up to two names; the "saveanalyze" switch is none).
    void Start(const std::vector<std::string>& arguments);
    // Both files unloaded.
    void Clear();
    // The open dialog's choice (a file) or the folder dialog's (a folder of object files) as
    // file 1 or 2.
    void OpenFile(const std::string& fileName, int fileNo);
    // Both files read again from disk, the list built again in its mode.
    void Reload();
    // Files or folders dropped on the window: true when they are taken (one or two), to be
    // loaded by LoadDropped once the drop has finished.
    bool Drop(const std::vector<std::string>& paths);
    void LoadDropped();

private:
    void LoadCommandLine(const std::vector<std::string>& arguments);
    void LoadIntoSlot(const std::string& fileName, int fileNo, bool ask);
    void LoadBothSlots(const std::string& file1, const std::string& file2);
    void LoadFolder(const std::string& folder, int fileNo);
    std::shared_ptr<void> Busy() const { return hooks_.busy ? hooks_.busy() : nullptr; }
    bool FileExists(const std::string& name) const;
    // The extension check of every way in; a folder passes it.
    static void CheckFileType(const std::string& name);
    static bool IsKnownFileType(const std::string& name);
    void SetDropped(int count, const std::string& first = {}, const std::string& second = {});

    Hooks hooks_;
    SystemRegional regional_;
    TFob fob1_, fob2_;
    int loads_ = 0;
    TypeSwitches types_ = kAllTypes;
    FilterTexts filters_{};
    CompareSettings compare_;  // for the whole run: the comparison dialog edits it, builds read it
    TSettings settings_;
    TBuiltList built_;
    int droppedCount_ = 0;
    std::array<std::string, 2> droppedNames_;
};

}  // namespace kavlo
