#include "support/fob_writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kavlo::testing {

namespace {

const std::array<const char*, 10> kTypeNames = {"TableData", "Table",   "Form",      "Report", "Dataport",
                                                "Codeunit",  "XMLport", "MenuSuite", "Page",   "Query"};

std::string Left(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string Right(const std::string& s, size_t width) {
    if (s.size() >= width) return s.substr(0, width);
    return std::string(width - s.size(), ' ') + s;
}

void PutInt32(std::string& out, size_t at, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

void Align4(std::string& out) {
    while (out.size() % 4) out += '\0';
}

}  // namespace

int32_t NavDateRaw(int daySerial) { return 2 * daySerial + 1387919; }

FobObject SimpleFobObject(int type, int id, const std::string& name) {
    FobObject o;
    o.type = type;
    o.id = id;
    o.name = name;
    o.version = "NAVW17.00";
    o.headerDate = "01-02-03";
    o.headerTime = "04:05:06";
    o.blobSize = 1000 + id;
    o.rawDate = NavDateRaw(39844);  // 31-01-09
    o.rawTime = (13 * 3600 + 14 * 60 + 15) * 1000;
    return o;
}

FobFile ThreeFobObjects() {
    FobFile f;
    f.objects = {SimpleFobObject(1, 18, "Customer"), SimpleFobObject(3, 206, "Sales Invoice"),
                 SimpleFobObject(8, 21, "Customer Card")};
    f.objects[1].modified = true;
    f.objects[2].compiled = true;
    f.objects[2].longClosing = true;
    f.objects[2].closingSkip = 5;
    return f;
}

std::string FobHeaderEntry(const FobObject& o) {
    std::string e;
    e += Left(o.headerTypeField.empty() ? kTypeNames[static_cast<size_t>(o.type)] : o.headerTypeField, 10);
    e += o.headerIdField.empty() ? Right(std::to_string(o.id), 10) : Left(o.headerIdField, 10);
    e += ' ';
    e += Left(o.headerNameOverride.empty() ? o.name.substr(0, 30) : o.headerNameOverride, 30);
    e += ' ';
    e += Left(o.headerDate, 11);
    e += ' ';
    e += Left(o.headerTime, 14);
    e += "   ";
    e += Right(std::to_string(o.blobSize), 20);
    e += ' ';
    e += Left(o.headerVersionOverride.empty() ? o.version.substr(0, 56) : o.headerVersionOverride, 56);
    e += "   ";
    if (e.size() != 161) throw std::logic_error("header entry is not 161 bytes");
    return e;
}

std::string FobPropertyBlock(const FobObject& o) {
    std::string prop(36, '\0');
    prop[0] = static_cast<char>(o.prop0);
    prop[4] = o.modified ? 1 : 0;
    prop[8] = static_cast<char>(o.prop8);
    prop[12] = o.compiled ? 1 : 0;
    if (o.hasDate) {
        prop[16] = static_cast<char>(o.dateTag);
        PutInt32(prop, 20, o.rawDate);
    }
    if (o.hasTime) {
        prop[24] = static_cast<char>(o.timeTag);
        PutInt32(prop, 28, o.rawTime);
    }
    prop[32] = static_cast<char>(o.prop32);
    return prop;
}

std::string WriteFob(const FobFile& f) {
    std::string out;
    for (const FobObject& o : f.objects) out += FobHeaderEntry(o);
    out += static_cast<char>(f.endOfHeader);
    Align4(out);
    std::string leading(8, '\0');
    leading[0] = static_cast<char>(f.leadingByte0);
    PutInt32(leading, 4, static_cast<int32_t>(f.leadingLength));
    out += leading;
    for (uint32_t i = 0; i < f.leadingLength; ++i) out += static_cast<char>(i * 7 + 3);

    const size_t entries = f.binaryEntries < 0 ? f.objects.size()
                                               : std::min(f.objects.size(), static_cast<size_t>(f.binaryEntries));
    for (size_t k = 0; k < entries; ++k) {
        const FobObject& o = f.objects[k];
        std::string head(36, '\0');
        head[0] = static_cast<char>(o.headByte);
        PutInt32(head, 4, o.type);
        PutInt32(head, 8, o.id);
        out += head;
        out += o.name;
        out += '\0';
        Align4(out);
        out += FobPropertyBlock(o);
        out += o.version;
        out += '\0';
        Align4(out);
        std::string trailer(28, '\0');
        trailer[0] = static_cast<char>(o.trailer0);
        PutInt32(trailer, 4, o.blobSize);
        out += trailer;
        std::string closing(4, '\0');
        closing[0] = static_cast<char>(o.longClosing && o.closing0 == 0xFF ? 0x02 : o.closing0);
        out += closing;
        if (o.longClosing) {
            out += std::string(8, '\x11');
            std::string skip(8, '\0');
            skip[0] = static_cast<char>(o.skip0);
            skip[4] = static_cast<char>(o.closingSkip);
            out += skip;
            for (int i = 0; i < o.closingSkip; ++i) out += 'S';
            Align4(out);
            std::string last(4, '\0');
            last[0] = static_cast<char>(o.last0);
            out += last;
        }
    }
    if (f.writeEndMark) {
        std::string end(36, '\0');
        end[0] = 0x02;
        out += end;
    }
    out += std::string(f.trailingZeros, '\0');
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream o(path, std::ios::binary | std::ios::trunc);
    o.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!o) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<FobObject> RealisticObjects(int count, uint32_t seed) {
    static const char* kWords[] = {"Customer", "Vendor",  "Item",    "Sales",  "Purchase", "Ledger",
                                   "Entry",    "Header",  "Line",    "Posting", "Setup",   "Journal",
                                   "G/L",      "Account", "Bank",    "Resource", "Job",    "Warehouse",
                                   "Service",  "Contract", "Invoice", "Cr. Memo", "Archive", "Buffer"};
    std::mt19937 rng(seed);
    std::vector<FobObject> objects;
    objects.reserve(static_cast<size_t>(count));
    // Types in order; each type gets a share of the IDs.
    const int perType = std::max(1, count / 9);
    int id = 0;
    int type = 1;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i % perType == 0 && type < 9) {
            ++type;
            id = 0;
        }
        id += 1 + static_cast<int>(rng() % 7);
        FobObject o;
        o.type = type;
        o.id = id;
        std::string name;
        const int words = 1 + static_cast<int>(rng() % 4);
        for (int w = 0; w < words; ++w) {
            if (w) name += ' ';
            name += kWords[rng() % (sizeof kWords / sizeof *kWords)];
        }
        o.name = name.substr(0, 30);
        std::string version = "NAVW1" + std::to_string(10 + rng() % 5) + ".00";
        const int extra = static_cast<int>(rng() % 4);
        for (int e = 0; e < extra; ++e) version += ",NAV" + std::string(1, static_cast<char>('A' + rng() % 26)) + std::to_string(rng() % 100);
        o.version = version;
        o.blobSize = 500 + static_cast<int32_t>(rng() % 200000);
        o.rawDate = NavDateRaw(38000 + static_cast<int>(rng() % 6000));
        o.rawTime = static_cast<int32_t>(rng() % 86400) * 1000;
        o.modified = rng() % 5 == 0;
        o.compiled = rng() % 10 != 0;
        o.headerDate = "01-01-10";
        o.headerTime = "12:00:00";
        objects.push_back(std::move(o));
    }
    return objects;
}

}  // namespace kavlo::testing
