#include <gtest/gtest.h>

#include <random>

#include "base/calendar.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "objfile/readers.h"
#include "platform/file.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/reader_test.h"
#include "support/temp_dir.h"
#include "support/xml_writer.h"

namespace kavlo {
namespace {

using testing::Row;
using testing::XmlElement;
using testing::XmlFile;

class XmlReader : public testing::ReaderTest {
protected:
    // Writes the bytes, loads them as file 1 and returns the error text ("" when none).
    std::string Load(const std::string& bytes, const std::string& name = "t.xml") { return LoadBytes(bytes, name); }
    std::string Load(const XmlFile& f) { return Load(testing::WriteXml(f)); }

    static XmlElement Element(const std::string& kind, int id, const std::string& name) {
        return testing::SimpleXmlElement(kind, id, name);
    }
    static XmlFile Three() { return testing::ThreeXmlElements(); }

    void SetBias(int minutes) { regional_.zone = FixedTimeZone(minutes); }
};

TEST_F(XmlReader, ReadsFormsReportsAndPagesFromTheirStartTags) {
    ASSERT_EQ(Load(Three()), "");
    ASSERT_EQ(fob_.Count(), 3);
    const TFobRec& a = fob_.Fob(0);
    EXPECT_EQ(a.FileNo, 1);
    EXPECT_EQ(a.ObjType, 2);
    EXPECT_EQ(a.ID, 21);
    EXPECT_EQ(a.Name.view(), "Customer Card");
    EXPECT_EQ(a.VersionList.view(), "NAVW16.00");
    EXPECT_EQ(a.Date, EncodeDate(2009, 1, 31));
    EXPECT_DOUBLE_EQ(a.Time, 0.5);
    EXPECT_EQ(a.DateStr.view(), "31-01-09");
    EXPECT_EQ(a.TimeStr.view(), "12:00:00");
    EXPECT_FALSE(a.Modified);
    EXPECT_FALSE(a.Compiled);
    EXPECT_EQ(a.BlobSize, 0);
    EXPECT_EQ(fob_.Fob(1).ObjType, 3);
    EXPECT_TRUE(fob_.Fob(1).Modified);
    EXPECT_EQ(fob_.Fob(1).DateStr.view(), "15-06-10");
    EXPECT_EQ(fob_.Fob(1).TimeStr.view(), "08:30:15");
    EXPECT_EQ(fob_.Fob(2).ObjType, 8);
    EXPECT_EQ(fob_.Fob(2).VersionList.view(), "NAVW16.00,NAVDK6.00");
}

TEST_F(XmlReader, AttributesAreMatchedWholeAndDecodedInOrder) {
    XmlFile f = Three();
    f.elements[0].raw = true;
    f.elements[0].name = "a &amp;lt; b &amp;quot;c&quot; &apos;d&apos; &gt;";
    f.elements[0].leadingAttributes = " PageID=\"99\" Modified=\"\"";  // empty Modified: false
    f.elements[1].modified = "No";  // any value counts
    f.elements[2].name = std::string(40, 'p');
    f.elements[2].version = std::string(300, 'v');
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).ID, 21);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "a &lt; b \"c\" 'd' >");
    EXPECT_FALSE(fob_.Fob(0).Modified);
    EXPECT_TRUE(fob_.Fob(1).Modified);
    EXPECT_EQ(fob_.Fob(2).Name.view(), std::string(30, 'p'));
    EXPECT_EQ(fob_.Fob(2).VersionList.view(), std::string(248, 'v'));
}

TEST_F(XmlReader, Utf8BecomesAnsiWithQuestionMarksForTheRest) {
    XmlFile f = Three();
    // o-slash, euro sign, A-macron (no 1252 byte), a 4-byte character, then a stray
    // continuation byte and a cut 3-byte sequence.
    f.elements[0].name = "K\xC3\xB8 \xE2\x82\xAC \xC4\x80 \xF0\x9F\x98\x80 \x80 \xE2\x82";
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).Name.view(), "K\xF8 \x80 ? ? ? ??");
}

TEST_F(XmlReader, TimesAreShiftedToLocalTimeWithinTheDay) {
    XmlFile f;
    f.elements = {Element("Form", 1, "A"), Element("Form", 2, "B"), Element("Form", 3, "C"), Element("Form", 4, "D")};
    f.elements[0].time = "10:00:00";
    f.elements[1].time = "10:00:00+01:00";
    f.elements[2].time = "23:30:00";
    f.elements[3].time = "10:00:00Z";
    SetBias(-60);  // UTC+1 in winter
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).TimeStr.view(), "11:00:00");
    EXPECT_EQ(fob_.Fob(1).TimeStr.view(), "10:00:00");
    EXPECT_EQ(fob_.Fob(2).TimeStr.view(), "00:30:00");
    EXPECT_EQ(fob_.Fob(2).DateStr.view(), "31-01-09");  // the date stays as written
    EXPECT_EQ(fob_.Fob(3).TimeStr.view(), "11:00:00");

    // West of Greenwich a time can fall before midnight: it is brought into the day.
    f.elements[0].time = "01:00:00";
    f.elements[1].time = "07:00:00";
    SetBias(7 * 60);
    ASSERT_EQ(Load(f), "");
    EXPECT_DOUBLE_EQ(fob_.Fob(0).Time, 0.75);
    EXPECT_EQ(fob_.Fob(0).TimeStr.view(), "18:00:00");
    EXPECT_EQ(fob_.Fob(1).Time, 0);
    EXPECT_EQ(fob_.Fob(1).TimeStr.view(), "00:00:00");
}

TEST_F(XmlReader, DatesAndTimesThatAreNoIsoTextKeepTheirTexts) {
    XmlFile f = Three();
    f.elements[0].date = "31-01-09";
    f.elements[0].time = "noon";
    f.elements[1].date.reset();  // no date: the texts stay, the time is still a value
    f.elements[2].time.reset();  // no time with a date: midnight is shown
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).Date, 0);
    EXPECT_EQ(fob_.Fob(0).Time, 0);
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "31-01-09");
    EXPECT_EQ(fob_.Fob(0).TimeStr.view(), "noon");
    EXPECT_EQ(fob_.Fob(1).DateStr.view(), "");
    EXPECT_EQ(fob_.Fob(1).TimeStr.view(), "08:30:15");
    EXPECT_GT(fob_.Fob(1).Time, 0);
    EXPECT_EQ(fob_.Fob(2).TimeStr.view(), "00:00:00");
}

TEST_F(XmlReader, AStartTagOverSeveralLinesIsReadAsOne) {
    XmlFile f = Three();
    f.elements[0].tagOverLines = true;  // each continuation line begins with blanks
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Fob(0).Name.view(), "Customer Card");
    EXPECT_EQ(fob_.Fob(0).DateStr.view(), "31-01-09");
    // Lines are joined without separators: an attribute at the very start of a line is not
    // found, as it has no blank before it.
    std::string bytes = testing::WriteXml(Three());
    bytes.replace(bytes.find(" Name=\"Customer Card\""), 1, "\r\n");
    ASSERT_EQ(Load(bytes), "");
    EXPECT_EQ(fob_.Fob(0).ID, 21);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "");
}

TEST_F(XmlReader, TheRootDecidesWhetherAnythingIsRead) {
    XmlFile f = Three();
    f.rootStart = "<Objects>";  // no blank after the name: not the root
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Count(), 0);
    f.rootStart = "<Objects xmlns=\"urn:x\"/>";  // an empty root holds nothing
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Count(), 0);
    // Lines are joined without separators: "<Objects" at the end of a line is the root only
    // when the next line begins with a blank.
    f = Three();
    f.rootStart = "<Objects\r\nxmlns=\"urn:x\">";
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Count(), 0);
    // The root's start tag may span lines; "</Objects>" ends the reading.
    f.rootStart = "<Objects\r\n  xmlns=\"urn:x\"\r\n>";
    std::string bytes = testing::WriteXml(f);
    bytes.insert(bytes.find("  <Page "), "</Objects>\r\n");
    ASSERT_EQ(Load(bytes), "");
    EXPECT_EQ(fob_.Count(), 2);
}

TEST_F(XmlReader, TagBeginningsSplitAtAFetchAreFoundOnlyWithinTheKeptTail) {
    // Lines come five at a time. The first five end with the start of a tag; of it only the
    // last six characters are kept when nothing is found, so a form's "<Form" survives the
    // break and a report's "<Report" does not.
    const std::string head = "<Objects >\n\n\n\n<!-- nothing to find here -->";
    const std::string form = head + "<Form\n ID=\"1\" Name=\"F\">\n</Form>\n</Objects>\n";
    ASSERT_EQ(Load(form), "");
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).Name.view(), "F");
    const std::string report = head + "<Report\n ID=\"1\" Name=\"R\">\n</Report>\n</Objects>\n";
    ASSERT_EQ(Load(report), "");
    EXPECT_EQ(fob_.Count(), 0);
}

TEST_F(XmlReader, OtherElementsArePassedOverAndReadingAlwaysAdvances) {
    XmlFile f;
    for (int i = 0; i < 3000; ++i) {
        XmlElement e = Element(i % 2 ? "Table" : "Codeunit", i, "Other");
        e.selfClosing = i % 3 == 0;
        e.bodyLines = i % 4;
        f.elements.push_back(e);
    }
    ASSERT_EQ(Load(f), "");
    EXPECT_EQ(fob_.Count(), 0);
    // A form after an empty table element, or after one that is never closed, is still read.
    for (XmlElement e : {Element("Table", 1, "T"), Element("MenuSuite", 2, "M"), Element("Query", 3, "Q")}) {
        e.selfClosing = e.kind == "Table";
        e.writeClosingTag = e.kind != "MenuSuite";
        f.elements.push_back(e);
    }
    f.elements.push_back(Element("Page", 9, "After"));
    for (bool oneLine : {false, true}) {
        f.oneLine = oneLine;
        ASSERT_EQ(Load(f), "");
        ASSERT_EQ(fob_.Count(), 1);
        EXPECT_EQ(fob_.Fob(0).Name.view(), "After");
    }
}

TEST_F(XmlReader, AStartTagThatNeverEndsYieldsNothing) {
    std::string bytes = testing::WriteXml(Three());
    bytes = bytes.substr(0, bytes.find("<Report ")) + "<Report ID=\"1\" Name=\"R\" />\r\n</Objects>\r\n";
    ASSERT_EQ(Load(bytes), "");
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).ID, 21);
}

TEST_F(XmlReader, OneLineAndManyElementsReadAlike) {
    XmlFile f;
    f.elements = testing::RealisticXmlElements(4500, 8, 1);
    ASSERT_EQ(Load(f), "");
    ASSERT_EQ(fob_.Count(), 4500);
    const std::vector<TFobRec> lines = fob_.Fobs();
    f.oneLine = true;
    f.lineEnd = "\n";
    ASSERT_EQ(Load(f), "");
    ASSERT_EQ(fob_.Count(), 4500);
    for (size_t i = 0; i < lines.size(); i += 97) ASSERT_EQ(Row(fob_.Fob(static_cast<int>(i))), Row(lines[i])) << i;
    EXPECT_EQ(Row(fob_.Fob(4499)), Row(lines[4499]));
}

TEST_F(XmlReader, LinesReadInPiecesOfAnySizeGiveWhatWholeLinesGive) {
    // Files whose lines are long next to the small blocks, so that their tags straddle the
    // pieces at every offset: the records and spans must not depend on where pieces end.
    std::vector<std::string> files;
    XmlFile mixed = Three();
    for (XmlElement e : {Element("Table", 1, "T"), Element("MenuSuite", 2, "M"), Element("Query", 3, "Q")}) {
        e.selfClosing = e.kind == "Table";
        e.writeClosingTag = e.kind != "MenuSuite";
        mixed.elements.push_back(e);
    }
    mixed.elements.push_back(Element("Page", 9, "After &amp; more"));
    XmlFile realistic;
    realistic.elements = testing::RealisticXmlElements(12, 4, 2);
    for (XmlFile f : {mixed, realistic}) {
        files.push_back(testing::WriteXml(f));
        f.oneLine = true;
        files.push_back(testing::WriteXml(f));
    }
    // A report's tag cut by the end of a fetch is lost, whatever the pieces.
    files.push_back("<Objects >\n\n\n\n<!-- nothing here -->" + std::string(100, ' ') +
                    "<Report\n ID=\"1\" Name=\"R\">\n</Report><Form ID=\"2\" Name=\"F\">\n</Form>\n</Objects>\n");
    files.push_back("<Objects\r\n  xmlns=\"urn:x\"/><Form ID=\"2\" Name=\"F\"></Form>");
    for (size_t k = 0; k < files.size(); ++k) {
        ASSERT_EQ(Load(files[k]), "") << k;
        const std::vector<TFobRec> whole = fob_.Fobs();
        const std::vector<ObjectSpan> spans = fob_.Content().Spans;
        for (size_t block : {1, 2, 3, 5, 8, 13, 21, 64, 200}) {
            const auto file = InputFile::Open(dir_.File("t.xml"));
            ReadResult read = ReadFileXml(*file, FileOrigin{1, dir_.File("t.xml")}, regional_.Get(), block);
            ASSERT_FALSE(read.Error) << k << " " << block;
            const TFob& pieces = read.File;
            ASSERT_EQ(pieces.Count(), static_cast<int>(whole.size())) << k << " " << block;
            for (size_t i = 0; i < whole.size(); ++i) {
                ASSERT_EQ(Row(pieces.Fob(static_cast<int>(i))), Row(whole[i])) << k << " " << block;
                ASSERT_EQ(pieces.Content().Spans[i].Begin, spans[i].Begin) << k << " " << block;
                ASSERT_EQ(pieces.Content().Spans[i].End, spans[i].End) << k << " " << block;
            }
        }
    }
}

TEST_F(XmlReader, EveryTruncationListsAPrefixOfTheElements) {
    const std::string full = testing::WriteXml(Three());
    ASSERT_EQ(Load(full), "");
    const std::vector<TFobRec> all = fob_.Fobs();
    for (size_t len = 0; len <= full.size(); ++len) {
        ASSERT_EQ(Load(full.substr(0, len)), "") << len;
        ASSERT_LE(fob_.Count(), 3) << len;
        // A start tag is read only when it is whole, so every record read is complete.
        for (int i = 0; i < fob_.Count(); ++i) ASSERT_EQ(Row(fob_.Fob(i)), Row(all[static_cast<size_t>(i)])) << len;
    }
}

TEST_F(XmlReader, OddFilesGiveAnEmptyList) {
    EXPECT_EQ(Load(""), "");
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(Load(std::string(3 << 20, '<')), "");  // one long line without a break
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(Load("<Objects " + std::string(3 << 20, 'x')), "");
    testing::FobFile binary;
    binary.objects = testing::RealisticObjects(5, 1);
    EXPECT_EQ(Load(testing::WriteFob(binary), "binary.xml"), "");
    EXPECT_EQ(fob_.Count(), 0);

    std::mt19937 rng(13);
    const std::string valid = testing::WriteXml(Three());
    for (int round = 0; round < 300; ++round) {
        std::string bytes = valid;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 8); i < n; ++i)
            bytes[rng() % bytes.size()] = static_cast<char>(rng());
        ASSERT_EQ(Load(bytes), "");
        ASSERT_LE(fob_.Count(), 3);
    }
}

TEST_F(XmlReader, AFileThatCannotBeOpenedLeavesAnEmptyList) {
    ASSERT_EQ(Load(Three()), "");
    EXPECT_THROW(LoadObjectFile(fob_, 1, dir_.File("missing.xml"), regional_.Get()), EFOpenError);
    EXPECT_EQ(fob_.Count(), 0);
}

}  // namespace
}  // namespace kavlo
