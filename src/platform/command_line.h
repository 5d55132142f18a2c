// The program's arguments: as the file functions take them, and as texts in the ANSI code page
// of the records, for comparing with the texts of object files.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// The arguments after the program's name. Natively argv as it stands; on Windows the wide
// command line converted to the ANSI code page (the one CreateFileA takes names in), what that
// cannot hold as "?".
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Whether standard output is a terminal (natively isatty, on Windows a console: GetConsoleMode
// answers for it), where control characters must be shown rather than sent.
bool StdoutIsTerminal();

// One argument as an ANSI text. Natively the arguments are UTF-8, the terminal's encoding, and
// are converted to Windows-1252; on Windows ProgramArguments has converted them already.
std::string ArgumentText(std::string_view argument);

}  // namespace kavlo
