// Writes backup files (.fbk) from descriptions of their table data and objects, with switches
// that inject each fault the reader checks for. Used by the tests and the benchmarks.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/fob_writer.h"

namespace kavlo::testing {

struct FbkTableData {
    int id = 0;             // table number
    std::string name;       // OEM bytes
    std::string qualifier;  // OEM bytes
    std::string headerIdField;  // the raw 10-byte table-number field; empty: right-aligned
    // The binary entry: its two texts and the bytes the reader checks.
    std::string text1 = "Company";
    std::string text2 = "Table data";
    uint8_t block02 = 0x02, block03 = 0x03, block04 = 0x04;
};

struct FbkObject {
    // Header entry and property block exactly as in an object file; `object.headByte` is not
    // used (see FbkEntry::tag).
    FobObject object;
    int binaryType = -1;            // type code in the binary entry; -1: object.type
    std::optional<int> binaryId;    // ID in the binary entry; none: object.id
    std::vector<uint32_t> dataBlocks;  // lengths of the data blocks after the trailer
    // Bytes that the first data block announces beyond those written.
    uint32_t dataOverrun = 0;
    int extraBlock = -1;  // byte 0 of an 8-byte block after the data blocks (-1: none)
    bool inHeader = true;  // false: a binary entry that no header entry announces
    uint8_t idBlock0 = 0x03, nameBlock0 = 0x04, trailer0 = 0x08;
};

// One binary entry, by what it describes.
struct FbkEntry {
    bool tableData = false;
    size_t index = 0;  // into FbkFile::tableData or FbkFile::objects
    uint8_t tag = 0x01;
    uint8_t typeBlock0 = 0x01;
};

struct FbkFile {
    std::vector<FbkTableData> tableData;
    std::vector<FbkObject> objects;
    // Header order: table data first, or table data and objects taking turns.
    bool interleaveHeader = false;
    // The binary entries in order; none given: every table-data entry, then every object.
    std::optional<std::vector<FbkEntry>> binary;
    uint8_t endOfHeader = 0x1A;
    uint8_t leadingByte0 = 0x01;
    uint32_t leadingLength = 64;
    bool writeEndMark = true;
    size_t trailingZeros = 128;
};

// SimpleFobObject's object with two data blocks after the trailer.
FbkObject SimpleFbkObject(int type, int id, const std::string& name);

// A table-data header entry of 269 bytes.
std::string FbkTableDataEntry(const FbkTableData& t);

std::string WriteFbk(const FbkFile& file);

// The offset of the first binary entry of WriteFbk's output.
uint64_t FbkFirstEntryAt(const FbkFile& file);

}  // namespace kavlo::testing
