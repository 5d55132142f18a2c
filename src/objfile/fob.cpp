// TFob, one loaded object file: loading by extension, the order, equality and column texts of
// records, and the indexed lookups.
#include "objfile/fob.h"

#include <algorithm>
#include <unordered_map>

#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"

namespace kavlo {

namespace {

// (type, ID) as one number that orders as the pair does (ID signed).
uint64_t TypeIdKey(int32_t type, int32_t id) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(type) ^ 0x80000000u) << 32) |
           (static_cast<uint32_t>(id) ^ 0x80000000u);
}

std::string Quoted(std::string_view field) {
    std::string out;
    out.reserve(field.size() + 2);
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string TableDataKey(int32_t id, std::string_view text) {
    std::string key(reinterpret_cast<const char*>(&id), sizeof id);
    key += text;
    return key;
}

}  // namespace

void ApplyDateTimeTexts(TFobRec& rec, const FormatSettings& fs) {
    if (rec.Date == 0) return;
    rec.DateStr.assign(FormatDateText(rec.Date, fs));
    rec.TimeStr.assign(FormatTimeText(rec.Time, fs));
}

std::string GetFobString(const TFobRec& rec, int column) {
    switch (column) {
        case 0: return std::to_string(rec.FileNo);
        case 1:
            return rec.ObjType >= 0 && rec.ObjType < kObjectTypeCount
                       ? std::string(ObjectTypeNames[static_cast<size_t>(rec.ObjType)])
                       : std::string();
        case 2: return std::to_string(rec.ID);
        case 3: return rec.Name.str();
        case 4: return rec.VersionList.str();
        case 5: return rec.DateStr.str();
        case 6: return rec.TimeStr.str();
        case 7: return std::to_string(rec.BlobSize);
        case 8: return rec.Modified ? "True" : "False";
        case 9: return rec.Compiled ? "True" : "False";
        default: KAVLO_FAIL("GetFobString Col wrong value.", kFobFileUnit);
    }
}

int CompareFobs(const TFobRec& a, const TFobRec& b) {
    if (a.ObjType != b.ObjType) return a.ObjType < b.ObjType ? -1 : 1;
    if (a.ID != b.ID) return a.ID < b.ID ? -1 : 1;
    if (a.ObjType != 0) return 0;
    const int c = a.VersionList.view().compare(b.VersionList.view());  // unsigned bytes
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool FobsEqual(const TFobRec& a, const TFobRec& b, const CompareSettings& cs) {
    if (cs.CompareTypeID && (a.ObjType != b.ObjType || a.ID != b.ID)) return false;
    if (cs.CompareName && !(a.Name == b.Name)) return false;
    if (cs.CompareVersion && !(a.VersionList == b.VersionList)) return false;
    if (cs.CompareDate && !(a.DateStr == b.DateStr)) return false;
    if (cs.CompareTime && !(a.TimeStr == b.TimeStr)) return false;
    if (cs.CompareBlobSize && a.BlobSize != b.BlobSize) return false;
    return true;
}

// What answers FindFob and FindFobByText without a walk. A walk from index 0 stops at the
// first record whose (type, ID) is greater than the one sought; that is the first index at
// which the running maximum of the keys exceeds it, found by binary search. The walk's answer
// is the first record with the key, when it lies before that stop.
struct TFob::Index {
    std::vector<uint64_t> runningMax;
    std::unordered_map<uint64_t, int> firstOfKey;
    // Table data: the walk stops at the first record of a type above 0.
    int firstAboveTableData = 0;
    std::unordered_map<std::string, int> firstTableData;
};

TFob::TFob() = default;
TFob::~TFob() = default;

void TFob::Invalidate() { index_.reset(); }

std::vector<TFobRec>& TFob::MutableFobs() {
    Invalidate();
    return fobs_;
}

const TFob::Index& TFob::LookupIndex() const {
    if (index_) return *index_;
    auto ix = std::make_unique<Index>();
    const size_t n = fobs_.size();
    ix->runningMax.resize(n);
    ix->firstOfKey.reserve(n);
    ix->firstAboveTableData = static_cast<int>(n);
    uint64_t max = 0;
    for (size_t i = 0; i < n; ++i) {
        const TFobRec& r = fobs_[i];
        const uint64_t key = TypeIdKey(r.ObjType, r.ID);
        max = i == 0 ? key : std::max(max, key);
        ix->runningMax[i] = max;
        ix->firstOfKey.try_emplace(key, static_cast<int>(i));
        if (r.ObjType > 0 && ix->firstAboveTableData == static_cast<int>(n))
            ix->firstAboveTableData = static_cast<int>(i);
        if (r.ObjType == 0) ix->firstTableData.try_emplace(TableDataKey(r.ID, r.VersionList.view()),
                                                           static_cast<int>(i));
    }
    index_ = std::move(ix);
    return *index_;
}

int TFob::FindFob(int type, int id) const {
    const Index& ix = LookupIndex();
    const uint64_t key = TypeIdKey(type, id);
    const auto it = ix.firstOfKey.find(key);
    if (it == ix.firstOfKey.end()) return -1;
    // The walk reaches the first record with the key when no key before it is greater, that
    // is when the running maximum up to that record is the key itself.
    return ix.runningMax[static_cast<size_t>(it->second)] <= key ? it->second : -1;
}

int TFob::FindFobByText(int type, int id, std::string_view text) const {
    if (type != 0) return FindFob(type, id);
    const Index& ix = LookupIndex();
    const auto it = ix.firstTableData.find(TableDataKey(id, text));
    if (it == ix.firstTableData.end()) return -1;
    return it->second < ix.firstAboveTableData ? it->second : -1;
}

int FindFobLinear(const std::vector<TFobRec>& fobs, int type, int id) {
    for (size_t i = 0; i < fobs.size(); ++i) {
        const TFobRec& r = fobs[i];
        if (r.ObjType > type || (r.ObjType == type && r.ID > id)) return -1;
        if (r.ObjType == type && r.ID == id) return static_cast<int>(i);
    }
    return -1;
}

int FindFobByTextLinear(const std::vector<TFobRec>& fobs, int type, int id, std::string_view text) {
    if (type != 0) return FindFobLinear(fobs, type, id);
    for (size_t i = 0; i < fobs.size(); ++i) {
        const TFobRec& r = fobs[i];
        if (r.ObjType > 0) return -1;
        if (r.ObjType == 0 && r.ID == id && r.VersionList.view() == text) return static_cast<int>(i);
    }
    return -1;
}

std::string TFob::ExtensionOf(std::string_view fileName) {
    const size_t slash = fileName.find_last_of("/\\:");
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return LowerAscii(fileName.substr(dot));
}

void TFob::CheckFileType(std::string_view fileName) {
    const std::string ext = ExtensionOf(fileName);
    for (std::string_view known : FileExtensions)
        if (ext == known) return;
    throw EKavloError("Unsupported file type: " + ext);
}

void TFob::Clear() {
    fobs_.clear();
    Invalidate();
    FileNo = 0;
    FileName.clear();
}

void TFob::LoadFile(int fileNo, const std::string& fileName, const Regional& regional) {
    FileName = fileName;
    FileExt = ExtensionOf(fileName);
    FileNo = fileNo;
    Invalidate();
    if (FileExt == ".fob") {
        const int32_t n = CountFileFob(*this);
        MutableFobs().assign(static_cast<size_t>(n), TFobRec{});
        ReadFileFob(*this, regional);
    } else if (FileExt == ".fbk") {
        const FbkCounts c = CountFileFbk(*this);
        MutableFobs().assign(static_cast<size_t>(c.tableData) + static_cast<size_t>(c.objects), TFobRec{});
        ReadFileFbk(*this, c.tableData, regional);
    } else if (FileExt == ".txt") {
        ReadFileTxt(*this, regional);
    } else if (FileExt == ".xml") {
        ReadFileXml(*this, regional);
    }
    Invalidate();
}

void TFob::SetFob(int index, const TFobRec& rec) {
    fobs_[static_cast<size_t>(index)] = rec;
    Invalidate();
}

std::string TFob::GetFobCommaText(int index) const {
    const TFobRec& r = Fob(index);
    std::string line;
    line.reserve(64 + r.Name.size + r.VersionList.size);
    line += Quoted(std::to_string(FileNo));
    line += ',';
    line += Quoted(GetFobString(r, 1));
    line += ',';
    line += Quoted(std::to_string(r.ID));
    line += ',';
    line += Quoted(r.Name.view());
    line += ',';
    line += Quoted(r.VersionList.view());
    line += ',';
    line += Quoted(r.DateStr.view());
    line += ',';
    line += Quoted(r.TimeStr.view());
    line += ',';
    line += Quoted(std::to_string(r.BlobSize));
    line += ',';
    line += Quoted(r.Modified ? "1" : " ");
    line += ',';
    line += Quoted(r.Compiled ? "1" : " ");
    return line;
}

void TFob::Assign(const TFob& other) {
    if (&other == this) return;
    Clear();
    FileNo = other.FileNo;
    FileName = other.FileName;
    FileExt = other.FileExt;
    fobs_ = other.fobs_;
}

void TFob::SortTableData() {
    size_t m = 0;
    while (m < fobs_.size() && fobs_[m].ObjType == 0) ++m;
    if (m == 0) return;
    Invalidate();
    const auto less = [](const TFobRec& a, const TFobRec& b) { return CompareFobs(a, b) < 0; };
    // When no two entries of the block compare equal, the exchange sort's result is the one
    // sorted order, which std::sort reaches in n log n. Entries that compare equal (one table
    // and qualifier twice) may end in an order of the exchange sort's own, so then it runs as
    // it stands: for each i, each later j, swap when record i sorts after record j.
    std::vector<TFobRec> sorted(fobs_.begin(), fobs_.begin() + static_cast<std::ptrdiff_t>(m));
    std::sort(sorted.begin(), sorted.end(), less);
    bool distinct = true;
    for (size_t i = 1; i < m && distinct; ++i) distinct = CompareFobs(sorted[i - 1], sorted[i]) != 0;
    if (distinct) {
        std::copy(sorted.begin(), sorted.end(), fobs_.begin());
        return;
    }
    for (size_t i = 0; i + 1 < m; ++i)
        for (size_t j = i + 1; j < m; ++j)
            if (CompareFobs(fobs_[i], fobs_[j]) == 1) std::swap(fobs_[i], fobs_[j]);
}

}  // namespace kavlo
