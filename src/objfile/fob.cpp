// TFob, one loaded object file, and its builder: the order, equality and column texts of
// records, and the indexed lookups.
#include "objfile/fob.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"

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
TFob::TFob(TFob&&) noexcept = default;
TFob& TFob::operator=(TFob&&) noexcept = default;

TFobBuilder::TFobBuilder(int32_t fileNo, const std::string& fileName) {
    fob_.fileNo_ = fileNo;
    fob_.fileName_ = fileName;
    fob_.fileExt_ = TFob::ExtensionOf(fileName);
}

TFobBuilder::TFobBuilder(int32_t fileNo, const std::string& fileName, std::string_view fileExt)
    : TFobBuilder(fileNo, fileName) {
    fob_.fileExt_ = LowerAscii(fileExt);
}

std::vector<TFobRec>& TFobBuilder::Fobs() {
    fob_.index_.reset();
    return fob_.fobs_;
}

TFob TFobBuilder::Finish() {
    fob_.index_.reset();
    return std::move(fob_);
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

bool TFob::IsKnownFileType(std::string_view fileName) {
    const std::string ext = ExtensionOf(fileName);
    for (std::string_view known : FileExtensions)
        if (ext == known) return true;
    return false;
}

void TFob::CheckFileType(std::string_view fileName) {
    if (!IsKnownFileType(fileName)) throw EKavloError("Unsupported file type: " + ExtensionOf(fileName));
}

void TFob::Clear() {
    fobs_.clear();
    content_ = ContentSpans{};
    index_.reset();
    fileNo_ = 0;
    fileName_.clear();
}

std::string TFob::GetFobCommaText(int index) const {
    const TFobRec& r = Fob(index);
    std::string line;
    line.reserve(64 + r.Name.size + r.VersionList.size);
    line += Quoted(std::to_string(fileNo_));
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

// The table-data block is sorted by CompareFobs with an exchange sort: for each i and each
// later j, records i and j are swapped when record i sorts after record j. Its result is the
// sorted order, but entries whose keys are equal (one table and qualifier twice) end in an order
// of the exchange sort's own, which is neither their first order nor always its reverse. It is
// computed here in n log n.
//
// Pass i sets down at i the first smallest record of i..m-1. On its way the record held at i is
// swapped only with a strictly smaller one, so the records it holds are the strict running
// minima of the pass, one of each key, each moved from its place to the place of the next.
// Take one key v and mark each record "V" (key v) or "L" (a smaller key); larger keys never
// move a V past another V. While an L is left, each pass takes out one L; in the marks it
// removes the first L (the first L is a running minimum; its place takes the one before it),
// and when V marks stand before that L, the first of them (the first record of key at most v,
// so a running minimum too) moves into the L's place: behind the other V marks of that run. Once no L is left the V records leave in the order they stand. So the
// order of the V records is that of a queue filled while the marks are read from the start: a
// V joins at the back, an L moves the front to the back.
//
// The queue is kept as a circle with a front: a joining record is set into the circle just
// before the front, and k moves of the front turn it k mod size places on. The final places in
// the circle of records set in at given ranks come from the last setting back to the first,
// each taking the free place of its rank (a Fenwick tree). The marks are the records of a
// smaller key before each V record, counted by a second Fenwick tree over the block's places,
// filled key by key.
namespace {

class FenwickTree {
public:
    explicit FenwickTree(size_t n = 0) : tree_(n + 1, 0) {}
    // n entries, each 1.
    void AllOnes(size_t n) {
        tree_.resize(n + 1);
        for (size_t i = 1; i <= n; ++i) tree_[i] = static_cast<int64_t>(i & (~i + 1));
    }
    void Add(size_t i, int delta) {
        for (++i; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
    }
    // The sum of the entries before i.
    int64_t Prefix(size_t i) const {
        int64_t sum = 0;
        for (; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return sum;
    }
    // The index at which the running sum first exceeds k (the entries are 0 or 1).
    size_t Find(int64_t k) const {
        const size_t n = tree_.size() - 1;
        size_t step = 1;
        while (step * 2 <= n) step *= 2;
        size_t at = 0;  // the sum of the entries before `at` is at most k
        for (; step > 0; step /= 2)
            if (at + step <= n && tree_[at + step] <= k) {
                at += step;
                k -= tree_[at];
            }
        return at;
    }

private:
    std::vector<int64_t> tree_;
};

// The order in which the exchange sort leaves the records of one key. `smallerBefore` holds,
// for each of them in block order, the number of records of a smaller key before it; `smaller`
// is the number of such records in all. `order` receives the records by their index in block
// order. The other vectors are room reused from key to key: a block may hold many keys twice.
struct ExchangeScratch {
    std::vector<size_t> rank, circle;
    FenwickTree free;
};
void ExchangeOrderOfOneKey(const std::vector<int64_t>& smallerBefore, int64_t smaller, std::vector<size_t>& order,
                           ExchangeScratch& scratch) {
    const size_t g = smallerBefore.size();
    std::vector<size_t>& rank = scratch.rank;
    rank.resize(g);
    size_t size = 0, front = 0;
    int64_t seen = 0;  // the L marks read so far
    const auto moveFront = [&](int64_t k) {
        if (size > 0) front = static_cast<size_t>((static_cast<int64_t>(front) + k) % static_cast<int64_t>(size));
    };
    for (size_t j = 0; j < g; ++j) {
        moveFront(smallerBefore[j] - seen);
        seen = smallerBefore[j];
        rank[j] = size == 0 ? 0 : front;
        front = size == 0 ? 0 : front + 1;
        ++size;
    }
    moveFront(smaller - seen);

    FenwickTree& free = scratch.free;
    free.AllOnes(g);
    std::vector<size_t>& circle = scratch.circle;
    circle.resize(g);
    for (size_t j = g; j-- > 0;) {
        const size_t place = free.Find(static_cast<int64_t>(rank[j]));
        circle[place] = j;
        free.Add(place, -1);
    }
    order.resize(g);
    for (size_t r = 0; r < g; ++r) order[r] = circle[(front + r) % g];
}

}  // namespace

std::vector<size_t> TFob::TableDataOrder() const {
    size_t m = 0;
    while (m < fobs_.size() && fobs_[m].ObjType == 0) ++m;
    // Each record's key as one number that orders as CompareFobs does: the table number, then
    // the rank of the qualifier among the block's distinct qualifiers. The sort then compares
    // numbers held together instead of records spread over the whole list; each qualifier is
    // read once, to rank it. The places are sorted by key, those of one key in their first order.
    struct Place {
        uint64_t key;
        size_t at;
    };
    std::vector<Place> places(m);
    {
        std::unordered_map<std::string_view, uint32_t> distinctOf;
        std::vector<std::string_view> distinct;
        for (size_t i = 0; i < m; ++i) {
            const std::string_view q = fobs_[i].VersionList.view();
            const auto [it, added] = distinctOf.try_emplace(q, static_cast<uint32_t>(distinct.size()));
            if (added) distinct.push_back(q);
            places[i] = {static_cast<uint64_t>(static_cast<uint32_t>(fobs_[i].ID) ^ 0x80000000u) << 32 | it->second, i};
        }
        std::vector<uint32_t> byText(distinct.size());
        for (uint32_t d = 0; d < byText.size(); ++d) byText[d] = d;
        // string_view compares unsigned bytes, as CompareFobs does.
        std::sort(byText.begin(), byText.end(), [&](uint32_t a, uint32_t b) { return distinct[a] < distinct[b]; });
        std::vector<uint32_t> rankOf(distinct.size());
        for (uint32_t r = 0; r < byText.size(); ++r) rankOf[byText[r]] = r;
        for (Place& p : places) p.key = (p.key & ~uint64_t{0xFFFFFFFF}) | rankOf[p.key & 0xFFFFFFFF];
    }
    std::sort(places.begin(), places.end(),
              [](const Place& a, const Place& b) { return a.key != b.key ? a.key < b.key : a.at < b.at; });

    std::vector<size_t> from(m);
    bool repeated = false;
    for (size_t i = 0; i < m; ++i) {
        from[i] = places[i].at;
        if (i > 0 && places[i].key == places[i - 1].key) repeated = true;
    }
    if (!repeated) return from;  // every key once: the sorted order is the whole answer

    // Records of one key: their order comes from the records of smaller keys before each.
    FenwickTree smallerKeys(m);  // 1 at the places of the keys already placed
    std::vector<int64_t> smallerBefore;
    std::vector<size_t> group, order;
    ExchangeScratch scratch;
    for (size_t start = 0; start < m;) {
        size_t end = start + 1;
        while (end < m && places[end].key == places[start].key) ++end;
        if (end - start > 1) {
            smallerBefore.clear();
            group.clear();
            for (size_t k = start; k < end; ++k) {
                smallerBefore.push_back(smallerKeys.Prefix(places[k].at));
                group.push_back(places[k].at);
            }
            ExchangeOrderOfOneKey(smallerBefore, static_cast<int64_t>(start), order, scratch);
            for (size_t j = 0; j < order.size(); ++j) from[start + j] = group[order[j]];
        }
        for (size_t k = start; k < end; ++k) smallerKeys.Add(places[k].at, 1);
        start = end;
    }
    return from;
}

}  // namespace kavlo
