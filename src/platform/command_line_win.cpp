// The program's arguments on Win32: the wide command line, split as the C runtime splits it and
// converted to the ANSI code page. The C runtime's own narrow arguments come from the ANSI
// command line, whose "best fit" turns letters the code page lacks into look-alikes (a Polish
// "L" with stroke into "L"); here they become "?", as the readers convert what they cannot hold.
#include <windows.h>
#include <shellapi.h>

#include "platform/command_line.h"
#include "platform/command_line_win.h"
#include "platform/win_handles_win.h"

namespace kavlo {

std::string WideToAnsi(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminating 0
    return out;
}

std::vector<std::string> AnsiArgumentsOf(const wchar_t* commandLine) {
    int count = 0;
    UniqueLocalMemory<LPWSTR> args(CommandLineToArgvW(commandLine, &count));
    std::vector<std::string> out;
    if (!args) return out;
    for (int i = 1; i < count; ++i) out.push_back(WideToAnsi(args.get()[i]));
    return out;
}

std::vector<std::string> ProgramArguments(int, char**) { return AnsiArgumentsOf(GetCommandLineW()); }

std::string ArgumentText(std::string_view argument) { return std::string(argument); }

bool StdoutIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

}  // namespace kavlo
