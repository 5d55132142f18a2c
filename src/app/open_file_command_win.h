// Open File 1 and Open File 2: an object file chosen in the open dialog; Open Folder 1 and
// Open Folder 2: a folder of object files chosen in the folder picker.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kavlo {

// One dialog for both commands: the next use starts with the name and in the folder where the
// last one ended.
class TOpenFileDialog {
public:
    // The chosen name, or nothing when cancelled.
    std::optional<std::string> Choose(HWND owner);

private:
    std::string fileName_, initialDir_;
};

// One picker for both folder commands, titled by the command; it starts at the folder chosen
// last: in the folder above it, that one's name offered.
class TOpenFolderDialog {
public:
    std::optional<std::string> Choose(HWND owner, int fileNo);

private:
    std::string folder_;
};

// Whether to open a folder that holds files that are no object files (their names in it)
// without them: a question owned by `owner`, Yes for open.
bool AskOpenWithoutOthers(HWND owner, const std::string& folder, const std::vector<std::string>& others);

}  // namespace kavlo
