#include "folder/object_texts.h"

#include <memory>

#include "base/errors.h"
#include "objfile/object_content.h"
#include "objfile/object_types.h"
#include "platform/file.h"

namespace kavlo {

namespace {

constexpr uint64_t kUtf8MarkSize = 3;

// The files of a load as the check of the text between objects reads them: the export itself,
// or the folder's files, one open at a time, each checked to be the one loaded.
class SourceBytes {
public:
    explicit SourceBytes(const TFob& fob) : fob_(fob) {}

    std::string Name(uint32_t source) const {
        const ContentSpans& c = fob_.Content();
        return c.Sources.empty() ? fob_.FileName() : c.Sources[source].Name;
    }

    // The bytes [begin, end) of the file; empty when end <= begin.
    std::string Read(uint32_t source, uint64_t begin, uint64_t end) {
        if (end <= begin) return {};
        if (!file_ || source != open_) {
            CheckUnchanged();
            const ContentSpans& c = fob_.Content();
            file_ = InputFile::Open(Name(source));
            open_ = source;
            const bool same = c.Sources.empty()
                                  ? file_->Identity() == c.FileId && file_->Size() == c.FileSize && file_->LastWriteTime() == c.FileTime
                                  : file_->Identity() == c.Sources[source].FileId && file_->Size() == c.Sources[source].FileSize &&
                                        file_->LastWriteTime() == c.Sources[source].FileTime;
            if (!same) throw EKavloError(FileChangedText(Name(source)));
        }
        std::string bytes(static_cast<size_t>(end - begin), '\0');
        if (file_->ReadAt(begin, bytes.data(), bytes.size()) != bytes.size()) throw EKavloError(FileChangedText(Name(open_)));
        return bytes;
    }

    void CheckUnchanged() {
        if (file_ && file_->ChangedSinceOpen()) throw EKavloError(FileChangedText(Name(open_)));
    }

private:
    const TFob& fob_;
    std::unique_ptr<InputFile> file_;
    uint32_t open_ = 0;
};

}  // namespace

std::string ObjectTitle(const TFobRec& rec) {
    std::string title = std::string(ObjectTypeNames[static_cast<size_t>(rec.ObjType)]) + " " + std::to_string(rec.ID);
    if (!rec.Name.empty()) title += " " + rec.Name.str();
    return title;
}

std::vector<std::string> ReadObjectTexts(const TFob& fob, const std::vector<int>& indices, const std::string& verb) {
    const ContentSpans& content = fob.Content();
    const bool folder = !content.Sources.empty();
    SourceBytes sources(fob);
    const auto lost = [&](const std::string& where, uint32_t source) {
        return EKavloError("Cannot " + verb + " \"" + fob.FileName() + "\": the text " + where +
                           (folder ? " in \"" + sources.Name(source) + "\"" : "") + " belongs to no object and would be lost.");
    };
    // Where each file's first object begins: what lies before it is no object's.
    std::vector<uint64_t> firstBegin(folder ? content.Sources.size() : 1, UINT64_MAX);
    for (const ObjectSpan& s : content.Spans)
        if (s.Source < firstBegin.size()) firstBegin[s.Source] = std::min(firstBegin[s.Source], s.Begin);
    const uint64_t mark = content.Utf8 ? kUtf8MarkSize : 0;

    TContentReader reader(fob);
    std::vector<std::string> texts;
    texts.reserve(indices.size());
    std::vector<bool> leadChecked(firstBegin.size());
    for (int i : indices) {
        std::string text = reader.ReadText(i);
        if (static_cast<size_t>(i) < content.Spans.size()) {
            const ObjectSpan& span = content.Spans[static_cast<size_t>(i)];
            if (span.Source < firstBegin.size() && !leadChecked[span.Source]) {
                leadChecked[span.Source] = true;
                if (!TrimBlanks(sources.Read(span.Source, mark, firstBegin[span.Source])).empty())
                    throw lost(folder ? "before the file's first object" : "before its first object", span.Source);
            }
            if (!TrimBlanks(sources.Read(span.Source, span.Begin + text.size(), span.End)).empty())
                throw lost("after the end of " + ObjectTitle(fob.Fob(i)), span.Source);
        }
        texts.push_back(std::move(text));
    }
    reader.CheckUnchanged();
    sources.CheckUnchanged();
    return texts;
}

}  // namespace kavlo
