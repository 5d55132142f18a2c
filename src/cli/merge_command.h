// kavlo merge: the three-way merge of whole text exports (or folders of object files).
#pragma once
#include <string>
#include <vector>

namespace kavlo::cli {

// The usage lines of merge, for kavlo's help.
extern const char kMergeUsage[];

// Runs `kavlo merge` with the arguments after the command; the exit code: 0 merged without
// conflicts, 3 merged with conflicts, 1 an error, 2 a usage error.
int RunMerge(const std::vector<std::string>& args);

}  // namespace kavlo::cli
