// The 161-byte text header entry that object files and backup files share.
#pragma once
#include <cstdint>

#include <string>
#include <string_view>
#include <vector>

#include "objfile/fob.h"

namespace kavlo {

inline constexpr size_t kHeaderEntrySize = 161;

// True when the first 10 bytes, trimmed, name one of the ten types exactly.
bool IsHeaderEntry(const uint8_t* block);

// Fills the record from a header entry: type, ID, name, version list, date and time texts,
// BLOB size; Date and Time 0, both flags clear.
void ReadHeaderEntry(const uint8_t* block, int32_t fileNo, const OemCodePage& oem, TFobRec& rec);

// The field of `length` bytes at `offset`, trimmed of blanks and control characters.
std::string_view HeaderField(const uint8_t* block, size_t offset, size_t length);

// Sizes the list to n records once, before the header fills them.
void SizeList(std::vector<TFobRec>& fobs, size_t n);

// The binary part of object and backup files.
class ByteReader;

// Where the header ends: the block at `lastOffset`, which ended the header, must start with
// the end-of-header marker 0x1A; then, at the next multiple of 4, the leading block of the
// binary part (0x01, and at 4 the length of the data it announces) is passed over.
void ReadHeaderEnd(ByteReader& in, uint64_t lastOffset);

// The 36-byte property block of an object entry, checked: 0x05 at 0, 0x06 at 8, 0x0C at 32.
struct PropertyBlock {
    bool modified = false;
    bool compiled = false;
    double date = 0;  // day serial, 0 when the block carries none
    double time = 0;  // fraction of a day
};

// The part of an object entry that both formats share: the name, the property block and the
// version list, each text followed by its padding to a multiple of 4.
struct ObjectEntry {
    std::string name;     // at most 30 bytes kept, in the OEM code page
    PropertyBlock prop;
    std::string version;  // at most 248 bytes kept
};
ObjectEntry ReadObjectEntry(ByteReader& in);

// Completes a header record from its object entry: name and version list through the OEM code
// page, date and time with their regional texts when there is a date, the two flags. Type, ID
// and BLOB size stay the header's.
void CompleteRecord(TFobRec& rec, const ObjectEntry& entry, const Regional& regional);

}  // namespace kavlo
