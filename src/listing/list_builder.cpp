// BuildList: the rows of each comparison mode in their order, and the status texts.
#include "listing/list_builder.h"

#include <charconv>
#include <memory>
#include <unordered_map>

#include "base/errors.h"
#include "objfile/object_content.h"

namespace kavlo {

bool IncludedByType(const TFobRec& rec, const TypeSwitches& types, bool hideSystemObjects) {
    if (rec.ObjType < 0 || rec.ObjType >= kObjectTypeCount) return false;
    if (!types[static_cast<size_t>(rec.ObjType)]) return false;
    return !hideSystemObjects || rec.ID < kFirstSystemId;
}

void AddFobRow(TVisibleList& list, const TFob& fob, int index) {
    // Quoting a field and splitting the line gives the field back unchanged, so the cells are
    // taken from the record directly: a build of 200,000 rows then costs a fraction of loading
    // the files instead of as much again (the tests hold this against the split line).
    const TFobRec& r = fob.Fob(index);
    char file[12], id[12], blob[12];
    const auto text = [](char* buf, int32_t v) {
        return std::string_view(buf, static_cast<size_t>(std::to_chars(buf, buf + 12, v).ptr - buf));
    };
    const std::string_view type = r.ObjType >= 0 && r.ObjType < kObjectTypeCount
                                      ? ObjectTypeNames[static_cast<size_t>(r.ObjType)]
                                      : std::string_view();
    const std::string_view cells[kColumnCount] = {
        text(file, fob.FileNo()), type, text(id, r.ID), r.Name.view(), r.VersionList.view(), r.DateStr.view(),
        r.TimeStr.view(), text(blob, r.BlobSize), r.Modified ? "1" : " ", r.Compiled ? "1" : " "};
    list.AddRow(cells);
}

namespace {

// One side of the Different merge: the reader's records in CompareFobs order as far as the
// merge needs it, that is with the leading block of table data sorted. Only that block is
// reordered (backups have one; object files none), by walking it in TFob::TableDataOrder
// instead of sorting it, so that no record is copied.
class MergeSide {
public:
    explicit MergeSide(const TFob& fob) : whole_(fob), order_(fob.TableDataOrder()) {}
    int Size() const { return whole_.Count(); }
    const TFob& Fob() const { return whole_; }
    // The reader's index of record `i` of the ordered list.
    int IndexAt(int i) const { return static_cast<size_t>(i) < order_.size() ? static_cast<int>(order_[static_cast<size_t>(i)]) : i; }
    const TFobRec& Rec(int i) const { return whole_.Fob(IndexAt(i)); }

private:
    const TFob& whole_;
    std::vector<size_t> order_;
};

class Builder {
public:
    Builder(const ListSources& src, LookupMethod lookup, TVisibleList& list, std::unordered_map<uint64_t, bool>& sameContent)
        : src_(src), cs_(src.Compare), lookup_(lookup), filters_(PrepareFilters(src.Filters)), list_(list),
          content_(cs_.CompareContent && ContentsComparable(src.File1, src.File2)), sameContent_(sameContent) {}

    int Listed() const { return listed_; }

    void Off() {
        for (const TFob* f : {&src_.File1, &src_.File2})
            for (int i = 0; i < f->Count(); ++i)
                if (Included(f->Fob(i))) AddIfPasses(*f, i);
    }

    void Equal() {
        const TFob& f1 = src_.File1;
        const TFob& f2 = src_.File2;
        for (int i = 0; i < f1.Count(); ++i) {
            const TFobRec& o = f1.Fob(i);
            if (!Included(o)) continue;
            const int c = FindByText(f2, o);
            if (c < 0 || !Same(f1, i, f2, c)) continue;
            AddIfPasses(f1, i);
            if (!cs_.SortByFile) AddIfPasses(f2, c);
        }
        if (!cs_.SortByFile) return;
        for (int j = 0; j < f2.Count(); ++j) {
            const TFobRec& p = f2.Fob(j);
            if (!Included(p)) continue;
            const int c = FindByText(f1, p);
            if (c >= 0 && Same(f1, c, f2, j)) AddIfPasses(f2, j);
        }
    }

    void Different() {
        if (cs_.SortByFile) {
            DifferentPass(src_.File1, src_.File2);
            DifferentPass(src_.File2, src_.File1);
        } else {
            DifferentMerge();
        }
    }

    // Objects of file 2 whose type and ID file 1 lacks (the version text is not consulted,
    // table data included), or the other way round for Deleted.
    void OneSided(const TFob& from, const TFob& other) {
        for (int i = 0; i < from.Count(); ++i) {
            const TFobRec& o = from.Fob(i);
            if (!Included(o)) continue;
            if (Find(other, o.ObjType, o.ID) >= 0) continue;
            AddIfPasses(from, i);
        }
    }

    // After the last content read: both files are still the ones loaded, so no verdict rests
    // on text written while the build read it.
    void CheckContentFiles() {
        if (content1_) content1_->CheckUnchanged();
        if (content2_) content2_->CheckUnchanged();
    }

private:
    bool Included(const TFobRec& r) const { return IncludedByType(r, src_.Types, src_.HideSystemObjects); }

    // Record i1 of file 1 and record i2 of file 2 are equal: by the compared fields, and with
    // content comparison by their contents too. A pair's contents are read once for all builds
    // of the same loads (Equal with SortByFile asks from both sides, and every rebuild again).
    bool Same(const TFob& f1, int i1, const TFob& f2, int i2) {
        if (!FobsEqual(f1.Fob(i1), f2.Fob(i2), cs_)) return false;
        if (!content_) return true;
        const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(i1)) << 32) | static_cast<uint32_t>(i2);
        if (const auto it = sameContent_.find(key); it != sameContent_.end()) return it->second;
        if (!content1_) {
            content1_ = std::make_unique<TContentReader>(f1);
            content2_ = std::make_unique<TContentReader>(f2);
        }
        const bool same = ContentsEqual(*content1_, i1, *content2_, i2);
        sameContent_.emplace(key, same);
        return same;
    }

    int Find(const TFob& f, int type, int id) const {
        return lookup_ == LookupMethod::Indexed ? f.FindFob(type, id) : FindFobLinear(f.Fobs(), type, id);
    }
    int FindByText(const TFob& f, const TFobRec& r) const {
        return lookup_ == LookupMethod::Indexed
                   ? f.FindFobByText(r.ObjType, r.ID, r.VersionList.view())
                   : FindFobByTextLinear(f.Fobs(), r.ObjType, r.ID, r.VersionList.view());
    }

    void Add(const TFob& f, int i) {
        AddFobRow(list_, f, i);
        ++listed_;
    }
    // The field filters come last and judge each row on its own, so a filter on File can
    // keep one side of a pair.
    void AddIfPasses(const TFob& f, int i) {
        if (FilterPasses(filters_, f.Fob(i))) Add(f, i);
    }

    void DifferentPass(const TFob& from, const TFob& other) {
        for (int i = 0; i < from.Count(); ++i) {
            const TFobRec& o = from.Fob(i);
            if (!Included(o)) continue;
            const int c = FindByText(other, o);
            if (c < 0 && cs_.OnlyShowBoth) continue;
            if (c >= 0 && (&from == &src_.File1 ? Same(from, i, other, c) : Same(other, c, from, i))) continue;
            AddIfPasses(from, i);
        }
    }

    // Both files walked together in CompareFobs order: a changed object is listed as its
    // file-1 row right before its file-2 row.
    void DifferentMerge() {
        const MergeSide a(src_.File1);
        const MergeSide b(src_.File2);
        const int na = a.Size(), nb = b.Size();
        int i = 0, j = 0;
        const auto addIf = [&](const MergeSide& side, int k) {
            if (Included(side.Rec(k))) AddIfPasses(side.Fob(), side.IndexAt(k));
        };
        while (i < na || j < nb) {
            if (i < na && j < nb) {
                const int r = CompareFobs(a.Rec(i), b.Rec(j));
                if (r < 0) {
                    if (!cs_.OnlyShowBoth) addIf(a, i);
                    ++i;
                } else if (r == 0) {
                    if (!Same(a.Fob(), a.IndexAt(i), b.Fob(), b.IndexAt(j))) {
                        addIf(a, i);
                        addIf(b, j);
                    }
                    ++i;
                    ++j;
                } else {
                    if (!cs_.OnlyShowBoth) addIf(b, j);
                    ++j;
                }
            } else if (i < na) {
                if (!cs_.OnlyShowBoth) addIf(a, i);
                ++i;
            } else if (j < nb) {
                if (!cs_.OnlyShowBoth) addIf(b, j);
                ++j;
            } else {
                KAVLO_FAIL(kUnreachableText, kMainUnit);
            }
        }
    }

    const ListSources& src_;
    const CompareSettings& cs_;
    const LookupMethod lookup_;
    const PreparedFilters filters_;
    TVisibleList& list_;
    int listed_ = 0;
    const bool content_;
    std::unique_ptr<TContentReader> content1_, content2_;
    std::unordered_map<uint64_t, bool>& sameContent_;
};

}  // namespace

void BuildList(const BuildMode& mode, const ListSources& sources, TBuiltList& out, LookupMethod lookup) {
    out.LastMode = mode;
    out.ContentNote.clear();
    if (sources.Compare.CompareContent && !sources.File1.FileName().empty() && !sources.File2.FileName().empty() &&
        !ContentsComparable(sources.File1, sources.File2))
        out.ContentNote = NotComparableText(sources.File1, sources.File2);
    out.Status[0].clear();
    out.Status[1] = sources.File1.FileName();
    out.Status[2] = sources.File2.FileName();
    out.Status[3] = "File 1: " + std::to_string(sources.File1.Count());
    out.Status[4] = "File 2: " + std::to_string(sources.File2.Count());

    TBuiltList::ContentVerdicts& verdicts = out.Contents;
    if (sources.LoadGeneration == 0 || verdicts.Generation != sources.LoadGeneration) {
        verdicts.Same.clear();
        verdicts.Generation = sources.LoadGeneration;
    }
    TVisibleList list;
    list.Reserve(static_cast<size_t>(sources.File1.Count()) + static_cast<size_t>(sources.File2.Count()));
    Builder b(sources, lookup, list, verdicts.Same);
    if (mode.CompareOff) b.Off();
    if (mode.CompareEqual) b.Equal();
    if (mode.CompareDifferent) b.Different();
    if (mode.CompareAdded) b.OneSided(sources.File2, sources.File1);
    if (mode.CompareDeleted) b.OneSided(sources.File1, sources.File2);
    try {
        b.CheckContentFiles();
    } catch (const EKavloError&) {
        verdicts.Same.clear();  // some may rest on the changed text
        throw;
    }

    out.List = std::move(list);
    out.Listed = b.Listed();
    out.Status[0] = std::to_string(out.Listed);
}

}  // namespace kavlo
