// The program's arguments natively: file names as given, texts from UTF-8.
#include <unistd.h>

#include "platform/code_page.h"
#include "platform/command_line.h"

namespace kavlo {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string ArgumentText(std::string_view argument) { return Utf8ToAnsi(argument); }

bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

}  // namespace kavlo
