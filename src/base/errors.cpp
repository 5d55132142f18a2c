// The texts of the error classes that carry a formatted message.
#include "base/errors.h"

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
}  // namespace

EAssertionFailed::EAssertionFailed(std::string_view text, std::string_view unit, int line)
    : EKavloError(AssertionMessage(text, unit, line)), text_(text) {}

EFOpenError::EFOpenError(const std::string& fileName, const std::string& systemText)
    : EKavloError("Cannot open file \"" + fileName + "\". " + systemText) {}

EFCreateError::EFCreateError(const std::string& fileName, const std::string& systemText)
    : EKavloError("Cannot create file \"" + fileName + "\". " + systemText) {}

}  // namespace kavlo
