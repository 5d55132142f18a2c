// The 161-byte text header entry that object files and backup files share.
#pragma once
#include <cstdint>

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

}  // namespace kavlo
