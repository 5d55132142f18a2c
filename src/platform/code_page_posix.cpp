// OEM to UTF-8 natively: through the tables of the code pages 437, 850 and 865.
#include "platform/code_page.h"

namespace kavlo {

std::string OemToUtf8(int codePage, std::string_view oem) {
    if (codePage == 0) return AnsiToUtf8(oem);
    const std::array<uint16_t, 256>& table = RequireOemToUnicodeTable(codePage);
    // The tables' code pages hold ASCII below 0x80, most of any line: runs of it are copied whole.
    std::string out;
    out.reserve(oem.size());
    for (size_t i = 0; i < oem.size();) {
        size_t ascii = i;
        while (ascii < oem.size() && static_cast<uint8_t>(oem[ascii]) < 0x80) ++ascii;
        out.append(oem.data() + i, ascii - i);
        if (ascii == oem.size()) break;
        AppendUtf8(out, table[static_cast<uint8_t>(oem[ascii])]);
        i = ascii + 1;
    }
    return out;
}

std::string Utf8ToOem(int codePage, std::string_view utf8) {
    if (codePage == 0) return Utf8ToAnsi(utf8);
    const std::array<uint16_t, 256>& table = RequireOemToUnicodeTable(codePage);
    return Utf8ToSingleByte(utf8, [&](uint32_t cp) {
        if (cp < 0x80) return static_cast<int>(cp);
        for (int b = 0x80; b < 256; ++b)
            if (table[static_cast<size_t>(b)] == cp) return b;
        return -1;
    });
}

}  // namespace kavlo
