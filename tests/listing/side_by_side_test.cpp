#include "listing/side_by_side.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

constexpr DiffOp E = DiffOp::Equal, R = DiffOp::Removed, A = DiffOp::Added;
constexpr RowKind S = RowKind::Same, C = RowKind::Changed, Rm = RowKind::Removed, Ad = RowKind::Added;

std::string Describe(const SideBySide& v) {
    std::string s;
    for (const SideBySideRow& r : v.Rows)
        s += "SCRA"[static_cast<int>(r.Kind)] + std::to_string(r.Line1) + ":" + std::to_string(r.Line2) + " ";
    return s;
}

TEST(SideBySide, PairsRemovedWithAddedLinesOfTheSameChange) {
    struct Case {
        const char* name;
        std::vector<DiffLine> script;
        std::vector<SideBySideRow> rows;
        std::vector<int> changeStarts;
        int added, removed;
    };
    const Case cases[] = {
        {"equal", {{E, 1, 1}, {E, 2, 2}}, {{S, 1, 1}, {S, 2, 2}}, {}, 0, 0},
        {"empty", {}, {}, {}, 0, 0},
        {"one line replaced", {{E, 1, 1}, {R, 2, 0}, {A, 0, 2}, {E, 3, 3}},
         {{S, 1, 1}, {C, 2, 2}, {S, 3, 3}}, {1}, 1, 1},
        {"more removed than added", {{R, 1, 0}, {R, 2, 0}, {R, 3, 0}, {A, 0, 1}, {E, 4, 2}},
         {{C, 1, 1}, {Rm, 2, 0}, {Rm, 3, 0}, {S, 4, 2}}, {0}, 1, 3},
        {"more added than removed, at the end", {{E, 1, 1}, {R, 2, 0}, {A, 0, 2}, {A, 0, 3}},
         {{S, 1, 1}, {C, 2, 2}, {Ad, 0, 3}}, {1}, 2, 1},
        {"added lines first in the script", {{A, 0, 1}, {R, 1, 0}, {E, 2, 2}},
         {{C, 1, 1}, {S, 2, 2}}, {0}, 1, 1},
        {"two changes", {{A, 0, 1}, {E, 1, 2}, {E, 2, 3}, {R, 3, 0}},
         {{Ad, 0, 1}, {S, 1, 2}, {S, 2, 3}, {Rm, 3, 0}}, {0, 3}, 1, 1},
    };
    for (const Case& c : cases) {
        const SideBySide v = LayOutSideBySide(c.script);
        SideBySide want;
        want.Rows = c.rows;
        EXPECT_EQ(Describe(v), Describe(want)) << c.name;
        EXPECT_EQ(v.ChangeStarts, c.changeStarts) << c.name;
        EXPECT_EQ(v.LinesAdded, c.added) << c.name;
        EXPECT_EQ(v.LinesRemoved, c.removed) << c.name;
    }
}

TEST(SideBySide, StepsFromChangeToChange) {
    // Rows: 0 S, 1-2 change 0, 3 S, 4 S, 5 change 1, 6 S.
    const SideBySide v = LayOutSideBySide(
        {{E, 1, 1}, {R, 2, 0}, {R, 3, 0}, {E, 4, 2}, {E, 5, 3}, {A, 0, 4}, {E, 6, 5}});
    ASSERT_EQ(v.ChangeStarts, (std::vector<int>{1, 5}));
    const struct {
        int row, at, next, previous;
    } steps[] = {
        {0, -1, 1, -1}, {1, 0, 5, -1}, {2, 0, 5, -1}, {3, -1, 5, 1},
        {5, 1, -1, 1},  {6, -1, -1, 5}, {-1, -1, 1, -1},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(ChangeAt(v, s.row), s.at) << s.row;
        EXPECT_EQ(NextChangeRow(v, s.row), s.next) << s.row;
        EXPECT_EQ(PreviousChangeRow(v, s.row), s.previous) << s.row;
    }
}

TEST(SideBySide, SummaryCountsInSingularAndPlural) {
    EXPECT_EQ(ChangeSummary(LayOutSideBySide({{E, 1, 1}})), "0 changes, 0 lines added, 0 lines removed");
    EXPECT_EQ(ChangeSummary(LayOutSideBySide({{R, 1, 0}, {A, 0, 1}})), "1 change, 1 line added, 1 line removed");
    EXPECT_EQ(ChangeSummary(LayOutSideBySide({{A, 0, 1}, {A, 0, 2}, {E, 1, 3}, {R, 2, 0}})),
              "2 changes, 2 lines added, 1 line removed");
}

}  // namespace
}  // namespace kavlo
