// Text for a terminal: control characters in object names and code lines (ESC, BEL, CR…) would
// act on the terminal instead of being shown, so they are written as \xNN. Piped or redirected
// output is written as it stands.
#pragma once
#include <string>
#include <string_view>

namespace kavlo::cli {

// ANSI (Windows-1252) text with its control characters (C0, DEL, and the bytes that stand for
// C1 controls) written as \xNN; the result is ANSI again, each escape four characters wide.
std::string EscapeAnsiControls(std::string_view ansi);
bool HasAnsiControls(std::string_view ansi);

// UTF-8 text with its control characters written as \xNN (C0 other than line feed and tab, DEL,
// C1 as \u0080 to \u009F), and each byte that KeepUtf8 kept as \xNN.
std::string EscapeUtf8Controls(std::string_view utf8);

}  // namespace kavlo::cli
