#include "support/txt_writer.h"

#include <cstdio>
#include <random>

#include "support/fob_writer.h"

namespace kavlo::testing {

namespace {

// The lines of one object: the object line, the opening brace, the property block, a few
// body lines and the closing brace, as an export lays them out.
std::vector<std::string> ObjectLines(const TxtObject& o) {
    std::vector<std::string> lines;
    if (!o.objectLineOverride.empty()) {
        lines.push_back(o.objectLineOverride);
    } else {
        const std::string rest = o.type + " " + std::to_string(o.id) + " " + o.name;
        lines.push_back("OBJECT " + (o.bracketLine ? "[" + rest + "]" : rest));
    }
    lines.push_back("{");
    lines.push_back("  OBJECT-PROPERTIES");
    lines.push_back(std::string(static_cast<size_t>(o.braceIndent), ' ') + "{");
    lines.push_back("    Date=" + o.date + ";");
    lines.push_back("    Time=" + o.time + ";");
    if (!o.modified.empty()) lines.push_back("    Modified=" + o.modified + ";");
    lines.push_back("    Version List=" + (o.bracketVersion ? "[" + o.version + "]" : o.version) + ";");
    lines.push_back("  }");
    lines.push_back("  PROPERTIES");
    lines.push_back("  {");
    for (int i = 0; i < o.bodyLines; ++i) {
        switch (i % 6) {
            case 0: lines.push_back("    { " + std::to_string(i + 1) + "   ;   ;No.                 ;Code20        }"); break;
            case 1: lines.push_back("    OnValidate=BEGIN"); break;
            case 2: lines.push_back("                 IF \"No.\" <> xRec.\"No.\" THEN BEGIN"); break;
            case 3: lines.push_back("                   SalesSetup.GET;"); break;
            case 4: lines.push_back("                 END;"); break;
            default: lines.push_back("               END;"); break;
        }
    }
    lines.push_back("  }");
    lines.push_back("  CODE");
    lines.push_back("  {");
    lines.push_back("    BEGIN");
    for (const std::string& c : o.code) lines.push_back("      " + c);
    lines.push_back("    END.");
    lines.push_back("  }");
    lines.push_back("}");
    lines.push_back("");
    return lines;
}

}  // namespace

std::vector<size_t> TxtObjectLines(const TxtFile& file) {
    std::vector<size_t> at;
    size_t line = 0;
    for (const TxtObject& o : file.objects) {
        at.push_back(line);
        line += ObjectLines(o).size();
    }
    return at;
}

std::string WriteTxt(const TxtFile& file) {
    std::vector<std::string> lines;
    for (const TxtObject& o : file.objects)
        for (std::string& l : ObjectLines(o)) lines.push_back(std::move(l));
    for (int i = 0; i < file.trailingLines; ++i) lines.emplace_back();
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || file.finalLineEnd) out += file.lineEnd;
    }
    return out;
}

TxtObject SimpleTxtObject(const std::string& type, int id, const std::string& name) {
    TxtObject o;
    o.type = type;
    o.id = id;
    o.name = name;
    return o;
}

TxtFile ThreeTxtObjects() {
    TxtFile f;
    f.objects = {SimpleTxtObject("Table", 18, "Customer"), SimpleTxtObject("Form", 21, "Customer Card"),
                 SimpleTxtObject("Codeunit", 80, "Sales-Post")};
    f.objects[0].modified = "Yes";
    f.objects[1].date = "01-02-03";
    f.objects[1].time = "04:05:06";
    f.objects[1].version = "NAVW17.00,NAVDK7.00";
    return f;
}

std::vector<TxtObject> RealisticTxtObjects(int count, uint32_t seed, int bodyLines) {
    static const char* const kTypes[] = {"", "Table", "Form", "Report", "Dataport", "Codeunit", "XMLport", "MenuSuite",
                                         "Page", "Query"};
    std::mt19937 rng(seed);
    std::vector<TxtObject> out;
    out.reserve(static_cast<size_t>(count));
    for (const FobObject& f : RealisticObjects(count, seed)) {
        TxtObject o;
        o.type = kTypes[f.type];
        o.id = f.id;
        o.name = f.name;
        o.version = f.version;
        const int day = 1 + static_cast<int>(rng() % 28), month = 1 + static_cast<int>(rng() % 12);
        const int year = static_cast<int>(rng() % 20);
        char date[16], time[16];
        std::snprintf(date, sizeof date, "%02d-%02d-%02d", day, month, year);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(rng() % 24), static_cast<int>(rng() % 60),
                      static_cast<int>(rng() % 60));
        o.date = date;
        o.time = time;
        if (f.modified) o.modified = "Yes";
        o.bodyLines = bodyLines;
        out.push_back(std::move(o));
    }
    return out;
}

}  // namespace kavlo::testing
