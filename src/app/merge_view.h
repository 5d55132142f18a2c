// What the window of one object's three-way merge shows, apart from the window: the three
// versions side by side in aligned rows (MODIFIED left, ORIGINAL in the middle, TARGET right),
// RESULT below them, each row kinded by where its change came from, and the stops that F8
// steps through: the conflicts, or every change when the object has none.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "listing/char_diff.h"
#include "merge/merge.h"

namespace kavlo {

inline constexpr std::string_view kMergeObjectCaption = "Merge";

// The panes in order from the left.
enum MergePane { PaneModified = 0, PaneOriginal = 1, PaneTarget = 2 };

enum class MergeRowKind {
    Same,      // the same line on all three sides, or in RESULT a line as ORIGINAL has it
    Modified,  // changed by MODIFIED only (in RESULT: a line that only MODIFIED holds)
    Target,    // changed by TARGET only
    Both,      // changed alike by both (in RESULT also a line merged from both, such as a version list)
    Conflict,  // changed differently by both; in RESULT the sides' lines inside a conflict block
    Marker,    // in RESULT, a conflict block's marker line
};

struct MergeViewRow {
    MergeRowKind Kind = MergeRowKind::Same;
    // The 1-based line of each pane (MergePane order); 0 for a filler row where that side has
    // fewer lines in the chunk than another.
    std::array<int, 3> Line{};
};

// A stop of F8: the first upper row of a chunk, and the RESULT row that stands for it (-1 when
// RESULT holds none, as for a conflict that a rule settled or a change that removed lines only).
struct MergeStop {
    int Row = 0, End = 0;  // the chunk's upper rows [Row, End)
    int ResultRow = -1;
};

struct MergeView {
    std::string Caption;                 // "Merge - Codeunit 80 Sales-Post"
    std::array<std::string, 3> Headings;  // "Modified: C:\m.txt", "... (absent)" where absent
    std::string ResultHeading;           // "Result: conflict, 2 conflicts"
    MergeStatus Status = MergeStatus::Unchanged;
    int Conflicts = 0;  // as the merge counts them
    // The sides' lines (MergePane order) as the merge diffs them, and RESULT's; UTF-8, tabs
    // expanded to stops of 8.
    std::array<std::vector<std::string>, 3> Lines;
    std::vector<std::string> ResultLines;
    std::vector<MergeViewRow> Rows;
    std::vector<MergeRowKind> ResultKinds;  // one per ResultLines
    // The conflict chunks when there are any, else every chunk that is not stable.
    std::vector<MergeStop> Stops;
    bool StopsAreConflicts = false;
    int LongestLine = 0, LongestResultLine = 0;  // in characters
};

// Lays out object `type` `id` of the three files. The paths head the panes.
MergeView MakeMergeView(const ObjectSides& sides, int type, int id, std::string_view originalPath,
                        std::string_view modifiedPath, std::string_view targetPath);

// The stop whose chunk holds upper row `row`, or -1.
int StopAt(const MergeView& view, int row);

// The changed characters of upper row `row` in each pane (MergePane order), for the marks over
// the row's tint: MODIFIED's and TARGET's line against ORIGINAL's where that side changed the
// row, ORIGINAL's against each side that changed it (both sides' ranges united). None for an
// unchanged row, nor for a pair of which one line is a filler.
std::array<std::vector<CharRange>, 3> RowChangedChars(const MergeView& view, int row);

}  // namespace kavlo
