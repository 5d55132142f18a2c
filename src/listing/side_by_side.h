// The rows of a side-by-side view of two versions of an object's text: the edit script of
// DiffLines laid out as rows with a line of file 1 on the left and a line of file 2 on the
// right, the changes (runs of rows that are not equal) and stepping from change to change.
#pragma once
#include <string>
#include <vector>

#include "listing/line_diff.h"

namespace kavlo {

enum class RowKind {
    Same,     // the line is in both files
    Changed,  // a line of file 1 replaced by a line of file 2, side by side
    Removed,  // a line only in file 1; the right side is blank
    Added,    // a line only in file 2; the left side is blank
};

struct SideBySideRow {
    RowKind Kind;
    int Line1;  // 1-based line of file 1, 0 for a blank left side
    int Line2;  // 1-based line of file 2, 0 for a blank right side
};

struct SideBySide {
    std::vector<SideBySideRow> Rows;
    // The first row of each change, ascending; a change is a run of rows that are not Same.
    std::vector<int> ChangeStarts;
    int LinesAdded = 0;    // lines of file 2 that are not in file 1 (changed lines included)
    int LinesRemoved = 0;  // lines of file 1 that are not in file 2 (changed lines included)
};

// Lays the script out in rows. Within a change, the k-th removed line and the k-th added line
// share a row as Changed; the removed or added lines beyond the shorter side follow alone.
SideBySide LayOutSideBySide(const std::vector<DiffLine>& script);

// The change that holds `row`, or -1 when the row is in no change.
int ChangeAt(const SideBySide& view, int row);
// The first row of the next change that starts after `row`, or -1 when there is none.
int NextChangeRow(const SideBySide& view, int row);
// The first row of the change before the one that holds `row` (before `row` when it is in no
// change), or -1 when there is none.
int PreviousChangeRow(const SideBySide& view, int row);

// "3 changes, 12 lines added, 1 line removed".
std::string ChangeSummary(const SideBySide& view);

}  // namespace kavlo
