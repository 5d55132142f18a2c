// What the "Object Differences" window shows, apart from the window: which objects a row of
// the list stands for, their contents read back from both files and laid out side by side, or
// the message that takes the place of the panes (binary data, formats that cannot be compared).
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listing/side_by_side.h"
#include "listing/visible_list.h"
#include "objfile/fob.h"

namespace kavlo {

inline constexpr std::string_view kObjectDiffCaption = "Object Differences";

// One object: its type number, ID and, for table data, the entry's qualifier.
struct ObjectKey {
    int Type = 0;
    int ID = 0;
    std::string Qualifier;
    friend bool operator==(const ObjectKey&, const ObjectKey&) = default;
};

// The object of data row `row` of the list (its Type, ID and Version cells), or nothing for a
// row that names none.
std::optional<ObjectKey> RowObject(const TVisibleList& list, int row);

// The object's index in each file, or nothing when one of the files does not hold it.
struct ObjectPair {
    int Index1, Index2;
};
std::optional<ObjectPair> FindInBoth(const TFob& fob1, const TFob& fob2, const ObjectKey& key);

struct ObjectDiff {
    std::string Caption;  // "Object Differences - Table 18 Customer"
    std::string Heading1, Heading2;  // "File 1: C:\a.txt" over each pane
    // Text and XML: both objects' lines in UTF-8 that keeps every character (ObjectContent),
    // tabs expanded to stops of 8 characters, and their rows.
    std::vector<std::string> Lines1, Lines2;
    SideBySide View;
    int LongestLine = 0;  // in characters (code points)
    // Binary data or formats that cannot be compared: what the window says instead of panes.
    std::string Message;
    std::string Summary;  // the status line
};

// Expands the tabs of UTF-8 lines to stops of 8 characters; returns the longest line's length in
// characters (code points).
int ExpandTabs(std::vector<std::string>& lines);

// Reads both objects' contents (without their OBJECT-PROPERTIES) and compares them. A file
// that changed since loading raises the reader's error.
ObjectDiff MakeObjectDiff(const TFob& fob1, int index1, const TFob& fob2, int index2);

}  // namespace kavlo
