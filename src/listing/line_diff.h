// The line-by-line difference of two texts: the shortest edit script between two sequences of
// lines, as the object diff and kavlo diff show it. The script comes from a well-kept diff
// library (dtl, the O(NP) algorithm), not from code of ours.
#pragma once
#include <string>
#include <vector>

namespace kavlo {

enum class DiffOp { Equal, Removed, Added };

struct DiffLine {
    DiffOp Op;
    int Line1;  // 1-based line in the first sequence, 0 when the line is not on that side
    int Line2;  // 1-based line in the second sequence, 0 when the line is not on that side
};

inline bool operator==(const DiffLine& a, const DiffLine& b) {
    return a.Op == b.Op && a.Line1 == b.Line1 && a.Line2 == b.Line2;
}

// The shortest edit script, in order; Removed lines of a change come before its Added lines.
std::vector<DiffLine> DiffLines(const std::vector<std::string>& a, const std::vector<std::string>& b);

// The lines added and removed by a script.
struct DiffCounts {
    int Added = 0;
    int Removed = 0;
};
DiffCounts CountChanges(const std::vector<DiffLine>& script);

}  // namespace kavlo
