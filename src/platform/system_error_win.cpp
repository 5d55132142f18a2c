// The system's own text of an error code, as the file errors show it.
#include <windows.h>

#include "platform/system_error_win.h"
#include "platform/win_handles_win.h"

namespace kavlo {

std::string SystemErrorText(unsigned long code) {
    UniqueLocalMemory<char> text;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                   nullptr, code, 0, reinterpret_cast<char*>(text.put()), 0, nullptr);
    std::string s = n && text ? std::string(text.get(), n) : "System error " + std::to_string(code);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

}  // namespace kavlo
