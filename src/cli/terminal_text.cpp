// Control characters written visibly for a terminal.
#include "cli/terminal_text.h"

#include <cstdint>

#include "platform/code_page.h"

namespace kavlo::cli {

namespace {

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

bool IsAnsiControl(uint8_t b) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character of their own in 1252 and stand for
    // the C1 controls of their number.
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

}  // namespace

bool HasAnsiControls(std::string_view ansi) {
    for (char c : ansi)
        if (IsAnsiControl(static_cast<uint8_t>(c))) return true;
    return false;
}

std::string EscapeAnsiControls(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi) {
        const uint8_t b = static_cast<uint8_t>(c);
        if (IsAnsiControl(b)) AppendHex(out, "\\x", b, 2);
        else out += c;
    }
    return out;
}

std::string EscapeUtf8Controls(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        const uint8_t b = static_cast<uint8_t>(in[i]);
        if (b < 0x80) {
            if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F) AppendHex(out, "\\x", b, 2);
            else out += static_cast<char>(b);
            ++i;
        } else if (const int kept = EscapedByteAt(in, i); kept >= 0) {
            AppendHex(out, "\\x", static_cast<unsigned>(kept), 2);
            i += 3;
        } else if (b == 0xC2 && i + 1 < in.size() && static_cast<uint8_t>(in[i + 1]) >= 0x80 &&
                   static_cast<uint8_t>(in[i + 1]) <= 0x9F) {
            AppendHex(out, "\\u", static_cast<uint8_t>(in[i + 1]), 4);  // a C1 control
            i += 2;
        } else {
            out += in[i++];
        }
    }
    return out;
}

}  // namespace kavlo::cli
