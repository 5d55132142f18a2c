// kavlo diff: what changed inside the objects that two files hold, as unified diffs per object
// or as one line per object (--stat).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "listing/field_filter.h"
#include "listing/line_diff.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"

namespace kavlo::cli {

struct DiffOptions {
    TypeSwitches Types = kAllTypes;
    bool HideSystem = false;
    FilterTexts Filters;  // normalised
    std::vector<std::pair<int, int>> Objects;  // --object TYPE:ID; empty: every object
    int Context = 3;
    bool WithProperties = false;
    bool Stat = false;
    bool Full = false;
};

struct DiffResult {
    std::string Text;         // UTF-8 (bytes of an export that are no valid UTF-8 as KeepUtf8 keeps them)
    std::string Note;         // why contents were not compared, or empty
    bool AnyDifference = false;
};

// Compares the objects of two loaded files. Objects held by both are matched by type and ID;
// table data has no content and is left out. The file names in the headers are the TFobs'.
// A file that changed since it was loaded, before or during the reads, raises FileChangedText.
DiffResult RenderDiff(const TFob& file1, const TFob& file2, const DiffOptions& options);

// The hunks of a unified diff ("@@ -a,b +c,d @@" and the lines marked " ", "-", "+") of a
// script between a and b, with `context` unchanged lines around each change; the lines (UTF-8,
// as ObjectContent holds them) are written each followed by "\n". Empty when nothing changed.
std::string UnifiedHunks(const std::vector<DiffLine>& script, const std::vector<std::string>& a,
                         const std::vector<std::string>& b, int context);

}  // namespace kavlo::cli
