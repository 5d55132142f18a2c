// OEM to UTF-8 natively: through the tables of the code pages 437, 850 and 865.
#include "base/errors.h"
#include "platform/code_page.h"

namespace kavlo {

std::string OemToUtf8(int codePage, std::string_view oem) {
    if (codePage == 0) return AnsiToUtf8(oem);
    const std::array<uint16_t, 256>* table = OemToUnicodeTable(codePage);
    if (!table)
        throw EKavloError("Unsupported OEM code page: " + std::to_string(codePage) + " (437, 850 and 865 are known)");
    std::string out;
    out.reserve(oem.size());
    for (char c : oem) AppendUtf8(out, (*table)[static_cast<uint8_t>(c)]);
    return out;
}

}  // namespace kavlo
