// Failures of Kavlodex are exceptions derived from EKavloError; what() is the text shown to the
// user (the window's error report, kavlo's stderr) exactly as it stands.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kavlo {

class EKavloError : public std::runtime_error {
public:
    explicit EKavloError(const std::string& message) : std::runtime_error(message) {}
};

// A broken invariant of the program's own code (KAVLO_FAIL, KAVLO_CHECK): "text (Unit, line N)".
class EAssertionFailed : public EKavloError {
public:
    EAssertionFailed(std::string_view text, std::string_view unit, int line);
    const std::string& Text() const { return text_; }
private:
    std::string text_;
};

// "Cannot open file "%s". %s" with the system's own error text.
class EFOpenError : public EKavloError {
public:
    EFOpenError(const std::string& fileName, const std::string& systemText);
};

// "Cannot create file "%s". %s" with the system's own error text.
class EFCreateError : public EKavloError {
public:
    EFCreateError(const std::string& fileName, const std::string& systemText);
};

// Which check of reading an object file failed. The user sees the texts of the format's own
// tools (ReadErrorText); tests and callers tell the checks apart by the code.
enum class ReadErrorCode : uint8_t {
    // "Stream read error"
    PastEnd,      // a fixed block or a 0-terminated text runs past the end of the file
    FileChanged,  // the file was written to (or shrank) while it was read
    SystemRead,   // the system could not read the file
    // "Position $%.2x. Byte value=$%.2x. Expected value ..." (the offset of the block)
    LeadingBlock,  // the leading block of the binary part: 0x01
    EntryHead,     // an object file's entry head: 0x01 or 0x02
    EntryTag,      // a backup's entry tag: 0x01 or 0x02
    TypeBlock,     // a backup entry's type block: 0x01
    // "Assertion failure (FobFileUnit, line N)", N fixed per check
    EndOfHeader,        // the end-of-header marker 0x1A
    PropertyModified,   // property block, offset 0: 0x05
    PropertyCompiled,   // property block, offset 8: 0x06
    PropertyEnd,        // property block, offset 32: 0x0C
    EntryTrailer,       // an object file's trailer block: 0x08
    EntryClosing,       // an object file entry's closing: 0xFF or 0x02
    ClosingSkipBlock,   // the skip block after a closing 0x02: 0x01
    ClosingEnd,         // the 4 bytes after the skipped ones: 0xFF
    TableDataFirst,     // a backup's table-data entry, first block: 0x02
    TableDataSecond,    // its 8-byte block: 0x03
    TableDataThird,     // its second 4-byte block: 0x04
    TypeCode,           // a backup object's type code: 1 to 9
    IdBlock,            // a backup object's ID block: 0x03
    NameBlock,          // the block before a backup object's name: 0x04
    BackupTrailer,      // a backup object's trailer block: 0x08
    PropertyBrace,      // a text export's property block: "{" as the third character
};

// A file that could not be read: which check failed, at which byte offset of the file, while
// which field was read, and (for the byte checks) the byte found there. what() is the text the
// user sees.
class EObjectFileError : public EKavloError {
public:
    EObjectFileError(ReadErrorCode code, uint64_t offset, std::string_view field, uint8_t found = 0);
    ReadErrorCode Code() const { return code_; }
    uint64_t Offset() const { return offset_; }
    std::string_view Field() const { return field_; }
    uint8_t Found() const { return found_; }
    // The file of a folder in which the check failed (the offset is one of its bytes); empty
    // when the file read is the one that was loaded.
    const std::string& FileName() const { return fileName_; }
    // Names the file of a folder that the error arose in: what() becomes "<file>: <text>".
    void SetFileName(const std::string& fileName);

private:
    ReadErrorCode code_;
    uint64_t offset_;
    std::string_view field_;  // a literal: "entry head", "name", ...
    uint8_t found_;
    std::string fileName_;
};

// The text of a read error: "Stream read error", a "Position" message, or an assertion.
std::string ReadErrorText(ReadErrorCode code, uint64_t offset, uint8_t found);

// "Stream read error": reading past the end of a file, or a file that changed while it was read.
class EReadError : public EObjectFileError {
public:
    explicit EReadError(uint64_t offset = 0, std::string_view field = {},
                        ReadErrorCode code = ReadErrorCode::PastEnd)
        : EObjectFileError(code, offset, field) {}
};

// A text that does not convert to a number, date or time where one is required.
class EConvertError : public EKavloError {
public:
    using EKavloError::EKavloError;
};

// The units named in assertion messages.
inline constexpr std::string_view kFobFileUnit = "FobFileUnit";
inline constexpr std::string_view kMainUnit = "MainUnit";

}  // namespace kavlo

// Raises EAssertionFailed naming this source line: for broken invariants of the program's own
// code. A file's failed check is an EObjectFileError.
#define KAVLO_FAIL(text, unit) throw ::kavlo::EAssertionFailed((text), (unit), __LINE__)
#define KAVLO_CHECK(cond, text, unit) \
    do {                              \
        if (!(cond)) KAVLO_FAIL(text, unit); \
    } while (0)
