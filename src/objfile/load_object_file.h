// Reading an object file into a slot: the one place that opens it and picks the reader by its
// extension, for the window and for kavlo. A folder of object files reads as one text export.
#pragma once
#include <string>
#include <vector>

#include "base/errors.h"
#include "objfile/fob.h"
#include "platform/regional.h"

namespace kavlo {

struct LoadOptions {
    // A folder's files that are no object files (not *.txt) are passed over instead of raising
    // EOtherFilesError.
    bool IgnoreOtherFiles = false;
};

// Opens the file once and reads it with the reader of its extension (.fob, .fbk, .txt, .xml);
// the slot then holds what was read, as file `fileNo`. A reader's error, or the file's open
// error, is raised after the slot took what was read before it (nothing when the file could
// not be opened), with FileNo, FileName and FileExt the new ones. A name of another extension
// reads nothing: the slot is left empty. A text or XML export written to while it was read
// raises "Stream read error" (ReadErrorCode::FileChanged).
//
// A folder, whatever its name, is read as the text export it was split from: its *.txt files
// (.TXT too), each opened once and read by the text reader, their objects in type and ID order
// (a file's own order kept for equal keys), as a whole-database export lists them. The slot's
// FileName is the folder's, its FileExt ".txt"; ContentSpans::Sources lists the files read and
// each span names its file. Any error leaves the slot empty (FileNo and FileName the new ones):
// a file that holds no object, one object in two files, files with and without the UTF-8
// byte-order mark or with different line ends, a file that cannot be read (its reader's error,
// which names the file: "<file>: <text>"; an EObjectFileError keeps its check and offset), and
// other files in the folder (EOtherFilesError) unless options.IgnoreOtherFiles. An empty folder
// is an empty list.
void LoadObjectFile(TFob& slot, int fileNo, const std::string& path, const Regional& regional,
                    const LoadOptions& options = {});

// A folder's other files named in a message: the first ten, "a.doc, b.fob and 3 more" when
// there are more; a folder of another kind may hold thousands, and a few tell what it is.
std::string OtherFileNames(const std::vector<std::string>& fileNames);

// A folder of object files that holds other files too: "The folder "%s" holds files that are
// no object files (*.txt): a.doc, b.fob". FileNames() are their names in the folder, so that
// the caller may offer to open the folder without them.
class EOtherFilesError : public EKavloError {
public:
    EOtherFilesError(const std::string& folder, std::vector<std::string> fileNames);
    const std::string& Folder() const { return folder_; }
    const std::vector<std::string>& FileNames() const { return fileNames_; }

private:
    std::string folder_;
    std::vector<std::string> fileNames_;
};

}  // namespace kavlo
