#include "listing/list_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "base/errors.h"
#include "objfile/load_object_file.h"
#include "objfile/object_content.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

struct Obj {
    int type;
    int id;
    std::string name = "";
    std::string version = "";
    int blob = 0;
};

TFobRec Rec(int fileNo, const Obj& o) {
    TFobRec r{};
    r.FileNo = fileNo;
    r.ObjType = o.type;
    r.ID = o.id;
    r.Name.assign(o.name);
    r.VersionList.assign(o.version);
    r.BlobSize = o.blob;
    r.DateStr.assign("01-02-03");
    r.TimeStr.assign("12:00:00");
    return r;
}

void Fill(TFob& fob, int fileNo, const std::vector<Obj>& objs, bool flagsSet = false) {
    TFobBuilder b(fileNo, "/data/file" + std::to_string(fileNo) + ".fob");
    for (const Obj& o : objs) b.Fobs().push_back(Rec(fileNo, o));
    if (flagsSet && !b.Fobs().empty()) b.Fobs()[0].Modified = b.Fobs()[0].Compiled = true;
    fob = b.Finish();
}

// The fixture: two readers and the inputs of a build, changed per test.
class ListBuilderTest : public ::testing::Test {
protected:
    TFob f1, f2;
    TypeSwitches types = kAllTypes;
    bool hideSystem = false;
    CompareSettings cs;
    FilterTexts filters;
    TBuiltList built;

    ListBuilderTest() { cs.SortByFile = false; }

    // The listed rows as "file:Type:ID", in order.
    std::vector<std::string> Build(const BuildMode& mode, LookupMethod lookup = LookupMethod::Indexed) {
        BuildList(mode, ListSources{f1, f2, types, hideSystem, cs, filters}, built, lookup);
        return Rows(built.List);
    }
    static std::vector<std::string> Rows(const TVisibleList& list) {
        std::vector<std::string> rows;
        for (int r = 1; r <= list.AddedRowCount(); ++r)
            rows.push_back(std::string(list.Cell(r, 0)) + ":" + std::string(list.Cell(r, 1)) + ":" +
                           std::string(list.Cell(r, 2)));
        return rows;
    }
    using V = std::vector<std::string>;
};

TEST_F(ListBuilderTest, OffListsBothFilesAndSetsTheStatusPanels) {
    Fill(f1, 1, {{1, 18, "Customer"}, {5, 80}, {1, 2000000000}, {1, 1999999999}});
    Fill(f2, 2, {{1, 18, "Customer"}, {8, 21}});
    EXPECT_EQ(Build(BuildMode::Off()), (V{"1:Table:18", "1:Codeunit:80", "1:Table:2000000000", "1:Table:1999999999",
                                          "2:Table:18", "2:Page:21"}));
    EXPECT_EQ(built.Status, (StatusTexts{"6", "/data/file1.fob", "/data/file2.fob", "File 1: 4", "File 2: 2"}));
    EXPECT_EQ(built.Listed, 6);
    EXPECT_EQ(built.LastMode, BuildMode::Off());
    // The row is the record's comma text split back: the flags show "1" or a blank.
    EXPECT_EQ(built.List.Cell(1, 3), "Customer");
    EXPECT_EQ(built.List.Cell(1, 5), "01-02-03");
    EXPECT_EQ(built.List.Cell(1, 8), " ");

    hideSystem = true;
    types[5] = false;
    EXPECT_EQ(Build(BuildMode::Off()), (V{"1:Table:18", "1:Table:1999999999", "2:Table:18", "2:Page:21"}));
    EXPECT_EQ(built.Status[3], "File 1: 4");  // the counts are of the files, not of the list
}

TEST_F(ListBuilderTest, OnlyFileOneLoaded) {
    Fill(f1, 1, {{1, 18}, {3, 5}, {5, 80}});
    types[3] = false;
    EXPECT_EQ(Build(BuildMode::Added()), V{});
    EXPECT_FALSE(built.List.HasRows());
    EXPECT_EQ(built.List.RowCount(), 2);  // header and the one empty row
    EXPECT_EQ(built.Status[0], "0");
    EXPECT_EQ(built.Status[2], "");
    EXPECT_EQ(built.Status[4], "File 2: 0");
    EXPECT_EQ(Build(BuildMode::Deleted()), (V{"1:Table:18", "1:Codeunit:80"}));
    EXPECT_EQ(Build(BuildMode::Equal()), V{});
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:Table:18", "1:Codeunit:80"}));
}

TEST_F(ListBuilderTest, TheSameFileTwiceIsAllEqualAndNothingDifferent) {
    const std::vector<Obj> objs = {{0, 3, "", "Main"}, {1, 18, "Customer"}, {5, 80, "Post"}};
    Fill(f1, 1, objs);
    Fill(f2, 2, objs);
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:TableData:3", "2:TableData:3", "1:Table:18", "2:Table:18",
                                            "1:Codeunit:80", "2:Codeunit:80"}));
    cs.SortByFile = true;
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:TableData:3", "1:Table:18", "1:Codeunit:80", "2:TableData:3",
                                            "2:Table:18", "2:Codeunit:80"}));
    EXPECT_EQ(Build(BuildMode::Different()), V{});
    cs.SortByFile = false;
    EXPECT_EQ(Build(BuildMode::Different()), V{});
    EXPECT_EQ(Build(BuildMode::Added()), V{});
    EXPECT_EQ(Build(BuildMode::Deleted()), V{});
}

TEST_F(ListBuilderTest, FlagsAreNeverComparedAndSwitchedOffFieldsIgnored) {
    Fill(f1, 1, {{1, 18, "Customer", "A", 10}, {1, 27, "Item", "A", 10}, {1, 30, "Only1"}});
    Fill(f2, 2, {{1, 18, "Customer", "A", 10}, {1, 27, "Items", "B", 11}, {1, 31, "Only2"}}, true);
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:Table:18", "2:Table:18"}));
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:Table:27", "2:Table:27", "1:Table:30", "2:Table:31"}));
    cs.CompareName = cs.CompareVersion = cs.CompareDate = cs.CompareTime = cs.CompareBlobSize = false;
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:Table:18", "2:Table:18", "1:Table:27", "2:Table:27"}));
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:Table:30", "2:Table:31"}));
    cs.OnlyShowBoth = true;
    EXPECT_EQ(Build(BuildMode::Different()), V{});
    cs.SortByFile = true;
    EXPECT_EQ(Build(BuildMode::Different()), V{});
    // Only the name differs: that alone makes the pair different.
    cs.CompareName = true;
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:Table:27", "2:Table:27"}));
    cs.SortByFile = false;
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:Table:27", "2:Table:27"}));
}

TEST_F(ListBuilderTest, TableDataNeedsTheSameQualifierToBeACounterpart) {
    Fill(f1, 1, {{0, 18, "Customer", "Main"}, {1, 18, "Customer"}});
    Fill(f2, 2, {{0, 18, "Customer", "Other"}, {1, 18, "Customer"}});
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:Table:18", "2:Table:18"}));
    // One-sided on both sides, in qualifier order within table 18.
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:TableData:18", "2:TableData:18"}));
    cs.SortByFile = true;
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:TableData:18", "2:TableData:18"}));
    cs.OnlyShowBoth = true;
    EXPECT_EQ(Build(BuildMode::Different()), V{});
    // Added and Deleted look at type and ID only.
    EXPECT_EQ(Build(BuildMode::Added()), V{});
    EXPECT_EQ(Build(BuildMode::Deleted()), V{});
}

TEST_F(ListBuilderTest, DifferentMergeFollowsTypeAndIdAcrossBothFiles) {
    // A backup lists its table data first and unsorted; the merge reads that block in order.
    Fill(f1, 1, {{0, 27, "", "b"}, {0, 18, "", "x"}, {0, 27, "", "a"}, {1, 5}, {1, 18, "Old"}, {5, 80}});
    Fill(f2, 2, {{0, 18, "", "x"}, {0, 27, "", "a"}, {1, 3}, {1, 18, "New"}, {5, 90}});
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:TableData:27", "2:Table:3", "1:Table:5", "1:Table:18",
                                                "2:Table:18", "1:Codeunit:80", "2:Codeunit:90"}));
    EXPECT_EQ(built.List.Cell(1, 4), "b");
    EXPECT_EQ(built.List.Cell(4, 3), "Old");
    EXPECT_EQ(built.List.Cell(5, 3), "New");
    // The readers are not reordered by a build.
    EXPECT_EQ(f1.Fob(0).VersionList.view(), "b");
    EXPECT_EQ(f1.Fob(1).ID, 18);
    // The type test applies to each row of a pair on its own; so does the filter.
    types[0] = false;
    filters[0] = "2";
    EXPECT_EQ(Build(BuildMode::Different()), (V{"2:Table:3", "2:Table:18", "2:Codeunit:90"}));
    cs.SortByFile = true;
    filters[0] = "";
    EXPECT_EQ(Build(BuildMode::Different()), (V{"1:Table:5", "1:Table:18", "1:Codeunit:80", "2:Table:3",
                                                "2:Table:18", "2:Codeunit:90"}));
}

TEST_F(ListBuilderTest, FilterOnTheFileColumnKeepsOneSideOfAPair) {
    Fill(f1, 1, {{1, 18, "Customer"}, {1, 27, "Item"}});
    Fill(f2, 2, {{1, 18, "Customer"}, {1, 27, "Item"}});
    filters[0] = "1";
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:Table:18", "1:Table:27"}));
    filters[0] = "";
    filters[3] = "@item";
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:Table:27", "2:Table:27"}));
    filters[3] = "item";
    EXPECT_EQ(Build(BuildMode::Off()), V{});
    EXPECT_EQ(built.List.RowCount(), 2);
}

TEST_F(ListBuilderTest, SectionsFollowInTheirFixedOrderAndLastModeIsKept) {
    Fill(f1, 1, {{1, 1}, {1, 2, "changed"}, {1, 3}});
    Fill(f2, 2, {{1, 1}, {1, 2}, {1, 4}});
    BuildMode all{true, true, true, true, true};
    EXPECT_EQ(Build(all), (V{// Off
                             "1:Table:1", "1:Table:2", "1:Table:3", "2:Table:1", "2:Table:2", "2:Table:4",
                             // Equal
                             "1:Table:1", "2:Table:1",
                             // Different
                             "1:Table:2", "2:Table:2", "1:Table:3", "2:Table:4",
                             // Added, Deleted
                             "2:Table:4", "1:Table:3"}));
    EXPECT_EQ(built.LastMode, all);
    EXPECT_EQ(built.Status[0], "14");
    types.fill(false);
    EXPECT_EQ(Build(all), V{});
    EXPECT_EQ(Build(BuildMode::Deleted()), V{});
    EXPECT_EQ(built.LastMode, BuildMode::Deleted());
}

TEST_F(ListBuilderTest, LookupsKeepTheWalksAnswersOnUnorderedFiles) {
    // Duplicates in file 1 all find the same first counterpart; in file 2, Table 7 stands after
    // Table 9, where the walk from the start has already stopped, so it is never found.
    Fill(f1, 1, {{1, 5}, {1, 5}, {1, 7}});
    Fill(f2, 2, {{1, 5}, {1, 9}, {1, 7}});
    EXPECT_EQ(Build(BuildMode::Equal()), (V{"1:Table:5", "2:Table:5", "1:Table:5", "2:Table:5"}));
    EXPECT_EQ(Build(BuildMode::Deleted()), (V{"1:Table:7"}));
    EXPECT_EQ(Build(BuildMode::Added()), (V{"2:Table:9"}));  // Table 7 of file 2 is found in file 1
    EXPECT_EQ(Build(BuildMode::Deleted(), LookupMethod::LinearWalk), (V{"1:Table:7"}));
}

TEST_F(ListBuilderTest, IndexedBuildsEqualLinearWalkBuildsOnRandomFiles) {
    std::mt19937 rng(17);
    const auto randomFile = [&](TFob& f, int fileNo) {
        std::vector<Obj> objs;
        const int n = static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i)
            objs.push_back({static_cast<int>(rng() % 3), static_cast<int>(rng() % 6), rng() % 4 ? "N" : "M",
                            rng() % 2 ? "q" : "r", static_cast<int>(rng() % 2)});
        if (rng() % 2)
            std::stable_sort(objs.begin(), objs.end(),
                             [](const Obj& a, const Obj& b) { return a.type != b.type ? a.type < b.type : a.id < b.id; });
        Fill(f, fileNo, objs);
    };
    for (int round = 0; round < 400; ++round) {
        randomFile(f1, 1);
        randomFile(f2, 2);
        cs.SortByFile = rng() % 2;
        cs.OnlyShowBoth = rng() % 2;
        cs.CompareName = rng() % 2;
        hideSystem = false;
        types[2] = rng() % 4 != 0;
        for (const BuildMode& mode :
             {BuildMode::Off(), BuildMode::Equal(), BuildMode::Different(), BuildMode::Added(), BuildMode::Deleted()}) {
            const V indexed = Build(mode);
            ASSERT_EQ(indexed, Build(mode, LookupMethod::LinearWalk)) << round;
        }
    }
}

// With CompareContent on, a pair is equal only when its contents are too, in every mode and
// order; with it off, contents are never read (the files may even be gone), nor twice for the
// same loads.
TEST(ListBuilderContent, PairsAreEqualOnlyWithEqualContents) {
    testing::TempDir dir;
    const testing::FixedRegional regional;
    testing::TxtFile a = testing::ThreeTxtObjects();
    testing::TxtFile b = a;
    b.objects[1].code = {"CurrPage.UPDATE;"};  // Form 21: code changed, fields kept
    b.objects[2].date = "05-05-05";            // Codeunit 80: re-stamped, code kept
    TFob f1, f2;
    testing::WriteBytes(dir.File("a.txt"), testing::WriteTxt(a));
    testing::WriteBytes(dir.File("b.txt"), testing::WriteTxt(b));
    LoadObjectFile(f1, 1, dir.File("a.txt"), regional.Get());
    LoadObjectFile(f2, 2, dir.File("b.txt"), regional.Get());
    const FilterTexts filters;
    TBuiltList kept;  // kept from build to build, as the window keeps it
    const auto rows = [&](const BuildMode& mode, bool content, bool sortByFile, uint64_t generation = 0) {
        CompareSettings cs;
        cs.CompareContent = content;
        cs.SortByFile = sortByFile;
        cs.CompareDate = false;  // Codeunit 80 then equal by its fields
        TBuiltList fresh;
        TBuiltList& built = generation ? kept : fresh;
        BuildList(mode, ListSources{f1, f2, kAllTypes, false, cs, filters, generation}, built);
        std::string out;
        for (int r = 1; r <= built.List.AddedRowCount(); ++r)
            out += std::string(built.List.Cell(r, 0)) + ":" + std::string(built.List.Cell(r, 2)) + " ";
        return out;
    };
    for (bool sortByFile : {false, true}) {
        SCOPED_TRACE(sortByFile);
        EXPECT_EQ(rows(BuildMode::Different(), false, sortByFile), "");
        EXPECT_EQ(rows(BuildMode::Different(), true, sortByFile), "1:21 2:21 ");
        EXPECT_EQ(rows(BuildMode::Equal(), true, sortByFile), sortByFile ? "1:18 1:80 2:18 2:80 " : "1:18 2:18 1:80 2:80 ");
    }
    EXPECT_EQ(rows(BuildMode::Equal(), true, false, 7), "1:18 2:18 1:80 2:80 ");
    std::filesystem::remove(dir.File("a.txt"));
    EXPECT_EQ(rows(BuildMode::Equal(), false, false), "1:18 2:18 1:21 2:21 1:80 2:80 ");
    EXPECT_THROW(rows(BuildMode::Equal(), true, false), EFOpenError);
    // Builds of the same loads read no content twice; builds of other loads read afresh.
    EXPECT_EQ(rows(BuildMode::Different(), true, true, 7), "1:21 2:21 ");
    EXPECT_THROW(rows(BuildMode::Different(), true, true, 8), EFOpenError);
}

TEST(ListBuilderContent, FilesOfDifferentKindsAreComparedByTheirFieldsAndSaySo) {
    TFobBuilder t(1, "a.txt"), x(2, "a.xml");
    t.Fobs().push_back(Rec(1, {2, 21, "Card"}));
    x.Fobs().push_back(Rec(2, {2, 21, "Card"}));
    const TFob txt = t.Finish(), xml = x.Finish();
    CompareSettings cs;
    cs.CompareContent = true;
    const FilterTexts filters;
    TBuiltList built;
    BuildList(BuildMode::Equal(), ListSources{txt, xml, kAllTypes, false, cs, filters}, built);
    EXPECT_EQ(built.List.AddedRowCount(), 2);
    EXPECT_EQ(built.ContentNote, NotComparableText(txt, xml));
    cs.CompareContent = false;
    BuildList(BuildMode::Equal(), ListSources{txt, xml, kAllTypes, false, cs, filters}, built);
    EXPECT_EQ(built.ContentNote, "");
}

TEST(FobRow, IsTheCommaTextSplitBack) {
    std::mt19937 rng(29);
    const char bytes[] = {'"', ',', ' ', 'a', '\0', '\x01', '\xE6', '\xFF', '\''};
    const auto randomText = [&](size_t max) {
        std::string t;
        for (size_t n = rng() % (max + 1); n > 0; --n) t += bytes[rng() % sizeof bytes];
        return t;
    };
    TFobBuilder b(2);
    for (int i = 0; i < 2000; ++i) {
        TFobRec r{};
        r.FileNo = 1;  // the reader's slot wins
        r.ObjType = static_cast<int>(rng() % 11);  // 10: no type name
        r.ID = static_cast<int32_t>(rng());
        r.BlobSize = static_cast<int32_t>(rng());
        r.Name.assign(randomText(30));
        r.VersionList.assign(randomText(248));
        r.DateStr.assign(randomText(11));
        r.TimeStr.assign(randomText(14));
        r.Modified = rng() % 2;
        r.Compiled = rng() % 2;
        b.Fobs().push_back(r);
    }
    const TFob fob = b.Finish();
    TVisibleList direct, split;
    for (int i = 0; i < fob.Count(); ++i) {
        AddFobRow(direct, fob, i);
        split.AddCommaText(fob.GetFobCommaText(i));
    }
    for (int row = 1; row <= fob.Count(); ++row)
        for (int c = 0; c < kColumnCount; ++c) ASSERT_EQ(direct.Cell(row, c), split.Cell(row, c)) << row << " " << c;
    EXPECT_EQ(direct.Cell(1, 0), "2");
}

TEST(CompareSettingsStartValues, EveryFieldComparedAndSortByFileOn) {
    const CompareSettings cs;
    EXPECT_TRUE(cs.CompareTypeID && cs.CompareName && cs.CompareVersion && cs.CompareDate && cs.CompareTime &&
                cs.CompareBlobSize);
    EXPECT_TRUE(cs.SortByFile);
    EXPECT_FALSE(cs.OnlyShowBoth);
}

}  // namespace
}  // namespace kavlo
