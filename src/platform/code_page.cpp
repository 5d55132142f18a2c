// OEM to ANSI conversion through the tables of the code pages 437, 850 and 865; UTF-8 to and
// from Windows-1252.
#include "platform/code_page.h"

#include <algorithm>
#include <utility>

#include "base/errors.h"
#include "platform/code_page_tables.h"

namespace kavlo {

namespace {

// Unicode to Windows-1252: the printable ASCII and Latin-1 ranges map to themselves, the
// 0x80 to 0x9F block through the 1252 table. Everything else has no 1252 byte.
struct Ansi1252 {
    std::array<std::pair<uint16_t, uint8_t>, 32> high{};  // sorted by code point

    Ansi1252() {
        for (int b = 0x80; b < 0xA0; ++b) high[static_cast<size_t>(b - 0x80)] = {k1252ToUnicode[static_cast<size_t>(b)], static_cast<uint8_t>(b)};
        std::sort(high.begin(), high.end());
    }

    int ByteOf(uint32_t cp) const {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
        const auto it = std::lower_bound(high.begin(), high.end(), std::pair<uint16_t, uint8_t>{static_cast<uint16_t>(cp), 0},
                                         [](const auto& a, const auto& b) { return a.first < b.first; });
        if (cp <= 0xFFFF && it != high.end() && it->first == cp) return it->second;
        return -1;
    }
};

[[noreturn]] void RaiseUnsupportedCodePage(int codePage) {
    throw EKavloError("Unsupported OEM code page: " + std::to_string(codePage) + " (437, 850 and 865 are known)");
}

}  // namespace

size_t DecodeUtf8(std::string_view in, size_t i, uint32_t& cp) {
    const uint8_t b = static_cast<uint8_t>(in[i]);
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    size_t len = 0;
    uint32_t min = 0;
    if ((b & 0xE0) == 0xC0) len = 2, cp = b & 0x1F, min = 0x80;
    else if ((b & 0xF0) == 0xE0) len = 3, cp = b & 0x0F, min = 0x800;
    else if ((b & 0xF8) == 0xF0) len = 4, cp = b & 0x07, min = 0x10000;
    if (len == 0 || i + len > in.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const uint8_t c = static_cast<uint8_t>(in[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// UTF-8 to ANSI (Windows-1252). A character that 1252 cannot hold becomes "?", as the system's
// own conversion writes its default character; so does each byte that is not part of a valid
// UTF-8 sequence (overlong forms and surrogates included).
std::string Utf8ToAnsi(std::string_view in) {
    static const Ansi1252 table;
    return Utf8ToSingleByte(in, [](uint32_t cp) { return table.ByteOf(cp); });
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t Utf8Length(std::string_view utf8) {
    size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string KeepUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        // Runs of ASCII, most of any line, are copied whole.
        size_t ascii = i;
        while (ascii < in.size() && static_cast<uint8_t>(in[ascii]) < 0x80) ++ascii;
        out.append(in.data() + i, ascii - i);
        if (ascii == in.size()) break;
        i = ascii;
        uint32_t cp = 0;
        const size_t len = DecodeUtf8(in, i, cp);
        if (len == 0) {
            AppendUtf8(out, 0xDC00u + static_cast<uint8_t>(in[i]));
            ++i;
        } else {
            out.append(in.data() + i, len);
            i += len;
        }
    }
    return out;
}

int EscapedByteAt(std::string_view s, size_t at) {
    // U+DC80 to U+DCFF in UTF-8: ED B2 80 to ED B3 BF.
    if (at + 3 > s.size() || static_cast<uint8_t>(s[at]) != 0xED) return -1;
    const uint8_t b1 = static_cast<uint8_t>(s[at + 1]), b2 = static_cast<uint8_t>(s[at + 2]);
    if ((b1 != 0xB2 && b1 != 0xB3) || (b2 & 0xC0) != 0x80) return -1;
    return ((b1 & 0x0F) << 6 | (b2 & 0x3F)) & 0xFF;
}

std::string RawBytes(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        const int byte = EscapedByteAt(in, i);
        if (byte < 0) {
            out += in[i++];
        } else {
            out += static_cast<char>(byte);
            i += 3;
        }
    }
    return out;
}

const std::array<uint16_t, 256>* OemToUnicodeTable(int codePage) {
    switch (codePage) {
        case 437: return &kOem437ToUnicode;
        case 850: return &kOem850ToUnicode;
        case 865: return &kOem865ToUnicode;
        default: return nullptr;
    }
}

const std::array<uint16_t, 256>& RequireOemToUnicodeTable(int codePage) {
    const std::array<uint16_t, 256>* table = OemToUnicodeTable(codePage);
    if (!table) RaiseUnsupportedCodePage(codePage);
    return *table;
}

const std::array<uint8_t, 256>* OemTo1252Table(int codePage) {
    switch (codePage) {
        case 437: return &kOem437To1252;
        case 850: return &kOem850To1252;
        case 865: return &kOem865To1252;
        default: return nullptr;
    }
}

bool HasOemTable(int codePage) { return OemTo1252Table(codePage) != nullptr; }

TableOemCodePage::TableOemCodePage(int codePage) : codePage_(codePage), table_(OemTo1252Table(codePage)) {
    if (!table_) RaiseUnsupportedCodePage(codePage);
}

std::string TableOemCodePage::OemToAnsi(std::string_view oem) const {
    std::string out(oem);
    for (char& c : out) c = static_cast<char>((*table_)[static_cast<uint8_t>(c)]);
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    AppendAnsiAsUtf8(out, ansi);
    return out;
}

void AppendAnsiAsUtf8(std::string& out, std::string_view ansi) {
    // Most texts are ASCII, which is its own UTF-8: runs of it are appended whole.
    for (size_t i = 0; i < ansi.size();) {
        size_t ascii = i;
        while (ascii < ansi.size() && static_cast<uint8_t>(ansi[ascii]) < 0x80) ++ascii;
        out.append(ansi.data() + i, ascii - i);
        if (ascii == ansi.size()) break;
        i = ascii + 1;
        AppendUtf8(out, k1252ToUnicode[static_cast<uint8_t>(ansi[ascii])]);
    }
}

}  // namespace kavlo
