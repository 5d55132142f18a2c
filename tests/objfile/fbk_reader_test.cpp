#include <gtest/gtest.h>

#include <random>

#include "base/calendar.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "objfile/readers.h"
#include "support/fbk_writer.h"
#include "support/fixed_regional.h"
#include "support/reader_test.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using testing::FbkEntry;
using testing::FbkFile;
using testing::FbkObject;
using testing::FbkTableData;
using testing::NavDateRaw;

class FbkReader : public testing::ReaderTest {
protected:
    // Writes the bytes, loads them as file 1 and returns the error text ("" when none).
    std::string Load(const std::string& bytes, const std::string& name = "t.fbk") { return LoadBytes(bytes, name); }
    std::string Load(const FbkFile& f) { return Load(testing::WriteFbk(f)); }

    static FbkTableData TableData(int id, const std::string& name, const std::string& qualifier) {
        FbkTableData t;
        t.id = id;
        t.name = name;
        t.qualifier = qualifier;
        return t;
    }

    static FbkObject Object(int type, int id, const std::string& name) {
        return testing::SimpleFbkObject(type, id, name);
    }

    // Two table-data entries and three objects, binary entries in header order.
    static FbkFile Backup() {
        FbkFile f;
        f.tableData = {TableData(18, "Customer", "Kavlo Ltd."), TableData(18, "Customer", "Brenvik A/S")};
        f.objects = {Object(1, 18, "Customer"), Object(3, 206, "Sales Invoice"), Object(8, 21, "Customer Card")};
        f.objects[1].object.modified = true;
        f.objects[2].object.compiled = true;
        f.objects[2].dataBlocks.clear();
        return f;
    }

    // The binary entries in order, table data first.
    static std::vector<FbkEntry> Entries(const FbkFile& f) {
        std::vector<FbkEntry> e;
        for (size_t i = 0; i < f.tableData.size(); ++i) e.push_back({true, i});
        for (size_t i = 0; i < f.objects.size(); ++i) e.push_back({false, i});
        return e;
    }

    bool Completed(int index) const { return fob_.Fob(index).DateStr.view() == "31-01-09"; }
};

TEST_F(FbkReader, ListsTableDataFirstThenTheCompletedObjects) {
    ASSERT_EQ(Load(Backup()), "");
    ASSERT_EQ(fob_.Count(), 5);
    const TFobRec& t = fob_.Fob(1);
    EXPECT_EQ(t.FileNo, 1);
    EXPECT_EQ(t.ObjType, 0);
    EXPECT_EQ(t.ID, 18);
    EXPECT_EQ(t.Name.view(), "Customer");
    EXPECT_EQ(t.VersionList.view(), "Brenvik A/S");
    EXPECT_EQ(t.DateStr.view(), "");
    EXPECT_EQ(t.Date, 0);
    EXPECT_EQ(t.BlobSize, 0);
    EXPECT_FALSE(t.Modified || t.Compiled);
    EXPECT_EQ(fob_.Fob(0).VersionList.view(), "Kavlo Ltd.");

    const TFobRec& a = fob_.Fob(2);
    EXPECT_EQ(a.ObjType, 1);
    EXPECT_EQ(a.ID, 18);
    EXPECT_EQ(a.BlobSize, 1018);  // from the header
    EXPECT_EQ(a.Date, EncodeDate(2009, 1, 31));
    EXPECT_EQ(a.DateStr.view(), "31-01-09");
    EXPECT_EQ(a.TimeStr.view(), "13:14:15");
    EXPECT_TRUE(fob_.Fob(3).Modified);
    EXPECT_TRUE(fob_.Fob(4).Compiled);
    EXPECT_EQ(fob_.FindFobByText(0, 18, "Brenvik A/S"), 1);
}

TEST_F(FbkReader, TableDataHeaderEntriesAre269BytesLong) {
    FbkFile f = Backup();
    f.interleaveHeader = true;  // table data, object, table data, object, object
    f.tableData[0].headerIdField = "18        ";  // converted as it stands: 0
    ASSERT_EQ(Load(f), "");
    ASSERT_EQ(fob_.Count(), 5);
    EXPECT_EQ(fob_.Fob(0).ID, 0);
    EXPECT_EQ(fob_.Fob(1).VersionList.view(), "Brenvik A/S");
    for (int i = 2; i < 5; ++i) EXPECT_TRUE(Completed(i)) << i;
    EXPECT_EQ(fob_.Fob(3).Name.view(), "Sales Invoice");
}

TEST_F(FbkReader, NamesAndVersionsComeFromTheBinaryPart) {
    FbkFile f = Backup();
    f.objects[0].object.name = "K\x94" "bmand " + std::string(40, 'x');  // OEM 850 o-umlaut
    f.objects[0].object.headerNameOverride = "Header name";
    f.objects[0].object.version = std::string(300, 'v');
    f.objects[1].object.hasDate = false;  // no date: the header texts stay, the time is kept
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(2).Name.view(), "K\xF6" "bmand " + std::string(22, 'x'));
    EXPECT_EQ(fob_.Fob(2).VersionList.view(), std::string(248, 'v'));
    EXPECT_EQ(fob_.Fob(3).DateStr.view(), "01-02-03");
    EXPECT_DOUBLE_EQ(fob_.Fob(3).Time, EncodeTime(13, 14, 15, 0));
}

TEST_F(FbkReader, ATableDataOnlyBackupReadsNothingAfterTheLeadingBlock) {
    FbkFile f = Backup();
    f.objects.clear();
    std::string bytes = testing::WriteFbk(f);
    const size_t first = testing::FbkFirstEntryAt(f);
    bytes.replace(first, 4, "\x77\x77\x77\x77");  // a broken entry tag that is never read
    ASSERT_EQ(Load(bytes), "");
    EXPECT_EQ(fob_.Count(), 2);
}

TEST_F(FbkReader, ObjectsAreFoundByTypeAndId) {
    FbkFile f = Backup();
    // Header: Table 50 before Table 10, so the walk for Table 10 stops at Table 50.
    f.objects = {Object(1, 50, "Fifty"), Object(1, 10, "Ten"), Object(5, 80, "Post")};
    f.objects.push_back(Object(5, 81, "Not in the header"));
    f.objects.back().inHeader = false;  // read and dropped
    std::vector<FbkEntry> binary = Entries(f);
    std::swap(binary[2], binary[4]);  // binary order differs from the header's
    f.binary = binary;
    ASSERT_EQ(Load(f), "");
    ASSERT_EQ(fob_.Count(), 5);
    EXPECT_TRUE(Completed(2));
    EXPECT_FALSE(Completed(3));  // missed: it keeps its header values
    EXPECT_EQ(fob_.Fob(3).Name.view(), "Ten");
    EXPECT_TRUE(Completed(4));
    EXPECT_EQ(fob_.Fob(4).Name.view(), "Post");
}

TEST_F(FbkReader, DataBlocksEndAtTheFirstOtherBlock) {
    FbkFile f = Backup();
    f.objects[0].extraBlock = 0x07;  // swallowed: the next entry tag comes after it
    f.objects[1].dataBlocks = {0, 1, 4096, 70000};
    f.objects[1].extraBlock = 0x05;
    ASSERT_EQ(Load(f), "");
    for (int i = 2; i < 5; ++i) EXPECT_TRUE(Completed(i)) << i;
    // A block starting with 0x02 after the data is read again as the end mark.
    f = Backup();
    f.objects[0].extraBlock = 0x02;
    ASSERT_EQ(Load(f), "");
    EXPECT_TRUE(Completed(2));
    EXPECT_FALSE(Completed(3));
    // One starting with 0x01 is read again as an entry tag: here the real tag behind it is
    // then taken for the type block (type code 0), and the table-data check fails.
    f.objects[0].extraBlock = 0x01;
    EXPECT_TRUE(Load(f).starts_with("Assertion failure (FobFileUnit, line "));
    EXPECT_TRUE(Completed(2));
    EXPECT_FALSE(Completed(3));
}

TEST_F(FbkReader, TypeCodesAboveNineFailTheCheck) {
    FbkFile f = Backup();
    f.objects[1].binaryType = 10;
    EXPECT_TRUE(Load(f).starts_with("Assertion failure (FobFileUnit, line "));
    ASSERT_TRUE(fault_);
    EXPECT_EQ(fault_->Code(), ReadErrorCode::TypeCode);
    EXPECT_EQ(fault_->Found(), 10);
    EXPECT_EQ(fob_.Count(), 5);
    EXPECT_TRUE(Completed(2));
    EXPECT_FALSE(Completed(3));
}

TEST_F(FbkReader, PositionMessagesNameTheBlock) {
    const FbkFile base = Backup();
    const uint64_t first = testing::FbkFirstEntryAt(base);
    char expected[96];

    FbkFile f = base;
    f.leadingByte0 = 0x00;
    const uint64_t leadingAt = first - 8 - f.leadingLength;
    std::snprintf(expected, sizeof expected, "Position $%llX. Byte value=$00. Expected value $01.",
                  static_cast<unsigned long long>(leadingAt));
    EXPECT_EQ(Load(f), expected);
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::LeadingBlock, leadingAt));

    std::vector<FbkEntry> binary = Entries(base);
    binary[0].tag = 0x03;
    f = base;
    f.binary = binary;
    std::snprintf(expected, sizeof expected, "Position $%llX. Byte value=$03. Expected value $01 or $02.",
                  static_cast<unsigned long long>(first));
    EXPECT_EQ(Load(f), expected);
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::EntryTag, first));

    binary = Entries(base);
    binary[0].typeBlock0 = 0xA0;
    f.binary = binary;
    std::snprintf(expected, sizeof expected, "Position $%llX. Byte value=$A0. Expected value $01.",
                  static_cast<unsigned long long>(first + 8));
    EXPECT_EQ(Load(f), expected);
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::TypeBlock, first + 8));
    EXPECT_EQ(fob_.Count(), 5);  // every header record stays
}

TEST_F(FbkReader, EveryStructureCheckRaisesAnAssertionAndKeepsTheRecords) {
    // Each fault, the check it fails and the byte it puts in the file.
    const struct {
        void (*fault)(FbkFile&);
        ReadErrorCode code;
        uint8_t byte;
    } faults[] = {
        {[](FbkFile& f) { f.endOfHeader = 0x1B; }, ReadErrorCode::EndOfHeader, 0x1B},
        {[](FbkFile& f) { f.tableData[1].block02 = 0x03; }, ReadErrorCode::TableDataFirst, 0x03},
        {[](FbkFile& f) { f.tableData[1].block03 = 0x02; }, ReadErrorCode::TableDataSecond, 0x02},
        {[](FbkFile& f) { f.tableData[1].block04 = 0x05; }, ReadErrorCode::TableDataThird, 0x05},
        {[](FbkFile& f) { f.objects[1].idBlock0 = 0x04; }, ReadErrorCode::IdBlock, 0x04},
        {[](FbkFile& f) { f.objects[1].nameBlock0 = 0x03; }, ReadErrorCode::NameBlock, 0x03},
        {[](FbkFile& f) { f.objects[1].object.prop0 = 0x04; }, ReadErrorCode::PropertyModified, 0x04},
        {[](FbkFile& f) { f.objects[1].object.prop8 = 0x07; }, ReadErrorCode::PropertyCompiled, 0x07},
        {[](FbkFile& f) { f.objects[1].object.prop32 = 0x0D; }, ReadErrorCode::PropertyEnd, 0x0D},
        {[](FbkFile& f) { f.objects[1].trailer0 = 0x09; }, ReadErrorCode::BackupTrailer, 0x09},
    };
    int k = 0;
    for (const auto& c : faults) {
        FbkFile f = Backup();
        c.fault(f);
        const std::string bytes = testing::WriteFbk(f);
        const std::string err = Load(bytes);
        EXPECT_TRUE(err.starts_with("Assertion failure (FobFileUnit, line ")) << k << ": " << err;
        ASSERT_TRUE(fault_) << k;
        EXPECT_EQ(fault_->Code(), c.code) << k;
        // The offset is that of the byte checked.
        ASSERT_LT(fault_->Offset(), bytes.size()) << k;
        EXPECT_EQ(static_cast<uint8_t>(bytes[fault_->Offset()]), c.byte) << k;
        ASSERT_EQ(fob_.Count(), 5) << k;
        EXPECT_EQ(fob_.Fob(1).VersionList.view(), "Brenvik A/S") << k;
        EXPECT_FALSE(Completed(4)) << k;
        ++k;
    }
}

TEST_F(FbkReader, AHeaderEndingNearTheEndOfTheFileFailsTheMarkerCheck) {
    const std::string entry = testing::FbkTableDataEntry(TableData(18, "Customer", "Main"));
    EXPECT_TRUE(Load(entry + "\x1A" + std::string(100, '\0')).starts_with("Assertion failure (FobFileUnit"));
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).VersionList.view(), "Main");
}

TEST_F(FbkReader, EveryTruncationEndsInARecordListOrAClearError) {
    const FbkFile f = Backup();
    const std::string full = testing::WriteFbk(f);
    for (size_t len = 0; len <= full.size(); ++len) {
        const std::string err = Load(full.substr(0, len));
        ASSERT_TRUE(err.empty() || err == "Stream read error" || err.starts_with("Assertion failure (FobFileUnit") ||
                    err.starts_with("Position $"))
            << len << ": " << err;
        // Whole 161-byte blocks that begin with a type name are counted, table data included.
        int expected = 0;
        for (size_t at : {size_t{0}, size_t{269}, size_t{538}, size_t{699}, size_t{860}})
            expected += len >= at + 161;
        ASSERT_EQ(fob_.Count(), expected) << len;
    }
}

// A data block that announces more bytes than the file holds is skipped by seeking: the next
// read, not an allocation or a read of that length, finds the end.
TEST_F(FbkReader, ADataBlockLongerThanTheFileEndsInAReadErrorPastTheEnd) {
    FbkFile f = Backup();
    f.objects[0].dataOverrun = 0xFFFFFF00u;
    const std::string bytes = testing::WriteFbk(f);
    EXPECT_EQ(Load(bytes), "Stream read error");
    ASSERT_TRUE(fault_);
    EXPECT_EQ(fault_->Code(), ReadErrorCode::PastEnd);
    EXPECT_GT(fault_->Offset(), bytes.size());
    EXPECT_EQ(fault_->Field(), "data block");
    EXPECT_TRUE(Completed(2));
}

TEST_F(FbkReader, OddFilesGiveAnEmptyListOrAClearError) {
    EXPECT_EQ(Load(""), "");
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(Load("OBJECT Table 18 Customer\r\n{\r\n" + std::string(300, ' ')), "");
    EXPECT_EQ(fob_.Count(), 0);

    std::mt19937 rng(17);
    const std::string valid = testing::WriteFbk(Backup());
    for (int round = 0; round < 300; ++round) {
        std::string bytes = valid;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 8); i < n; ++i)
            bytes[rng() % bytes.size()] = static_cast<char>(rng());
        Load(bytes);  // any result but a crash, a hang or a runaway allocation
        ASSERT_LE(fob_.Count(), 5);
    }
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    EXPECT_EQ(Load(noise), "");
}

}  // namespace
}  // namespace kavlo
