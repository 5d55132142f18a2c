#include <gtest/gtest.h>

#include <random>

#include "base/calendar.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "objfile/readers.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/reader_test.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using testing::FobFile;
using testing::FobObject;
using testing::NavDateRaw;

class FobReader : public testing::ReaderTest {
protected:
    // Writes the bytes, loads them as file 1 and returns the error text ("" when none).
    std::string Load(const std::string& bytes, const std::string& name = "t.fob") { return LoadBytes(bytes, name); }
    std::string Load(const FobFile& f) { return Load(testing::WriteFob(f)); }

    static FobObject Object(int type, int id, const std::string& name) {
        return testing::SimpleFobObject(type, id, name);
    }
    static FobFile Three() { return testing::ThreeFobObjects(); }

    // The offset of the first object entry of a file of n objects and leading length L.
    static uint64_t FirstEntryAt(size_t n, uint32_t leadingLength) {
        return ((n * 161 + 1 + 3) & ~size_t{3}) + 8 + leadingLength;
    }
};

TEST_F(FobReader, ReadsHeaderAndBinaryPart) {
    ASSERT_EQ(Load(Three()), "");
    ASSERT_EQ(fob_.Count(), 3);
    const TFobRec& a = fob_.Fob(0);
    EXPECT_EQ(a.FileNo, 1);
    EXPECT_EQ(a.ObjType, 1);
    EXPECT_EQ(a.ID, 18);
    EXPECT_EQ(a.Name.view(), "Customer");
    EXPECT_EQ(a.VersionList.view(), "NAVW17.00");
    EXPECT_EQ(a.BlobSize, 1018);
    EXPECT_EQ(a.Date, EncodeDate(2009, 1, 31));
    EXPECT_DOUBLE_EQ(a.Time, EncodeTime(13, 14, 15, 0));
    EXPECT_EQ(a.DateStr.view(), "31-01-09");
    EXPECT_EQ(a.TimeStr.view(), "13:14:15");
    EXPECT_FALSE(a.Modified);
    EXPECT_FALSE(a.Compiled);
    EXPECT_TRUE(fob_.Fob(1).Modified);
    EXPECT_TRUE(fob_.Fob(2).Compiled);
    EXPECT_EQ(fob_.Fob(2).ObjType, 8);
    EXPECT_EQ(fob_.FileExt(), ".fob");
}

TEST_F(FobReader, ConvertsOemTextsAndCutsLongOnes) {
    FobFile f;
    f.objects = {Object(1, 1, "K\x94" "bmand \x9B")};  // OEM 850: o-umlaut, o-slash
    f.objects[0].version = std::string(300, 'v');
    f.objects[0].name += std::string(40, 'x');
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).Name.view(), std::string("K\xF6" "bmand \xF8") + std::string(21, 'x'));
    EXPECT_EQ(fob_.Fob(0).VersionList.view(), std::string(248, 'v'));
}

TEST_F(FobReader, ShortFilesAndTextFilesGiveAnEmptyList) {
    EXPECT_EQ(Load(""), "");
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(Load(std::string(160, 'T')), "");
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(Load("OBJECT Table 18 Customer\r\n{\r\n  OBJECT-PROPERTIES\r\n" + std::string(300, ' ')), "");
    EXPECT_EQ(fob_.Count(), 0);
}

TEST_F(FobReader, IdFieldsConvertAsTheyStand) {
    FobFile f;
    f.objects = {Object(1, 0, "A"), Object(1, 0, "B")};
    f.objects[0].headerIdField = "42        ";
    f.objects[1].headerIdField = "        42";
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).ID, 0);
    EXPECT_EQ(fob_.Fob(1).ID, 42);
}

TEST_F(FobReader, ALowerCaseTypeNameEndsTheHeader) {
    FobFile f = Three();
    f.objects[1].headerTypeField = "table";
    // The header now ends at the second block, which is no 0x1A marker.
    EXPECT_TRUE(Load(f).starts_with("Assertion failure (FobFileUnit, line "));
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::EndOfHeader, 161));
    EXPECT_EQ(fob_.Count(), 1);
}

TEST_F(FobReader, HeaderEndingNearTheEndOfFileFailsTheMarkerCheck) {
    const std::string entry = testing::FobHeaderEntry(Object(1, 18, "Customer"));
    EXPECT_TRUE(Load(entry + "\x1A" + std::string(100, '\0')).starts_with("Assertion failure (FobFileUnit"));
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::EndOfHeader, 0));  // the entry itself was taken for the marker
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "Customer");  // the header record stays
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "01-02-03");
}

TEST_F(FobReader, WithoutADateTheHeaderTextsStayButTheTimeIsKept) {
    FobFile f;
    f.objects = {Object(1, 1, "A"), Object(1, 2, "B")};
    f.objects[0].hasDate = false;
    f.objects[1].rawDate = 0;  // a date tag holding 0 is no date either
    ASSERT_EQ(Load(f), "");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(fob_.Fob(i).Date, 0);
        EXPECT_DOUBLE_EQ(fob_.Fob(i).Time, EncodeTime(13, 14, 15, 0));
        EXPECT_EQ(fob_.Fob(i).DateStr.view(), "01-02-03");
        EXPECT_EQ(fob_.Fob(i).TimeStr.view(), "04:05:06");
    }
}

TEST_F(FobReader, PositionMessagesNameTheOffsetInUpperCaseHex) {
    FobFile f = Three();
    f.objects[0].headByte = 0x03;
    // Three header entries and the marker end at 484; the leading block and its 64 bytes
    // follow, so the first entry head is at 556 = $22C.
    ASSERT_EQ(FirstEntryAt(3, f.leadingLength), 556u);
    EXPECT_EQ(Load(f), "Position $22C. Byte value=$03. Expected value $01 or $02.");
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::EntryHead, 556));
    EXPECT_EQ(fob_.Count(), 3);
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "01-02-03");  // header values stay

    FobFile g = Three();
    g.leadingByte0 = 0xAB;
    EXPECT_EQ(Load(g), "Position $1E4. Byte value=$AB. Expected value $01.");
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::LeadingBlock, 0x1E4));

    // A fault in the second entry comes after the first was updated.
    FobFile h = Three();
    h.objects[1].headByte = 0xC0;
    const std::string err = Load(h);
    EXPECT_TRUE(err.starts_with("Position $")) << err;
    EXPECT_TRUE(err.ends_with(". Byte value=$C0. Expected value $01 or $02.")) << err;
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "31-01-09");
    EXPECT_EQ(fob_.Fob(1).DateStr.view(), "01-02-03");
}

TEST_F(FobReader, PositionsBelow16HaveTwoDigits) {
    // One entry whose leading block sits at offset 164: "$A4". A short offset comes from a
    // file with the head right after the 8 bytes; the format has at least two digits.
    FobFile f;
    f.objects = {Object(1, 1, "A")};
    f.leadingLength = 0;
    f.objects[0].headByte = 0xFF;
    EXPECT_EQ(Load(f), "Position $AC. Byte value=$FF. Expected value $01 or $02.");
}

TEST_F(FobReader, EveryStructureCheckRaisesAnAssertionAndKeepsTheRecords) {
    // Each fault of the second object, the check it fails and the byte it puts in the file.
    const struct {
        void (*fault)(FobObject&);
        ReadErrorCode code;
        uint8_t byte;
    } faults[] = {
        {[](FobObject& o) { o.prop0 = 0x04; }, ReadErrorCode::PropertyModified, 0x04},
        {[](FobObject& o) { o.prop8 = 0x07; }, ReadErrorCode::PropertyCompiled, 0x07},
        {[](FobObject& o) { o.prop32 = 0x0D; }, ReadErrorCode::PropertyEnd, 0x0D},
        {[](FobObject& o) { o.trailer0 = 0x09; }, ReadErrorCode::EntryTrailer, 0x09},
        {[](FobObject& o) { o.closing0 = 0x03; }, ReadErrorCode::EntryClosing, 0x03},
        {[](FobObject& o) { o.longClosing = true; o.skip0 = 0x02; }, ReadErrorCode::ClosingSkipBlock, 0x02},
        {[](FobObject& o) { o.longClosing = true; o.closingSkip = 3; o.last0 = 0xFE; }, ReadErrorCode::ClosingEnd, 0xFE},
    };
    int k = 0;
    for (const auto& c : faults) {
        FobFile f = Three();
        c.fault(f.objects[1]);
        const std::string bytes = testing::WriteFob(f);
        const std::string err = Load(bytes);
        EXPECT_TRUE(err.starts_with("Assertion failure (FobFileUnit, line ")) << k << ": " << err;
        ASSERT_TRUE(fault_) << k;
        EXPECT_EQ(fault_->Code(), c.code) << k;
        // The offset is that of the byte checked, past the first object's entry.
        ASSERT_LT(fault_->Offset(), bytes.size()) << k;
        EXPECT_EQ(static_cast<uint8_t>(bytes[fault_->Offset()]), c.byte) << k;
        EXPECT_GT(fault_->Offset(), FirstEntryAt(3, f.leadingLength) + 116) << k;
        ASSERT_EQ(fob_.Count(), 3) << k;
        EXPECT_EQ(fob_.Fob(0).DateStr.view(), "31-01-09") << k;
        EXPECT_EQ(fob_.Fob(2).DateStr.view(), "01-02-03") << k;
        ++k;
    }
    FobFile f = Three();
    f.endOfHeader = 0x1B;
    EXPECT_TRUE(Load(f).starts_with("Assertion failure (FobFileUnit"));
    EXPECT_EQ(Fault(), Fault(ReadErrorCode::EndOfHeader, 3 * 161));
}

TEST_F(FobReader, AnEarlyEndMarkKeepsHeaderValuesForTheRest) {
    FobFile f = Three();
    f.binaryEntries = 1;
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "31-01-09");
    EXPECT_EQ(fob_.Fob(1).DateStr.view(), "01-02-03");
    EXPECT_EQ(fob_.Fob(2).Name.view(), "Customer Card");
    EXPECT_FALSE(fob_.Fob(2).Compiled);
}

TEST_F(FobReader, NoEndMarkAndNoTrailingBytesIsFine) {
    FobFile f = Three();
    f.writeEndMark = false;
    f.trailingZeros = 0;
    ASSERT_EQ(Load(f), "");
    EXPECT_TRUE(fob_.Fob(2).Compiled);
}

TEST_F(FobReader, EveryTruncationEndsInARecordListOrAClearError) {
    const std::string full = testing::WriteFob(Three());
    for (size_t len = 0; len <= full.size(); ++len) {
        const std::string err = Load(full.substr(0, len));
        ASSERT_TRUE(err.empty() || err == "Stream read error" || err.starts_with("Assertion failure (FobFileUnit") ||
                    err.starts_with("Position $"))
            << len << ": " << err;
        // Cut inside a block or a text: the read past the end names where it began, within a
        // block's length of the cut (or past it, after a skip).
        if (err == "Stream read error") {
            ASSERT_EQ(fault_->Code(), ReadErrorCode::PastEnd) << len;
            ASSERT_GT(fault_->Offset() + 36, len) << len;
            ASSERT_FALSE(fault_->Field().empty()) << len;
        }
        const int headerEntries = static_cast<int>(std::min<size_t>(len / 161, 3));
        // Blocks that are whole header entries are counted; a cut entry is not one.
        ASSERT_EQ(fob_.Count(), len < 161 ? 0 : headerEntries) << len;
    }
}

TEST_F(FobReader, RandomBytesNeverCrash) {
    std::mt19937 rng(5);
    const std::string valid = testing::WriteFob(Three());
    for (int round = 0; round < 300; ++round) {
        std::string bytes = valid;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
        Load(bytes);  // any result but a crash, a hang or a runaway allocation
        ASSERT_LE(fob_.Count(), 3);
    }
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    EXPECT_EQ(Load(noise), "");
}

TEST_F(FobReader, HugeSkipLengthsFailCleanly) {
    FobFile f = Three();
    f.leadingLength = 0;
    std::string bytes = testing::WriteFob(f);
    const size_t lengthAt = FirstEntryAt(3, 0) - 4;
    bytes[lengthAt] = bytes[lengthAt + 1] = bytes[lengthAt + 2] = bytes[lengthAt + 3] = '\xFF';
    EXPECT_EQ(Load(bytes), "");  // skipped past the end: no entry to read, header values stay
    EXPECT_EQ(fob_.Count(), 3);
}

TEST_F(FobReader, MissingFilesRaiseTheOpenErrorAndAFolderOfThatNameReadsAsAFolder) {
    const std::string missing = dir_.File("missing.fob");
    try {
        LoadObjectFile(fob_, 1, missing, regional_.Get());
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Cannot open file \"" + missing + "\". ")) << e.what();
        EXPECT_GT(std::string(e.what()).size(), ("Cannot open file \"" + missing + "\". ").size());
    }
    EXPECT_EQ(fob_.FileName(), missing);  // the new values stay after a failure
    EXPECT_EQ(fob_.FileNo(), 1);
    // A folder is read as the text export its files make, whatever its name.
    std::filesystem::create_directory(dir_.File("folder.fob"));
    EXPECT_NO_THROW(LoadObjectFile(fob_, 1, dir_.File("folder.fob"), regional_.Get()));
    EXPECT_EQ(fob_.FileExt(), ".txt");
}

}  // namespace
}  // namespace kavlo
