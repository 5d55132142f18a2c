#include "folder/join_folder.h"

#include <numeric>
#include <vector>

#include "base/errors.h"
#include "folder/object_texts.h"
#include "platform/file.h"

namespace kavlo {

namespace {

std::string CannotJoin(const TFob& folder, const std::string& why) {
    return "Cannot join \"" + folder.FileName() + "\": " + why;
}

// The folder that a file name lies in, as the name gives it.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

}  // namespace

void CheckJoinOutput(const TFob& folder, const std::string& output) {
    for (const SourceFile& source : folder.Content().Sources)
        if (SameExistingFile(output, source.Name))
            throw EKavloError(CannotJoin(folder, "the output \"" + output + "\" is one of its files."));
    if (SameExistingFolder(FolderOf(output), folder.FileName()))
        throw EKavloError(CannotJoin(folder, "the output \"" + output +
                                                 "\" would lie in the folder, and be read as one of its files the next time."));
}

std::string JoinedExport(const TFob& folder) {
    if (folder.Count() == 0) throw EKavloError(CannotJoin(folder, "it holds no objects."));
    std::vector<int> all(static_cast<size_t>(folder.Count()));
    std::iota(all.begin(), all.end(), 0);
    const std::vector<std::string> texts = ReadObjectTexts(folder, all, "join");
    const std::string& lineEnd = folder.Content().LineEnd.empty() ? std::string("\r\n") : folder.Content().LineEnd;
    size_t size = 3;
    for (const std::string& text : texts) size += text.size() + lineEnd.size();
    std::string out;
    out.reserve(size);
    if (folder.Content().Utf8) out = "\xEF\xBB\xBF";
    for (const std::string& text : texts) {
        out += text;
        out += lineEnd;
    }
    return out;
}

int JoinFolder(const TFob& folder, const std::string& output) {
    CheckJoinOutput(folder, output);
    WriteFileReplacing(output, JoinedExport(folder));
    return folder.Count();
}

}  // namespace kavlo
