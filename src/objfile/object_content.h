// An object's content, read back from its file through the spans that the readers kept: the
// lines of a text or XML export's object, or the stored data of an object in a binary file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "objfile/fob.h"

namespace kavlo {

class InputFile;

enum class ContentKind { Text, Xml, Binary };

struct ObjectContent {
    ContentKind Kind = ContentKind::Text;
    // Text and Xml: the object's lines without line ends, in UTF-8 that keeps every character:
    // an OEM export's converted through its code page, a UTF-8 or XML export's as they stand
    // (bytes that are no valid UTF-8 kept as KeepUtf8 does, platform/code_page.h). Tabs stay.
    std::vector<std::string> Lines;
    std::string Bytes;               // Binary: the object's stored data (compared, never shown)
};

inline bool operator==(const ObjectContent& a, const ObjectContent& b) {
    return a.Kind == b.Kind && a.Lines == b.Lines && a.Bytes == b.Bytes;
}

// The kind of content of a loaded file's objects, by its extension: .txt Text, .xml Xml,
// .fob and .fbk Binary.
ContentKind ContentKindOf(const TFob& fob);

// Both text exports, both XML exports, or both backups. An object file's objects have no
// content of their own to compare: the format does not divide the objects' definitions per
// object, so two .fob files are compared by their fields alone.
bool ContentsComparable(const TFob& a, const TFob& b);

// Why two loaded files' contents cannot be compared, as kavlo and the window say it:
// "Contents not compared: file 1 is a text export, file 2 an XML export; objects are compared
// by their fields alone."
std::string NotComparableText(const TFob& a, const TFob& b);

// Record `index` of `fob`: its content read back from fob.FileName through the spans the
// readers kept. withProperties=false leaves the OBJECT-PROPERTIES (Date, Time, Modified,
// Version List) out. A file that changed since loading gives a clear EKavloError.
//
// Text: the lines from the object line to the object's closing brace (the first line that
// begins with "}"). Xml: the element's lines from its start tag to its closing tag; without
// properties the Date, Time, Modified and VersionList attributes are left out of the start
// tag. Binary: a backup object's data blocks, or the part of an object file's entry behind its
// version list (its property block, trailer and closing, not the object's definition: not
// compared); name, flags, date, time and version list are not part of it. A record for which
// nothing was kept (table data) has an empty content. The file is checked again after the
// read (TContentReader::CheckUnchanged).
ObjectContent ReadObjectContent(const TFob& fob, int index, bool withProperties = false);

// Reads the contents of many records of one loaded file, the file kept open between them (the
// content comparison and kavlo diff read thousands). Checks when the first content is read
// that the file is the one that was loaded (the same file, size and last write time); the
// caller calls CheckUnchanged after the last read, so that an answer never rests on text
// written while it was being read. Of a folder load, each span is read from its own file,
// opened when first needed and kept open until a span of another file is read; each file is
// checked when opened, and the file that changed is the one named.
class TContentReader {
public:
    explicit TContentReader(const TFob& fob);
    ~TContentReader();
    TContentReader(const TContentReader&) = delete;
    TContentReader& operator=(const TContentReader&) = delete;

    ObjectContent Read(int index, bool withProperties = false);
    // A text export's object as its bytes stand in the file, in the file's encoding and line
    // ends: from its object line through the line break after its closing brace (the first
    // line that begins with "}"), so without the blank lines that separate it from the next
    // object. An object without such a line runs to the end of its last line that is not
    // blank, its line break included. Empty for a record that kept no span.
    // With `rest`: what follows that text in the object's span (the blank lines before the
    // next object, or text that belongs to no object) goes there.
    std::string ReadText(int index, std::string* rest = nullptr);
    // The bytes [begin, end) of a file that the load read: of a folder load its file `source`,
    // else the file itself (source 0). Read through the file kept open, as ReadText reads.
    std::string ReadRange(uint32_t source, uint64_t begin, uint64_t end);
    // Raises FileChangedText when the file was written to since it was opened, or its name now
    // leads to another file, or one of another size or time than the one loaded; of a folder,
    // for each of its files that was read. Nothing to check when nothing was read.
    void CheckUnchanged();

private:
    friend bool ContentsEqual(TContentReader&, int, TContentReader&, int, bool);
    ObjectSpan SpanOf(int index) const;
    void OpenFileOf(const ObjectSpan& span);
    const std::string& OpenFileName() const;
    std::string ReadSpan(const ObjectSpan& span);

    const TFob& fob_;
    std::unique_ptr<InputFile> file_;
    uint32_t source_ = 0;             // a folder load: the file that file_ is
    std::vector<bool> sourcesRead_;   // a folder load: the files read, by index
};

// Record indexA of a's file and record indexB of b's have equal contents, as Read gives them:
// the same answer as comparing the two reads, in much less time when they are equal.
bool ContentsEqual(TContentReader& a, int indexA, TContentReader& b, int indexB, bool withProperties = false);

// The text that a file changed since loading raises; of a folder load, the name is that of the
// object file in it that changed.
std::string FileChangedText(const std::string& fileName);

}  // namespace kavlo
