// LoadObjectFile: one open of the file, the reader picked by the extension; a folder's text
// files read one by one and put together as the export they were split from.
#include "objfile/load_object_file.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "base/errors.h"
#include "objfile/object_types.h"
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

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// How the file's first line ends: "\r\n", "\n" or "\r"; empty when it has no line break.
std::string FirstLineEnd(ByteSource& file) {
    char block[4096];
    for (uint64_t at = 0; at < file.Size();) {
        const size_t got = file.ReadAt(at, block, sizeof block);
        if (got == 0) break;
        const std::string_view bytes(block, got);
        const size_t brk = bytes.find_first_of("\r\n");
        if (brk == std::string_view::npos) {
            at += got;
            continue;
        }
        if (bytes[brk] == '\n') return "\n";
        char next = 0;
        if (brk + 1 < got) next = bytes[brk + 1];
        else file.ReadAt(at + got, &next, 1);
        return next == '\n' ? "\r\n" : "\r";
    }
    return {};
}

std::string LineEndName(const std::string& lineEnd) {
    return lineEnd == "\r\n" ? "CR LF" : lineEnd == "\n" ? "LF" : lineEnd == "\r" ? "CR" : "no line break";
}

// The files of a folder must agree on a value (their encoding, their line ends): the index of
// the first file whose value is not the one most of them have (of equally many, the first
// file's), and of a file that has that value; none when they all agree.
template <typename T>
std::optional<std::pair<size_t, size_t>> OddOne(const std::vector<T>& values) {
    std::map<T, size_t> counts;
    for (const T& v : values) ++counts[v];
    if (counts.size() < 2) return std::nullopt;
    T most = values.front();
    for (const auto& [v, n] : counts)
        if (n > counts[most]) most = v;
    const size_t odd = static_cast<size_t>(std::find_if(values.begin(), values.end(), [&](const T& v) { return v != most; }) - values.begin());
    const size_t usual = static_cast<size_t>(std::find(values.begin(), values.end(), most) - values.begin());
    return std::pair{odd, usual};
}

// Reads the folder's text files into the builder (see LoadObjectFile).
void ReadFolder(TFobBuilder& out, int fileNo, const std::string& folder, const Regional& regional,
                const LoadOptions& options) {
    std::vector<std::string> names, others;
    for (const FolderEntry& e : ListFolder(folder)) {
        // Subfolders are passed over: a folder of objects usually lives in a repository beside
        // others (and its own .git), which are not part of this export.
        if (e.IsFolder) continue;
        (TFob::ExtensionOf(e.Name) == ".txt" ? names : others).push_back(e.Name);
    }
    if (!others.empty() && !options.IgnoreOtherFiles) throw EOtherFilesError(folder, std::move(others));

    ContentSpans& content = out.Content();
    std::vector<TFobRec> fobs;
    std::vector<ObjectSpan> spans;
    std::vector<bool> utf8;
    std::vector<std::string> lineEnds;
    for (const std::string& name : names) {
        const std::string path = PathInFolder(folder, name);
        const std::unique_ptr<InputFile> file = InputFile::Open(path);
        const FileOrigin origin{fileNo, path, file->LastWriteTime(), file->Identity()};
        ReadResult read = ReadFileTxt(*file, origin, regional);
        try {
            if (read.Error) std::rethrow_exception(read.Error);
            if (file->ChangedSinceOpen()) throw EReadError(file->Size(), {}, ReadErrorCode::FileChanged);
        } catch (EObjectFileError& e) {
            e.SetFileName(path);  // the check, its offset and field stay for the caller
            throw;
        } catch (const EKavloError& e) {
            throw EKavloError(path + ": " + e.what());
        }
        if (read.File.Count() == 0) throw EKavloError("The file " + Quoted(path) + " holds no object");
        const uint32_t source = static_cast<uint32_t>(content.Sources.size());
        content.Sources.push_back({path, file->Size(), origin.FileTime, origin.FileId});
        const std::vector<ObjectSpan>& fileSpans = read.File.Content().Spans;
        for (int i = 0; i < read.File.Count(); ++i) {
            fobs.push_back(read.File.Fob(i));
            ObjectSpan span = static_cast<size_t>(i) < fileSpans.size() ? fileSpans[static_cast<size_t>(i)] : ObjectSpan{};
            span.Source = source;
            spans.push_back(span);
        }
        utf8.push_back(read.File.Content().Utf8);
        lineEnds.push_back(FirstLineEnd(*file));
    }

    if (const auto odd = OddOne(utf8)) {
        const auto [o, u] = *odd;
        throw EKavloError("The file " + Quoted(content.Sources[o].Name) +
                          (utf8[o] ? " starts with the UTF-8 byte-order mark and " : " does not start with the UTF-8 byte-order mark and ") +
                          Quoted(content.Sources[u].Name) + (utf8[o] ? " does not" : " does") +
                          ": the files of a folder must share one encoding");
    }
    if (const auto odd = OddOne(lineEnds)) {
        const auto [o, u] = *odd;
        throw EKavloError("The file " + Quoted(content.Sources[o].Name) + " ends its lines in " + LineEndName(lineEnds[o]) +
                          " and " + Quoted(content.Sources[u].Name) + " in " + LineEndName(lineEnds[u]) +
                          ": the files of a folder must share one line end");
    }

    // A whole-database export lists its objects in type and ID order; a file's own objects
    // keep their order among equal keys.
    std::vector<size_t> order(fobs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return CompareFobs(fobs[a], fobs[b]) < 0; });
    for (size_t k = 1; k < order.size(); ++k) {
        const size_t a = order[k - 1], b = order[k];
        if (CompareFobs(fobs[a], fobs[b]) != 0 || spans[a].Source == spans[b].Source) continue;
        throw EKavloError(std::string(ObjectTypeNames[static_cast<size_t>(fobs[a].ObjType)]) + " " +
                          std::to_string(fobs[a].ID) + " is in two files: " + Quoted(content.Sources[spans[a].Source].Name) +
                          " and " + Quoted(content.Sources[spans[b].Source].Name));
    }
    std::vector<TFobRec>& sorted = out.Fobs();
    sorted.reserve(order.size());
    content.Spans.reserve(order.size());
    for (const size_t i : order) {
        sorted.push_back(fobs[i]);
        content.Spans.push_back(spans[i]);
    }
    content.Utf8 = !utf8.empty() && utf8.front();
    // An empty folder: as the development environment writes its exports.
    content.LineEnd = lineEnds.empty() ? "\r\n" : lineEnds.front();
    content.CodePage = regional.oem ? regional.oem->CodePage() : 0;
}

}  // namespace

std::string OtherFileNames(const std::vector<std::string>& fileNames) {
    constexpr size_t kNamed = 10;
    std::string names;
    for (size_t i = 0; i < fileNames.size() && i < kNamed; ++i) names += (i ? ", " : "") + fileNames[i];
    if (fileNames.size() > kNamed) names += " and " + std::to_string(fileNames.size() - kNamed) + " more";
    return names;
}

EOtherFilesError::EOtherFilesError(const std::string& folder, std::vector<std::string> fileNames)
    : EKavloError("The folder " + Quoted(folder) + " holds files that are no object files (*.txt): " +
                  OtherFileNames(fileNames)),
      folder_(folder), fileNames_(std::move(fileNames)) {}

void LoadObjectFile(TFob& slot, int fileNo, const std::string& fileName, const Regional& regional,
                    const LoadOptions& options) {
    if (IsFolder(fileName)) {
        TFobBuilder folder(fileNo, fileName, ".txt");
        try {
            ReadFolder(folder, fileNo, fileName, regional, options);
        } catch (...) {
            slot = TFobBuilder(fileNo, fileName, ".txt").Finish();
            throw;
        }
        slot = folder.Finish();
        return;
    }
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
