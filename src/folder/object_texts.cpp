#include "folder/object_texts.h"

#include <memory>

#include "base/errors.h"
#include "objfile/object_content.h"
#include "objfile/object_types.h"
#include "platform/file.h"

namespace kavlo {

namespace {

constexpr uint64_t kUtf8MarkSize = 3;

}  // namespace

std::string ObjectTitle(const TFobRec& rec) {
    std::string title = std::string(ObjectTypeNames[static_cast<size_t>(rec.ObjType)]) + " " + std::to_string(rec.ID);
    if (!rec.Name.empty()) title += " " + rec.Name.str();
    return title;
}

std::vector<std::string> ReadObjectTexts(const TFob& fob, const std::vector<int>& indices, const std::string& verb) {
    const ContentSpans& content = fob.Content();
    const bool folder = !content.Sources.empty();
    const auto lost = [&](const std::string& where, uint32_t source) {
        return EKavloError("Cannot " + verb + " \"" + fob.FileName() + "\": the text " + where +
                           (folder ? " in \"" + content.Sources[source].Name + "\"" : "") +
                           " belongs to no object and would be lost.");
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
    std::string rest;
    for (int i : indices) {
        std::string text = reader.ReadText(i, &rest);
        if (static_cast<size_t>(i) < content.Spans.size()) {
            const ObjectSpan& span = content.Spans[static_cast<size_t>(i)];
            if (span.Source < firstBegin.size() && !leadChecked[span.Source]) {
                leadChecked[span.Source] = true;
                if (!TrimBlanks(reader.ReadRange(span.Source, mark, firstBegin[span.Source])).empty())
                    throw lost(folder ? "before the file's first object" : "before its first object", span.Source);
            }
            if (!TrimBlanks(rest).empty())
                throw lost("after the end of " + ObjectTitle(fob.Fob(i)), span.Source);
        }
        texts.push_back(std::move(text));
    }
    reader.CheckUnchanged();
    return texts;
}

}  // namespace kavlo
