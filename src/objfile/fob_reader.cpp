// The binary object file (.fob): a text header of 161-byte entries ended by 0x1A, a leading
// block whose data is skipped, then one object entry per header entry. The header gives type,
// ID and BLOB size; the object entries complete name, version list, date, time and flags.
#include "base/byte_reader.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/header_entry.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"
#include "platform/memory.h"

namespace kavlo {

namespace {

constexpr size_t kEntryHeadSize = 36;
constexpr size_t kPropertyBlockSize = 36;
constexpr size_t kTrailerSize = 28;
// An object entry needs at least this many bytes; fewer left end the walk.
constexpr uint64_t kMinObjectEntry = 116;

}  // namespace

void ReadHeaderEnd(ByteReader& in, uint64_t lastOffset) {
    in.Seek(lastOffset);
    const uint8_t marker = in.ReadByte("end-of-header marker");
    Expect(marker == 0x1A, ReadErrorCode::EndOfHeader, lastOffset, "end-of-header marker", marker);
    in.AlignTo4();
    const uint64_t leadingAt = in.Position();
    const uint8_t* leading = in.Read(8, "leading block");
    Expect(leading[0] == 0x01, ReadErrorCode::LeadingBlock, leadingAt, "leading block", leading[0]);
    in.Skip(LittleUInt32(leading + 4));
}

namespace {

PropertyBlock ReadPropertyBlock(ByteReader& in) {
    const uint64_t at = in.Position();
    const uint8_t* prop = in.Read(kPropertyBlockSize, "property block");
    Expect(prop[0] == 0x05, ReadErrorCode::PropertyModified, at, "property block", prop[0]);
    Expect(prop[8] == 0x06, ReadErrorCode::PropertyCompiled, at + 8, "property block", prop[8]);
    Expect(prop[32] == 0x0C, ReadErrorCode::PropertyEnd, at + 32, "property block", prop[32]);
    PropertyBlock p;
    p.modified = prop[4] == 1;
    p.compiled = prop[12] == 1;
    if (prop[16] == 0x0A) {
        const int32_t raw = LittleInt32(prop + 20);
        if (raw != 0) p.date = NavDateToDate(raw);
    }
    if (prop[24] == 0x0B) p.time = NavTimeToTime(LittleInt32(prop + 28));
    return p;
}

}  // namespace

ObjectEntry ReadObjectEntry(ByteReader& in) {
    ObjectEntry e;
    e.name = in.ReadCString(30, "name");
    in.AlignTo4();
    e.prop = ReadPropertyBlock(in);
    e.version = in.ReadCString(248, "version list");
    in.AlignTo4();
    return e;
}

void CompleteRecord(TFobRec& rec, const ObjectEntry& entry, const Regional& regional) {
    rec.Name.assign(regional.oem->OemToAnsi(entry.name));
    rec.VersionList.assign(regional.oem->OemToAnsi(entry.version));
    rec.Date = entry.prop.date;
    rec.Time = entry.prop.time;
    ApplyDateTimeTexts(rec, regional.format);
    rec.Modified = entry.prop.modified;
    rec.Compiled = entry.prop.compiled;
}

bool IsHeaderEntry(const uint8_t* block) {
    return IsFobType(std::string_view(reinterpret_cast<const char*>(block), 10));
}

std::string_view HeaderField(const uint8_t* block, size_t offset, size_t length) {
    return TrimBlanks(std::string_view(reinterpret_cast<const char*>(block) + offset, length));
}

void ReadHeaderEntry(const uint8_t* block, int32_t fileNo, const OemCodePage& oem, TFobRec& rec) {
    rec = TFobRec{};
    rec.FileNo = fileNo;
    rec.ObjType = FobTypeIndex(HeaderField(block, 0, 10));
    // The ID field is converted as it stands: leading blanks are allowed, trailing ones are not.
    rec.ID = WholeNumberValue(std::string_view(reinterpret_cast<const char*>(block) + 10, 10));
    rec.Name.assign(oem.OemToAnsi(HeaderField(block, 21, 30)));
    rec.DateStr.assign(HeaderField(block, 52, 11));
    rec.TimeStr.assign(HeaderField(block, 64, 14));
    rec.BlobSize = WholeNumberValue(HeaderField(block, 81, 20));
    rec.VersionList.assign(oem.OemToAnsi(HeaderField(block, 102, 56)));
}

void SizeList(std::vector<TFobRec>& fobs, size_t n) {
    // The list is sized once, in large pages where the system gives them: a backup's list of
    // 60 MB then costs a few dozen page faults instead of 15,000, and the sorted reading of its
    // table data few misses of the address translation.
    fobs.reserve(n);
    AdviseLargePages(fobs.data(), n * sizeof(TFobRec));
    fobs.assign(n, TFobRec{});
}

namespace {

// The number of header entries, counted from the start; the reader is left at the start.
size_t CountHeaderEntries(ByteReader& in) {
    size_t count = 0;
    while (in.Remaining() >= kHeaderEntrySize && count < INT32_MAX) {
        if (!IsHeaderEntry(in.Read(kHeaderEntrySize, "header entry"))) break;
        ++count;
    }
    in.Seek(0);
    return count;
}

void ReadFob(ByteReader& in, TFobBuilder& out, const Regional& regional) {
    // A file that does not start with a header entry holds no objects.
    const size_t count = CountHeaderEntries(in);
    if (count == 0) return;
    std::vector<TFobRec>& fobs = out.Fobs();
    SizeList(fobs, count);
    size_t filled = 0;
    uint64_t lastOffset = 0;
    while (in.Remaining() >= kHeaderEntrySize) {
        lastOffset = in.Position();
        const uint8_t* block = in.Read(kHeaderEntrySize, "header entry");
        if (!IsHeaderEntry(block) || filled == count) break;
        ReadHeaderEntry(block, out.FileNo(), *regional.oem, fobs[filled++]);
    }

    // When the header ran to within 161 bytes of the end, the block that ended it is the last
    // entry, and the end-of-header check fails.
    ReadHeaderEnd(in, lastOffset);

    // An object's stored data, for comparing contents: its entry behind the version list.
    std::vector<ObjectSpan>& spans = out.Content().Spans;
    spans.assign(count, ObjectSpan{});
    size_t n = 0;
    while (in.Remaining() >= kMinObjectEntry && n < count) {
        const uint64_t headAt = in.Position();
        const uint8_t head = in.Read(kEntryHeadSize, "entry head")[0];
        Expect(head == 0x01 || head == 0x02, ReadErrorCode::EntryHead, headAt, "entry head", head);
        if (head == 0x02) return;
        ++n;

        const ObjectEntry entry = ReadObjectEntry(in);
        const uint64_t dataAt = in.Position();
        const uint8_t trailer = in.Read(kTrailerSize, "trailer block")[0];
        Expect(trailer == 0x08, ReadErrorCode::EntryTrailer, dataAt, "trailer block", trailer);
        CompleteRecord(fobs[n - 1], entry, regional);

        const uint64_t closingAt = in.Position();
        const uint8_t closing = in.Read(4, "closing")[0];
        if (closing != 0xFF) {
            Expect(closing == 0x02, ReadErrorCode::EntryClosing, closingAt, "closing", closing);
            in.Read(8, "closing");
            const uint64_t skipAt = in.Position();
            const uint8_t* skip = in.Read(8, "closing skip block");
            Expect(skip[0] == 0x01, ReadErrorCode::ClosingSkipBlock, skipAt, "closing skip block", skip[0]);
            in.Skip(skip[4]);
            in.AlignTo4();
            const uint64_t endAt = in.Position();
            const uint8_t end = in.Read(4, "closing end")[0];
            Expect(end == 0xFF, ReadErrorCode::ClosingEnd, endAt, "closing end", end);
        }
        spans[n - 1] = {dataAt, in.Position()};
    }
}

}  // namespace

ReadResult ReadFileFob(ByteSource& file, const FileOrigin& origin, const Regional& regional) {
    TFobBuilder out = StartFile(file, origin, regional);
    ByteReader in(file);
    return FinishRead(out, [&] { ReadFob(in, out, regional); });
}

}  // namespace kavlo
