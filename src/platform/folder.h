// Folders as split and join see them: whether a name is one, making one, the names of the
// files in it, and whether two names lead to one folder.
#pragma once
#include <string>
#include <vector>

namespace kavlo {

// Whether the name leads to an existing folder.
bool IsFolder(const std::string& path);

// Makes the folder when it does not exist yet (its parent must); an existing folder is left
// as it is. Raises EKavloError "Cannot create folder "%s". %s" with the system's own text,
// also when the name leads to a file.
void CreateFolder(const std::string& path);

// The names (without the folder) of the entries of the folder that are no folders, in the
// system's order. Raises EFOpenError naming the folder when it cannot be read.
std::vector<std::string> FolderFileNames(const std::string& path);

// Whether both names lead to one existing folder (a link, another spelling); false when either
// is no folder.
bool SameExistingFolder(const std::string& a, const std::string& b);

}  // namespace kavlo
