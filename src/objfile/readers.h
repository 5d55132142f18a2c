// The four format readers. Each fills the TFob's list from its FileName; see fob.h LoadFile.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/text_lines.h"
#include "objfile/fob.h"

namespace kavlo {

// Binary object files (.fob): the number of 161-byte header entries, then the records.
int32_t CountFileFob(const TFob& fob);
void ReadFileFob(TFob& fob, const Regional& regional);

// Backup files (.fbk).
struct FbkCounts {
    int32_t tableData = 0;
    int32_t objects = 0;
};
FbkCounts CountFileFbk(const TFob& fob);
void ReadFileFbk(TFob& fob, int32_t tableDataCount, const Regional& regional);

// Text exports (.txt) and XML exports (.xml); they size the list themselves. The XML reader
// reads its lines in blocks of `lineBlockSize` bytes (a long line in pieces of a block or more).
void ReadFileTxt(TFob& fob, const Regional& regional);
void ReadFileXml(TFob& fob, const Regional& regional, size_t lineBlockSize = LineReader::kBlockSize);

}  // namespace kavlo
