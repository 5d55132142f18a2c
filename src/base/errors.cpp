// The texts of the error classes that carry a formatted message.
#include "base/errors.h"

#include <cinttypes>
#include <cstdio>

namespace kavlo {

namespace {
std::string AssertionMessage(std::string_view text, std::string_view unit, int line) {
    std::string m(text);
    m += " (";
    m += unit;
    m += ", line ";
    m += std::to_string(line);
    m += ")";
    return m;
}
// The line an assertion of a file's structure names: one per check, fixed, as the user has
// always seen it.
int AssertionLine(ReadErrorCode code) {
    switch (code) {
        case ReadErrorCode::EndOfHeader: return 36;
        case ReadErrorCode::PropertyModified: return 46;
        case ReadErrorCode::PropertyCompiled: return 47;
        case ReadErrorCode::PropertyEnd: return 48;
        case ReadErrorCode::EntryTrailer: return 135;
        case ReadErrorCode::EntryClosing: return 151;
        case ReadErrorCode::ClosingSkipBlock: return 154;
        case ReadErrorCode::ClosingEnd: return 157;
        case ReadErrorCode::TableDataFirst: return 39;
        case ReadErrorCode::TableDataSecond: return 42;
        case ReadErrorCode::TableDataThird: return 43;
        case ReadErrorCode::TypeCode: return 118;
        case ReadErrorCode::IdBlock: return 122;
        case ReadErrorCode::NameBlock: return 124;
        case ReadErrorCode::BackupTrailer: return 130;
        case ReadErrorCode::PropertyBrace: return 78;
        default: return 0;
    }
}

std::string PositionText(uint64_t offset, uint8_t found, const char* expected) {
    char text[128];
    std::snprintf(text, sizeof text, "Position $%.2" PRIX64 ". Byte value=$%.2X. Expected value %s.", offset,
                  static_cast<unsigned>(found), expected);
    return text;
}

}  // namespace

std::string ReadErrorText(ReadErrorCode code, uint64_t offset, uint8_t found) {
    switch (code) {
        case ReadErrorCode::PastEnd:
        case ReadErrorCode::FileChanged:
        case ReadErrorCode::SystemRead: return "Stream read error";
        case ReadErrorCode::LeadingBlock:
        case ReadErrorCode::TypeBlock: return PositionText(offset, found, "$01");
        case ReadErrorCode::EntryHead:
        case ReadErrorCode::EntryTag: return PositionText(offset, found, "$01 or $02");
        default: return AssertionMessage("Assertion failure", kFobFileUnit, AssertionLine(code));
    }
}

EObjectFileError::EObjectFileError(ReadErrorCode code, uint64_t offset, std::string_view field, uint8_t found)
    : EKavloError(ReadErrorText(code, offset, found)), code_(code), offset_(offset), field_(field), found_(found) {}

void EObjectFileError::SetFileName(const std::string& fileName) {
    fileName_ = fileName;
    std::runtime_error::operator=(std::runtime_error(fileName + ": " + ReadErrorText(code_, offset_, found_)));
}

EAssertionFailed::EAssertionFailed(std::string_view text, std::string_view unit, int line)
    : EKavloError(AssertionMessage(text, unit, line)), text_(text) {}

EFOpenError::EFOpenError(const std::string& fileName, const std::string& systemText)
    : EKavloError("Cannot open file \"" + fileName + "\". " + systemText) {}

EFCreateError::EFCreateError(const std::string& fileName, const std::string& systemText)
    : EKavloError("Cannot create file \"" + fileName + "\". " + systemText) {}

}  // namespace kavlo
