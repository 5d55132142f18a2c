// Writes the seed corpora of the fuzz targets with tests/support's writers: for each format a
// few valid files and one file per kind of fault the reader checks for, each a few KB at most,
// in one directory per target.
//   make_seeds DIR     writes DIR/fob_fuzz, DIR/fbk_fuzz, DIR/txt_fuzz, DIR/xml_fuzz and
//                      DIR/content_fuzz (pairs of files of one format), DIR/merge_fuzz (three
//                      objects' texts)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "support/fbk_writer.h"
#include "support/fob_writer.h"
#include "support/txt_writer.h"
#include "support/xml_writer.h"

using namespace kavlo::testing;

namespace {

// A seed larger than this is a mistake of this program: libFuzzer takes the largest seed as
// its input length, and long inputs slow every run.
constexpr size_t kMaxSeedBytes = 8192;

class SeedDir {
public:
    SeedDir(const std::string& root, const std::string& target) : dir_(root + "/" + target) {
        std::filesystem::create_directories(dir_);
    }
    void Write(const std::string& name, const std::string& bytes) {
        if (bytes.size() > kMaxSeedBytes) throw std::runtime_error("seed " + name + " is too large");
        WriteBytes(dir_ + "/" + name, bytes);
        ++count_;
    }
    int Count() const { return count_; }

private:
    std::string dir_;
    int count_ = 0;
};

FobFile ThreeObjects() {
    FobFile f = ThreeFobObjects();
    f.leadingLength = 16;
    f.trailingZeros = 16;
    return f;
}

int WriteFobSeeds(const std::string& root) {
    SeedDir d(root, "fob_fuzz");
    FobFile f = ThreeObjects();
    d.Write("three.fob", WriteFob(f));

    FobFile realistic;
    realistic.objects = RealisticObjects(8, 3);
    realistic.leadingLength = 8;
    d.Write("realistic.fob", WriteFob(realistic));

    FobFile oem = ThreeObjects();
    oem.objects[0].name = "K\x94" "bmand \x9B";
    oem.objects[0].hasDate = false;
    oem.objects[1].headerIdField = "42        ";
    oem.objects[2].version = std::string(260, 'v');
    d.Write("oem-texts-no-date.fob", WriteFob(oem));

    FobFile headerOnly;
    headerOnly.objects = ThreeObjects().objects;
    headerOnly.binaryEntries = 1;
    headerOnly.writeEndMark = false;
    headerOnly.trailingZeros = 0;
    d.Write("fewer-entries-than-header.fob", WriteFob(headerOnly));

    // One structure fault each, in the first or the last object.
    const auto fault = [&](const std::string& name, auto change) {
        FobFile g = ThreeObjects();
        change(g);
        d.Write(name, WriteFob(g));
    };
    fault("bad-end-of-header.fob", [](FobFile& g) { g.endOfHeader = 0x1B; });
    fault("bad-leading-block.fob", [](FobFile& g) { g.leadingByte0 = 0x07; });
    fault("bad-entry-head.fob", [](FobFile& g) { g.objects[1].headByte = 0x03; });
    fault("bad-property-block.fob", [](FobFile& g) { g.objects[0].prop8 = 0x07; });
    fault("bad-trailer.fob", [](FobFile& g) { g.objects[0].trailer0 = 0x09; });
    fault("bad-closing.fob", [](FobFile& g) { g.objects[0].closing0 = 0x03; });
    fault("bad-long-closing.fob", [](FobFile& g) { g.objects[2].last0 = 0x00; g.objects[2].skip0 = 0x02; });
    // A leading block that announces more bytes than the file has.
    FobFile huge = ThreeObjects();
    std::string bytes = WriteFob(huge);
    const size_t lengthAt = ((huge.objects.size() * 161 + 1 + 3) & ~size_t{3}) + 4;
    bytes.replace(lengthAt, 4, "\xF0\xFF\xFF\xFF");
    d.Write("huge-leading-length.fob", bytes);
    fault("lower-case-type.fob", [](FobFile& g) { g.objects[1].headerTypeField = "table"; });
    return d.Count();
}

FbkTableData TableData(int id, const std::string& name, const std::string& qualifier) {
    FbkTableData t;
    t.id = id;
    t.name = name;
    t.qualifier = qualifier;
    return t;
}

FbkFile Backup() {
    FbkFile f;
    f.tableData = {TableData(18, "Customer", "Kavlo Ltd."), TableData(18, "Customer", "Brenvik A/S")};
    f.objects = {SimpleFbkObject(1, 18, "Customer"), SimpleFbkObject(3, 206, "Sales Invoice"),
                 SimpleFbkObject(8, 21, "Customer Card")};
    f.objects[1].object.modified = true;
    f.objects[2].object.compiled = true;
    f.objects[2].dataBlocks.clear();
    f.leadingLength = 16;
    f.trailingZeros = 16;
    return f;
}

int WriteFbkSeeds(const std::string& root) {
    SeedDir d(root, "fbk_fuzz");
    d.Write("backup.fbk", WriteFbk(Backup()));

    FbkFile interleaved = Backup();
    interleaved.interleaveHeader = true;
    // Binary entries in another order than the header's, one object twice.
    interleaved.binary = std::vector<FbkEntry>{{false, 2}, {true, 1}, {false, 0}, {true, 0}, {false, 1}, {false, 0}};
    d.Write("interleaved.fbk", WriteFbk(interleaved));

    FbkFile tableDataOnly = Backup();
    tableDataOnly.objects.clear();
    tableDataOnly.trailingZeros = 128;  // the header must not end within 161 bytes of the end
    d.Write("table-data-only.fbk", WriteFbk(tableDataOnly));

    FbkFile unlisted = Backup();
    unlisted.objects[1].inHeader = false;
    unlisted.objects[0].binaryId = 19;
    d.Write("objects-not-in-header.fbk", WriteFbk(unlisted));

    const auto fault = [&](const std::string& name, auto change) {
        FbkFile g = Backup();
        change(g);
        d.Write(name, WriteFbk(g));
    };
    fault("data-overrun.fbk", [](FbkFile& g) { g.objects[0].dataOverrun = 0xFFFFFF00u; });
    fault("extra-block.fbk", [](FbkFile& g) { g.objects[0].extraBlock = 0x05; g.objects[1].extraBlock = 0x01; });
    fault("bad-end-of-header.fbk", [](FbkFile& g) { g.endOfHeader = 0x00; });
    fault("bad-leading-block.fbk", [](FbkFile& g) { g.leadingByte0 = 0x00; });
    fault("bad-entry-tag.fbk", [](FbkFile& g) { g.binary = std::vector<FbkEntry>{{true, 0}, {false, 0, 0x05}}; });
    fault("bad-type-block.fbk", [](FbkFile& g) { g.binary = std::vector<FbkEntry>{{false, 0, 0x01, 0x00}}; });
    fault("type-above-nine.fbk", [](FbkFile& g) { g.objects[1].binaryType = 12; });
    fault("bad-table-data-entry.fbk", [](FbkFile& g) { g.tableData[1].block03 = 0x04; });
    fault("bad-id-block.fbk", [](FbkFile& g) { g.objects[0].idBlock0 = 0x02; });
    fault("bad-trailer.fbk", [](FbkFile& g) { g.objects[2].trailer0 = 0x00; g.writeEndMark = false; });
    return d.Count();
}

// Short bodies keep the seeds small.
TxtObject TxtObj(const std::string& type, int id, const std::string& name) {
    TxtObject o = SimpleTxtObject(type, id, name);
    o.bodyLines = 2;
    return o;
}

TxtFile ThreeTxt() {
    TxtFile f = ThreeTxtObjects();
    for (TxtObject& o : f.objects) o.bodyLines = 2;
    return f;
}

int WriteTxtSeeds(const std::string& root) {
    SeedDir d(root, "txt_fuzz");
    d.Write("three.txt", WriteTxt(ThreeTxt()));

    TxtFile realistic;
    realistic.objects = RealisticTxtObjects(6, 5, 1);
    d.Write("realistic.txt", WriteTxt(realistic));

    TxtFile brackets = ThreeTxt();
    brackets.objects[0].bracketLine = true;
    brackets.objects[1].bracketVersion = true;
    brackets.objects[2].name = "Sales \x84ndring with a name longer than thirty bytes";
    brackets.lineEnd = "\n";
    d.Write("brackets-lf.txt", WriteTxt(brackets));

    TxtFile odd = ThreeTxt();
    odd.objects[0].objectLineOverride = "OBJECT Table";
    odd.objects[1].objectLineOverride = "OBJECT Form 2147483648 Too Big";
    odd.objects[2].type = "codeunit";
    odd.lineEnd = "\r";
    odd.finalLineEnd = false;
    d.Write("odd-object-lines-cr.txt", WriteTxt(odd));

    TxtFile dates = ThreeTxt();
    dates.objects[0].date = "29-02-00";
    dates.objects[0].time = "23:59:59.999";
    dates.objects[1].date = "31-04-09";
    dates.objects[1].time = "12 PM";
    dates.objects[2].date = "";
    dates.objects[2].time = "25:00:00";
    dates.trailingLines = 3;
    d.Write("dates-and-times.txt", WriteTxt(dates));

    TxtFile brace = ThreeTxt();
    brace.objects[1].braceIndent = 1;
    d.Write("misplaced-brace.txt", WriteTxt(brace));

    TxtFile shortFile;
    shortFile.objects = {TxtObj("Page", 42, "Sales Order")};
    std::string text = WriteTxt(shortFile);
    // Seven lines below the object line: one too few for it to be taken.
    size_t cut = 0;
    for (int lines = 0; lines < 8; ++lines) cut = text.find("\r\n", cut) + 2;
    d.Write("object-near-the-end.txt", text.substr(0, cut));
    return d.Count();
}

XmlElement Element(const std::string& kind, int id, const std::string& name) {
    XmlElement e = SimpleXmlElement(kind, id, name);
    e.bodyLines = 2;
    return e;
}

XmlFile ThreeXml() {
    XmlFile f = ThreeXmlElements();
    for (XmlElement& e : f.elements) e.bodyLines = 2;
    return f;
}

int WriteXmlSeeds(const std::string& root) {
    SeedDir d(root, "xml_fuzz");
    d.Write("three.xml", WriteXml(ThreeXml()));

    XmlFile realistic;
    realistic.elements = RealisticXmlElements(6, 9, 1);
    d.Write("realistic.xml", WriteXml(realistic));

    XmlFile attributes = ThreeXml();
    attributes.elements[0].name = "Kunde & \"Co\" <\xC3\xA6\xC3\xB8\xC3\xA5> \xE2\x82\xAC \xF0\x9F\x98\x80";
    attributes.elements[0].leadingAttributes = " PageID=\"7\" DateX=\"1\"";
    attributes.elements[1].tagOverLines = true;
    attributes.elements[2].raw = true;
    attributes.elements[2].name = "&amp;quot;&lt;&apos;";
    attributes.lineEnd = "\n";
    d.Write("attributes.xml", WriteXml(attributes));

    XmlFile times = ThreeXml();
    times.elements[0].time = "23:30:00";
    times.elements[0].date = "2009-02-29";
    times.elements[1].time = "01:00:00-07:00";
    times.elements[2].time = "24:00:00Z";
    times.elements[2].date = "-2009-01-31T10:00:00";
    d.Write("dates-and-times.xml", WriteXml(times));

    XmlFile shapes = ThreeXml();
    shapes.elements.insert(shapes.elements.begin(), Element("Table", 18, "Customer"));
    shapes.elements.push_back(Element("Codeunit", 80, "Sales-Post"));
    shapes.elements[1].selfClosing = true;
    shapes.elements[2].writeClosingTag = false;
    shapes.oneLine = true;
    shapes.prolog = false;
    d.Write("shapes-one-line.xml", WriteXml(shapes));

    XmlFile closedRoot = ThreeXml();
    closedRoot.rootStart = "<Objects />";
    d.Write("closed-root.xml", WriteXml(closedRoot));

    XmlFile unended = ThreeXml();
    unended.elements[2].version.reset();
    unended.elements[2].date.reset();
    unended.writeRootEnd = false;
    std::string text = WriteXml(unended);
    d.Write("unended-tag.xml", text.substr(0, text.rfind("\">")));
    return d.Count();
}

// content_fuzz's input: the format and switches, the first file's length, both files.
std::string ContentInput(int format, uint8_t switches, const std::string& a, const std::string& b) {
    std::string in;
    in += static_cast<char>(format);
    in += static_cast<char>(switches);
    in += static_cast<char>(3);  // context
    for (int k = 0; k < 4; ++k) in += static_cast<char>((a.size() >> (8 * k)) & 0xFF);
    return in + a + b;
}

int WriteContentSeeds(const std::string& root) {
    SeedDir d(root, "content_fuzz");
    TxtFile txt = ThreeTxt();
    TxtFile txtChanged = txt;
    txtChanged.objects[1].code = {"x := '\x91\x9B';"};
    txtChanged.objects[2].date = "05-05-05";
    d.Write("text.bin", ContentInput(0, 0x00, WriteTxt(txt), WriteTxt(txtChanged)));
    d.Write("text-stat-full.bin", ContentInput(0, 0x07, WriteTxt(txtChanged), WriteTxt(txt)));
    TxtFile utf8 = ThreeTxt();
    utf8.objects[1].code = {"x := '\xC3\xA6\xD0\x94\xE9';"};  // a byte that is no UTF-8 at the end
    d.Write("text-utf8-against-oem.bin", ContentInput(4, 0x80, WriteTxt(utf8), WriteTxt(txtChanged)));
    XmlFile xml = ThreeXml();
    XmlFile xmlChanged = xml;
    xmlChanged.elements[1].code = {"x := 2;"};
    d.Write("xml.bin", ContentInput(1, 0x01, WriteXml(xml), WriteXml(xmlChanged)));
    FbkFile fbk = Backup();
    FbkFile fbkChanged = fbk;
    fbkChanged.objects[0].dataBlocks = {9, 3};
    d.Write("backup.bin", ContentInput(2, 0x02, WriteFbk(fbk), WriteFbk(fbkChanged)));
    FobFile fob = ThreeObjects();
    FobFile fobChanged = fob;
    fobChanged.objects[2].closingSkip = 6;
    d.Write("object-file.bin", ContentInput(3, 0x00, WriteFob(fob), WriteFob(fobChanged)));
    return d.Count();
}

}  // namespace

// The merge target's input: the rules byte, then the three texts parted by zero bytes.
int WriteMergeSeeds(const std::string& root) {
    SeedDir d(root, "merge_fuzz");
    TxtFile o = ThreeTxt();
    o.objects.resize(1);
    o.lineEnd = "\n";
    o.objects[0].code = {"a;", "b;"};
    TxtFile m = o, t = o, x = o;
    m.objects[0].code = {"a;", "M;"};
    m.objects[0].version += ",CUST1.00";
    m.objects[0].modified = "Yes";
    t.objects[0].code = {"T;", "b;"};
    t.objects[0].date = "02-02-20";
    x.objects[0].code = {"a;", "X;"};
    const auto input = [](uint8_t rules, const TxtFile& a, const TxtFile& b, const TxtFile& c) {
        return std::string(1, static_cast<char>(rules)) + WriteTxt(a) + std::string(1, '\0') + WriteTxt(b) +
               std::string(1, '\0') + WriteTxt(c);
    };
    d.Write("merged.bin", input(0, o, m, t));
    d.Write("conflict.bin", input(0x55, o, m, x));
    d.Write("added-both.bin", input(1, TxtFile{}, m, x));
    return d.Count();
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const std::string root = argv[1];
    try {
        const int n = WriteFobSeeds(root) + WriteFbkSeeds(root) + WriteTxtSeeds(root) + WriteXmlSeeds(root) +
                        WriteContentSeeds(root) + WriteMergeSeeds(root);
        std::printf("wrote %d seeds under %s\n", n, root.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
