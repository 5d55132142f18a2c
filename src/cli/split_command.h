// kavlo split and kavlo join: a text export into one file per object, and back.
#pragma once
#include <string>
#include <vector>

namespace kavlo::cli {

// args: the arguments after the command. Raise UsageError for a wrong command line; return
// the exit code (0 done, 1 error, the error's text on stderr).
int Split(const std::vector<std::string>& args);
int Join(const std::vector<std::string>& args);

}  // namespace kavlo::cli
