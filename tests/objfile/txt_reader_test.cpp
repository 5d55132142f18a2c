#include <gtest/gtest.h>

#include <random>

#include "base/calendar.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/reader_test.h"
#include "support/temp_dir.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

using testing::Row;
using testing::TxtFile;
using testing::TxtObject;

class TxtReader : public testing::ReaderTest {
protected:
    // Writes the bytes, loads them as file 2 and returns the error text ("" when none).
    // Writes the bytes, loads them as file 2 and returns the error text ("" when none).
    std::string Load(const std::string& bytes, const std::string& name = "t.txt") { return LoadBytes(bytes, name, 2); }
    std::string Load(const TxtFile& f) { return Load(testing::WriteTxt(f)); }

    static TxtObject Object(const std::string& type, int id, const std::string& name) {
        return testing::SimpleTxtObject(type, id, name);
    }
    static TxtFile Three() { return testing::ThreeTxtObjects(); }
};

TEST_F(TxtReader, ReadsTheObjectLineAndThePropertiesBelowIt) {
    ASSERT_EQ(Load(Three()), "");
    ASSERT_EQ(fob_.Count(), 3);
    const TFobRec& a = fob_.Fob(0);
    EXPECT_EQ(a.FileNo, 2);
    EXPECT_EQ(a.ObjType, 1);
    EXPECT_EQ(a.ID, 18);
    EXPECT_EQ(a.Name.view(), "Customer");
    EXPECT_EQ(a.VersionList.view(), "NAVW17.00");
    EXPECT_EQ(a.Date, EncodeDate(2009, 1, 31));
    EXPECT_DOUBLE_EQ(a.Time, 0.5);
    EXPECT_EQ(a.DateStr.view(), "31-01-09");
    EXPECT_EQ(a.TimeStr.view(), "12:00:00");
    EXPECT_TRUE(a.Modified);
    EXPECT_FALSE(a.Compiled);
    EXPECT_EQ(a.BlobSize, 0);

    const TFobRec& b = fob_.Fob(1);
    EXPECT_EQ(b.ObjType, 2);
    EXPECT_EQ(b.ID, 21);
    EXPECT_EQ(b.Name.view(), "Customer Card");
    EXPECT_EQ(b.VersionList.view(), "NAVW17.00,NAVDK7.00");  // no modified line: i+6 holds it
    EXPECT_FALSE(b.Modified);
    EXPECT_EQ(b.DateStr.view(), "01-02-03");
    EXPECT_EQ(b.TimeStr.view(), "04:05:06");
    EXPECT_EQ(fob_.Fob(2).ObjType, 5);
    EXPECT_EQ(fob_.Fob(2).Name.view(), "Sales-Post");
}

TEST_F(TxtReader, EveryKindOfLineEndReadsAlike) {
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        for (bool finalEnd : {true, false}) {
            TxtFile f = Three();
            f.lineEnd = end;
            f.finalLineEnd = finalEnd;
            ASSERT_EQ(Load(f), "");
            ASSERT_EQ(fob_.Count(), 3) << static_cast<int>(end.back()) << finalEnd;
            EXPECT_TRUE(fob_.Fob(0).Modified);
            EXPECT_EQ(fob_.Fob(1).VersionList.view(), "NAVW17.00,NAVDK7.00");
        }
    }
    // Mixed breaks, and "\n\r" is two breaks (an empty line between): the object line then
    // has its brace four lines down and fails the check.
    std::string mixed = testing::WriteTxt(Three());
    mixed.replace(mixed.find("\r\n"), 2, "\n");
    ASSERT_EQ(Load(mixed), "");
    EXPECT_EQ(fob_.Count(), 3);
    std::string doubled = testing::WriteTxt(Three());
    doubled.replace(doubled.find("\r\n"), 2, "\n\r");
    EXPECT_TRUE(Load(doubled).starts_with("Assertion failure (FobFileUnit, line "));
}

TEST_F(TxtReader, BracketsAroundTheObjectLineAndTheVersionAreRemoved) {
    TxtFile f = Three();
    f.objects[0].bracketLine = true;
    f.objects[1].bracketVersion = true;
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).ID, 18);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "Customer");
    EXPECT_EQ(fob_.Fob(1).VersionList.view(), "NAVW17.00,NAVDK7.00");
}

TEST_F(TxtReader, ObjectLinesThatNameNoTypeArePassedOver) {
    TxtFile f = Three();
    f.objects[0].type = "table";                                     // case counts
    f.objects[1].objectLineOverride = "Object Form 21 Customer Card";  // so it does for OBJECT
    ASSERT_EQ(Load(f), "");
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).ID, 80);
}

TEST_F(TxtReader, NameAndIdAreTakenByBlanks) {
    TxtFile f = Three();
    f.objects[0].objectLineOverride = "OBJECT Table 18";  // no name: the digits become it
    f.objects[1].name = std::string(40, 'n');
    f.objects[2].name = "K\x9B" "benhavn \x91" "ble \x86";  // OEM 850: o-slash, ae, a-ring
    f.objects[2].version = std::string(300, 'v');
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).ID, 0);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "18");
    EXPECT_EQ(fob_.Fob(1).Name.view(), std::string(30, 'n'));
    EXPECT_EQ(fob_.Fob(2).Name.view(), "K\xF8" "benhavn \xE6" "ble \xE5");
    EXPECT_EQ(fob_.Fob(2).VersionList.view(), std::string(248, 'v'));
}

// A file saved with the UTF-8 byte-order mark: the mark is passed over (the first object line
// follows it), the texts are converted from UTF-8, and widths count characters.
TEST_F(TxtReader, AFileWithTheUtf8MarkIsReadAsUtf8) {
    TxtFile f = Three();
    f.objects[0].name = "Item \xC3\xA6ndring \xC3\x86" "ble";  // ae, AE
    std::string slashes;
    for (int i = 0; i < 40; ++i) slashes += "\xC3\xB8";  // o-slash, two bytes each
    f.objects[1].name = slashes;
    f.objects[2].version = "\xC5\x81\xC3\xB3\x64\xC5\xBA,\xE2\x82\xAC";  // Lodz with accents, euro
    ASSERT_EQ(Load("\xEF\xBB\xBF" + testing::WriteTxt(f)), "");
    ASSERT_EQ(fob_.Count(), 3);
    EXPECT_EQ(fob_.Fob(0).ID, 18);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "Item \xE6ndring \xC6" "ble");
    EXPECT_EQ(fob_.Fob(1).Name.view(), std::string(30, '\xF8'));
    EXPECT_EQ(fob_.Fob(2).VersionList.view(), "?\xF3" "d?,\x80");  // what 1252 lacks is "?"
}

TEST_F(TxtReader, TheModifiedLineCountsByItsPresenceAlone) {
    TxtFile f = Three();
    f.objects[0].modified = "No";
    ASSERT_EQ(Load(f), "");
    EXPECT_TRUE(fob_.Fob(0).Modified);
    EXPECT_EQ(fob_.Fob(0).VersionList.view(), "NAVW17.00");
}

TEST_F(TxtReader, DatesFollowTheRegionalSettings) {
    regional_.format.shortDateFormat = "dd.MM.yyyy";
    regional_.format.dateSeparator = '.';
    TxtFile f = Three();
    f.objects[0].date = "31.01.49";  // two-digit years end with 2049
    f.objects[1].date = "01.01.50";
    f.objects[2].date = "2009-01-31";  // another order: no date, the file's texts stay
    f.objects[2].time = "25:00:00";
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "31.01.2049");
    EXPECT_EQ(fob_.Fob(1).DateStr.view(), "01.01.1950");
    EXPECT_EQ(fob_.Fob(1).TimeStr.view(), "04:05:06");
    EXPECT_EQ(fob_.Fob(2).Date, 0);
    EXPECT_EQ(fob_.Fob(2).DateStr.view(), "2009-01-31");
    EXPECT_EQ(fob_.Fob(2).TimeStr.view(), "25:00:00");
}

TEST_F(TxtReader, OnlyLinesWithEightLinesBelowThemAreObjectLines) {
    // Nine lines: the object line and the eight it takes.
    const std::string nine = "OBJECT Table 1 A\n{\n  OBJECT-PROPERTIES\n  {\n    Date=;\n    Time=;\n"
                             "    Version List=V;\n  }\n  PROPERTIES";
    ASSERT_EQ(Load(nine), "");
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).VersionList.view(), "V");
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "");
    // One line less, and the object is not read; nor is anything in a file of fewer lines.
    ASSERT_EQ(Load(nine.substr(0, nine.rfind('\n'))), "");
    EXPECT_EQ(fob_.Count(), 0);
}

TEST_F(TxtReader, AMisplacedBraceStopsTheReadingAndKeepsTheObjectsBefore) {
    TxtFile f = Three();
    f.objects[1].braceIndent = 4;
    const std::string bytes = testing::WriteTxt(f);
    const std::string err = Load(bytes);
    EXPECT_TRUE(err.starts_with("Assertion failure (FobFileUnit, line ")) << err;
    // The third character of the second object's brace line.
    ASSERT_TRUE(fault_);
    EXPECT_EQ(fault_->Code(), ReadErrorCode::PropertyBrace);
    ASSERT_GE(fault_->Offset(), 2u);
    EXPECT_EQ(bytes.substr(fault_->Offset() - 2, 6), "    {\r") << fault_->Offset();
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).ID, 18);
}

TEST_F(TxtReader, ManyObjectsAreAllListed) {
    TxtFile f;
    f.objects = testing::RealisticTxtObjects(4500, 3, 0);
    ASSERT_EQ(Load(f), "");
    ASSERT_EQ(fob_.Count(), 4500);
    EXPECT_EQ(fob_.Fob(4499).ID, f.objects[4499].id);
    EXPECT_EQ(fob_.Fob(4499).Name.view(), f.objects[4499].name);
}

TEST_F(TxtReader, EveryTruncationListsAPrefixOfTheObjects) {
    TxtFile f = Three();
    f.objects[1].modified = "Yes";
    const std::string full = testing::WriteTxt(f);
    ASSERT_EQ(Load(full), "");
    const std::vector<TFobRec> all = fob_.Fobs();
    for (size_t len = 0; len <= full.size(); ++len) {
        ASSERT_EQ(Load(full.substr(0, len)), "") << len;
        ASSERT_LE(fob_.Count(), 3) << len;
        // A cut can shorten the last object's property lines, but never an earlier one's.
        for (int i = 0; i + 1 < fob_.Count(); ++i)
            ASSERT_EQ(Row(fob_.Fob(i)), Row(all[static_cast<size_t>(i)])) << len;
    }
}

TEST_F(TxtReader, OddFilesGiveAnEmptyListOrAClearError) {
    EXPECT_EQ(Load(""), "");
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(Load(std::string(3 << 20, 'x')), "");  // one long line without a break
    EXPECT_EQ(fob_.Count(), 0);
    testing::FobFile binary;
    binary.objects = testing::RealisticObjects(5, 1);
    EXPECT_EQ(Load(testing::WriteFob(binary), "binary.txt"), "");
    EXPECT_EQ(fob_.Count(), 0);

    std::mt19937 rng(11);
    const std::string valid = testing::WriteTxt(Three());
    for (int round = 0; round < 300; ++round) {
        std::string bytes = valid;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 8); i < n; ++i)
            bytes[rng() % bytes.size()] = static_cast<char>(rng());
        const std::string err = Load(bytes);
        ASSERT_TRUE(err.empty() || err.starts_with("Assertion failure (FobFileUnit")) << err;
        ASSERT_LE(fob_.Count(), 3);
    }
    std::string noise(1 << 16, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    EXPECT_EQ(Load(noise), "");
}

TEST_F(TxtReader, AFileThatCannotBeOpenedLeavesAnEmptyList) {
    ASSERT_EQ(Load(Three()), "");
    ASSERT_EQ(fob_.Count(), 3);
    EXPECT_THROW(LoadObjectFile(fob_, 1, dir_.File("missing.txt"), regional_.Get()), EFOpenError);
    EXPECT_EQ(fob_.Count(), 0);
}

}  // namespace
}  // namespace kavlo
