#include "objfile/fob.h"
#include "objfile/load_object_file.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "base/errors.h"

namespace kavlo {
namespace {

TFobRec Rec(int type, int id, std::string_view name = "", std::string_view version = "") {
    TFobRec r{};
    r.FileNo = 1;
    r.ObjType = type;
    r.ID = id;
    r.Name.assign(name);
    r.VersionList.assign(version);
    return r;
}

void Fill(TFob& fob, const std::vector<TFobRec>& recs, int fileNo = 0, const std::string& name = {}) {
    TFobBuilder b(fileNo, name);
    b.Fobs() = recs;
    fob = b.Finish();
}

// The records in the order the Different merge walks them: the leading table data in
// TableDataOrder, the rest as they stand.
std::vector<TFobRec> SortedTableData(const TFob& fob) {
    std::vector<TFobRec> v = fob.Fobs();
    const std::vector<size_t> from = fob.TableDataOrder();
    for (size_t k = 0; k < from.size(); ++k) v[k] = fob.Fob(static_cast<int>(from[k]));
    return v;
}

TEST(FobRecord, TextsAreCutToTheirWidths) {
    TFobRec r{};
    r.Name.assign(std::string(40, 'N'));
    r.VersionList.assign(std::string(300, 'V'));
    r.DateStr.assign("01-01-2000xx");
    r.TimeStr.assign("12:00:00.000 PM");
    EXPECT_EQ(r.Name.view(), std::string(30, 'N'));
    EXPECT_EQ(r.VersionList.view(), std::string(248, 'V'));
    EXPECT_EQ(r.DateStr.view(), "01-01-2000x");
    EXPECT_EQ(r.TimeStr.view(), "12:00:00.000 P");
}

TEST(FobRecord, ColumnTexts) {
    TFobRec r = Rec(5, -12, "Post", "NAVW17.00");
    r.FileNo = 2;
    r.BlobSize = 1234;
    r.Modified = true;
    r.DateStr.assign("30-08-18");
    r.TimeStr.assign("12:00:00");
    const char* want[] = {"2", "Codeunit", "-12", "Post", "NAVW17.00", "30-08-18", "12:00:00", "1234", "True", "False"};
    for (int c = 0; c < 10; ++c) EXPECT_EQ(GetFobString(r, c), want[c]) << c;
    try {
        GetFobString(r, 10);
        FAIL() << "column 10 accepted";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Text(), "GetFobString Col wrong value.");
        EXPECT_TRUE(std::string(e.what()).starts_with("GetFobString Col wrong value. (FobFileUnit, line "));
    }
    EXPECT_THROW(GetFobString(r, -1), EAssertionFailed);
}

TEST(FobRecord, CommaTextQuotesEveryFieldAndDoublesQuotes) {
    TFob fob;
    TFobRec td = Rec(0, 18, "Customer", "Main");
    TFobRec table = Rec(1, 50000, "Say \"hi\", then go", "A,B");
    table.Modified = true;
    table.BlobSize = 77;
    Fill(fob, {td, table}, 1);
    EXPECT_EQ(fob.GetFobCommaText(0), R"("1","TableData","18","Customer","Main","","","0"," "," ")");
    EXPECT_EQ(fob.GetFobCommaText(1), R"("1","Table","50000","Say ""hi"", then go","A,B","","","77","1"," ")");
    // The File field is the TFob's own slot, not the record's.
    Fill(fob, {td, table}, 2);
    EXPECT_TRUE(fob.GetFobCommaText(0).starts_with(R"("2",)"));
}

TEST(FobRecord, CompareFobsOrdersTypeIdThenTableDataQualifier) {
    EXPECT_EQ(CompareFobs(Rec(1, 5), Rec(2, 1)), -1);
    EXPECT_EQ(CompareFobs(Rec(3, 1), Rec(2, 9)), 1);
    EXPECT_EQ(CompareFobs(Rec(1, -5), Rec(1, 3)), -1);
    EXPECT_EQ(CompareFobs(Rec(1, 3, "a", "x"), Rec(1, 3, "b", "y")), 0);
    EXPECT_EQ(CompareFobs(Rec(0, 3, "", "Ab"), Rec(0, 3, "", "Abc")), -1);
    EXPECT_EQ(CompareFobs(Rec(0, 3, "", "b"), Rec(0, 3, "", "a")), 1);
    EXPECT_EQ(CompareFobs(Rec(0, 3, "", "\xE6"), Rec(0, 3, "", "z")), 1);  // unsigned bytes
    EXPECT_EQ(CompareFobs(Rec(0, 3, "", "same"), Rec(0, 3, "", "same")), 0);
}

TEST(FobRecord, EqualityFollowsTheSwitchesAndIgnoresFlags) {
    CompareSettings cs;
    TFobRec a = Rec(1, 18, "Customer", "NAVW1");
    a.DateStr.assign("01-01-10");
    a.TimeStr.assign("12:00:00");
    a.BlobSize = 10;
    TFobRec b = a;
    b.Modified = true;
    b.Compiled = true;
    EXPECT_TRUE(FobsEqual(a, b, cs));
    b.Name.assign("customer");
    EXPECT_FALSE(FobsEqual(a, b, cs));
    EXPECT_TRUE(FobsDifferent(a, b, cs));
    cs.CompareName = false;
    EXPECT_TRUE(FobsEqual(a, b, cs));
    b.TimeStr.assign("12:00:01");
    EXPECT_FALSE(FobsEqual(a, b, cs));
    cs.CompareTime = false;
    b.BlobSize = 11;
    EXPECT_FALSE(FobsEqual(a, b, cs));
    cs.CompareBlobSize = false;
    EXPECT_TRUE(FobsEqual(a, b, cs));
    b.ID = 19;
    EXPECT_FALSE(FobsEqual(a, b, cs));
    CompareSettings none{false, false, false, false, false, false, true, false};
    EXPECT_TRUE(FobsEqual(a, b, none));
}

TEST(Fob, CheckFileTypeLowerCasesTheExtension) {
    EXPECT_NO_THROW(TFob::CheckFileType("C:\\work\\ALL.FOB"));
    EXPECT_NO_THROW(TFob::CheckFileType("x.Fbk"));
    EXPECT_NO_THROW(TFob::CheckFileType("x.txt"));
    EXPECT_NO_THROW(TFob::CheckFileType("x.XML"));
    try {
        TFob::CheckFileType("C:\\docs\\Notes.DOC");
        FAIL();
    } catch (const EKavloError& e) {
        EXPECT_STREQ(e.what(), "Unsupported file type: .doc");
    }
    try {
        TFob::CheckFileType("C:\\dir.fob\\noext");
        FAIL();
    } catch (const EKavloError& e) {
        EXPECT_STREQ(e.what(), "Unsupported file type: ");
    }
}

TEST(Fob, ClearKeepsTheExtensionAndASlotTakesAFileWhole) {
    TFob a;
    Fill(a, {Rec(1, 1), Rec(1, 2)}, 2, "/x/a.fob");
    EXPECT_EQ(a.FindFob(1, 2), 1);  // a's lookup index is made before the move
    TFob b;
    b = std::move(a);  // as LoadObjectFile fills a slot
    EXPECT_EQ(b.Count(), 2);
    EXPECT_EQ(b.FileNo(), 2);
    EXPECT_EQ(b.FileName(), "/x/a.fob");
    EXPECT_EQ(b.FindFob(1, 2), 1);
    b.Clear();
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(b.FileNo(), 0);
    EXPECT_EQ(b.FileName(), "");
    EXPECT_EQ(b.FileExt(), ".fob");
    EXPECT_EQ(b.FindFob(1, 2), -1);
}

TEST(Fob, LoadFileOfAnUnknownExtensionReadsNothing) {
    TFob fob;
    LoadObjectFile(fob, 1, "notes.doc", Regional{});
    EXPECT_EQ(fob.Count(), 0);
    EXPECT_EQ(fob.FileExt(), ".doc");
    EXPECT_EQ(fob.FileNo(), 1);
}

TEST(Fob, TableDataOrderSortsOnlyTheLeadingBlock) {
    TFob fob;
    Fill(fob, {Rec(0, 5, "", "b"), Rec(0, 3, "", "z"), Rec(0, 5, "", "a"), Rec(1, 9), Rec(1, 2)});
    const std::vector<TFobRec> sorted = SortedTableData(fob);
    EXPECT_EQ(sorted[0].ID, 3);
    EXPECT_EQ(sorted[1].VersionList.view(), "a");
    EXPECT_EQ(sorted[2].VersionList.view(), "b");
    EXPECT_EQ(sorted[3].ID, 9);  // the rest keeps its order
    EXPECT_EQ(sorted[4].ID, 2);

    TFob other;
    Fill(other, {Rec(1, 9), Rec(0, 5), Rec(0, 3)});
    EXPECT_TRUE(other.TableDataOrder().empty());
}

// The exchange sort as it stands, for entries that compare equal.
void ExchangeSort(std::vector<TFobRec>& v, size_t m) {
    for (size_t i = 0; i + 1 < m; ++i)
        for (size_t j = i + 1; j < m; ++j)
            if (CompareFobs(v[i], v[j]) == 1) std::swap(v[i], v[j]);
}

TEST(Fob, TableDataOrderMatchesTheExchangeSortWithDuplicates) {
    std::mt19937 rng(3);
    // Small blocks of few keys, and large ones from every key repeated to a few repeated keys.
    struct Shape {
        int rounds, maxCount, ids;
    };
    for (const Shape shape : {Shape{200, 12, 3}, Shape{40, 600, 2}, Shape{40, 600, 40}, Shape{20, 600, 400}}) {
        for (int round = 0; round < shape.rounds; ++round) {
            std::vector<TFobRec> recs;
            const int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(shape.maxCount));
            // Qualifiers that order by unsigned bytes and by length; IDs on both sides of zero.
            static const char* const kQualifiers[] = {"a", "b", "", "ab", "\xE6", "a\x7F"};
            for (int i = 0; i < n; ++i) {
                // Names tell apart entries whose key is the same.
                const int id = static_cast<int>(rng() % static_cast<unsigned>(shape.ids)) - shape.ids / 2;
                recs.push_back(Rec(0, id, std::to_string(i), kQualifiers[rng() % (round % 2 ? 6 : 2)]));
            }
            recs.push_back(Rec(1, 1));
            std::vector<TFobRec> expected = recs;
            ExchangeSort(expected, static_cast<size_t>(n));
            TFob fob;
            Fill(fob, recs);
            const std::vector<TFobRec> sorted = SortedTableData(fob);
            for (int i = 0; i <= n; ++i)
                ASSERT_EQ(sorted[static_cast<size_t>(i)].Name.view(), expected[static_cast<size_t>(i)].Name.view()) << shape.ids << " " << round;
        }
    }
}

TEST(Fob, FindFobStopsEarlyLikeTheWalk) {
    TFob fob;
    // Not in order: (1,50) comes before (1,10), so the walk for (1,10) stops at (1,50).
    Fill(fob, {Rec(1, 5), Rec(1, 50), Rec(1, 10), Rec(2, 1), Rec(1, 7)});
    EXPECT_EQ(fob.FindFob(1, 5), 0);
    EXPECT_EQ(fob.FindFob(1, 50), 1);
    EXPECT_EQ(fob.FindFob(1, 10), -1);
    EXPECT_EQ(fob.FindFob(1, 7), -1);
    EXPECT_EQ(fob.FindFob(2, 1), 3);
    EXPECT_EQ(fob.FindFob(3, 1), -1);
}

TEST(Fob, FindFobByTextMatchesTableDataQualifierExactly) {
    TFob fob;
    Fill(fob, {Rec(0, 18, "", "Main"), Rec(0, 5, "", "Main"), Rec(0, 18, "", "Other"), Rec(1, 18), Rec(0, 9, "", "x")});
    EXPECT_EQ(fob.FindFobByText(0, 18, "Other"), 2);  // no early stop on ID for table data
    EXPECT_EQ(fob.FindFobByText(0, 18, "main"), -1);  // case counts
    EXPECT_EQ(fob.FindFobByText(0, 9, "x"), -1);      // after the first record of another type
    EXPECT_EQ(fob.FindFobByText(1, 18, "ignored"), 3);
    EXPECT_EQ(fob.FindFob(0, 18), 0);
}

TEST(Fob, IndexedLookupsEqualTheLiteralWalkOnRandomLists) {
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<TFobRec> recs;
        const int n = static_cast<int>(rng() % 40);
        const bool ordered = round % 3 == 0;
        for (int i = 0; i < n; ++i)
            recs.push_back(Rec(static_cast<int>(rng() % 4), static_cast<int>(rng() % 8) - 2, "", rng() % 2 ? "q" : "r"));
        if (ordered) std::sort(recs.begin(), recs.end(), [](auto& a, auto& b) { return CompareFobs(a, b) < 0; });
        TFob fob;
        Fill(fob, recs);
        for (int t = -1; t <= 4; ++t)
            for (int id = -3; id <= 7; ++id) {
                ASSERT_EQ(fob.FindFob(t, id), FindFobLinear(recs, t, id)) << round << " " << t << " " << id;
                for (const char* q : {"q", "r", ""})
                    ASSERT_EQ(fob.FindFobByText(t, id, q), FindFobByTextLinear(recs, t, id, q));
            }
    }
}

// The layout of a backup (unsorted table data, then objects in order), IDs at both ends of
// the range, and every change of a list being built that must drop the lookup index.
TEST(Fob, IndexedLookupsFollowChangesOfTheListOverTheWholeIdRange) {
    const int32_t ids[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 5, INT32_MAX - 1, INT32_MAX};
    std::mt19937 rng(23);
    const auto pick = [&] { return ids[rng() % 7]; };
    const auto randomRec = [&] { return Rec(static_cast<int>(rng() % 10), pick(), "", rng() % 2 ? "q" : "r"); };
    const auto expectWalk = [&](const TFob& fob, int round, const char* step) {
        for (int t = -1; t <= 10; ++t)
            for (int32_t id : ids)
                for (const char* q : {"q", "r"}) {
                    ASSERT_EQ(fob.FindFob(t, id), FindFobLinear(fob.Fobs(), t, id)) << round << step;
                    ASSERT_EQ(fob.FindFobByText(t, id, q), FindFobByTextLinear(fob.Fobs(), t, id, q)) << round << step;
                }
    };
    for (int round = 0; round < 150; ++round) {
        std::vector<TFobRec> tableData, objects;
        for (int i = static_cast<int>(rng() % 8); i > 0; --i) tableData.push_back(Rec(0, pick(), "", rng() % 2 ? "q" : "r"));
        for (int i = static_cast<int>(rng() % 20); i > 0; --i) objects.push_back(Rec(1 + static_cast<int>(rng() % 9), pick()));
        std::sort(objects.begin(), objects.end(), [](auto& a, auto& b) { return CompareFobs(a, b) < 0; });
        tableData.insert(tableData.end(), objects.begin(), objects.end());
        TFob fob;
        Fill(fob, tableData);
        expectWalk(fob, round, " loaded");
        Fill(fob, SortedTableData(fob));
        expectWalk(fob, round, " sorted");
        // A builder asked before its list changes (as the backup reader asks) answers after.
        TFobBuilder b;
        b.Fobs() = fob.Fobs();
        if (!b.Fobs().empty()) {
            (void)b.FindFob(b.Fobs()[0].ObjType, b.Fobs()[0].ID);
            b.Fobs()[rng() % b.Fobs().size()] = randomRec();
            const TFobRec& first = b.Fobs()[0];
            ASSERT_EQ(b.FindFob(first.ObjType, first.ID), FindFobLinear(b.Fobs(), first.ObjType, first.ID)) << round;
        }
        (void)b.FindFob(1, 5);
        b.Fobs().insert(b.Fobs().begin(), randomRec());
        fob = b.Finish();
        expectWalk(fob, round, " set and inserted");
        TFob slot;
        slot = std::move(fob);  // its lookup index taken along
        expectWalk(slot, round, " taken by a slot");
    }
}

}  // namespace
}  // namespace kavlo
