// Failures of Kavlodex are exceptions derived from EKavloError; what() is the text shown to the
// user (the window's error report, kavlo's stderr) exactly as it stands.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace kavlo {

class EKavloError : public std::runtime_error {
public:
    explicit EKavloError(const std::string& message) : std::runtime_error(message) {}
};

// An internal consistency check (also of a file's structure) that failed:
// "text (Unit, line N)".
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

// Reading past the end of a file while a fixed block or a 0-terminated text is read.
class EReadError : public EKavloError {
public:
    EReadError() : EKavloError("Stream read error") {}
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

// Raises EAssertionFailed naming this source line.
#define KAVLO_FAIL(text, unit) throw ::kavlo::EAssertionFailed((text), (unit), __LINE__)
#define KAVLO_CHECK(cond, text, unit) \
    do {                              \
        if (!(cond)) KAVLO_FAIL(text, unit); \
    } while (0)
