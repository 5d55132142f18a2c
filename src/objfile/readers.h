// The four format readers. Each reads one open file from its start and returns the loaded
// file; LoadObjectFile (objfile/load_object_file.h) opens the file and picks the reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "base/byte_source.h"
#include "base/errors.h"
#include "base/text_lines.h"
#include "objfile/fob.h"

namespace kavlo {

// Which file a reader reads: the slot it goes to, its name, and what the open handle tells of
// it (the size, time and identity that later tell whether it is still the file loaded).
struct FileOrigin {
    int32_t FileNo = 0;
    std::string FileName;
    int64_t FileTime = 0;
    FileIdentity FileId;
};

// What a reader returns: the loaded file, and the error that stopped the reading (null when it
// read to the end). A file that failed holds the records stored before the failure: for object
// files and backups every header entry, for text and XML exports the objects completed.
struct ReadResult {
    TFob File;
    std::exception_ptr Error;
};

// Binary object files (.fob): the 161-byte header entries are counted, the list sized once,
// then filled from the header and completed from the object entries.
ReadResult ReadFileFob(ByteSource& file, const FileOrigin& origin, const Regional& regional);
// Backup files (.fbk): table data and objects counted apart, table data listed first.
ReadResult ReadFileFbk(ByteSource& file, const FileOrigin& origin, const Regional& regional);
// Text exports (.txt) and XML exports (.xml); the list grows as objects are found. The XML
// reader reads its lines in blocks of `lineBlockSize` bytes (a long line in pieces of a block
// or more).
ReadResult ReadFileTxt(ByteSource& file, const FileOrigin& origin, const Regional& regional);
ReadResult ReadFileXml(ByteSource& file, const FileOrigin& origin, const Regional& regional,
                       size_t lineBlockSize = LineReader::kBlockSize);

// For the readers: raises the EObjectFileError of `code` unless what was found at `offset`
// holds what it must.
inline void Expect(bool holds, ReadErrorCode code, uint64_t offset, std::string_view field, uint8_t found) {
    if (!holds) throw EObjectFileError(code, offset, field, found);
}

// For the readers: a builder for the file of this origin, its spans stamped with the file's
// size, time and identity and the load's OEM code page.
TFobBuilder StartFile(const ByteSource& file, const FileOrigin& origin, const Regional& regional);
// Runs `read` over the builder and returns what it built, with the error it raised, if any.
template <class Read>
ReadResult FinishRead(TFobBuilder& builder, Read&& read) {
    std::exception_ptr error;
    try {
        read();
    } catch (...) {
        error = std::current_exception();
    }
    return {builder.Finish(), error};
}

}  // namespace kavlo
