// Building the visible list from file 1 and file 2: which objects are listed (type switches,
// system objects, field filters, the comparison modes) and in which order, and the status bar
// texts that go with it. Every build starts from scratch; nothing is updated in place.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "listing/columns.h"
#include "listing/field_filter.h"
#include "listing/visible_list.h"
#include "objfile/fob.h"
#include "objfile/object_types.h"

namespace kavlo {

// The five modes of a build. The window sets one; kavlo may set several, and the sections
// then follow in the order Off, Equal, Different, Added, Deleted.
struct BuildMode {
    bool CompareEqual = false;
    bool CompareDifferent = false;
    bool CompareOff = false;
    bool CompareAdded = false;
    bool CompareDeleted = false;

    static BuildMode Off() { return {false, false, true, false, false}; }
    static BuildMode Equal() { return {true, false, false, false, false}; }
    static BuildMode Different() { return {false, true, false, false, false}; }
    static BuildMode Added() { return {false, false, false, true, false}; }
    static BuildMode Deleted() { return {false, false, false, false, true}; }
    friend bool operator==(const BuildMode&, const BuildMode&) = default;
};

// The down state of the ten type buttons, in type order TableData … Query.
using TypeSwitches = std::array<bool, kObjectTypeCount>;
inline constexpr TypeSwitches kAllTypes = {true, true, true, true, true, true, true, true, true, true};

// What a build reads. The two readers are only read; the Different merge orders copies.
struct ListSources {
    const TFob& File1;
    const TFob& File2;
    TypeSwitches Types = kAllTypes;
    bool HideSystemObjects = false;
    const CompareSettings& Compare;
    const FilterTexts& Filters;
    // Which loads of the two files these are: a number that changes with every load or clear
    // of either. Builds of the same loads share their content verdicts (TBuiltList); 0 shares
    // nothing.
    uint64_t LoadGeneration = 0;
};

// How counterparts are looked up: from the readers' index, or by the walk from the first
// record that the index answers for (the benchmarks' and tests' reference).
enum class LookupMethod { Indexed, LinearWalk };

inline constexpr int kStatusPanelCount = 5;
// Panel 0 the number listed, 1 and 2 the file names, 3 "File 1: n", 4 "File 2: n".
using StatusTexts = std::array<std::string, kStatusPanelCount>;

// What the main window keeps between builds.
struct TBuiltList {
    TVisibleList List;
    StatusTexts Status;
    BuildMode LastMode;  // a filter change rebuilds in this mode
    int Listed = 0;      // the number of listed objects (status panel 0)
    // With CompareContent on and two files whose contents cannot be compared, why the build
    // compared by the fields alone (NotComparableText); otherwise empty.
    std::string ContentNote;
    // With CompareContent on, whether the contents of record i1 of file 1 and record i2 of
    // file 2 are equal (key i1 << 32 | i2), as far as builds of the loads named by `Generation`
    // have read them: a rebuild of the same files (another mode, a filter, a type switch) then
    // reads no content twice. A build of other loads starts it afresh.
    struct ContentVerdicts {
        uint64_t Generation = 0;
        std::unordered_map<uint64_t, bool> Same;
    } Contents;
};

inline constexpr std::string_view kUnreachableText =
    "The program reached a code line which it should never reach.";

// Appends the grid row of record `index` of the reader: the cells that splitting its
// GetFobCommaText line gives, so the File cell is the reader's slot and the flags are "1" or a
// blank.
void AddFobRow(TVisibleList& list, const TFob& fob, int index);

// True when the record's type is switched on and it is not a hidden system object.
bool IncludedByType(const TFobRec& rec, const TypeSwitches& types, bool hideSystemObjects);

// Rebuilds `out` as a whole: LastMode, the status texts and the list. The errors are the
// internal-error assertion of the Different merge (MainUnit) and, with CompareContent on, those
// of reading contents back (a file changed since it was loaded).
void BuildList(const BuildMode& mode, const ListSources& sources, TBuiltList& out,
               LookupMethod lookup = LookupMethod::Indexed);

}  // namespace kavlo
