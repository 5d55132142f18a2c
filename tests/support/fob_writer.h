// Writes binary object files (.fob) from object descriptions, with switches that inject each
// fault the reader checks for. Used by the tests, the samples and the benchmarks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kavlo::testing {

struct FobObject {
    int type = 1;  // 0 to 9
    int id = 0;
    std::string name;     // OEM bytes, written in both header and binary part
    std::string version;  // OEM bytes
    // Header texts, blank-padded; the binary part's date replaces them when it has one.
    std::string headerDate = "";
    std::string headerTime = "";
    // Override the header's ID / name / version fields (as raw 10/30/56-byte texts).
    std::string headerIdField;      // empty: the ID right-aligned
    std::string headerTypeField;    // empty: the type name
    std::string headerNameOverride;  // empty: name cut to 30
    std::string headerVersionOverride;
    int32_t blobSize = 0;
    bool hasDate = true;
    int32_t rawDate = 0;  // the stored 32-bit date (see NavDateRaw)
    bool hasTime = true;
    int32_t rawTime = 0;  // milliseconds
    bool modified = false;
    bool compiled = false;
    // Closing form: 0xFF alone, or the 0x02 form with this many skipped bytes.
    bool longClosing = false;
    uint8_t closingSkip = 0;

    // Fault injection: the byte written at each checked place.
    uint8_t headByte = 0x01;
    uint8_t prop0 = 0x05, prop8 = 0x06, prop32 = 0x0C;
    uint8_t dateTag = 0x0A, timeTag = 0x0B;
    uint8_t trailer0 = 0x08;
    uint8_t closing0 = 0xFF;  // 0x02 when longClosing, unless changed
    uint8_t skip0 = 0x01;
    uint8_t last0 = 0xFF;
};

struct FobFile {
    std::vector<FobObject> objects;
    uint8_t endOfHeader = 0x1A;
    uint8_t leadingByte0 = 0x01;
    uint32_t leadingLength = 64;  // bytes of (filler) data after the leading block
    bool writeEndMark = true;
    // Object entries written: all when negative; fewer leaves header records without one.
    int binaryEntries = -1;
    size_t trailingZeros = 128;  // after the end mark
};

// The stored date value of a day serial, as the binary formats keep it.
int32_t NavDateRaw(int daySerial);

std::string WriteFob(const FobFile& file);

// A header entry of 161 bytes, as object and backup files share it.
std::string FobHeaderEntry(const FobObject& o);

// The 36-byte property block of an object entry, as object and backup files share it.
std::string FobPropertyBlock(const FobObject& o);

// Writes bytes to a path (tests' temporary files).
void WriteBytes(const std::string& path, const std::string& bytes);
// The bytes of a file; throws when it cannot be read.
std::string ReadBytes(const std::string& path);

// A plain object: version NAVW17.00, stored date 31-01-09 13:14:15, header texts 01-02-03 and
// 04:05:06, BLOB size 1000 + id.
FobObject SimpleFobObject(int type, int id, const std::string& name);
// Table 18 Customer, Report 206 Sales Invoice (modified) and Page 21 Customer Card (compiled,
// with the long closing form skipping 5 bytes).
FobFile ThreeFobObjects();

// Objects with realistic names, versions and sizes, in type and ID order.
std::vector<FobObject> RealisticObjects(int count, uint32_t seed);

}  // namespace kavlo::testing
