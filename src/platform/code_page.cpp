// OEM to ANSI conversion through the tables of the code pages 437, 850 and 865.
#include "platform/code_page.h"

#include "base/errors.h"
#include "platform/code_page_tables.h"

namespace kavlo {

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
    if (!table_)
        throw EKavloError("Unsupported OEM code page: " + std::to_string(codePage) +
                          " (437, 850 and 865 are known)");
}

std::string TableOemCodePage::OemToAnsi(std::string_view oem) const {
    std::string out(oem);
    for (char& c : out) c = static_cast<char>((*table_)[static_cast<uint8_t>(c)]);
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char ch : ansi) {
        const uint16_t u = k1252ToUnicode[static_cast<uint8_t>(ch)];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

}  // namespace kavlo
