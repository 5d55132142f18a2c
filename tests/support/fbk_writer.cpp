#include "support/fbk_writer.h"

#include <algorithm>
#include <stdexcept>

namespace kavlo::testing {

namespace {

std::string Left(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string Right(const std::string& s, size_t width) {
    if (s.size() >= width) return s.substr(0, width);
    return std::string(width - s.size(), ' ') + s;
}

// An 8- or 4-byte block: byte 0, and a 32-bit value at 4 when there is room.
std::string Block(size_t size, uint8_t byte0, uint32_t value = 0) {
    std::string b(size, '\0');
    b[0] = static_cast<char>(byte0);
    if (size >= 8)
        for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return b;
}

void Align4(std::string& out) {
    while (out.size() % 4) out += '\0';
}

std::string HeaderOf(const FbkFile& f) {
    std::string out;
    if (!f.interleaveHeader) {
        for (const FbkTableData& t : f.tableData) out += FbkTableDataEntry(t);
        for (const FbkObject& o : f.objects)
            if (o.inHeader) out += FobHeaderEntry(o.object);
        return out;
    }
    for (size_t i = 0; i < std::max(f.tableData.size(), f.objects.size()); ++i) {
        if (i < f.tableData.size()) out += FbkTableDataEntry(f.tableData[i]);
        if (i < f.objects.size() && f.objects[i].inHeader) out += FobHeaderEntry(f.objects[i].object);
    }
    return out;
}

void WriteTableDataEntry(std::string& out, const FbkTableData& t, const FbkEntry& e) {
    out += Block(8, e.tag);
    out += Block(8, e.typeBlock0, 0);  // type code 0 at byte 4
    out += Block(4, t.block02);
    out += t.text1;
    out += '\0';
    Align4(out);
    out += Block(8, t.block03, static_cast<uint32_t>(t.id));
    out += Block(4, t.block04);
    out += t.text2;
    out += '\0';
    Align4(out);
}

void WriteObjectEntry(std::string& out, const FbkObject& fo, const FbkEntry& e) {
    const FobObject& o = fo.object;
    out += Block(8, e.tag);
    out += Block(8, e.typeBlock0, static_cast<uint32_t>(fo.binaryType < 0 ? o.type : fo.binaryType));
    out += Block(8, 0x02, static_cast<uint32_t>(o.blobSize));  // not read
    out += Block(8, fo.idBlock0, static_cast<uint32_t>(fo.binaryId.value_or(o.id)));
    out += Block(4, fo.nameBlock0);
    out += o.name;
    out += '\0';
    Align4(out);
    out += FobPropertyBlock(o);
    out += o.version;
    out += '\0';
    Align4(out);
    out += Block(8, fo.trailer0);
    for (size_t k = 0; k < fo.dataBlocks.size(); ++k) {
        const uint32_t len = fo.dataBlocks[k];
        out += Block(8, 0x04, k == 0 ? len + fo.dataOverrun : len);
        for (uint32_t i = 0; i < len; ++i) out += static_cast<char>(i * 13 + 1);
    }
    if (fo.extraBlock >= 0) out += Block(8, static_cast<uint8_t>(fo.extraBlock), 0x01);
}

}  // namespace

std::string FbkTableDataEntry(const FbkTableData& t) {
    std::string e;
    e += Left("TableData", 10);
    e += t.headerIdField.empty() ? Right(std::to_string(t.id), 10) : Left(t.headerIdField, 10);
    e += ' ';
    e += Left(t.name.substr(0, 30), 30);
    e += Left(" 1234 records", 24);  // not read
    e += Left(t.qualifier.substr(0, 30), 30);
    e += std::string(164, ' ');
    if (e.size() != 269) throw std::logic_error("table-data entry is not 269 bytes");
    return e;
}

uint64_t FbkFirstEntryAt(const FbkFile& f) {
    return ((HeaderOf(f).size() + 1 + 3) & ~uint64_t{3}) + 8 + f.leadingLength;
}

FbkObject SimpleFbkObject(int type, int id, const std::string& name) {
    FbkObject o;
    o.object = SimpleFobObject(type, id, name);
    o.dataBlocks = {static_cast<uint32_t>(20 + id % 7), 3};
    return o;
}

std::string WriteFbk(const FbkFile& f) {
    std::string out = HeaderOf(f);
    out += static_cast<char>(f.endOfHeader);
    Align4(out);
    out += Block(8, f.leadingByte0, f.leadingLength);
    for (uint32_t i = 0; i < f.leadingLength; ++i) out += static_cast<char>(i * 7 + 3);

    std::vector<FbkEntry> binary;
    if (f.binary) {
        binary = *f.binary;
    } else {
        for (size_t i = 0; i < f.tableData.size(); ++i) binary.push_back({true, i});
        for (size_t i = 0; i < f.objects.size(); ++i) binary.push_back({false, i});
    }
    for (const FbkEntry& e : binary) {
        if (e.tableData) WriteTableDataEntry(out, f.tableData.at(e.index), e);
        else WriteObjectEntry(out, f.objects.at(e.index), e);
    }
    if (f.writeEndMark) out += Block(8, 0x02);
    out += std::string(f.trailingZeros, '\0');
    return out;
}

}  // namespace kavlo::testing
