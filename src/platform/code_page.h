// OEM (DOS) to ANSI text conversion: on Windows the system does it (OemToCharBuffA); natively,
// and in tests, tables of the code pages 437, 850 and 865 into 1252. UTF-8 to and from 1252.
// OEM to Unicode (UTF-8) for objects' contents, which must keep every character: on Windows
// MultiByteToWideChar with the code page, natively tables of 437, 850 and 865.
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
    // The code page's number, for OemToUtf8.
    virtual int CodePage() const = 0;
};

// Table-driven conversion of one OEM code page into Windows-1252.
class TableOemCodePage final : public OemCodePage {
public:
    // Raises EKavloError for a code page without a table.
    explicit TableOemCodePage(int codePage);
    std::string OemToAnsi(std::string_view oem) const override;
    int CodePage() const override { return codePage_; }

private:
    int codePage_;
    const std::array<uint8_t, 256>* table_;
};

// The code pages that have tables.
bool HasOemTable(int codePage);
// The table of one code page: entry b is the 1252 byte for OEM byte b (nullptr when none).
const std::array<uint8_t, 256>* OemTo1252Table(int codePage);

// The table of one code page: entry b is the Unicode character of OEM byte b (nullptr when
// none). The control bytes are the control characters, as MultiByteToWideChar gives them.
const std::array<uint16_t, 256>* OemToUnicodeTable(int codePage);
// As OemToUnicodeTable for a code page that must have one: raises EKavloError ("Unsupported
// OEM code page: ...") when it has none.
const std::array<uint16_t, 256>& RequireOemToUnicodeTable(int codePage);

// OEM text of code page `codePage` in UTF-8, every character kept (the code pages are
// single-byte: distinct bytes stay distinct characters). Code page 0 stands for no OEM
// conversion: the bytes are taken as Windows-1252. Windows converts through the system
// (MultiByteToWideChar); natively a code page without a table raises EKavloError.
std::string OemToUtf8(int codePage, std::string_view oem);
// The inverse of OemToUtf8, for writing lines of a UTF-8 export into an OEM one: a character
// that the code page cannot hold, and each byte of an invalid sequence (KeepUtf8's escapes
// included), becomes "?". Code page 0 writes Windows-1252 (Utf8ToAnsi).
std::string Utf8ToOem(int codePage, std::string_view utf8);

// Text that should be UTF-8, kept whole: valid UTF-8 stays as it is; each byte that is not
// part of a valid sequence becomes the code point U+DC00 + byte (U+DC80 to U+DCFF, a lone low
// surrogate that valid UTF-8 never holds), written as UTF-8 writes any code point (3 bytes).
// So no byte is lost and distinct texts stay distinct; RawBytes gives the bytes back, and a
// UTF-16 converter that keeps lone surrogates shows them, one that does not shows U+FFFD.
std::string KeepUtf8(std::string_view text);
// The inverse of KeepUtf8: the escaped bytes written back as the bytes they stand for.
std::string RawBytes(std::string_view utf8);
// The escaped byte that the 3 bytes at `at` stand for (KeepUtf8), or -1.
int EscapedByteAt(std::string_view utf8, size_t at);
// Appends a code point as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);
// The number of code points of UTF-8 text (the continuation bytes are not counted).
size_t Utf8Length(std::string_view utf8);
// The valid UTF-8 sequence at byte `i` of `in` (overlong forms, surrogates and code points
// above U+10FFFF are not valid): its code point in `cp` and its length, or 0 when none starts
// there.
size_t DecodeUtf8(std::string_view in, size_t i, uint32_t& cp);
// UTF-8 text in a single-byte code page: each character becomes byteOf(code point), its byte
// in the code page or -1 when the code page cannot hold it. What it cannot hold, and each byte
// that is not part of a valid UTF-8 sequence, becomes "?".
template <class ByteOf>
std::string Utf8ToSingleByte(std::string_view utf8, ByteOf byteOf) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t len = DecodeUtf8(utf8, i, cp);
        const int byte = len == 0 ? -1 : byteOf(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        i += len == 0 ? 1 : len;
    }
    return out;
}

// Windows-1252 text to UTF-8, for kavlo's output; each character becomes one code point.
std::string AnsiToUtf8(std::string_view ansi);
void AppendAnsiAsUtf8(std::string& out, std::string_view ansi);

// UTF-8 text to Windows-1252: the XML export's texts, a text export that starts with the UTF-8
// byte-order mark, kavlo's arguments. What 1252 cannot hold, and each byte of an invalid
// sequence, becomes "?".
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace kavlo
