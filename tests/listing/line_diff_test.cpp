#include <gtest/gtest.h>

#include <random>

#include "listing/line_diff.h"

namespace kavlo {
namespace {

using L = std::vector<std::string>;

// The script applied: the Equal and Added lines give b, the Equal and Removed lines give a,
// each side's numbers run 1, 2, … in order, and Removed comes before Added in every change.
void ExpectValidScript(const L& a, const L& b, const std::vector<DiffLine>& s) {
    L left, right;
    bool addedSeen = false;
    for (const DiffLine& d : s) {
        if (d.Op != DiffOp::Added) {
            ASSERT_EQ(d.Line1, static_cast<int>(left.size()) + 1);
            left.push_back(a[static_cast<size_t>(d.Line1 - 1)]);
        } else {
            EXPECT_EQ(d.Line1, 0);
        }
        if (d.Op != DiffOp::Removed) {
            ASSERT_EQ(d.Line2, static_cast<int>(right.size()) + 1);
            right.push_back(b[static_cast<size_t>(d.Line2 - 1)]);
        } else {
            EXPECT_EQ(d.Line2, 0);
        }
        if (d.Op == DiffOp::Equal) {
            EXPECT_EQ(a[static_cast<size_t>(d.Line1 - 1)], b[static_cast<size_t>(d.Line2 - 1)]);
            addedSeen = false;
        }
        if (d.Op == DiffOp::Removed) {
            EXPECT_FALSE(addedSeen) << "a removed line after an added one";
        }
        if (d.Op == DiffOp::Added) addedSeen = true;
    }
    EXPECT_EQ(left, a);
    EXPECT_EQ(right, b);
}

TEST(LineDiff, GivesTheShortestScriptInReadingOrder) {
    struct Case {
        L a, b;
        std::vector<DiffLine> want;
    };
    const DiffOp E = DiffOp::Equal, R = DiffOp::Removed, A = DiffOp::Added;
    const Case cases[] = {
        {{}, {}, {}},
        {{"x"}, {"x"}, {{E, 1, 1}}},
        {{}, {"x", "y"}, {{A, 0, 1}, {A, 0, 2}}},
        {{"x", "y"}, {}, {{R, 1, 0}, {R, 2, 0}}},
        // A changed line: removed before added.
        {{"a", "b", "c"}, {"a", "B", "c"}, {{E, 1, 1}, {R, 2, 0}, {A, 0, 2}, {E, 3, 3}}},
        // Longer first side (the library swaps the sides internally).
        {{"a", "b", "c", "d"}, {"a", "d"}, {{E, 1, 1}, {R, 2, 0}, {R, 3, 0}, {E, 4, 2}}},
        {{"a", "d"}, {"a", "b", "c", "d"}, {{E, 1, 1}, {A, 0, 2}, {A, 0, 3}, {E, 2, 4}}},
        // Two lines changed into three.
        {{"k", "x", "y", "k"}, {"k", "p", "q", "r", "k"},
         {{E, 1, 1}, {R, 2, 0}, {R, 3, 0}, {A, 0, 2}, {A, 0, 3}, {A, 0, 4}, {E, 4, 5}}},
    };
    for (const Case& c : cases) {
        const std::vector<DiffLine> got = DiffLines(c.a, c.b);
        EXPECT_EQ(got, c.want) << ::testing::PrintToString(c.a) << " -> " << ::testing::PrintToString(c.b);
        ExpectValidScript(c.a, c.b, got);
    }
}

TEST(LineDiff, RandomEditsGiveValidScriptsNoLongerThanTheEdits) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        L a;
        const int n = static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i) a.push_back(std::to_string(rng() % 6));
        L b = a;
        const int edits = static_cast<int>(rng() % 5);
        for (int e = 0; e < edits; ++e) {
            if (!b.empty() && rng() % 2) b.erase(b.begin() + static_cast<long>(rng() % b.size()));
            else b.insert(b.begin() + static_cast<long>(b.empty() ? 0 : rng() % (b.size() + 1)), "new");
        }
        const std::vector<DiffLine> s = DiffLines(a, b);
        ExpectValidScript(a, b, s);
        const DiffCounts c = CountChanges(s);
        EXPECT_LE(c.Added + c.Removed, edits);
    }
}

}  // namespace
}  // namespace kavlo
