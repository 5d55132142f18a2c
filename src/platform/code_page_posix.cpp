// OEM to UTF-8 natively: through the tables of the code pages 437, 850 and 865.
#include "base/errors.h"
#include "platform/code_page.h"

namespace kavlo {

std::string OemToUtf8(int codePage, std::string_view oem) {
    if (codePage == 0) return AnsiToUtf8(oem);
    const std::array<uint16_t, 256>* table = OemToUnicodeTable(codePage);
    if (!table)
        throw EKavloError("Unsupported OEM code page: " + std::to_string(codePage) + " (437, 850 and 865 are known)");
    // The tables' code pages hold ASCII below 0x80, most of any line: runs of it are copied whole.
    std::string out;
    out.reserve(oem.size());
    for (size_t i = 0; i < oem.size();) {
        size_t ascii = i;
        while (ascii < oem.size() && static_cast<uint8_t>(oem[ascii]) < 0x80) ++ascii;
        out.append(oem.data() + i, ascii - i);
        if (ascii == oem.size()) break;
        AppendUtf8(out, (*table)[static_cast<uint8_t>(oem[ascii])]);
        i = ascii + 1;
    }
    return out;
}

std::string Utf8ToOem(int codePage, std::string_view utf8) {
    if (codePage == 0) return Utf8ToAnsi(utf8);
    const std::array<uint16_t, 256>* table = OemToUnicodeTable(codePage);
    if (!table)
        throw EKavloError("Unsupported OEM code page: " + std::to_string(codePage) + " (437, 850 and 865 are known)");
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        char byte = '?';
        for (int b = 0x80; b < 256; ++b)
            if ((*table)[static_cast<size_t>(b)] == cp) {
                byte = static_cast<char>(b);
                break;
            }
        out += byte;
    }
    return out;
}

}  // namespace kavlo
