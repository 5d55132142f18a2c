// Joining a folder of object files into one text export, for import: the way back from
// SplitExport.
#pragma once
#include <string>

#include "objfile/fob.h"

namespace kavlo {

// Raises, writing nothing, when `output` is one of the folder's files (SameExistingFile), or
// lies in the folder itself, where the next load of the folder would take it for one.
void CheckJoinOutput(const TFob& folder, const std::string& output);

// The export that the loaded folder's objects make, in the load's order (type and ID): one
// UTF-8 byte-order mark first when the files have it, then each object's text as
// TContentReader::ReadText gives it, followed by the empty line that separates objects in the
// files' line ending. Raises as ReadObjectTexts does; "Cannot join "<folder>": it holds no
// objects." for an empty folder.
std::string JoinedExport(const TFob& folder);

// CheckJoinOutput, then JoinedExport written to `output` under a temporary name and renamed.
// Returns the number of objects written.
int JoinFolder(const TFob& folder, const std::string& output);

}  // namespace kavlo
