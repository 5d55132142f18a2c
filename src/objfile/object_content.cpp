// Objects' contents read back from their files by the spans the readers kept: the object's
// lines of a text or XML export (less its properties when asked), or a binary object's data.
#include "objfile/object_content.h"

#include <algorithm>

#include "base/errors.h"
#include "base/text_lines.h"
#include "platform/code_page.h"
#include "platform/file.h"

namespace kavlo {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsBlank(std::string_view s) { return Trimmed(s).empty(); }

std::string_view KindName(ContentKind kind) {
    switch (kind) {
        case ContentKind::Text: return "a text export";
        case ContentKind::Xml: return "an XML export";
        case ContentKind::Binary: break;
    }
    return "a binary object file";
}

// The text export's object: from the object line to its closing brace, the first line that
// begins with "}" (the blank lines before the next object are no part of it).
void TakeTextLines(std::string_view text, const ContentSpans& content, std::vector<std::string>& out) {
    LineSplitter lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        std::string ansi;
        if (content.Utf8) {
            ansi = Utf8ToAnsi(line);
        } else {
            ansi.assign(line);
            if (content.OemTable.size() == 256)
                for (char& c : ansi) c = content.OemTable[static_cast<unsigned char>(c)];
        }
        out.push_back(std::move(ansi));
        if (line.starts_with('}')) return;
    }
    while (!out.empty() && IsBlank(out.back())) out.pop_back();
}

// Leaves out the OBJECT-PROPERTIES block that stands right below the object's opening brace:
// its name line, its braces and the property lines between them.
void DropTextProperties(std::vector<std::string>& lines) {
    const size_t limit = std::min<size_t>(lines.size(), 4);
    for (size_t k = 1; k < limit; ++k) {
        if (Trimmed(lines[k]) != "OBJECT-PROPERTIES") continue;
        if (k + 1 >= lines.size() || Trimmed(lines[k + 1]) != "{") return;
        for (size_t e = k + 2; e < lines.size(); ++e) {
            if (Trimmed(lines[e]) == "}") {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(k),
                            lines.begin() + static_cast<std::ptrdiff_t>(e + 1));
                return;
            }
        }
        return;
    }
}

// Removes ` Name="…"` from a line of a start tag; true when it was there.
bool RemoveAttribute(std::string& line, std::string_view name) {
    std::string key = " ";
    key += name;
    key += "=\"";
    const size_t at = line.find(key);
    if (at == std::string::npos) return false;
    const size_t close = line.find('"', at + key.size());
    const size_t end = close == std::string::npos ? line.size() : close + 1;
    line.erase(at, end - at);
    return true;
}

// Leaves the property attributes out of the element's start tag, which runs up to the first
// double quote followed by ">"; a line of the tag that held nothing else goes with them.
void DropXmlProperties(std::vector<std::string>& lines) {
    static constexpr std::string_view kProperties[] = {"Date", "Time", "Modified", "VersionList"};
    for (size_t k = 0; k < lines.size();) {
        std::string& line = lines[k];
        const size_t tagEnd = line.find("\">");
        std::string tagPart = line.substr(0, tagEnd == std::string::npos ? line.size() : tagEnd + 1);
        bool removed = false;
        for (std::string_view name : kProperties) removed |= RemoveAttribute(tagPart, name);
        if (removed) line = tagPart + (tagEnd == std::string::npos ? std::string() : line.substr(tagEnd + 1));
        const bool last = tagEnd != std::string::npos;
        if (removed && k > 0 && IsBlank(line)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(k));
        } else {
            ++k;
        }
        if (last) return;
    }
}

void CheckUnchanged(const TFob& fob, const InputFile& file) {
    if (file.Size() != fob.Content.FileSize || file.LastWriteTime() != fob.Content.FileTime)
        throw EKavloError(FileChangedText(fob.FileName));
}

}  // namespace

std::string FileChangedText(const std::string& fileName) {
    return "The file \"" + fileName + "\" has changed since it was loaded. Load it again to compare contents";
}

ContentKind ContentKindOf(const TFob& fob) {
    if (fob.FileExt == ".txt") return ContentKind::Text;
    if (fob.FileExt == ".xml") return ContentKind::Xml;
    return ContentKind::Binary;
}

bool ContentsComparable(const TFob& a, const TFob& b) {
    for (const TFob* f : {&a, &b})
        if (f->FileExt != ".txt" && f->FileExt != ".xml" && f->FileExt != ".fob" && f->FileExt != ".fbk") return false;
    return ContentKindOf(a) == ContentKindOf(b);
}

std::string NotComparableText(const TFob& a, const TFob& b) {
    return "Contents not compared: file 1 is " + std::string(KindName(ContentKindOf(a))) + ", file 2 " +
           std::string(KindName(ContentKindOf(b))) + "; objects are compared by their fields alone";
}

TContentReader::TContentReader(const TFob& fob) : fob_(fob) {}
TContentReader::~TContentReader() = default;

ObjectContent TContentReader::Read(int index, bool withProperties) {
    KAVLO_CHECK(index >= 0 && index < fob_.Count(), "Object index out of range", kFobFileUnit);
    ObjectContent content;
    content.Kind = ContentKindOf(fob_);
    const std::vector<ObjectSpan>& spans = fob_.Content.Spans;
    if (static_cast<size_t>(index) >= spans.size()) return content;
    const ObjectSpan span = spans[static_cast<size_t>(index)];
    if (span.End <= span.Begin) return content;

    if (!file_) {
        file_ = InputFile::Open(fob_.FileName);
        CheckUnchanged(fob_, *file_);
    }
    if (span.End > file_->Size() || span.End - span.Begin > SIZE_MAX / 2) throw EKavloError(FileChangedText(fob_.FileName));
    std::string bytes(static_cast<size_t>(span.End - span.Begin), '\0');
    if (file_->ReadAt(span.Begin, bytes.data(), bytes.size()) != bytes.size())
        throw EKavloError(FileChangedText(fob_.FileName));

    switch (content.Kind) {
        case ContentKind::Binary:
            content.Bytes = std::move(bytes);
            break;
        case ContentKind::Text:
            // The span starts at the object line the reader took; anything else there means
            // the file is no longer the one that was read.
            if (!std::string_view(bytes).starts_with("OBJECT")) throw EKavloError(FileChangedText(fob_.FileName));
            TakeTextLines(bytes, fob_.Content, content.Lines);
            if (!withProperties) DropTextProperties(content.Lines);
            break;
        case ContentKind::Xml: {
            if (!std::string_view(bytes).starts_with('<')) throw EKavloError(FileChangedText(fob_.FileName));
            LineSplitter lines(bytes);
            std::string_view line;
            while (lines.Next(line)) content.Lines.push_back(Utf8ToAnsi(line));
            if (!withProperties) DropXmlProperties(content.Lines);
            break;
        }
    }
    return content;
}

ObjectContent ReadObjectContent(const TFob& fob, int index, bool withProperties) {
    TContentReader reader(fob);
    return reader.Read(index, withProperties);
}

}  // namespace kavlo
