// What kavlo's commands parse alike: a usage error, comma lists, and the object selection of
// --types and --filter that list, diff and split share.
#pragma once
#include <string>
#include <vector>

#include "listing/field_filter.h"
#include "listing/list_builder.h"

namespace kavlo::cli {

// The exit codes the commands share: an error of the run, and a mistake in the command line.
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// A mistake in the command line: kavlo prints the text and its usage, and exits with 2.
struct UsageError {
    std::string text;
};

// The items of a comma-separated value, trimmed, empty ones left out.
std::vector<std::string> SplitList(const std::string& value);

// --types: type names in any case. An empty list switches every type off, as all type buttons
// up do in the window.
TypeSwitches ParseTypes(const std::string& value);

// --filter COLUMN=PATTERN: the column by number or by title, ignoring case and blanks
// ("BLOB Size", "blobsize"); the pattern is taken in the records' code page.
void AddFilter(FilterTexts& filters, const std::string& value);

}  // namespace kavlo::cli
