// diff3 over DiffLines: no longest-common-subsequence code of our own.
#include "merge/diff3.h"

#include <algorithm>

#include "listing/line_diff.h"

namespace kavlo {

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// For each ORIGINAL line, the line of the other side that the diff keeps it as, or kNone.
std::vector<size_t> Matches(const std::vector<std::string>& original, const std::vector<std::string>& other) {
    std::vector<size_t> match(original.size(), kNone);
    for (const DiffLine& d : DiffLines(original, other))
        if (d.Op == DiffOp::Equal) match[static_cast<size_t>(d.Line1 - 1)] = static_cast<size_t>(d.Line2 - 1);
    return match;
}

bool SameLines(const std::vector<std::string>& a, LineRange ra, const std::vector<std::string>& b, LineRange rb) {
    return ra.Size() == rb.Size() && std::equal(a.begin() + static_cast<std::ptrdiff_t>(ra.Begin),
                                                a.begin() + static_cast<std::ptrdiff_t>(ra.End),
                                                b.begin() + static_cast<std::ptrdiff_t>(rb.Begin));
}

void Append(std::vector<std::string>& out, const std::vector<std::string>& lines, LineRange r) {
    out.insert(out.end(), lines.begin() + static_cast<std::ptrdiff_t>(r.Begin),
               lines.begin() + static_cast<std::ptrdiff_t>(r.End));
}

}  // namespace

std::vector<Diff3Chunk> Diff3(const std::vector<std::string>& original, const std::vector<std::string>& modified,
                              const std::vector<std::string>& target) {
    const std::vector<size_t> toM = Matches(original, modified);
    const std::vector<size_t> toT = Matches(original, target);
    std::vector<Diff3Chunk> chunks;
    size_t o = 0, m = 0, t = 0;  // where the part not yet taken starts on each side
    const auto unstable = [&](size_t oEnd, size_t mEnd, size_t tEnd) {
        Diff3Chunk c;
        c.Original = {o, oEnd};
        c.Modified = {m, mEnd};
        c.Target = {t, tEnd};
        if (c.Original.Size() == 0 && c.Modified.Size() == 0 && c.Target.Size() == 0) return;
        const bool mSame = SameLines(original, c.Original, modified, c.Modified);
        const bool tSame = SameLines(original, c.Original, target, c.Target);
        c.Kind = mSame && tSame ? ChunkKind::Stable
                 : mSame        ? ChunkKind::Target
                 : tSame        ? ChunkKind::Modified
                 : SameLines(modified, c.Modified, target, c.Target) ? ChunkKind::Both
                                                                     : ChunkKind::Conflict;
        chunks.push_back(c);
    };
    for (size_t i = 0; i < original.size();) {
        // A stable run: ORIGINAL lines that both diffs keep, one after the other on all sides.
        if (toM[i] == kNone || toT[i] == kNone) {
            ++i;
            continue;
        }
        unstable(i, toM[i], toT[i]);
        size_t n = 1;
        while (i + n < original.size() && toM[i + n] == toM[i] + n && toT[i + n] == toT[i] + n) ++n;
        chunks.push_back({ChunkKind::Stable, {i, i + n}, {toM[i], toM[i] + n}, {toT[i], toT[i] + n}});
        o = i + n;
        m = toM[i] + n;
        t = toT[i] + n;
        i += n;
    }
    unstable(original.size(), modified.size(), target.size());
    return chunks;
}

MergedLines MergeLines(const std::vector<std::string>& original, const std::vector<std::string>& modified,
                       const std::vector<std::string>& target, const ConflictResolver& resolve) {
    MergedLines out;
    out.Lines.reserve(std::max(modified.size(), target.size()));
    for (const Diff3Chunk& c : Diff3(original, modified, target)) {
        switch (c.Kind) {
            case ChunkKind::Stable:
            case ChunkKind::Target:
            case ChunkKind::Both:
                Append(out.Lines, target, c.Target);
                break;
            case ChunkKind::Modified:
                Append(out.Lines, modified, c.Modified);
                break;
            case ChunkKind::Conflict:
                if (resolve && resolve(c, out.Lines)) break;
                ++out.Conflicts;
                out.Lines.emplace_back(kConflictStart);
                Append(out.Lines, modified, c.Modified);
                out.Lines.emplace_back(kConflictOriginal);
                Append(out.Lines, original, c.Original);
                out.Lines.emplace_back(kConflictSeparator);
                Append(out.Lines, target, c.Target);
                out.Lines.emplace_back(kConflictEnd);
                break;
        }
    }
    return out;
}

}  // namespace kavlo
