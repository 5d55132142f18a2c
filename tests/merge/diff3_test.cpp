#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>


#include "merge/diff3.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

// One character per line; in the expected text the marker lines are written < | = >.
std::vector<std::string> Lines(std::string_view chars) {
    std::vector<std::string> lines;
    for (char c : chars) {
        switch (c) {
            case '<': lines.emplace_back(kConflictStart); break;
            case '|': lines.emplace_back(kConflictOriginal); break;
            case '=': lines.emplace_back(kConflictSeparator); break;
            case '>': lines.emplace_back(kConflictEnd); break;
            default: lines.emplace_back(1, c);
        }
    }
    return lines;
}

TEST(MergeLines, TakesEachChangeFromItsSideAndBlocksOverlappingOnes) {
    struct Case {
        const char *name, *original, *modified, *target, *expected;
        int conflicts;
    };
    const Case cases[] = {
        {"unchanged", "abc", "abc", "abc", "abc", 0},
        {"modified only", "abc", "aXc", "abc", "aXc", 0},
        {"target only", "abc", "abc", "aYc", "aYc", 0},
        {"both alike", "abc", "aXc", "aXc", "aXc", 0},
        {"apart", "abcde", "aXcde", "abcdY", "aXcdY", 0},
        {"deleted on one side", "abcde", "acde", "abcdY", "acdY", 0},
        {"overlapping", "abc", "aXc", "aYc", "a<X|b=Y>c", 1},
        {"touching changes are one chunk", "abcd", "Xbcd", "aYcd", "<Xb|ab=aY>cd", 1},
        {"inserted at one place", "abc", "abXc", "abYc", "ab<X|=Y>c", 1},
        {"deleted and changed", "abc", "ac", "aYc", "a<|b=Y>c", 1},
        {"two conflicts", "abcde", "aXcZe", "aYcWe", "a<X|b=Y>c<Z|d=W>e", 2},
        {"no original", "", "X", "Y", "<X|=Y>", 1},
        {"all emptied alike", "abc", "", "", "", 0},
    };
    for (const Case& c : cases) {
        const MergedLines merged = MergeLines(Lines(c.original), Lines(c.modified), Lines(c.target));
        EXPECT_EQ(merged.Lines, Lines(c.expected)) << c.name;
        EXPECT_EQ(merged.Conflicts, c.conflicts) << c.name;
    }
}

#ifndef _WIN32
// The same merges as git merge-file, the reference diff3 of everyday use, on generated triples.
// Every line is unique but for the lines that both sides add alike, so that each diff has one
// answer. Clean merges must be identical. Where both conflict, git may cut the blocks otherwise
// (it joins changes that touch by other rules), so the conflicted regions are compared as a
// whole: each output with every block settled for MODIFIED, for ORIGINAL and for TARGET.
std::vector<std::string> Settled(const std::vector<std::string>& merged, int side) {
    std::vector<std::string> out;
    int part = -1;  // -1 outside a block; 0 MODIFIED, 1 ORIGINAL, 2 TARGET inside one
    for (const std::string& l : merged) {
        if (l == kConflictStart) part = 0;
        else if (l == kConflictOriginal) part = 1;
        else if (l == kConflictSeparator) part = 2;
        else if (l == kConflictEnd) part = -1;
        else if (part < 0 || part == side) out.push_back(l);
    }
    return out;
}

std::string Text(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

// All triples go to git in one run: each is followed by four separator lines of its own on all
// three sides, and each triple's lines carry its number, so that no line of one triple equals
// a line of another and the separators stay stable lines between the triples' merges. (A git
// process per triple cost 80 ms each.)
TEST(MergeLines, AgreesWithGitMergeFile) {
    testing::TempDir dir;
    std::mt19937 rng(20261210);
    constexpr int kRounds = 300;
    struct Triple {
        std::vector<std::string> o, m, t;
    };
    std::vector<Triple> triples(kRounds);
    const auto separator = [](int round, int k) {
        return "~~ end of round " + std::to_string(round) + " ~~ " + std::to_string(k);
    };
    std::vector<std::string> allO, allM, allT;
    for (int round = 0; round < kRounds; ++round) {
        Triple& triple = triples[round];
        std::vector<std::string>&o = triple.o, &m = triple.m, &t = triple.t;
        const std::string r = "r" + std::to_string(round) + " ";
        const int n = static_cast<int>(rng() % 25);
        int fresh = 0;
        const auto edit = [&](std::vector<std::string>& side, const std::string& line, const char* tag) {
            const unsigned x = rng() % 100;
            if (x < 8) return;  // deleted
            if (x < 20) side.push_back(r + tag + std::to_string(fresh++));
            if (x < 14 || x >= 20) side.push_back(line);  // kept, or kept after an inserted line
        };
        for (int i = 0; i < n; ++i) {
            const std::string line = r + "line " + std::to_string(i);
            o.push_back(line);
            if (rng() % 12 == 0) {  // the same change on both sides
                const std::string same = r + "same " + std::to_string(fresh++);
                m.push_back(same);
                t.push_back(same);
                continue;
            }
            edit(m, line, "m");
            edit(t, line, "t");
        }
        if (rng() % 4 == 0) m.push_back(r + "m" + std::to_string(fresh++));
        if (rng() % 4 == 0) t.push_back(r + "t" + std::to_string(fresh++));
        allO.insert(allO.end(), o.begin(), o.end());
        allM.insert(allM.end(), m.begin(), m.end());
        allT.insert(allT.end(), t.begin(), t.end());
        for (int k = 0; k < 4; ++k)
            for (auto* all : {&allO, &allM, &allT}) all->push_back(separator(round, k));
    }
    testing::WriteBytes(dir.File("o"), Text(allO));
    testing::WriteBytes(dir.File("m"), Text(allM));
    testing::WriteBytes(dir.File("t"), Text(allT));
    // Its exit status is the number of conflicts, 127 for more; 255 on an error.
    const std::string command = "cd '" + dir.Path().string() +
                                "' && command -v git > /dev/null && "
                                "{ git merge-file -p --diff3 -L MODIFIED -L ORIGINAL -L TARGET m o t > r; [ $? -le 127 ]; }";
    ASSERT_EQ(std::system(command.c_str()), 0) << "git merge-file failed (is git installed?): " << command;
    const std::string gitText = testing::ReadBytes(dir.File("r"));
    std::vector<std::string> gitAll;
    for (size_t at = 0; at < gitText.size();) {
        const size_t eol = gitText.find('\n', at);
        gitAll.push_back(gitText.substr(at, eol - at));
        at = eol == std::string::npos ? gitText.size() : eol + 1;
    }

    int clean = 0, conflicted = 0;
    size_t at = 0;
    for (int round = 0; round < kRounds; ++round) {
        // This triple's merge: git's lines up to its separators, which must all be there.
        std::vector<std::string> gitLines;
        while (at < gitAll.size() && gitAll[at] != separator(round, 0)) gitLines.push_back(gitAll[at++]);
        for (int k = 0; k < 4; ++k, ++at) ASSERT_TRUE(at < gitAll.size() && gitAll[at] == separator(round, k)) << round;
        const int gitConflicts = static_cast<int>(std::count(gitLines.begin(), gitLines.end(), kConflictStart));

        const Triple& triple = triples[round];
        const MergedLines ours = MergeLines(triple.o, triple.m, triple.t);
        const std::string where = "round " + std::to_string(round) + "\n" + Text(ours.Lines) + "--- git:\n" + Text(gitLines);
        ASSERT_EQ(ours.Conflicts == 0, gitConflicts == 0) << where;
        if (ours.Conflicts == 0) {
            ++clean;
            ASSERT_EQ(ours.Lines, gitLines) << where;
        } else {
            ++conflicted;
            for (int side = 0; side < 3; ++side) ASSERT_EQ(Settled(ours.Lines, side), Settled(gitLines, side)) << where;
        }
    }
    EXPECT_EQ(at, gitAll.size());
    // Both kinds were tried, enough of each to mean something.
    EXPECT_GT(clean, 50);
    EXPECT_GT(conflicted, 50);
}
#endif

}  // namespace
}  // namespace kavlo
