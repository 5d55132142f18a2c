// OEM to UTF-8 on Windows: the system converts the code page into UTF-16 (MultiByteToWideChar,
// without glyph characters: control bytes stay control characters), and that into UTF-8.
#include <windows.h>

#include "base/errors.h"
#include "platform/code_page.h"
#include "platform/system_error_win.h"

namespace kavlo {

std::string OemToUtf8(int codePage, std::string_view oem) {
    if (codePage == 0) return AnsiToUtf8(oem);
    if (oem.empty()) return {};
    const int inLength = static_cast<int>(oem.size());
    const int wide = MultiByteToWideChar(static_cast<UINT>(codePage), 0, oem.data(), inLength, nullptr, 0);
    if (wide <= 0) throw EKavloError("Cannot convert from code page " + std::to_string(codePage) + ". " + SystemErrorText(GetLastError()));
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(static_cast<UINT>(codePage), 0, oem.data(), inLength, w.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string Utf8ToOem(int codePage, std::string_view utf8) {
    if (codePage == 0) return Utf8ToAnsi(utf8);
    // KeepUtf8's escapes and invalid bytes are no characters: "?" as Utf8ToAnsi writes them.
    std::wstring w;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0 || (cp >= 0xDC80 && cp <= 0xDCFF)) cp = '?';
        i += len ? len : 1;
        if (cp >= 0x10000) {
            w += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            w += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            w += static_cast<wchar_t>(cp);
        }
    }
    if (w.empty()) return {};
    const int wide = static_cast<int>(w.size());
    const int bytes = WideCharToMultiByte(static_cast<UINT>(codePage), 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) throw EKavloError("Cannot convert to code page " + std::to_string(codePage) + ". " + SystemErrorText(GetLastError()));
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(static_cast<UINT>(codePage), 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace kavlo
