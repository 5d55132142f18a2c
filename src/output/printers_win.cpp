// The printers the system knows, asked of the spooler.
#include "output/printers_win.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

namespace kavlo {

bool PrintersInstalled() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return false;
    return count > 0;
}

}  // namespace kavlo
