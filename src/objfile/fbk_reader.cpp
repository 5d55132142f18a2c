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
    uint64_t at = in.Position();
    uint8_t b = in.Read(4, "table-data block")[0];
    Expect(b == 0x02, ReadErrorCode::TableDataFirst, at, "table-data block", b);
    in.ReadCString(0, "table-data text");
    in.AlignTo4();
    at = in.Position();
    b = in.Read(8, "table-data block")[0];
    Expect(b == 0x03, ReadErrorCode::TableDataSecond, at, "table-data block", b);
    at = in.Position();
    b = in.Read(4, "table-data block")[0];
    Expect(b == 0x04, ReadErrorCode::TableDataThird, at, "table-data block", b);
    in.ReadCString(0, "table-data text");
    in.AlignTo4();
}

struct FbkCounts {
    size_t tableData = 0;
    size_t objects = 0;
};

// The header's table-data entries and object entries, counted from the start; the reader is
// left at the start.
FbkCounts CountFbkHeaderEntries(ByteReader& in) {
    FbkCounts counts;
    while (in.Remaining() >= kHeaderEntrySize && counts.tableData + counts.objects < INT32_MAX) {
        const uint64_t at = in.Position();
        const uint8_t* block = in.Read(kHeaderEntrySize, "header entry");
        if (!IsHeaderEntry(block)) break;
        if (IsTableDataEntry(block)) {
            ++counts.tableData;
            in.Seek(at + kTableDataEntrySize);
        } else {
            ++counts.objects;
        }
    }
    in.Seek(0);
    return counts;
}

void ReadFbk(ByteReader& in, TFobBuilder& out, const Regional& regional) {
    // A file that does not start with a header entry holds no objects.
    const FbkCounts counts = CountFbkHeaderEntries(in);
    if (counts.tableData + counts.objects == 0) return;
    // Records are updated through this reference while FindFob answers from its index: the
    // updates never touch a type, an ID or a qualifier, which is all the index holds.
    std::vector<TFobRec>& fobs = out.Fobs();
    SizeList(fobs, counts.tableData + counts.objects);
    const size_t tableData = counts.tableData;
    size_t t = 0, o = 0;
    uint64_t lastOffset = 0;
    while (in.Remaining() >= kHeaderEntrySize) {
        lastOffset = in.Position();
        const uint8_t* block = in.Read(kHeaderEntrySize, "header entry");
        if (!IsHeaderEntry(block)) break;
        if (IsTableDataEntry(block)) {
            if (t == tableData) break;
            ReadTableDataEntry(block, out.FileNo(), *regional.oem, fobs[t++]);
            in.Seek(lastOffset + kTableDataEntrySize);
        } else {
            if (tableData + o == fobs.size()) break;
            ReadHeaderEntry(block, out.FileNo(), *regional.oem, fobs[tableData + o++]);
        }
    }

    ReadHeaderEnd(in, lastOffset);

    // A backup of table data alone has nothing more to complete.
    if (fobs.size() == tableData) return;
    // An object's stored data, for comparing contents: its data blocks. Table data keeps none.
    std::vector<ObjectSpan>& spans = out.Content().Spans;
    spans.assign(fobs.size(), ObjectSpan{});

    while (in.Remaining() >= kMinBinaryEntry) {
        const uint64_t tagAt = in.Position();
        const uint8_t tag = in.Read(8, "entry tag")[0];
        Expect(tag == 0x01 || tag == 0x02, ReadErrorCode::EntryTag, tagAt, "entry tag", tag);
        if (tag == 0x02) return;

        const uint64_t typeAt = in.Position();
        const uint8_t* typeBlock = in.Read(8, "type block");
        Expect(typeBlock[0] == 0x01, ReadErrorCode::TypeBlock, typeAt, "type block", typeBlock[0]);
        const uint8_t type = typeBlock[4];
        if (type == 0) {
            SkipTableDataEntry(in);
            continue;
        }
        Expect(type <= 9, ReadErrorCode::TypeCode, typeAt + 4, "type code", type);

        in.Read(8, "object block");
        const uint64_t idAt = in.Position();
        const uint8_t* idBlock = in.Read(8, "ID block");
        Expect(idBlock[0] == 0x03, ReadErrorCode::IdBlock, idAt, "ID block", idBlock[0]);
        const int32_t id = LittleInt32(idBlock + 4);
        const uint64_t nameAt = in.Position();
        const uint8_t nameBlock = in.Read(4, "name block")[0];
        Expect(nameBlock == 0x04, ReadErrorCode::NameBlock, nameAt, "name block", nameBlock);
        const ObjectEntry entry = ReadObjectEntry(in);
        const uint64_t trailerAt = in.Position();
        const uint8_t trailer = in.Read(8, "trailer block")[0];
        Expect(trailer == 0x08, ReadErrorCode::BackupTrailer, trailerAt, "trailer block", trailer);

        // An object that no header record answers for is read and dropped.
        const int index = out.FindFob(type, id);
        if (index >= 0) CompleteRecord(fobs[static_cast<size_t>(index)], entry, regional);

        // Data blocks (0x04, a length, that many bytes) follow until another block comes. A
        // block that starts an entry or ends the file is read again as the next entry tag;
        // any other is consumed.
        uint64_t blockAt = in.Position();
        const uint64_t dataAt = blockAt;
        const uint8_t* block = in.Read(8, "data block");
        while (block[0] == 0x04) {
            in.Skip(LittleUInt32(block + 4));
            blockAt = in.Position();
            block = in.Read(8, "data block");
        }
        if (index >= 0) spans[static_cast<size_t>(index)] = {dataAt, blockAt};
        if (block[0] == 0x01 || block[0] == 0x02) in.Seek(blockAt);
    }
}

}  // namespace

ReadResult ReadFileFbk(ByteSource& file, const FileOrigin& origin, const Regional& regional) {
    TFobBuilder out = StartFile(file, origin, regional);
    ByteReader in(file);
    return FinishRead(out, [&] { ReadFbk(in, out, regional); });
}

}  // namespace kavlo
