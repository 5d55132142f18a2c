// Object statuses, the merge of one object, and the walk over three files.
#include "merge/merge.h"

#include <algorithm>
#include <tuple>

#include "base/errors.h"
#include "base/text_lines.h"
#include "objfile/object_content.h"
#include "platform/code_page.h"

namespace kavlo {

namespace {

// The documentation trigger: the last "END." line and the "BEGIN" line of the same indentation
// above it, as indices; {0, 0} when there is none.
std::pair<size_t, size_t> DocumentationTrigger(const std::vector<std::string>& lines) {
    for (size_t e = lines.size(); e-- > 0;) {
        if (TrimSpaces(lines[e]) != "END.") continue;
        const std::string begin = lines[e].substr(0, lines[e].find_first_not_of(" \t")) + "BEGIN";
        for (size_t b = e; b-- > 0;)
            if (lines[b] == begin) return {b, e};
        return {0, 0};
    }
    return {0, 0};
}

// The object's lines without its property block, and the block.
std::vector<std::string> WithoutProperties(const std::vector<std::string>& lines, PropertyBlock block) {
    std::vector<std::string> out(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(block.Begin));
    out.insert(out.end(), lines.begin() + static_cast<std::ptrdiff_t>(block.End), lines.end());
    return out;
}

SideProperties PropertiesOf(const ObjectSide& side) {
    SideProperties p;
    p.Block = ReadProperties(side.Lines, FindPropertyBlock(side.Lines));
    p.Date = side.Date;
    p.Time = side.Time;
    return p;
}

// Both sides' lines of a conflict inside the documentation trigger: the first side's, then the
// other's that the first lacks.
ConflictResolver DocumentationResolver(const std::vector<std::string>& original, const std::vector<std::string>& modified,
                                       const std::vector<std::string>& target, DocumentationRule rule) {
    if (rule == DocumentationRule::Conflict) return {};
    const std::pair<size_t, size_t> trigger = DocumentationTrigger(original);
    const size_t begin = trigger.first, end = trigger.second;
    if (end == 0) return {};
    return [&modified, &target, rule, begin, end](const Diff3Chunk& c, std::vector<std::string>& out) {
        if (c.Original.Begin <= begin || c.Original.End > end) return false;
        const bool modifiedFirst = rule == DocumentationRule::ModifiedFirst;
        const std::vector<std::string>& first = modifiedFirst ? modified : target;
        const std::vector<std::string>& second = modifiedFirst ? target : modified;
        const LineRange r1 = modifiedFirst ? c.Modified : c.Target, r2 = modifiedFirst ? c.Target : c.Modified;
        const auto b1 = first.begin() + static_cast<std::ptrdiff_t>(r1.Begin);
        const auto e1 = first.begin() + static_cast<std::ptrdiff_t>(r1.End);
        out.insert(out.end(), b1, e1);
        for (size_t k = r2.Begin; k < r2.End; ++k)
            if (std::find(b1, e1, second[k]) == e1) out.push_back(second[k]);
        return true;
    };
}

// Both sides changed the object differently: its content merged line by line, the merged
// property block put back below the opening brace.
ObjectMerge MergeChanged(const ObjectSide& original, const ObjectSide& modified, const ObjectSide& target,
                         const MergeOptions& options) {
    const PropertyBlock oBlock = FindPropertyBlock(original.Lines), mBlock = FindPropertyBlock(modified.Lines),
                        tBlock = FindPropertyBlock(target.Lines);
    const std::vector<std::string> o = WithoutProperties(original.Lines, oBlock);
    const std::vector<std::string> m = WithoutProperties(modified.Lines, mBlock);
    const std::vector<std::string> t = WithoutProperties(target.Lines, tBlock);
    MergedLines merged = MergeLines(o, m, t, DocumentationResolver(o, m, t, options.Documentation));

    ObjectMerge r;
    r.Result = ObjectMerge::Take::Merged;
    r.Conflicts = merged.Conflicts;
    r.Status = merged.Conflicts ? MergeStatus::Conflict : MergeStatus::Merged;
    const SideProperties mp = PropertiesOf(modified), tp = PropertiesOf(target);
    std::vector<std::string> props =
        MergeProperties(mp, tp, options.Properties, options.NowDate, options.NowTime);
    r.LongVersionList = ReadProperties(props, {0, props.size()}).Version.size() > kVersionListLimit;
    // Below the object's opening brace, where TARGET has the block.
    size_t at = std::min(tBlock.Begin, merged.Lines.size());
    for (size_t k = 0; k < merged.Lines.size() && k < 4; ++k)
        if (TrimSpaces(merged.Lines[k]) == "{") {
            at = k + 1;
            break;
        }
    merged.Lines.insert(merged.Lines.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(props.begin()),
                        std::make_move_iterator(props.end()));
    r.Lines = std::move(merged.Lines);
    return r;
}

ObjectMerge Taken(MergeStatus status, ObjectMerge::Take take, int conflicts = 0) {
    ObjectMerge r;
    r.Status = status;
    r.Result = take;
    r.Conflicts = conflicts;
    return r;
}

}  // namespace

std::string_view MergeStatusName(MergeStatus status) {
    static constexpr std::string_view kNames[kMergeStatusCount] = {"unchanged", "target", "modified", "inserted",
                                                                   "deleted",   "both",   "merged",   "conflict"};
    return kNames[static_cast<size_t>(status)];
}

ObjectMerge MergeObject(const ObjectSide& original, const ObjectSide& modified, const ObjectSide& target,
                        const MergeOptions& options) {
    using Take = ObjectMerge::Take;
    const auto changed = [&](const ObjectSide& side) {
        return side.Present != original.Present || (side.Present && side.Lines != original.Lines);
    };
    const bool mChanged = changed(modified), tChanged = changed(target);
    if (!mChanged && !tChanged) return Taken(MergeStatus::Unchanged, target.Present ? Take::Target : Take::None);
    if (!mChanged) return Taken(MergeStatus::Target, target.Present ? Take::Target : Take::None);
    if (!tChanged) {
        if (!original.Present) return Taken(MergeStatus::Inserted, Take::Modified);
        return modified.Present ? Taken(MergeStatus::Modified, Take::Modified) : Taken(MergeStatus::Deleted, Take::None);
    }
    // Both changed it: alike, or deleted on one side and changed on the other (the changed side
    // kept whole), or added on both, or changed differently.
    if (modified.Present == target.Present && (!target.Present || modified.Lines == target.Lines))
        return Taken(MergeStatus::Both, target.Present ? Take::Target : Take::None);
    if (!target.Present) return Taken(MergeStatus::Conflict, Take::Modified, 1);
    if (!modified.Present) return Taken(MergeStatus::Conflict, Take::Target, 1);
    if (!original.Present) {
        // Added on both sides with different texts: one block of both whole texts.
        ObjectMerge r;
        MergedLines merged = MergeLines({}, modified.Lines, target.Lines);
        r.Status = MergeStatus::Conflict;
        r.Result = Take::Merged;
        r.Conflicts = merged.Conflicts;
        r.Lines = std::move(merged.Lines);
        return r;
    }
    return MergeChanged(original, modified, target, options);
}

std::array<std::vector<std::string>, 3> ComparedLines(const ObjectSide& original, const ObjectSide& modified,
                                                      const ObjectSide& target) {
    const bool all = original.Present && modified.Present && target.Present;
    std::array<std::vector<std::string>, 3> out;
    const ObjectSide* sides[3] = {&original, &modified, &target};
    for (size_t k = 0; k < 3; ++k)
        out[k] = all ? WithoutProperties(sides[k]->Lines, FindPropertyBlock(sides[k]->Lines)) : sides[k]->Lines;
    return out;
}

namespace {

struct Encoding {
    bool Utf8 = false;
    int CodePage = 0;
    bool operator==(const Encoding&) const = default;
};

Encoding EncodingOf(const TFob& fob) {
    const ContentSpans& c = fob.Content();
    return {c.Utf8, c.Utf8 ? 0 : c.CodePage};
}

// The first line break of a text: "\r\n", "\n" or "\r"; empty when it has none.
std::string_view LineEndOf(std::string_view text) {
    const size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return {};
    return text.compare(at, 2, "\r\n") == 0 ? text.substr(at, 2) : text.substr(at, 1);
}

// One file's side of the walk: its records by type, ID and occurrence, and its reader.
struct Side {
    const TFob& fob;
    TContentReader reader;
    Encoding encoding;
    std::vector<int> order;  // record indices in type and ID order (stable: occurrences in file order)
    size_t next = 0;

    explicit Side(const TFob& f) : fob(f), reader(f), encoding(EncodingOf(f)) {
        order.resize(static_cast<size_t>(f.Count()));
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const TFobRec &ra = f.Fob(a), &rb = f.Fob(b);
            return std::tie(ra.ObjType, ra.ID) < std::tie(rb.ObjType, rb.ID);
        });
    }
    bool Done() const { return next >= order.size(); }
    std::pair<int, int> Key() const {
        const TFobRec& r = fob.Fob(order[next]);
        return {r.ObjType, r.ID};
    }
};

// A side's object as RESULT's lines: split, and converted when its encoding is not TARGET's.
std::vector<std::string> LinesOf(std::string_view text, Encoding from, Encoding to) {
    std::vector<std::string> lines;
    LineSplitter split(text);
    std::string_view line;
    while (split.Next(line)) {
        if (from == to) {
            lines.emplace_back(line);
        } else {
            const std::string utf8 = from.Utf8 ? std::string(line) : OemToUtf8(from.CodePage, line);
            lines.push_back(to.Utf8 ? utf8 : Utf8ToOem(to.CodePage, utf8));
        }
    }
    return lines;
}

// A present side: its text as RESULT's lines, and its record's date and time.
ObjectSide SideOf(const TFobRec& rec, std::string_view text, Encoding from, Encoding to) {
    ObjectSide side;
    side.Present = true;
    side.Lines = LinesOf(text, from, to);
    side.Date = rec.Date;
    side.Time = rec.Time;
    return side;
}

std::string Joined(const std::vector<std::string>& lines, std::string_view lineEnd) {
    size_t size = 0;
    for (const std::string& l : lines) size += l.size() + lineEnd.size();
    std::string out;
    out.reserve(size);
    for (const std::string& l : lines) {
        out += l;
        out += lineEnd;
    }
    return out;
}

}  // namespace

MergeReport MergeFiles(const TFob& original, const TFob& modified, const TFob& target, const MergeOptions& options,
                       MergeSink& sink, const std::function<bool(const TFobRec&)>& selected) {
    Side sides[3] = {Side(original), Side(modified), Side(target)};
    Side& tSide = sides[2];
    const Encoding to = tSide.encoding;

    // TARGET's line break: its folder's, or that of its first object, or the export's own.
    std::string lineEnd = target.Content().LineEnd;
    for (int i = 0; lineEnd.empty() && i < std::min(target.Count(), 1); ++i)
        lineEnd = std::string(LineEndOf(tSide.reader.ReadText(i)));
    if (lineEnd.empty()) lineEnd = "\r\n";
    sink.Begin(lineEnd, target.Content().Utf8);

    MergeReport report;
    for (;;) {
        // The smallest type and ID that any side holds next, and the record of each side there.
        std::pair<int, int> key{0, 0};
        bool any = false;
        for (const Side& s : sides)
            if (!s.Done() && (!any || s.Key() < key)) {
                key = s.Key();
                any = true;
            }
        if (!any) break;
        int index[3] = {-1, -1, -1};
        for (int k = 0; k < 3; ++k)
            if (!sides[k].Done() && sides[k].Key() == key) index[k] = sides[k].order[sides[k].next++];
        const int named = index[2] >= 0 ? 2 : index[1] >= 0 ? 1 : 0;
        const TFobRec& rec = sides[named].fob.Fob(index[named]);
        if (selected && !selected(rec)) continue;

        std::string texts[3];
        for (int k = 0; k < 3; ++k)
            if (index[k] >= 0) texts[k] = sides[k].reader.ReadText(index[k]);

        ObjectMerge merged;
        const bool sameEncoding = sides[0].encoding == to && sides[1].encoding == to;
        const bool allPresent = index[0] >= 0 && index[1] >= 0 && index[2] >= 0;
        if (sameEncoding && allPresent && texts[0] == texts[1] && texts[0] == texts[2]) {
            merged.Status = MergeStatus::Unchanged;  // most objects: no lines needed
            merged.Result = ObjectMerge::Take::Target;
        } else {
            ObjectSide in[3];
            for (int k = 0; k < 3; ++k)
                if (index[k] >= 0) in[k] = SideOf(sides[k].fob.Fob(index[k]), texts[k], sides[k].encoding, to);
            merged = MergeObject(in[0], in[1], in[2], options);
            if (merged.Result == ObjectMerge::Take::Modified || merged.Result == ObjectMerge::Take::Target) {
                // A side's object whole: its bytes where they are in RESULT's encoding and line
                // breaks, else its lines in them.
                const int k = merged.Result == ObjectMerge::Take::Modified ? 1 : 2;
                if (sides[k].encoding != to || LineEndOf(texts[k]) != lineEnd) {
                    texts[k] = Joined(in[k].Lines, lineEnd);
                } else if (!texts[k].empty() && texts[k].back() != '\n' && texts[k].back() != '\r') {
                    texts[k] += lineEnd;  // the file's last object, without a break after it
                }
            }
        }
        switch (merged.Result) {
            case ObjectMerge::Take::None: break;
            case ObjectMerge::Take::Modified: sink.Object(key.first, key.second, texts[1]); break;
            case ObjectMerge::Take::Target: {
                std::string& t = texts[2];
                if (!t.empty() && t.back() != '\n' && t.back() != '\r') t += lineEnd;
                sink.Object(key.first, key.second, t);
                break;
            }
            case ObjectMerge::Take::Merged: sink.Object(key.first, key.second, Joined(merged.Lines, lineEnd)); break;
        }
        MergeEntry entry;
        entry.Type = key.first;
        entry.Id = key.second;
        entry.Name = rec.Name.str();
        entry.Status = merged.Status;
        entry.Conflicts = merged.Conflicts;
        entry.LongVersionList = merged.LongVersionList;
        ++report.Counts[static_cast<size_t>(merged.Status)];
        report.Objects.push_back(std::move(entry));
    }
    for (Side& s : sides) s.reader.CheckUnchanged();
    return report;
}

ObjectSides ReadObjectSides(const TFob& original, const TFob& modified, const TFob& target, const MergeOptions& options,
                            int type, int id) {
    const Encoding to = EncodingOf(target);
    ObjectSides out;
    out.Utf8 = to.Utf8;
    out.CodePage = to.CodePage;
    const TFob* fobs[3] = {&original, &modified, &target};
    ObjectSide* in[3] = {&out.Original, &out.Modified, &out.Target};
    for (int k = 0; k < 3; ++k) {
        const TFob& fob = *fobs[k];
        for (int i = 0; i < fob.Count(); ++i) {
            const TFobRec& rec = fob.Fob(i);
            if (rec.ObjType != type || rec.ID != id) continue;
            TContentReader reader(fob);
            *in[k] = SideOf(rec, reader.ReadText(i), EncodingOf(fob), to);
            reader.CheckUnchanged();
            out.Name = rec.Name.str();  // TARGET's where it has one, as the report names it
            break;
        }
    }
    out.Merge = MergeObject(out.Original, out.Modified, out.Target, options);
    return out;
}

}  // namespace kavlo
