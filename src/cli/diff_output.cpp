// kavlo diff's rendering: objects matched by type and ID, their contents read back from both
// files, and a unified diff, a binary verdict or a --stat line for each object that differs.
#include "cli/diff_output.h"

#include <algorithm>
#include <map>

#include "objfile/object_content.h"
#include "objfile/object_types.h"
#include "platform/code_page.h"

namespace kavlo::cli {

namespace {

std::string Range(int start, int count) {
    // As diff writes it: the count is left out when it is 1, and an empty range names the
    // line before it.
    if (count == 1) return std::to_string(start);
    return std::to_string(count == 0 ? start - 1 : start) + "," + std::to_string(count);
}

// "Table 18 Customer", in UTF-8.
std::string Title(const TFobRec& r) {
    const std::string_view type = r.ObjType >= 0 && r.ObjType < kObjectTypeCount
                                      ? ObjectTypeNames[static_cast<size_t>(r.ObjType)]
                                      : std::string_view("?");
    std::string t(type);
    t += ' ';
    t += std::to_string(r.ID);
    if (!r.Name.empty()) {
        t += ' ';
        t += AnsiToUtf8(r.Name.view());
    }
    return t;
}

// One object as the diff sees it: its record in file 1, in file 2, or in both.
struct Entry {
    int type, id;
    int in1 = -1, in2 = -1;
};

std::vector<DiffLine> WholeSide(size_t n, DiffOp op) {
    std::vector<DiffLine> s;
    for (size_t i = 0; i < n; ++i)
        s.push_back(op == DiffOp::Added ? DiffLine{op, 0, static_cast<int>(i + 1)} : DiffLine{op, static_cast<int>(i + 1), 0});
    return s;
}

class Renderer {
public:
    Renderer(const TFob& f1, const TFob& f2, const DiffOptions& o)
        : f1_(f1), f2_(f2), o_(o), filters_(PrepareFilters(o.Filters)), comparable_(ContentsComparable(f1, f2)),
          binary_(comparable_ && ContentKindOf(f1) == ContentKind::Binary), read1_(f1), read2_(f2) {}

    DiffResult Run() {
        DiffResult result;
        if (!comparable_) result.Note = NotComparableText(f1_, f2_);
        for (const Entry& e : Entries()) {
            if (e.in1 >= 0 && e.in2 >= 0) Changed(e);
            else OneSided(e);
        }
        if (o_.Stat) {
            // The titles in one column, as wide as the widest (counted in characters).
            size_t width = 0;
            for (const auto& [title, what] : stat_) width = std::max(width, Utf8Length(title));
            for (const auto& [title, what] : stat_)
                out_ += title + std::string(width - Utf8Length(title), ' ') + " | " + what + "\n";
            out_ += std::to_string(changed_) + " changed, " + std::to_string(added_) + " added, " +
                    std::to_string(deleted_) + " deleted; " + std::to_string(linesAdded_) + " lines added, " +
                    std::to_string(linesRemoved_) + " removed\n";
        }
        // The answer must rest on the files as they were loaded, not on text written meanwhile.
        read1_.CheckUnchanged();
        read2_.CheckUnchanged();
        result.AnyDifference = changed_ + added_ + deleted_ > 0;
        result.Text = std::move(out_);
        return result;
    }

private:
    bool Wanted(const TFobRec& r) const {
        if (r.ObjType == 0 || !IncludedByType(r, o_.Types, o_.HideSystem)) return false;
        if (o_.Objects.empty()) return true;
        return std::find(o_.Objects.begin(), o_.Objects.end(), std::make_pair(r.ObjType, r.ID)) != o_.Objects.end();
    }

    // Every wanted object in type and ID order; a pair is kept when either side passes the
    // field filters.
    std::vector<Entry> Entries() const {
        std::map<std::pair<int, int>, Entry> byKey;
        for (int i = 0; i < f1_.Count(); ++i) {
            const TFobRec& r = f1_.Fob(i);
            if (!Wanted(r)) continue;
            Entry& e = byKey.try_emplace({r.ObjType, r.ID}, Entry{r.ObjType, r.ID}).first->second;
            if (e.in1 < 0) e.in1 = i;
        }
        for (int j = 0; j < f2_.Count(); ++j) {
            const TFobRec& r = f2_.Fob(j);
            if (!Wanted(r)) continue;
            Entry& e = byKey.try_emplace({r.ObjType, r.ID}, Entry{r.ObjType, r.ID}).first->second;
            if (e.in2 < 0) e.in2 = j;
        }
        std::vector<Entry> out;
        for (const auto& [key, e] : byKey) {
            const bool pass = (e.in1 >= 0 && FilterPasses(filters_, f1_.Fob(e.in1))) ||
                              (e.in2 >= 0 && FilterPasses(filters_, f2_.Fob(e.in2)));
            if (pass) out.push_back(e);
        }
        return out;
    }

    void Headers(const std::string& title1, const std::string& title2) {
        out_ += "--- " + f1_.FileName() + "\t" + title1 + "\n";
        out_ += "+++ " + f2_.FileName() + "\t" + title2 + "\n";
    }

    static std::string StatTitle(const TFobRec& a, const TFobRec& b) {
        return a.Name == b.Name ? Title(a) : Title(a) + " -> " + AnsiToUtf8(b.Name.view());
    }

    // A changed object told in one line: its --stat line, or that line under its headers.
    void ChangedInOneLine(const TFobRec& r1, const TFobRec& r2, const char* stat, const char* text) {
        ++changed_;
        if (o_.Stat) {
            stat_.emplace_back(StatTitle(r1, r2), stat);
            return;
        }
        Headers(Title(r1), Title(r2));
        out_ += text;
        out_ += "\n";
    }

    void Changed(const Entry& e) {
        const TFobRec& r1 = f1_.Fob(e.in1);
        const TFobRec& r2 = f2_.Fob(e.in2);
        if (!comparable_) {
            // Contents that cannot be compared: the fields decide, as the list compares them.
            if (!FobsEqual(r1, r2, CompareSettings{}))
                ChangedInOneLine(r1, r2, "fields differ", "Fields differ; contents not compared");
            return;
        }
        if (ContentsEqual(read1_, e.in1, read2_, e.in2, o_.WithProperties)) return;
        const ObjectContent c1 = read1_.Read(e.in1, o_.WithProperties);
        const ObjectContent c2 = read2_.Read(e.in2, o_.WithProperties);
        if (c1 == c2) return;
        if (binary_) {
            ChangedInOneLine(r1, r2, "binary data differ", "Stored object data differ (binary, not shown)");
            return;
        }
        ++changed_;
        const std::vector<DiffLine> script = DiffLines(c1.Lines, c2.Lines);
        const DiffCounts n = CountChanges(script);
        linesAdded_ += n.Added;
        linesRemoved_ += n.Removed;
        if (o_.Stat) {
            std::string what(1, '+');
            what += std::to_string(n.Added) + " -" + std::to_string(n.Removed);
            stat_.emplace_back(StatTitle(r1, r2), std::move(what));
            return;
        }
        Headers(Title(r1), Title(r2));
        out_ += UnifiedHunks(script, c1.Lines, c2.Lines, o_.Context);
    }

    void OneSided(const Entry& e) {
        const bool added = e.in2 >= 0;
        const TFobRec& r = added ? f2_.Fob(e.in2) : f1_.Fob(e.in1);
        (added ? added_ : deleted_)++;
        const bool needLines = !binary_ && comparable_ && (o_.Stat || o_.Full);
        ObjectContent c;
        if (needLines) c = added ? read2_.Read(e.in2, o_.WithProperties) : read1_.Read(e.in1, o_.WithProperties);
        const int lines = static_cast<int>(c.Lines.size());
        (added ? linesAdded_ : linesRemoved_) += lines;
        if (o_.Stat) {
            std::string what = added ? "added" : "deleted";
            if (needLines) what += added ? " +" + std::to_string(lines) : " -" + std::to_string(lines);
            stat_.emplace_back(Title(r), what);
            return;
        }
        if (!o_.Full || !needLines) {
            out_ += (added ? "Added: " : "Deleted: ") + Title(r) + "\n";
            return;
        }
        if (added) {
            out_ += "--- /dev/null\n";
            out_ += "+++ " + f2_.FileName() + "\t" + Title(r) + "\n";
            out_ += UnifiedHunks(WholeSide(c.Lines.size(), DiffOp::Added), {}, c.Lines, 0);
        } else {
            out_ += "--- " + f1_.FileName() + "\t" + Title(r) + "\n";
            out_ += "+++ /dev/null\n";
            out_ += UnifiedHunks(WholeSide(c.Lines.size(), DiffOp::Removed), c.Lines, {}, 0);
        }
    }

    const TFob& f1_;
    const TFob& f2_;
    const DiffOptions& o_;
    const PreparedFilters filters_;
    const bool comparable_, binary_;
    TContentReader read1_, read2_;
    std::string out_;
    std::vector<std::pair<std::string, std::string>> stat_;  // --stat: title and what changed
    int changed_ = 0, added_ = 0, deleted_ = 0;
    long long linesAdded_ = 0, linesRemoved_ = 0;
};

}  // namespace

std::string UnifiedHunks(const std::vector<DiffLine>& script, const std::vector<std::string>& a,
                         const std::vector<std::string>& b, int context) {
    std::string out;
    const size_t n = script.size();
    const size_t ctx = static_cast<size_t>(std::max(context, 0));
    size_t k = 0;
    while (k < n) {
        // The next change; a hunk starts `context` lines before it and takes every further
        // change whose context would touch its own.
        while (k < n && script[k].Op == DiffOp::Equal) ++k;
        if (k == n) break;
        const size_t begin = k >= ctx ? k - ctx : 0;
        size_t end = k;  // one past the last change of the hunk
        for (size_t j = k; j < n; ++j) {
            if (script[j].Op != DiffOp::Equal) {
                end = j + 1;
            } else if (j - end >= 2 * ctx) {
                break;
            }
        }
        const size_t stop = std::min(n, end + ctx);
        // Where each side's range starts: its first line in the hunk, or (for an empty range)
        // the line after the last one before it.
        int start1 = 0, start2 = 0, count1 = 0, count2 = 0, before1 = 0, before2 = 0;
        for (size_t j = 0; j < begin; ++j) {
            if (script[j].Line1) before1 = script[j].Line1;
            if (script[j].Line2) before2 = script[j].Line2;
        }
        for (size_t j = begin; j < stop; ++j) {
            if (script[j].Line1 && !count1++) start1 = script[j].Line1;
            if (script[j].Line2 && !count2++) start2 = script[j].Line2;
        }
        if (!count1) start1 = before1 + 1;
        if (!count2) start2 = before2 + 1;
        out += "@@ -" + Range(start1, count1) + " +" + Range(start2, count2) + " @@\n";
        for (size_t j = begin; j < stop; ++j) {
            const DiffLine& d = script[j];
            const bool added = d.Op == DiffOp::Added;
            out += d.Op == DiffOp::Equal ? ' ' : added ? '+' : '-';
            out += added ? b[static_cast<size_t>(d.Line2 - 1)] : a[static_cast<size_t>(d.Line1 - 1)];
            out += '\n';
        }
        k = stop;
    }
    return out;
}

DiffResult RenderDiff(const TFob& file1, const TFob& file2, const DiffOptions& options) {
    return Renderer(file1, file2, options).Run();
}

}  // namespace kavlo::cli
