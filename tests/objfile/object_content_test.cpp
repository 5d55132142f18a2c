#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "base/errors.h"
#include "objfile/load_object_file.h"
#include "objfile/object_content.h"
#include "support/fbk_writer.h"
#include "support/reader_test.h"
#include "support/txt_writer.h"
#include "support/xml_writer.h"

namespace kavlo {
namespace {

using testing::TxtFile;
using testing::XmlFile;

class ObjectContentTest : public testing::ReaderTest {
protected:
    // Loads the bytes into `fob` from a file of that name.
    void Load(TFob& fob, const std::string& bytes, const std::string& name) {
        const std::string path = dir_.File(name);
        testing::WriteBytes(path, bytes);
        LoadObjectFile(fob, 1, path, regional_.Get());
    }
    static TxtFile WithCode(std::vector<std::string> code) {
        TxtFile f = testing::ThreeTxtObjects();
        f.objects[1].code = std::move(code);
        return f;
    }
    static XmlFile XmlWithCode(std::vector<std::string> code) {
        XmlFile f = testing::ThreeXmlElements();
        f.elements[1].code = std::move(code);
        return f;
    }
    TFob other_;
};

TEST_F(ObjectContentTest, TextObjectRunsFromItsObjectLineToItsClosingBrace) {
    // The same lines whatever the line ends; the blank line before the next object is left out.
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
        TxtFile f = WithCode({"MESSAGE('Hi');"});
        f.objects[1].bodyLines = 1;
        f.lineEnd = lineEnd;
        Load(fob_, testing::WriteTxt(f), "a.txt");
        const ObjectContent c = ReadObjectContent(fob_, 1);
        EXPECT_EQ(c.Kind, ContentKind::Text);
        const std::vector<std::string> want = {
            "OBJECT Form 21 Customer Card", "{", "  PROPERTIES", "  {",
            "    { 1   ;   ;No.                 ;Code20        }", "  }", "  CODE", "  {", "    BEGIN",
            "      MESSAGE('Hi');", "    END.", "  }", "}"};
        EXPECT_EQ(c.Lines, want) << "line end " << ::testing::PrintToString(lineEnd);
        // As bytes: the export's own, through the closing brace's line break, without the
        // blank line that follows each object.
        const std::string text = testing::WriteTxt(f);
        const size_t second = text.find("OBJECT Form 21"), third = text.find("OBJECT Codeunit");
        TContentReader reader(fob_);
        EXPECT_EQ(reader.ReadText(1), text.substr(second, third - lineEnd.size() - second));
        EXPECT_EQ(reader.ReadText(2), text.substr(third, text.size() - lineEnd.size() - third));
        // A last object cut short before its closing brace runs through its last line that is
        // not blank.
        const std::string cut = text.substr(0, text.rfind("}" + lineEnd + lineEnd));
        Load(other_, cut + "  " + lineEnd + lineEnd, "cut.txt");
        TContentReader cutReader(other_);
        EXPECT_EQ(cutReader.ReadText(2), cut.substr(third));

        const ObjectContent all = ReadObjectContent(fob_, 1, true);
        ASSERT_GE(all.Lines.size(), 9u);
        EXPECT_EQ(all.Lines[2], "  OBJECT-PROPERTIES");
        EXPECT_EQ(all.Lines[4], "    Date=01-02-03;");
        EXPECT_EQ(all.Lines[7], "  }");
        EXPECT_EQ(all.Lines.size(), want.size() + 6);
    }
}

// Contents are UTF-8 that keeps every character: text that the ANSI code page cannot hold,
// OEM bytes that it would merge into one, and bytes that are no valid UTF-8 still tell two
// objects apart, whether the two files share an encoding (bytes compared) or not (converted).
TEST_F(ObjectContentTest, ContentKeepsEveryCharacter) {
    const std::string bom = "\xEF\xBB\xBF";
    const auto utf8 = [&](std::string code) { return bom + testing::WriteTxt(WithCode({std::move(code)})); };
    const auto oem = [&](std::string code) { return testing::WriteTxt(WithCode({std::move(code)})); };
    const struct {
        const char* what;
        std::string a, b;
        bool equal;
        std::string lineA;  // the code line of a, as the content holds it
    } cases[] = {
        {"OEM 850 and UTF-8 of the same letters", oem("\x91\x9B\x86"), utf8("\xC3\xA6\xC3\xB8\xC3\xA5"), true,
         "\xC3\xA6\xC3\xB8\xC3\xA5"},
        {"Cyrillic words", utf8("\xD0\x94\xD0\xB0"), utf8("\xD0\x9D\xD0\xB5"), false, "\xD0\x94\xD0\xB0"},
        {"Greek against OEM", utf8("\xCE\xB1"), oem("?"), false, "\xCE\xB1"},
        {"dotless i and i in OEM 850", oem("\xD5"), oem("i"), false, "\xC4\xB1"},
        {"two box lines in OEM 850", oem("\xB3"), oem("\xBA"), false, "\xE2\x94\x82"},
        {"bytes that are no UTF-8", utf8("\xE9"), utf8("\xEA"), false, "\xED\xB3\xA9"},
        {"a byte that is no UTF-8 and the letter it is in 1252", utf8("\xE9"), oem("\x82"), false, "\xED\xB3\xA9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(fob_, c.a, "a.txt");
        Load(other_, c.b, "b.txt");
        const ObjectContent a = ReadObjectContent(fob_, 1), b = ReadObjectContent(other_, 1);
        EXPECT_EQ(a == b, c.equal);
        TContentReader ra(fob_), rb(other_);
        EXPECT_EQ(ContentsEqual(ra, 1, rb, 1), c.equal);
        EXPECT_NE(std::find(a.Lines.begin(), a.Lines.end(), "      " + c.lineA), a.Lines.end());
    }
}

// Re-stamped objects have equal contents, changed code does not: in every format.
TEST_F(ObjectContentTest, PropertiesAreNoPartOfTheContentButCodeIs) {
    struct Variant {
        std::string name;
        std::string bytes;
    };
    TxtFile restampedTxt = WithCode({"x := 1;"});
    restampedTxt.objects[1].date = "05-06-07";
    restampedTxt.objects[1].time = "08:09:10";
    restampedTxt.objects[1].modified = "Yes";
    restampedTxt.objects[1].version = "NAVW18.00";
    restampedTxt.lineEnd = "\n";
    XmlFile restampedXml = XmlWithCode({"x := 1;"});
    restampedXml.elements[1].date = "2011-01-01";
    restampedXml.elements[1].time = "01:02:03";
    restampedXml.elements[1].modified.reset();
    restampedXml.elements[1].version = "NAVW18.00";
    restampedXml.elements[1].tagOverLines = true;  // one attribute a line
    XmlFile xmlOverLines = XmlWithCode({"x := 1;"});
    xmlOverLines.elements[1].tagOverLines = true;

    const struct {
        std::string ext, base, restamped, changed;
    } cases[] = {
        {".txt", testing::WriteTxt(WithCode({"x := 1;"})), testing::WriteTxt(restampedTxt),
         testing::WriteTxt(WithCode({"x := 2;"}))},
        {".xml", testing::WriteXml(xmlOverLines), testing::WriteXml(restampedXml),
         testing::WriteXml([] {
             XmlFile f = XmlWithCode({"x := 2;"});
             f.elements[1].tagOverLines = true;
             return f;
         }())},
    };
    // ContentsEqual answers as comparing the two reads does.
    const auto expectContentsEqualAgrees = [&] {
        TContentReader a(fob_), b(other_);
        for (int i = 0; i < 3; ++i)
            for (bool withProperties : {false, true})
                EXPECT_EQ(ContentsEqual(a, i, b, i, withProperties), a.Read(i, withProperties) == b.Read(i, withProperties))
                    << i << " " << withProperties;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ext);
        Load(fob_, c.base, "base" + c.ext);
        Load(other_, c.restamped, "restamped" + c.ext);
        expectContentsEqualAgrees();
        ASSERT_EQ(fob_.Count(), 3);
        ASSERT_EQ(other_.Count(), 3);
        EXPECT_FALSE(FobsEqual(fob_.Fob(1), other_.Fob(1), CompareSettings{}));
        EXPECT_EQ(ReadObjectContent(fob_, 1), ReadObjectContent(other_, 1));
        EXPECT_NE(ReadObjectContent(fob_, 1, true), ReadObjectContent(other_, 1, true));
        for (int i : {0, 2}) EXPECT_EQ(ReadObjectContent(fob_, i, true), ReadObjectContent(other_, i, true));

        Load(other_, c.changed, "changed" + c.ext);
        expectContentsEqualAgrees();
        EXPECT_NE(ReadObjectContent(fob_, 1), ReadObjectContent(other_, 1));
        EXPECT_EQ(ReadObjectContent(fob_, 0), ReadObjectContent(other_, 0));
    }
}

TEST_F(ObjectContentTest, XmlElementLeavesItsPropertyAttributesOut) {
    Load(fob_, testing::WriteXml(XmlWithCode({"IF a < b THEN"})), "a.xml");
    const std::vector<std::string> want = {
        "<Report ID=\"206\" Name=\"Sales - Invoice\">",
        "    <Properties><SourceTable>Customer</SourceTable></Properties>",
        "    <Controls><Control Type=\"TextBox\" ID=\"1\"/></Controls>",
        "    <Code>IF a &lt; b THEN</Code>",
        "  </Report>"};
    const ObjectContent c = ReadObjectContent(fob_, 1);
    EXPECT_EQ(c.Kind, ContentKind::Xml);
    EXPECT_EQ(c.Lines, want);
    EXPECT_EQ(ReadObjectContent(fob_, 1, true).Lines[0],
              "<Report ID=\"206\" Name=\"Sales - Invoice\" Date=\"2010-06-15\" Time=\"08:30:15\" Modified=\"Yes\" "
              "VersionList=\"NAVW16.00\">");
}

TEST_F(ObjectContentTest, BinaryContentIsTheStoredDataOfTheObject) {
    testing::FbkFile a;
    a.tableData = {{18, "Customer", "CRONUS"}};
    a.objects = {testing::SimpleFbkObject(1, 18, "Customer"), testing::SimpleFbkObject(5, 80, "Sales-Post")};
    testing::FbkFile restamped = a;
    restamped.objects[0].object.rawDate = testing::NavDateRaw(40000);
    restamped.objects[0].object.version = "NAVW18.00";
    testing::FbkFile changed = a;
    changed.objects[0].dataBlocks = {99, 3};

    Load(fob_, testing::WriteFbk(a), "a.fbk");
    Load(other_, testing::WriteFbk(restamped), "b.fbk");
    ASSERT_EQ(fob_.Count(), 3);
    const ObjectContent data = ReadObjectContent(fob_, 1);
    EXPECT_EQ(data.Kind, ContentKind::Binary);
    EXPECT_TRUE(data.Lines.empty());
    EXPECT_EQ(data.Bytes.size(), 8 + 20 + 18 % 7 + 8 + 3u);  // two data blocks and their heads
    EXPECT_EQ(data, ReadObjectContent(other_, 1));
    EXPECT_TRUE(ReadObjectContent(fob_, 0).Bytes.empty());  // table data keeps none
    Load(other_, testing::WriteFbk(changed), "c.fbk");
    EXPECT_NE(data, ReadObjectContent(other_, 1));
    EXPECT_EQ(ReadObjectContent(fob_, 2), ReadObjectContent(other_, 2));

    testing::FobFile fob = testing::ThreeFobObjects();
    Load(fob_, testing::WriteFob(fob), "a.fob");
    fob.objects[2].closingSkip = 6;
    Load(other_, testing::WriteFob(fob), "b.fob");
    EXPECT_FALSE(ReadObjectContent(fob_, 0).Bytes.empty());
    EXPECT_EQ(ReadObjectContent(fob_, 0), ReadObjectContent(other_, 0));
    EXPECT_NE(ReadObjectContent(fob_, 2), ReadObjectContent(other_, 2));
}

TEST_F(ObjectContentTest, FileChangedSinceLoadingIsAClearError) {
    const std::string path = dir_.File("a.txt"), copy = dir_.File("copy.txt");
    const std::string changedText =
        "The file \"" + path + "\" has changed since it was loaded. Load it again to compare contents";
    const std::string original = testing::WriteTxt(testing::ThreeTxtObjects());
    TxtFile longer = testing::ThreeTxtObjects();
    longer.objects[0].name = "Customers of ours";
    TxtFile sameSize = testing::ThreeTxtObjects();
    sameSize.objects[2].code = {"x := 9;"};
    TxtFile sameSizeBase = testing::ThreeTxtObjects();
    sameSizeBase.objects[2].code = {"x := 1;"};
    namespace fs = std::filesystem;
    // Another file of the same size and time, made ready to take the name's place.
    const auto twin = [&] {
        testing::WriteBytes(copy, original);
        fs::last_write_time(copy, fs::last_write_time(path));
    };
    // Each case changes the file after the load, or between the first read and the last; the
    // reader must refuse before the first read or at the check after the last.
    const struct {
        const char* what;
        std::string loaded;
        bool readFirst;  // the change comes after one object was read
        bool viaLink;    // the file is loaded through a symbolic link
        std::function<void()> change;
    } cases[] = {
        {"grown before the first read", original, false, false,
         [&] { testing::WriteBytes(path, testing::WriteTxt(longer)); }},
        {"rewritten in place, same size, between reads", testing::WriteTxt(sameSizeBase), true, false,
         [&] {
             testing::WriteBytes(path, testing::WriteTxt(sameSize));
             fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
         }},
        {"replaced by a file of the same size and time", original, false, false,
         [&] {
             twin();
             fs::rename(copy, path);
         }},
#ifndef _WIN32
        {"its link turned to a file of the same size and time", original, false, true,
         [&] {
             twin();
             fs::remove(path);
             fs::create_symlink(copy, path);
         }},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& p : {path, copy, dir_.File("target.txt")}) fs::remove(p);
        if (c.viaLink) {
            testing::WriteBytes(dir_.File("target.txt"), c.loaded);
            fs::create_symlink(dir_.File("target.txt"), path);
        } else {
            testing::WriteBytes(path, c.loaded);
        }
        LoadObjectFile(fob_, 1, path, regional_.Get());
        ASSERT_EQ(fob_.Count(), 3);
        TContentReader reader(fob_);
        try {
            if (c.readFirst) reader.Read(0);
            c.change();
            reader.Read(2);
            reader.CheckUnchanged();
            ADD_FAILURE() << "no error";
        } catch (const EKavloError& e) {
            EXPECT_EQ(std::string(e.what()), changedText);
        }
    }
    fs::remove(path);
    EXPECT_THROW(ReadObjectContent(fob_, 2), EFOpenError);
}

TEST_F(ObjectContentTest, ComparableWhenBothFilesHoldTheSameKind) {
    const struct {
        const char* a;
        const char* b;
        bool comparable;
    } cases[] = {
        {".txt", ".txt", true},  {".xml", ".xml", true},  {".fob", ".fob", false},  {".fbk", ".fbk", true},
        {".txt", ".xml", false}, {".txt", ".fob", false}, {".xml", ".fbk", false}, {"", ".txt", false},
        {".fob", ".fbk", false},
    };
    for (const auto& c : cases) {
        const TFob a = TFobBuilder(1, std::string("a") + c.a).Finish(), b = TFobBuilder(2, std::string("b") + c.b).Finish();
        EXPECT_EQ(ContentsComparable(a, b), c.comparable) << c.a << " " << c.b;
    }
    TFob t = TFobBuilder(1, "a.txt").Finish(), x = TFobBuilder(2, "a.xml").Finish();
    EXPECT_EQ(NotComparableText(t, x), "Contents not compared: file 1 is a text export, file 2 an XML export; objects "
                                       "are compared by their fields alone");
    t = TFobBuilder(1, "a.fob").Finish();
    x = TFobBuilder(2, "a.fbk").Finish();
    EXPECT_EQ(NotComparableText(t, x), "Contents not compared: file 1 is an object file, file 2 a backup; objects "
                                       "are compared by their fields alone");
    x = TFobBuilder(2, "b.fob").Finish();
    EXPECT_EQ(NotComparableText(t, x), "Contents not compared: object files do not keep each object's definition "
                                       "apart; objects are compared by their fields alone");
}

}  // namespace
}  // namespace kavlo
