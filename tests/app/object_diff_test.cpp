#include "app/object_diff.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "objfile/load_object_file.h"
#include "objfile/object_content.h"
#include "support/fbk_writer.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

TEST(ObjectDiff, RowObjectReadsTypeIdAndTheTableDataQualifier) {
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18","Customer","NAVW17.00","","","0"," "," ")");
    list.AddCommaText(R"("2","TableData","18","Customer","COMPANY A","","","0"," "," ")");
    list.AddCommaText(R"("1","Nothing","18","","","","","0"," "," ")");
    list.AddCommaText(R"("1","Table","18x","","","","","0"," "," ")");
    const struct {
        int row;
        std::optional<ObjectKey> key;
    } cases[] = {
        {1, ObjectKey{1, 18, ""}}, {2, ObjectKey{0, 18, "COMPANY A"}}, {3, std::nullopt},
        {4, std::nullopt},         {0, std::nullopt},                   {5, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(RowObject(list, c.row), c.key) << c.row;
    EXPECT_EQ(RowObject(TVisibleList(), 1), std::nullopt);  // the empty list's empty row
}

// Loads two files written by the test writers and makes the diff of Table 18.
ObjectDiff DiffOfTable18(const std::string& name1, const std::string& bytes1, const std::string& name2,
                         const std::string& bytes2) {
    testing::TempDir dir;
    testing::FixedRegional regional;
    testing::WriteBytes(dir.File(name1), bytes1);
    testing::WriteBytes(dir.File(name2), bytes2);
    TFob f1, f2;
    LoadObjectFile(f1, 1, dir.File(name1), regional.Get());
    LoadObjectFile(f2, 2, dir.File(name2), regional.Get());
    const std::optional<ObjectPair> pair = FindInBoth(f1, f2, ObjectKey{1, 18, ""});
    EXPECT_FALSE(FindInBoth(f1, f2, ObjectKey{1, 19, ""}));
    if (!pair) throw std::runtime_error("Table 18 is not in both files");
    return MakeObjectDiff(f1, pair->Index1, f2, pair->Index2);
}

std::string Fob(const std::string& name, int32_t blobSize) {
    testing::FobFile f;
    f.objects = {testing::FobObject{1, 18, name, "NAVW17.00"}};
    f.objects[0].blobSize = blobSize;
    return testing::WriteFob(f);
}

std::string Fbk(const std::string& name, uint32_t firstBlock) {
    testing::FbkFile f;
    f.objects = {testing::SimpleFbkObject(1, 18, name)};
    f.objects[0].dataBlocks = {firstBlock, 3};
    return testing::WriteFbk(f);
}

// A backup keeps each object's data: compared, not shown. An object file does not divide its
// objects' definitions per object: two object files, or an object file and another kind, are
// not compared by content at all.
TEST(ObjectDiff, BinaryDataAndFormatsThatCannotBeComparedAreToldInsteadOfShown) {
    testing::TxtFile txt;
    txt.objects = {testing::SimpleTxtObject("Table", 18, "Customer")};
    const struct {
        const char* name1;
        std::string bytes1;
        const char* name2;
        std::string bytes2;
        const char* caption;
        const char* message;
        const char* summary;
    } cases[] = {
        {"a.fbk", Fbk("Customer", 20), "b.fbk", Fbk("Customer", 20), "Object Differences - Table 18 Customer",
         "The object data is binary: it is compared, not shown.\n\nThe stored bytes are identical (file 1: 39 bytes, "
         "file 2: 39 bytes).",
         "Binary data, identical"},
        {"a.fbk", Fbk("Customer", 20), "b.fbk", Fbk("Debitor", 21), "Object Differences - Table 18 Customer / Debitor",
         "The object data is binary: it is compared, not shown.\n\nThe stored bytes are different (file 1: 39 bytes, "
         "file 2: 40 bytes).",
         "Binary data, different"},
        {"a.fob", Fob("Customer", 10), "b.fob", Fob("Customer", 1234), "Object Differences - Table 18 Customer",
         "Contents not compared: object files do not keep each object's definition apart; objects are compared by "
         "their fields alone.",
         "Not comparable"},
        {"a.txt", testing::WriteTxt(txt), "b.fob", Fob("Customer", 10), "Object Differences - Table 18 Customer",
         "Contents not compared: file 1 is a text export, file 2 an object file; objects are compared by their "
         "fields alone.",
         "Not comparable"},
    };
    for (const auto& c : cases) {
        const ObjectDiff d = DiffOfTable18(c.name1, c.bytes1, c.name2, c.bytes2);
        EXPECT_EQ(d.Caption, c.caption);
        EXPECT_EQ(d.Message, c.message);
        EXPECT_EQ(d.Summary, c.summary);
        EXPECT_TRUE(d.View.Rows.empty());
    }
}

// The panes' lines are UTF-8 (the OEM export's letters converted, not flattened), and tab stops
// and the longest line are counted in characters, not in bytes.
TEST(ObjectDiff, LinesAreUtf8AndMeasuredInCharacters) {
    testing::TxtFile a;
    a.objects = {testing::SimpleTxtObject("Table", 18, "Customer")};
    a.objects[0].code = {std::string(60, '\x91') + "\tx"};  // 60 times "ae" in code page 850
    testing::TxtFile b = a;
    b.objects[0].code = {"y"};
    const ObjectDiff d = DiffOfTable18("a.txt", testing::WriteTxt(a), "b.txt", testing::WriteTxt(b));
    std::string ae;
    for (int i = 0; i < 60; ++i) ae += "\xC3\xA6";
    const std::string want = "      " + ae + "      x";  // 66 characters, then to the stop at 72
    EXPECT_NE(std::find(d.Lines1.begin(), d.Lines1.end(), want), d.Lines1.end());
    EXPECT_EQ(d.LongestLine, 73);
}

}  // namespace
}  // namespace kavlo
