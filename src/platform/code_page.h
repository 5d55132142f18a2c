// OEM (DOS) to ANSI text conversion: on Windows the system does it (OemToCharBuffA); natively,
// and in tests, tables of the code pages 437, 850 and 865 into 1252. UTF-8 to and from 1252.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// <windows.h> defines OemToAnsi as a macro for OemToCharA; ours is a method name.
#ifdef OemToAnsi
#undef OemToAnsi
#endif

namespace kavlo {

class OemCodePage {
public:
    virtual ~OemCodePage() = default;
    // Same length as the input.
    virtual std::string OemToAnsi(std::string_view oem) const = 0;
};

// Table-driven conversion of one OEM code page into Windows-1252.
class TableOemCodePage final : public OemCodePage {
public:
    // Raises EKavloError for a code page without a table.
    explicit TableOemCodePage(int codePage);
    std::string OemToAnsi(std::string_view oem) const override;
    int CodePage() const { return codePage_; }

private:
    int codePage_;
    const std::array<uint8_t, 256>* table_;
};

// The code pages that have tables.
bool HasOemTable(int codePage);
// The table of one code page: entry b is the 1252 byte for OEM byte b (nullptr when none).
const std::array<uint8_t, 256>* OemTo1252Table(int codePage);

// Windows-1252 text to UTF-8, for kavlo's output; each character becomes one code point.
std::string AnsiToUtf8(std::string_view ansi);
void AppendAnsiAsUtf8(std::string& out, std::string_view ansi);

// UTF-8 text to Windows-1252: the XML export's texts, a text export that starts with the UTF-8
// byte-order mark, kavlo's arguments. What 1252 cannot hold, and each byte of an invalid
// sequence, becomes "?".
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace kavlo
