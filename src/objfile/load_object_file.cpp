// LoadObjectFile: one open of the file, the reader picked by the extension.
#include "objfile/load_object_file.h"

#include <memory>
#include <utility>

#include "base/errors.h"
#include "objfile/readers.h"
#include "platform/file.h"

namespace kavlo {

TFobBuilder StartFile(const ByteSource& file, const FileOrigin& origin, const Regional& regional) {
    TFobBuilder b(origin.FileNo, origin.FileName);
    ContentSpans& c = b.Content();
    c.FileSize = file.Size();
    c.FileTime = origin.FileTime;
    c.FileId = origin.FileId;
    c.CodePage = regional.oem ? regional.oem->CodePage() : 0;
    return b;
}

void LoadObjectFile(TFob& slot, int fileNo, const std::string& fileName, const Regional& regional) {
    const std::string ext = TFob::ExtensionOf(fileName);
    using Reader = ReadResult (*)(ByteSource&, const FileOrigin&, const Regional&);
    Reader reader = nullptr;
    if (ext == ".fob") reader = ReadFileFob;
    else if (ext == ".fbk") reader = ReadFileFbk;
    else if (ext == ".txt") reader = ReadFileTxt;
    else if (ext == ".xml") reader = [](ByteSource& f, const FileOrigin& o, const Regional& r) { return ReadFileXml(f, o, r); };
    if (!reader) {
        slot = TFobBuilder(fileNo, fileName).Finish();
        return;
    }
    std::unique_ptr<InputFile> file;
    try {
        file = InputFile::Open(fileName);
    } catch (...) {
        slot = TFobBuilder(fileNo, fileName).Finish();
        throw;
    }
    const FileOrigin origin{fileNo, fileName, file->LastWriteTime(), file->Identity()};
    ReadResult read = reader(*file, origin, regional);
    slot = std::move(read.File);
    if (read.Error) std::rethrow_exception(read.Error);
    // Written to while it was read: what was read may mix two versions of the file. The
    // exports are read a line at a time and have no structure of their own that would tell.
    if ((ext == ".txt" || ext == ".xml") && file->ChangedSinceOpen())
        throw EReadError(file->Size(), {}, ReadErrorCode::FileChanged);
}

}  // namespace kavlo
