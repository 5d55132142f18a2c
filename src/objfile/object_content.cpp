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

bool IsBlank(std::string_view s) { return TrimSpaces(s).empty(); }

std::string_view KindName(const TFob& fob) {
    if (fob.FileExt() == ".txt") return "a text export";
    if (fob.FileExt() == ".xml") return "an XML export";
    if (fob.FileExt() == ".fob") return "an object file";
    if (fob.FileExt() == ".fbk") return "a backup";
    return "no object file";
}

// The text export's object, as it stands in the file: from the object line to its closing
// brace, the first line that begins with "}" (the blank lines before the next object are no
// part of it).
void TextLineViews(std::string_view text, std::vector<std::string_view>& out) {
    out.clear();
    LineSplitter lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        out.push_back(line);
        if (line.starts_with('}')) return;
    }
    while (!out.empty() && IsBlank(out.back())) out.pop_back();
}

// A line as the comparison and the diff take it: UTF-8 that keeps every character. A UTF-8
// export's line as it stands (bytes that are no valid UTF-8 kept, see KeepUtf8), an OEM
// export's converted through the load's code page.
std::string ToUtf8(std::string_view line, const ContentSpans& content) {
    if (content.Utf8) return KeepUtf8(line);
    return OemToUtf8(content.CodePage, line);
}

// The two files' texts are in one encoding, so equal bytes are equal characters and different
// bytes different ones: the conversions are one to one.
bool SameEncoding(const TFob& a, const TFob& b) {
    const ContentKind kind = ContentKindOf(a);
    if (kind != ContentKindOf(b)) return false;
    if (kind == ContentKind::Xml) return true;  // always UTF-8
    return a.Content().Utf8 == b.Content().Utf8 && (a.Content().Utf8 || a.Content().CodePage == b.Content().CodePage);
}

// Leaves out the OBJECT-PROPERTIES block that stands right below the object's opening brace:
// its name line, its braces and the property lines between them.
template <typename Line>
void DropTextProperties(std::vector<Line>& lines) {
    const size_t limit = std::min<size_t>(lines.size(), 4);
    for (size_t k = 1; k < limit; ++k) {
        if (TrimSpaces(lines[k]) != "OBJECT-PROPERTIES") continue;
        if (k + 1 >= lines.size() || TrimSpaces(lines[k + 1]) != "{") return;
        for (size_t e = k + 2; e < lines.size(); ++e) {
            if (TrimSpaces(lines[e]) == "}") {
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

// The open file is the one that was loaded: the same file (not another that the name points
// to now), of the same size and last write time.
void CheckIsLoadedFile(const std::string& name, uint64_t size, int64_t time, const FileIdentity& id,
                       const InputFile& file) {
    if (file.Identity() != id || file.Size() != size || file.LastWriteTime() != time)
        throw EKavloError(FileChangedText(name));
}

// Opens the file by its name again and checks that it is still the one loaded.
void CheckStillLoadedFile(const std::string& name, uint64_t size, int64_t time, const FileIdentity& id) {
    std::unique_ptr<InputFile> now;
    try {
        now = InputFile::Open(name);
    } catch (const EKavloError&) {
        throw EKavloError(FileChangedText(name));  // removed or made unreadable
    }
    CheckIsLoadedFile(name, size, time, id, *now);
}

}  // namespace

std::string FileChangedText(const std::string& fileName) {
    return "The file \"" + fileName + "\" has changed since it was loaded. Load it again to compare contents";
}

ContentKind ContentKindOf(const TFob& fob) {
    if (fob.FileExt() == ".txt") return ContentKind::Text;
    if (fob.FileExt() == ".xml") return ContentKind::Xml;
    return ContentKind::Binary;
}

// Binary contents are comparable only within one format, and only in backups: a backup keeps
// each object's data blocks, an object file does not divide its objects' definitions per
// object (what follows an entry's version list is its property block, trailer and closing, a
// few dozen bytes that do not hold the code).
bool ContentsComparable(const TFob& a, const TFob& b) {
    for (const TFob* f : {&a, &b})
        if (f->FileExt() != ".txt" && f->FileExt() != ".xml" && f->FileExt() != ".fbk") return false;
    return a.FileExt() == b.FileExt();
}

std::string NotComparableText(const TFob& a, const TFob& b) {
    if (a.FileExt() == ".fob" && b.FileExt() == ".fob")
        return "Contents not compared: object files do not keep each object's definition apart; objects are "
               "compared by their fields alone";
    return "Contents not compared: file 1 is " + std::string(KindName(a)) + ", file 2 " + std::string(KindName(b)) +
           "; objects are compared by their fields alone";
}

TContentReader::TContentReader(const TFob& fob) : fob_(fob) {}
TContentReader::~TContentReader() = default;

ObjectSpan TContentReader::SpanOf(int index) const {
    KAVLO_CHECK(index >= 0 && index < fob_.Count(), "Object index out of range", kFobFileUnit);
    const std::vector<ObjectSpan>& spans = fob_.Content().Spans;
    if (static_cast<size_t>(index) >= spans.size()) return {};
    const ObjectSpan span = spans[static_cast<size_t>(index)];
    return span.End <= span.Begin ? ObjectSpan{} : span;
}

const std::string& TContentReader::OpenFileName() const {
    const std::vector<SourceFile>& sources = fob_.Content().Sources;
    return sources.empty() ? fob_.FileName() : sources[source_].Name;
}

void TContentReader::OpenFileOf(const ObjectSpan& span) {
    const ContentSpans& content = fob_.Content();
    if (content.Sources.empty()) {
        if (file_) return;
        file_ = InputFile::Open(fob_.FileName());
        CheckIsLoadedFile(fob_.FileName(), content.FileSize, content.FileTime, content.FileId, *file_);
        return;
    }
    // A folder load: the span's own file, kept open for the spans that follow in it (a
    // comparison reads the objects in list order, each file's together).
    KAVLO_CHECK(span.Source < content.Sources.size(), "Object source out of range", kFobFileUnit);
    if (file_ && source_ == span.Source) return;
    if (file_ && file_->ChangedSinceOpen()) throw EKavloError(FileChangedText(OpenFileName()));
    file_.reset();
    const SourceFile& source = content.Sources[span.Source];
    std::unique_ptr<InputFile> file = InputFile::Open(source.Name);
    CheckIsLoadedFile(source.Name, source.FileSize, source.FileTime, source.FileId, *file);
    file_ = std::move(file);
    source_ = span.Source;
    if (sourcesRead_.empty()) sourcesRead_.resize(content.Sources.size());
    sourcesRead_[source_] = true;
}

std::string TContentReader::ReadRange(uint32_t source, uint64_t begin, uint64_t end) {
    if (end <= begin) return {};
    OpenFileOf({begin, end, source});
    if (end > file_->Size() || end - begin > SIZE_MAX / 2) throw EKavloError(FileChangedText(OpenFileName()));
    std::string bytes(static_cast<size_t>(end - begin), '\0');
    if (file_->ReadAt(begin, bytes.data(), bytes.size()) != bytes.size())
        throw EKavloError(FileChangedText(OpenFileName()));
    return bytes;
}

std::string TContentReader::ReadSpan(const ObjectSpan& span) {
    if (span.End <= span.Begin) return {};
    std::string bytes = ReadRange(span.Source, span.Begin, span.End);
    // A text export's span starts at the object line the reader took, an XML export's at a
    // start tag; anything else there means the file is no longer the one that was read.
    const ContentKind kind = ContentKindOf(fob_);
    if ((kind == ContentKind::Text && !std::string_view(bytes).starts_with("OBJECT")) ||
        (kind == ContentKind::Xml && !std::string_view(bytes).starts_with('<')))
        throw EKavloError(FileChangedText(OpenFileName()));
    return bytes;
}

ObjectContent TContentReader::Read(int index, bool withProperties) {
    ObjectContent content;
    content.Kind = ContentKindOf(fob_);
    const ObjectSpan span = SpanOf(index);
    if (span.End <= span.Begin) return content;

    const std::string bytes = ReadSpan(span);
    switch (content.Kind) {
        case ContentKind::Binary:
            content.Bytes = std::move(bytes);
            break;
        case ContentKind::Text: {
            std::vector<std::string_view> views;
            TextLineViews(bytes, views);
            content.Lines.reserve(views.size());
            for (std::string_view line : views) content.Lines.push_back(ToUtf8(line, fob_.Content()));
            if (!withProperties) DropTextProperties(content.Lines);
            break;
        }
        case ContentKind::Xml: {
            LineSplitter lines(bytes);
            std::string_view line;
            while (lines.Next(line)) content.Lines.push_back(KeepUtf8(line));
            if (!withProperties) DropXmlProperties(content.Lines);
            break;
        }
    }
    return content;
}

std::string TContentReader::ReadText(int index, std::string* rest) {
    std::string bytes = ReadSpan(SpanOf(index));
    // The end of the line at `at` with its line break (CR LF, LF or CR).
    const auto lineEnd = [&](size_t at) {
        size_t next = at + FindLineBreak(bytes.data() + at, bytes.size() - at);
        if (next < bytes.size()) next += bytes.compare(next, 2, "\r\n") == 0 ? 2 : 1;
        return next;
    };
    // The closing brace: the first line that begins with "}". The object line does not, so it
    // follows a line break; a file's lines end in LF (or CR LF) or, rarely, in CR alone.
    size_t brace = bytes.find("\n}");
    if (brace == std::string::npos) brace = bytes.find("\r}");
    size_t keep = 0;
    if (brace != std::string::npos) {
        keep = lineEnd(brace + 1);
    } else {
        // No closing brace: through the last line that is not blank.
        for (size_t at = 0; at < bytes.size();) {
            const size_t next = lineEnd(at);
            if (!IsBlank(std::string_view(bytes.data() + at, FindLineBreak(bytes.data() + at, next - at)))) keep = next;
            at = next;
        }
    }
    if (rest) rest->assign(bytes, keep);
    bytes.resize(keep);
    return bytes;
}

void TContentReader::CheckUnchanged() {
    if (!file_) return;
    // The open file written to meanwhile, or the name pointing at another file now; of a
    // folder, every file that was read.
    if (file_->ChangedSinceOpen()) throw EKavloError(FileChangedText(OpenFileName()));
    const ContentSpans& content = fob_.Content();
    if (content.Sources.empty()) {
        CheckStillLoadedFile(fob_.FileName(), content.FileSize, content.FileTime, content.FileId);
        return;
    }
    for (size_t i = 0; i < sourcesRead_.size(); ++i) {
        if (!sourcesRead_[i]) continue;
        const SourceFile& source = content.Sources[i];
        CheckStillLoadedFile(source.Name, source.FileSize, source.FileTime, source.FileId);
    }
}

bool ContentsEqual(TContentReader& a, int indexA, TContentReader& b, int indexB, bool withProperties) {
    const TFob& fa = a.fob_;
    const TFob& fb = b.fob_;
    // Text exports in one encoding: their lines as they stand in the files are compared,
    // without converting or copying them. Most pairs are equal, and equal bytes are equal
    // contents; the conversion is one to one, so different lines are different contents.
    if (ContentKindOf(fa) == ContentKind::Text && SameEncoding(fa, fb)) {
        const std::string bytesA = a.ReadSpan(a.SpanOf(indexA));
        const std::string bytesB = b.ReadSpan(b.SpanOf(indexB));
        if (bytesA == bytesB) return true;
        std::vector<std::string_view> linesA, linesB;
        TextLineViews(bytesA, linesA);
        TextLineViews(bytesB, linesB);
        if (!withProperties) {
            DropTextProperties(linesA);
            DropTextProperties(linesB);
        }
        return linesA == linesB;
    }
    return a.Read(indexA, withProperties) == b.Read(indexB, withProperties);
}

ObjectContent ReadObjectContent(const TFob& fob, int index, bool withProperties) {
    TContentReader reader(fob);
    ObjectContent content = reader.Read(index, withProperties);
    reader.CheckUnchanged();
    return content;
}

}  // namespace kavlo
