// The rows of one object's three-way merge: the sides aligned chunk by chunk of their diff3,
// RESULT's lines kinded by the side each came from, and the stops of F8.
#include "app/merge_view.h"

#include <algorithm>

#include "app/object_diff.h"
#include "listing/line_diff.h"
#include "objfile/object_types.h"
#include "platform/code_page.h"

namespace kavlo {

namespace {

MergeRowKind KindOf(ChunkKind kind) {
    switch (kind) {
        case ChunkKind::Stable: break;
        case ChunkKind::Modified: return MergeRowKind::Modified;
        case ChunkKind::Target: return MergeRowKind::Target;
        case ChunkKind::Both: return MergeRowKind::Both;
        case ChunkKind::Conflict: return MergeRowKind::Conflict;
    }
    return MergeRowKind::Same;
}

const std::vector<std::string>& ResultLinesOf(const ObjectSides& sides) {
    static const std::vector<std::string> none;
    switch (sides.Merge.Result) {
        case ObjectMerge::Take::None: break;
        case ObjectMerge::Take::Modified: return sides.Modified.Lines;
        case ObjectMerge::Take::Target: return sides.Target.Lines;
        case ObjectMerge::Take::Merged: return sides.Merge.Lines;
    }
    return none;
}

// A conflict block of RESULT: its first row and the MODIFIED and TARGET lines it holds.
struct Block {
    int Row;
    LineRange Modified, Target;
};

// Marks the conflict blocks' rows and returns the blocks.
std::vector<Block> MarkBlocks(const std::vector<std::string>& lines, std::vector<MergeRowKind>& kinds) {
    std::vector<Block> blocks;
    for (size_t r = 0; r < lines.size(); ++r) {
        if (lines[r] != kConflictStart) continue;
        size_t original = r + 1;
        while (original < lines.size() && lines[original] != kConflictOriginal) ++original;
        size_t separator = original;
        while (separator < lines.size() && lines[separator] != kConflictSeparator) ++separator;
        size_t end = separator;
        while (end < lines.size() && lines[end] != kConflictEnd) ++end;
        if (end == lines.size()) break;  // a marker of the text itself, not a block
        for (size_t k = r; k <= end; ++k)
            kinds[k] = k == r || k == original || k == separator || k == end ? MergeRowKind::Marker
                                                                              : MergeRowKind::Conflict;
        blocks.push_back({static_cast<int>(r), {r + 1, original}, {separator + 1, end}});
        r = end;
    }
    return blocks;
}

// The lines of `result` that an LCS with `side` keeps, as flags.
std::vector<bool> KeptFrom(const std::vector<std::string>& side, const std::vector<std::string>& result) {
    std::vector<bool> kept(result.size());
    for (const DiffLine& d : DiffLines(side, result))
        if (d.Op == DiffOp::Equal) kept[static_cast<size_t>(d.Line2 - 1)] = true;
    return kept;
}

bool SameLines(const std::vector<std::string>& a, LineRange ra, const std::vector<std::string>& b, LineRange rb) {
    return ra.Size() == rb.Size() && std::equal(a.begin() + static_cast<std::ptrdiff_t>(ra.Begin),
                                                a.begin() + static_cast<std::ptrdiff_t>(ra.End),
                                                b.begin() + static_cast<std::ptrdiff_t>(rb.Begin));
}

std::string Heading(const char* label, std::string_view path, bool present) {
    return std::string(label) + ": " + std::string(path) + (present ? "" : " (absent)");
}

}  // namespace

MergeView MakeMergeView(const ObjectSides& sides, int type, int id, std::string_view originalPath,
                        std::string_view modifiedPath, std::string_view targetPath) {
    MergeView v;
    v.Caption = std::string(kMergeObjectCaption) + " - " + std::string(ObjectTypeNames[static_cast<size_t>(type)]) +
                " " + std::to_string(id) + (sides.Name.empty() ? "" : " " + sides.Name);
    v.Headings = {Heading("Modified", modifiedPath, sides.Modified.Present),
                  Heading("Original", originalPath, sides.Original.Present),
                  Heading("Target", targetPath, sides.Target.Present)};
    v.Status = sides.Merge.Status;
    v.Conflicts = sides.Merge.Conflicts;
    v.ResultHeading = "Result: " + std::string(MergeStatusName(v.Status)) + ", " + std::to_string(v.Conflicts) +
                      (v.Conflicts == 1 ? " conflict" : " conflicts");

    const std::array<std::vector<std::string>, 3> compared =
        ComparedLines(sides.Original, sides.Modified, sides.Target);
    const std::vector<std::string>&o = compared[0], &m = compared[1], &t = compared[2];
    const std::vector<std::string>& result = ResultLinesOf(sides);

    // RESULT's rows: the conflict blocks, then each other line by the sides that hold it.
    v.ResultKinds.assign(result.size(), MergeRowKind::Same);
    const std::vector<Block> blocks = MarkBlocks(result, v.ResultKinds);
    const std::vector<bool> inO = KeptFrom(sides.Original.Lines, result), inM = KeptFrom(sides.Modified.Lines, result),
                            inT = KeptFrom(sides.Target.Lines, result);
    for (size_t r = 0; r < result.size(); ++r) {
        MergeRowKind& k = v.ResultKinds[r];
        if (k != MergeRowKind::Same || inO[r]) continue;
        k = inM[r] == inT[r] ? MergeRowKind::Both : inM[r] ? MergeRowKind::Modified : MergeRowKind::Target;
    }

    // The upper rows, chunk by chunk, and the stops.
    std::vector<MergeStop> changes, conflicts;
    size_t block = 0;
    int changeFrom = 0;
    for (const Diff3Chunk& c : Diff3(o, m, t)) {
        const LineRange ranges[3] = {c.Modified, c.Original, c.Target};
        const size_t height = std::max({c.Modified.Size(), c.Original.Size(), c.Target.Size()});
        MergeStop stop{static_cast<int>(v.Rows.size()), static_cast<int>(v.Rows.size() + height), -1};
        for (size_t i = 0; i < height; ++i) {
            MergeViewRow row{KindOf(c.Kind), {}};
            for (size_t p = 0; p < 3; ++p)
                row.Line[p] = i < ranges[p].Size() ? static_cast<int>(ranges[p].Begin + i + 1) : 0;
            v.Rows.push_back(row);
        }
        if (c.Kind == ChunkKind::Stable) continue;
        if (c.Kind == ChunkKind::Conflict) {
            // Its block in RESULT, unless a rule settled it.
            for (size_t b = block; b < blocks.size(); ++b)
                if (SameLines(m, c.Modified, result, blocks[b].Modified) &&
                    SameLines(t, c.Target, result, blocks[b].Target)) {
                    stop.ResultRow = blocks[b].Row;
                    block = b + 1;
                    break;
                }
            conflicts.push_back(stop);
        }
        // Where RESULT next holds a line of the side's change.
        const std::vector<std::string>& side = c.Kind == ChunkKind::Target ? t : m;
        const LineRange added = c.Kind == ChunkKind::Target ? c.Target : c.Modified;
        for (int r = changeFrom; r < static_cast<int>(result.size()); ++r) {
            const MergeRowKind k = v.ResultKinds[static_cast<size_t>(r)];
            if (k == MergeRowKind::Same || k == MergeRowKind::Conflict) continue;
            if (k == MergeRowKind::Marker && c.Kind != ChunkKind::Conflict) continue;
            if (k != MergeRowKind::Marker && added.Size() > 0 && result[static_cast<size_t>(r)] != side[added.Begin])
                continue;
            stop.ResultRow = r;
            break;
        }
        if (stop.ResultRow >= 0) changeFrom = stop.ResultRow + 1;
        changes.push_back(stop);
    }
    v.StopsAreConflicts = !conflicts.empty();
    v.Stops = v.StopsAreConflicts ? std::move(conflicts) : std::move(changes);

    // The texts as the panes draw them.
    const auto utf8 = [&](const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        out.reserve(lines.size());
        for (const std::string& l : lines) out.push_back(sides.Utf8 ? l : OemToUtf8(sides.CodePage, l));
        return out;
    };
    v.Lines = {utf8(m), utf8(o), utf8(t)};
    v.ResultLines = utf8(result);
    for (std::vector<std::string>& lines : v.Lines) v.LongestLine = std::max(v.LongestLine, ExpandTabs(lines));
    v.LongestResultLine = ExpandTabs(v.ResultLines);
    return v;
}

int StopAt(const MergeView& view, int row) {
    for (size_t s = 0; s < view.Stops.size(); ++s)
        if (row >= view.Stops[s].Row && row < view.Stops[s].End) return static_cast<int>(s);
    return -1;
}

std::array<std::vector<CharRange>, 3> RowChangedChars(const MergeView& view, int row) {
    std::array<std::vector<CharRange>, 3> out;
    const MergeViewRow& r = view.Rows[static_cast<size_t>(row)];
    const int original = r.Line[PaneOriginal];
    if (r.Kind == MergeRowKind::Same || original == 0) return out;
    const std::string& o = view.Lines[PaneOriginal][static_cast<size_t>(original - 1)];
    std::vector<CharRange>& united = out[PaneOriginal];
    for (const MergePane side : {PaneModified, PaneTarget}) {
        const bool changed = r.Kind == MergeRowKind::Both || r.Kind == MergeRowKind::Conflict ||
                             r.Kind == (side == PaneModified ? MergeRowKind::Modified : MergeRowKind::Target);
        const int line = r.Line[side];
        if (!changed || line == 0) continue;
        LineCharChanges c = ChangedChars(view.Lines[side][static_cast<size_t>(line - 1)], o);
        out[side] = std::move(c.Ranges1);
        united.insert(united.end(), c.Ranges2.begin(), c.Ranges2.end());
    }
    // Ascending, a range that overlaps or touches the one before it joined to it.
    std::sort(united.begin(), united.end(),
              [](const CharRange& a, const CharRange& b) { return a.Begin != b.Begin ? a.Begin < b.Begin : a.End < b.End; });
    std::vector<CharRange> merged;
    for (const CharRange& c : united) {
        if (!merged.empty() && c.Begin <= merged.back().End) merged.back().End = std::max(merged.back().End, c.End);
        else merged.push_back(c);
    }
    united = std::move(merged);
    return out;
}

}  // namespace kavlo
