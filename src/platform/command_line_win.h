// The splitting and conversion of a wide command line, apart so that tests can give their own.
#pragma once
#include <string>
#include <vector>

namespace kavlo {

// The arguments of the command line after the program's name, in the ANSI code page.
std::vector<std::string> AnsiArgumentsOf(const wchar_t* commandLine);

// A wide text in the ANSI code page, a letter it lacks as "?" (no look-alike).
std::string WideToAnsi(const wchar_t* wide);

}  // namespace kavlo
