#include "app/merge_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavlo {
namespace {

// One line a character: "abc" is the lines "a", "b", "c"; "-" is a side without the object.
ObjectSide Side(const std::string& chars) {
    ObjectSide s;
    s.Present = chars != "-";
    if (s.Present)
        for (char c : chars) s.Lines.emplace_back(1, c);
    return s;
}

MergeView ViewOf(const ObjectSide& o, const ObjectSide& m, const ObjectSide& t) {
    ObjectSides sides;
    sides.Name = "Sales-Post";
    sides.Original = o;
    sides.Modified = m;
    sides.Target = t;
    sides.Merge = MergeObject(sides.Original, sides.Modified, sides.Target, MergeOptions{});
    sides.Utf8 = true;
    return MakeMergeView(sides, 5, 80, "o.txt", "m.txt", "t.txt");
}

MergeView ViewOf(const std::string& o, const std::string& m, const std::string& t) {
    return ViewOf(Side(o), Side(m), Side(t));
}

// A row as "MOTk": the line of MODIFIED, ORIGINAL and TARGET (0 for a filler) and its kind.
std::string RowsText(const MergeView& v) {
    static const char kKinds[] = "=MTBCx";
    std::string s;
    for (const MergeViewRow& r : v.Rows) {
        if (!s.empty()) s += ' ';
        for (int line : r.Line) s += std::to_string(line);
        s += kKinds[static_cast<int>(r.Kind)];
    }
    return s;
}

std::vector<int> StopRows(const MergeView& v) {
    std::vector<int> rows;
    for (const MergeStop& s : v.Stops) rows.push_back(s.Row);
    return rows;
}

TEST(MergeView, AlignsTheThreeSidesChunkByChunkWithFillerRows) {
    const struct {
        const char *o, *m, *t, *rows;
        std::vector<int> stops;
        bool conflicts;
    } cases[] = {
        {"abc", "abc", "abc", "111= 222= 333=", {}, false},
        {"abc", "aXc", "abc", "111= 222M 333=", {1}, false},
        {"ac", "abc", "ac", "111= 200M 322=", {1}, false},           // MODIFIED's added line beside fillers
        {"abc", "abc", "ab", "111= 222= 330T", {2}, false},          // TARGET's removed line
        {"abc", "aXYc", "aXYc", "111= 222B 303B 434=", {1}, false},  // both alike
        {"abc", "aXc", "aYc", "111= 222C 333=", {1}, true},
        // Conflicts are the stops when there are any, not the other changes.
        {"abcdefg", "XbcDefY", "ZbcdefW", "111C 222= 333= 444M 555= 666= 777C", {0, 6}, true},
        {"abc", "aXYZc", "aWc", "111= 222C 300C 400C 533=", {1}, true},
    };
    for (const auto& c : cases) {
        const MergeView v = ViewOf(c.o, c.m, c.t);
        EXPECT_EQ(RowsText(v), c.rows) << c.m << " " << c.t;
        EXPECT_EQ(StopRows(v), c.stops) << c.m << " " << c.t;
        EXPECT_EQ(v.StopsAreConflicts, c.conflicts) << c.m << " " << c.t;
    }
}

// RESULT's pane holds what the merge gives, each line kinded by the side it came from, and each
// stop leads to where RESULT holds its change.
TEST(MergeView, ShowsResultsLinesKindedAndWhereEachStopLands) {
    const struct {
        const char *o, *m, *t;
        std::vector<std::string> result;
        const char* kinds;
        std::vector<int> resultRows;
        const char* heading;
    } cases[] = {
        {"abcde", "aXcde", "abcdY", {"a", "X", "c", "d", "Y"}, "=M==T", {1, 4}, "Result: merged, 0 conflicts"},
        {"abc", "aXc", "aYc", {"a", kConflictStart, "X", kConflictOriginal, "b", kConflictSeparator, "Y", kConflictEnd, "c"},
         "=xCxCxCx=", {1}, "Result: conflict, 1 conflict"},
        {"abc", "aXc", "-", {"a", "X", "c"}, "=M=", {-1}, "Result: conflict, 1 conflict"},  // kept whole
        {"abc", "-", "abc", {}, "", {-1}, "Result: deleted, 0 conflicts"},
    };
    for (const auto& c : cases) {
        const MergeView v = ViewOf(c.o, c.m, c.t);
        EXPECT_EQ(v.ResultLines, c.result) << c.m << " " << c.t;
        std::string kinds;
        for (MergeRowKind k : v.ResultKinds) kinds += "=MTBCx"[static_cast<int>(k)];
        EXPECT_EQ(kinds, c.kinds) << c.m << " " << c.t;
        std::vector<int> rows;
        for (const MergeStop& s : v.Stops) rows.push_back(s.ResultRow);
        EXPECT_EQ(rows, c.resultRows) << c.m << " " << c.t;
        EXPECT_EQ(v.ResultHeading, c.heading);
    }
    const MergeView absent = ViewOf("abc", "aXc", "-");
    EXPECT_EQ(absent.Caption, "Merge - Codeunit 80 Sales-Post");
    EXPECT_EQ(absent.Headings[PaneTarget], "Target: t.txt (absent)");
    EXPECT_EQ(absent.Headings[PaneModified], "Modified: m.txt");
}

// In a changed row each side's changed characters are marked against ORIGINAL's line, and
// ORIGINAL's against every side that changed the row; a filler side has none to compare.
TEST(MergeView, MarksTheChangedCharactersOfEachSideAgainstOriginal) {
    const auto lines = [](std::vector<std::string> l) {
        ObjectSide s;
        s.Present = true;
        s.Lines = std::move(l);
        return s;
    };
    // A row's ranges as "MODIFIED|ORIGINAL|TARGET", each "begin-end" and comma-separated.
    const auto text = [](const std::array<std::vector<CharRange>, 3>& panes) {
        std::string s;
        for (size_t p = 0; p < 3; ++p) {
            if (p) s += '|';
            for (size_t k = 0; k < panes[p].size(); ++k)
                s += (k ? "," : "") + std::to_string(panes[p][k].Begin) + "-" + std::to_string(panes[p][k].End);
        }
        return s;
    };
    const struct {
        std::vector<std::string> o, m, t;
        int row;
        const char* ranges;
    } cases[] = {
        {{"a", "x := 1;"}, {"a", "x := 2;"}, {"a", "x := 1;"}, 1, "5-6|5-6|"},                  // Modified
        {{"a", "x := 1;"}, {"a", "x := 1;"}, {"a", "x := 1 + y;"}, 1, "|6-6|6-10"},              // Target
        {{"a", "x := 1;"}, {"a", "x := 1;"}, {"a", "x := 1;"}, 1, "||"},                         // Same
        {{"x := 1 + y;"}, {"z := 1 + y;"}, {"x := 1 + w;"}, 0, "0-1|0-1,9-10|9-10"},             // Conflict: union
        {{"x := 1 + y;"}, {"x := 2 - y;"}, {"x := 1 * w;"}, 0, "5-8|5-10|7-10"},                 // overlapping, joined
        {{"a", "c"}, {"a", "b", "c"}, {"a", "c"}, 1, "||"},                                      // ORIGINAL a filler
        {{"b1", "b2"}, {"X"}, {"Y1", "Y2"}, 1, "|0-2|0-2"},                                      // MODIFIED a filler
    };
    for (const auto& c : cases) {
        const MergeView v = ViewOf(lines(c.o), lines(c.m), lines(c.t));
        ASSERT_LT(c.row, static_cast<int>(v.Rows.size())) << c.ranges;
        EXPECT_EQ(text(RowChangedChars(v, c.row)), c.ranges) << c.m[0] << " " << c.t[0];
    }
}

}  // namespace
}  // namespace kavlo
