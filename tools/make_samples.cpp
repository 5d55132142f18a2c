// Writes the bundled sample object files: two versions of a small application, so that a
// comparison shows equal, different, added and deleted objects; and the first version in the
// other three formats as well, as a backup (with two tables' data), a text export and an XML
// export (its forms, reports and pages) would hold it; and the second version as a text export,
// with changed code, for kavlo diff.
//   make_samples DIR
#include <algorithm>
#include <cstdio>
#include <string>

#include "base/calendar.h"
#include "objfile/object_types.h"
#include "support/fbk_writer.h"
#include "support/fob_writer.h"
#include "support/txt_writer.h"
#include "support/xml_writer.h"

using namespace kavlo::testing;

namespace {

// The date and time an object entry stores.
kavlo::CivilDate DateOf(const FobObject& o) { return kavlo::DecodeDate((o.rawDate - 1387919) / 2); }
kavlo::ClockTime TimeOf(const FobObject& o) { return kavlo::DecodeTime(o.rawTime / 86400000.0); }

std::string Printed(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

TxtFile AsText(const std::vector<FobObject>& objects) {
    TxtFile file;
    for (const FobObject& f : objects) {
        TxtObject o;
        o.type = std::string(kavlo::ObjectTypeNames[static_cast<size_t>(f.type)]);
        o.id = f.id;
        o.name = f.name;
        o.version = f.version;
        const kavlo::CivilDate d = DateOf(f);
        const kavlo::ClockTime t = TimeOf(f);
        o.date = Printed("%02d-%02d-%02d", d.day, d.month, static_cast<int>(d.year % 100));
        o.time = Printed("%02d:%02d:%02d", t.hour, t.minute, t.second);
        if (f.modified) o.modified = "Yes";
        file.objects.push_back(o);
    }
    return file;
}

// OEM 850 to UTF-8 for the few letters the samples use.
std::string Utf8(const std::string& oem) {
    std::string out;
    for (char c : oem) out += c == '\x84' ? std::string("\xC3\xA4") : std::string(1, c);
    return out;
}

XmlFile AsXml(const std::vector<FobObject>& objects) {
    XmlFile file;
    for (const FobObject& f : objects) {
        const std::string_view kind = kavlo::ObjectTypeNames[static_cast<size_t>(f.type)];
        if (kind != "Form" && kind != "Report" && kind != "Page") continue;
        XmlElement e;
        e.kind = std::string(kind);
        e.id = f.id;
        e.name = Utf8(f.name);
        e.version = Utf8(f.version);
        const kavlo::CivilDate d = DateOf(f);
        const kavlo::ClockTime t = TimeOf(f);
        e.date = Printed("%04d-%02d-%02d", static_cast<int>(d.year), d.month, d.day);
        e.time = Printed("%02d:%02d:%02d", t.hour, t.minute, t.second);
        if (f.modified) e.modified = "Yes";
        file.elements.push_back(e);
    }
    return file;
}

FbkFile AsBackup(const std::vector<FobObject>& objects) {
    FbkFile file;
    file.tableData.push_back(FbkTableData{18, "Customer", "Demo Company"});
    file.tableData.push_back(FbkTableData{23, "Vendor", "Demo Company"});
    for (const FobObject& o : objects) {
        FbkObject b;
        b.object = o;
        b.dataBlocks = {static_cast<uint32_t>(o.blobSize % 4000)};
        file.objects.push_back(b);
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<FobObject> base = RealisticObjects(40, 7);
    // A few objects with the texts users see most.
    for (size_t i = 0; i < base.size() && base[i].type == 1; ++i) base[i].id = 18 + 5 * static_cast<int>(i);
    base[0].name = "Customer";
    base[0].version = "NAVW111.00";
    base[1].name = "Vendor";
    base[1].version = "NAVW111.00,NAVDK11.00";
    base[2].name = "Item \x84ndring";  // OEM 850 "ä"
    FobFile first;
    first.objects = base;
    std::vector<FobObject> changed = base;
    changed[1].version = "NAVW111.00,NAVDK11.00,KAV1.0";
    changed[1].rawDate = NavDateRaw(43500);
    changed[1].modified = true;
    changed[5].blobSize += 120;
    changed.erase(changed.begin() + 8);
    FobObject added = base[20];
    added.id = base[20].id + 1;  // IDs of the generator step by at least 1
    added.name = "Kavlo Setup";
    while (true) {
        bool clash = false;
        for (const FobObject& o : changed) clash |= o.type == added.type && o.id == added.id;
        if (!clash) break;
        ++added.id;
    }
    changed.push_back(added);
    // Keep type and ID order, as Navision writes it.
    std::stable_sort(changed.begin(), changed.end(), [](const FobObject& a, const FobObject& b) {
        return a.type != b.type ? a.type < b.type : a.id < b.id;
    });
    FobFile second;
    second.objects = changed;
    WriteBytes(dir + "/sample1.fob", WriteFob(first));
    WriteBytes(dir + "/sample2.fob", WriteFob(second));
    WriteBytes(dir + "/sample1.fbk", WriteFbk(AsBackup(first.objects)));
    WriteBytes(dir + "/sample1.txt", WriteTxt(AsText(first.objects)));
    // The second version as a text export too, where code changed: in the re-stamped Vendor
    // table, and in the first codeunit, whose date and version were kept.
    TxtFile secondText = AsText(second.objects);
    for (TxtObject& o : secondText.objects) {
        if (o.type == "Table" && o.id == base[1].id) o.code = {"VendorMgt.CheckBlocked(Rec);"};
    }
    for (TxtObject& o : secondText.objects) {
        if (o.type != "Codeunit") continue;
        o.code = {"PostingDate := WORKDATE;", "IF PostingDate = 0D THEN", "  ERROR(Text001);"};
        break;
    }
    WriteBytes(dir + "/sample2.txt", WriteTxt(secondText));
    WriteBytes(dir + "/sample1.xml", WriteXml(AsXml(first.objects)));
    std::printf("wrote sample1.fob, sample2.fob, sample1.fbk, sample1.txt, sample2.txt and sample1.xml to %s\n",
                dir.c_str());
    return 0;
}
