// The binary object file (.fob): a text header of 161-byte entries ended by 0x1A, a leading
// block whose data is skipped, then one object entry per header entry. The header gives type,
// ID and BLOB size; the object entries complete name, version list, date, time and flags.
#include <cinttypes>
#include <cstdio>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/header_entry.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"
#include "platform/file.h"

namespace kavlo {

namespace {

constexpr size_t kEntryHeadSize = 36;
constexpr size_t kPropertyBlockSize = 36;
constexpr size_t kTrailerSize = 28;
// An object entry needs at least this many bytes; fewer left end the walk.
constexpr uint64_t kMinObjectEntry = 116;

}  // namespace

void PositionError(uint64_t offset, uint8_t value, const char* expected) {
    char text[128];
    std::snprintf(text, sizeof text, "Position $%.2" PRIX64 ". Byte value=$%.2X. Expected value %s.",
                  offset, static_cast<unsigned>(value), expected);
    throw EKavloError(text);
}

void ReadHeaderEnd(ByteReader& in, uint64_t lastOffset) {
    in.Seek(lastOffset);
    KAVLO_CHECK(in.ReadByte() == 0x1A, "Assertion failure", kFobFileUnit);
    in.AlignTo4();
    const uint64_t leadingAt = in.Position();
    const uint8_t* leading = in.Read(8);
    if (leading[0] != 0x01) PositionError(leadingAt, leading[0], "$01");
    in.Skip(LittleUInt32(leading + 4));
}

PropertyBlock ReadPropertyBlock(ByteReader& in) {
    const uint8_t* prop = in.Read(kPropertyBlockSize);
    KAVLO_CHECK(prop[0] == 0x05, "Assertion failure", kFobFileUnit);
    KAVLO_CHECK(prop[8] == 0x06, "Assertion failure", kFobFileUnit);
    KAVLO_CHECK(prop[32] == 0x0C, "Assertion failure", kFobFileUnit);
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

int32_t CountFileFob(const TFob& fob) {
    const auto file = InputFile::Open(fob.FileName);
    ByteReader in(*file);
    int32_t count = 0;
    while (in.Remaining() >= kHeaderEntrySize && count < INT32_MAX) {
        if (!IsHeaderEntry(in.Read(kHeaderEntrySize))) break;
        ++count;
    }
    return count;
}

void ReadFileFob(TFob& fob, const Regional& regional) {
    const auto file = InputFile::Open(fob.FileName);
    ByteReader in(*file);
    if (in.Size() < kHeaderEntrySize || !IsHeaderEntry(in.Read(kHeaderEntrySize))) return;
    in.Seek(0);

    std::vector<TFobRec>& fobs = fob.MutableFobs();
    const size_t count = fobs.size();
    size_t filled = 0;
    uint64_t lastOffset = 0;
    while (in.Remaining() >= kHeaderEntrySize) {
        lastOffset = in.Position();
        const uint8_t* block = in.Read(kHeaderEntrySize);
        // The list was sized by counting the same header; a file that grew in between does
        // not write past it.
        if (!IsHeaderEntry(block) || filled == count) break;
        ReadHeaderEntry(block, fob.FileNo, *regional.oem, fobs[filled++]);
    }

    // When the header ran to within 161 bytes of the end, the block that ended it is the last
    // entry, and the end-of-header check fails.
    ReadHeaderEnd(in, lastOffset);

    // An object's stored data, for comparing contents: its entry behind the version list.
    std::vector<ObjectSpan>& spans = fob.Content.Spans;
    spans.assign(count, ObjectSpan{});
    size_t n = 0;
    while (in.Remaining() >= kMinObjectEntry && n < count) {
        const uint64_t headAt = in.Position();
        const uint8_t head = in.Read(kEntryHeadSize)[0];
        if (head != 0x01 && head != 0x02) PositionError(headAt, head, "$01 or $02");
        if (head == 0x02) return;
        ++n;

        const std::string name = in.ReadCString(30);
        in.AlignTo4();

        const PropertyBlock prop = ReadPropertyBlock(in);

        const std::string version = in.ReadCString(248);
        in.AlignTo4();

        const uint64_t dataAt = in.Position();
        KAVLO_CHECK(in.Read(kTrailerSize)[0] == 0x08, "Assertion failure", kFobFileUnit);

        TFobRec& rec = fobs[n - 1];
        rec.Name.assign(regional.oem->OemToAnsi(name));
        rec.VersionList.assign(regional.oem->OemToAnsi(version));
        rec.Date = prop.date;
        rec.Time = prop.time;
        ApplyDateTimeTexts(rec, regional.format);
        rec.Modified = prop.modified;
        rec.Compiled = prop.compiled;

        const uint8_t closing = in.Read(4)[0];
        if (closing == 0xFF) {
            spans[n - 1] = {dataAt, in.Position()};
            continue;
        }
        KAVLO_CHECK(closing == 0x02, "Assertion failure", kFobFileUnit);
        in.Read(8);
        const uint8_t* skip = in.Read(8);
        KAVLO_CHECK(skip[0] == 0x01, "Assertion failure", kFobFileUnit);
        in.Skip(skip[4]);
        in.AlignTo4();
        KAVLO_CHECK(in.Read(4)[0] == 0xFF, "Assertion failure", kFobFileUnit);
        spans[n - 1] = {dataAt, in.Position()};
    }
}

}  // namespace kavlo
