// The backup file (.fbk): a text header whose entries list objects (161 bytes each, as in an
// object file) and table data (269 bytes each), ended by 0x1A; a leading block whose data is
// skipped; then binary entries for objects and table data in any order, ended by an entry tag
// 0x02. Table data is listed from the header alone. Each binary object completes the record
// that has its type and ID; its data blocks are skipped by seeking, never read.
#include <algorithm>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/header_entry.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"
#include "platform/file.h"

namespace kavlo {

namespace {

constexpr uint64_t kTableDataEntrySize = 269;
// A binary entry needs at least this many bytes; fewer left end the walk.
constexpr uint64_t kMinBinaryEntry = 116;

bool IsTableDataEntry(const uint8_t* block) { return FobTypeIndex(HeaderField(block, 0, 10)) == 0; }

// A table-data header entry: the table number, its name and the qualifier that tells entries
// of one table apart. The rest of the 269 bytes is not needed.
void ReadTableDataEntry(const uint8_t* block, int32_t fileNo, const OemCodePage& oem, TFobRec& rec) {
    rec = TFobRec{};
    rec.FileNo = fileNo;
    rec.ObjType = 0;
    rec.ID = WholeNumberValue(std::string_view(reinterpret_cast<const char*>(block) + 10, 10));
    rec.Name.assign(oem.OemToAnsi(HeaderField(block, 21, 30)));
    rec.VersionList.assign(oem.OemToAnsi(HeaderField(block, 75, 30)));
}

// The rest of a binary table-data entry, checked and passed over.
void SkipTableDataEntry(ByteReader& in) {
    KAVLO_CHECK(in.Read(4)[0] == 0x02, "Assertion failure", kFobFileUnit);
    in.ReadCString(0);
    in.AlignTo4();
    KAVLO_CHECK(in.Read(8)[0] == 0x03, "Assertion failure", kFobFileUnit);
    KAVLO_CHECK(in.Read(4)[0] == 0x04, "Assertion failure", kFobFileUnit);
    in.ReadCString(0);
    in.AlignTo4();
}

}  // namespace

FbkCounts CountFileFbk(const TFob& fob) {
    const auto file = InputFile::Open(fob.FileName);
    ByteReader in(*file);
    FbkCounts counts;
    while (in.Remaining() >= kHeaderEntrySize && int64_t{counts.tableData} + counts.objects < INT32_MAX) {
        const uint64_t at = in.Position();
        const uint8_t* block = in.Read(kHeaderEntrySize);
        if (!IsHeaderEntry(block)) break;
        if (IsTableDataEntry(block)) {
            ++counts.tableData;
            in.Seek(at + kTableDataEntrySize);
        } else {
            ++counts.objects;
        }
    }
    return counts;
}

void ReadFileFbk(TFob& fob, int32_t tableDataCount, const Regional& regional) {
    const auto file = InputFile::Open(fob.FileName);
    ByteReader in(*file);
    if (in.Size() < kHeaderEntrySize || !IsHeaderEntry(in.Read(kHeaderEntrySize))) return;
    in.Seek(0);

    // Records are updated through this reference while FindFob answers from its index: the
    // updates never touch a type, an ID or a qualifier, which is all the index holds.
    std::vector<TFobRec>& fobs = fob.MutableFobs();
    const size_t tableData = std::min(static_cast<size_t>(std::max(tableDataCount, 0)), fobs.size());
    size_t t = 0, o = 0;
    uint64_t lastOffset = 0;
    while (in.Remaining() >= kHeaderEntrySize) {
        lastOffset = in.Position();
        const uint8_t* block = in.Read(kHeaderEntrySize);
        if (!IsHeaderEntry(block)) break;
        // The list was sized by counting the same header; a file that changed in between
        // does not write past either part of it.
        if (IsTableDataEntry(block)) {
            if (t == tableData) break;
            ReadTableDataEntry(block, fob.FileNo, *regional.oem, fobs[t++]);
            in.Seek(lastOffset + kTableDataEntrySize);
        } else {
            if (tableData + o == fobs.size()) break;
            ReadHeaderEntry(block, fob.FileNo, *regional.oem, fobs[tableData + o++]);
        }
    }

    ReadHeaderEnd(in, lastOffset);

    // A backup of table data alone has nothing more to complete.
    if (fobs.size() == tableData) return;
    // An object's stored data, for comparing contents: its data blocks. Table data keeps none.
    std::vector<ObjectSpan>& spans = fob.Content.Spans;
    spans.assign(fobs.size(), ObjectSpan{});

    while (in.Remaining() >= kMinBinaryEntry) {
        const uint64_t tagAt = in.Position();
        const uint8_t tag = in.Read(8)[0];
        if (tag != 0x01 && tag != 0x02) PositionError(tagAt, tag, "$01 or $02");
        if (tag == 0x02) return;

        const uint64_t typeAt = in.Position();
        const uint8_t* typeBlock = in.Read(8);
        if (typeBlock[0] != 0x01) PositionError(typeAt, typeBlock[0], "$01");
        const int type = typeBlock[4];
        if (type == 0) {
            SkipTableDataEntry(in);
            continue;
        }
        KAVLO_CHECK(type <= 9, "Assertion failure", kFobFileUnit);

        in.Read(8);
        const uint8_t* idBlock = in.Read(8);
        KAVLO_CHECK(idBlock[0] == 0x03, "Assertion failure", kFobFileUnit);
        const int32_t id = LittleInt32(idBlock + 4);
        KAVLO_CHECK(in.Read(4)[0] == 0x04, "Assertion failure", kFobFileUnit);
        const std::string name = in.ReadCString(30);
        in.AlignTo4();
        const PropertyBlock prop = ReadPropertyBlock(in);
        const std::string version = in.ReadCString(248);
        in.AlignTo4();
        KAVLO_CHECK(in.Read(8)[0] == 0x08, "Assertion failure", kFobFileUnit);

        // An object that no header record answers for is read and dropped.
        const int index = fob.FindFob(type, id);
        if (index >= 0) {
            TFobRec& rec = fobs[static_cast<size_t>(index)];
            rec.Name.assign(regional.oem->OemToAnsi(name));
            rec.VersionList.assign(regional.oem->OemToAnsi(version));
            rec.Date = prop.date;
            rec.Time = prop.time;
            ApplyDateTimeTexts(rec, regional.format);
            rec.Modified = prop.modified;
            rec.Compiled = prop.compiled;
        }

        // Data blocks (0x04, a length, that many bytes) follow until another block comes. A
        // block that starts an entry or ends the file is read again as the next entry tag;
        // any other is consumed.
        uint64_t blockAt = in.Position();
        const uint64_t dataAt = blockAt;
        const uint8_t* block = in.Read(8);
        while (block[0] == 0x04) {
            in.Skip(LittleUInt32(block + 4));
            blockAt = in.Position();
            block = in.Read(8);
        }
        if (index >= 0) spans[static_cast<size_t>(index)] = {dataAt, blockAt};
        if (block[0] == 0x01 || block[0] == 0x02) in.Seek(blockAt);
    }
}

}  // namespace kavlo
