// The text export (.txt): each object starts with a line "OBJECT <type> <ID> <name>", and its
// property block stands at fixed distances below it: the opening brace three lines down, then
// the date, the time, an optional modified line and the version list. The reader goes by
// position only; it never looks at the property names or at the object's body. Its texts are
// in the OEM code page, or in UTF-8 when the file starts with the UTF-8 byte-order mark (as
// editors and source control often save it).
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "base/text_lines.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"
#include "platform/code_page.h"
#include "platform/memory.h"

namespace kavlo {

namespace {

// An object line takes the eight lines below it, so a window of nine lines slides over the
// file; the last eight lines of a file are never taken as an object line.
constexpr size_t kWindow = 9;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

char CharAt(std::string_view s, size_t i) { return i < s.size() ? s[i] : '\0'; }

std::string_view Mid(std::string_view s, size_t from, size_t count) {
    return from < s.size() ? s.substr(from, count) : std::string_view();
}

// The part of an object line after "OBJECT " may stand in square brackets.
std::string Unbracket(std::string_view line) {
    std::string s(line);
    if (s.size() > 8 && s[7] == '[' && s.back() == ']') {
        s.pop_back();
        s.erase(7, 1);
    }
    return s;
}

// The value of a property line "Key=Value;": the text after the first "=", less a final ";",
// less a pair of square brackets around it. A line without "=" is taken whole.
std::string_view PropertyValue(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos) line.remove_prefix(eq + 1);
    if (line.ends_with(';')) line.remove_suffix(1);
    if (line.starts_with('[') && line.ends_with(']')) line = line.substr(1, line.size() - 2);
    return line;
}

// Reads the object whose line is lines[0]; false when the line names no object. Raises when
// the property block does not open three lines down (`braceLineAt` is where that line starts in
// the file). `oem` is false for lines that are already ANSI (those of a UTF-8 file).
bool ReadObject(const std::array<std::string_view, kWindow>& lines, uint64_t braceLineAt, int32_t fileNo,
                const Regional& regional, bool oem, TFobRec& rec) {
    if (!lines[0].starts_with("OBJECT")) return false;
    const std::string l = Unbracket(lines[0]);

    std::string_view typeWord = Mid(l, 7, 10);
    typeWord = typeWord.substr(0, typeWord.find(' '));
    if (!IsFobType(typeWord)) return false;

    std::string_view rest = Mid(l, 7, 123);
    if (const size_t blank = rest.find(' '); blank != std::string_view::npos) rest.remove_prefix(blank + 1);
    int32_t id = 0;
    if (const size_t blank = rest.find(' '); blank != std::string_view::npos) {
        id = WholeNumberValue(rest.substr(0, blank));
        rest.remove_prefix(blank + 1);
    }
    const std::string_view name = rest.substr(0, 30);

    Expect(CharAt(lines[3], 2) == '{', ReadErrorCode::PropertyBrace, braceLineAt + 2, "property block brace",
           static_cast<uint8_t>(CharAt(lines[3], 2)));

    const std::string_view dateText = PropertyValue(lines[4]);
    const std::string_view timeText = PropertyValue(lines[5]);
    // Without a modified line the version list is followed directly by the closing brace.
    const bool hasModifiedLine = CharAt(lines[7], 2) != '}';
    const std::string_view versionLine = hasModifiedLine ? lines[7] : lines[6];
    const std::string_view version = PropertyValue(versionLine).substr(0, 248);

    rec = TFobRec{};
    rec.FileNo = fileNo;
    rec.ObjType = FobTypeIndex(typeWord);
    rec.ID = id;
    rec.Name.assign(oem ? regional.oem->OemToAnsi(name) : std::string(name));
    rec.VersionList.assign(oem ? regional.oem->OemToAnsi(version) : std::string(version));
    rec.DateStr.assign(dateText);
    rec.TimeStr.assign(timeText);
    rec.Date = LocalDateValue(dateText, regional.format);
    rec.Time = LocalTimeValue(timeText, regional.format);
    ApplyDateTimeTexts(rec, regional.format);
    // Only the presence of the line counts, not what it says.
    rec.Modified = hasModifiedLine && !lines[6].empty();
    return true;
}

void ReadTxt(ByteSource& file, TFobBuilder& out, const Regional& regional) {
    // The list holds exactly the records stored so far at every moment, so that a failure
    // leaves the objects read before it. Room is kept for one object per 4 KB of file from the
    // start, up to a 1 GB file (room never written takes address space, not memory), and beyond
    // that the list grows geometrically: a large export then costs no repeated copying, and no
    // copy to cut it to size either. The room is asked for in large pages: filling it then
    // costs a page fault per 2 MB, not per 4 KB.
    std::vector<TFobRec>& fobs = out.Fobs();
    fobs.reserve(static_cast<size_t>(std::min<uint64_t>(file.Size() / 4096, size_t{1} << 18)));
    AdviseLargePages(fobs.data(), fobs.capacity() * sizeof(TFobRec));
    char start[kUtf8Mark.size()] = {};
    const size_t got = file.ReadAt(0, start, sizeof start);
    const bool utf8 = std::string_view(start, got) == kUtf8Mark;
    out.Content().Utf8 = utf8;
    std::vector<ObjectSpan>& spans = out.Content().Spans;

    // The file is read through a window of the last nine lines, never held whole.
    LineReader lines(file, utf8 ? kUtf8Mark.size() : 0, kWindow);
    std::array<std::string_view, kWindow> window;
    // The lines of a UTF-8 file are converted whole before an object is read from them, so
    // that the positions and widths of the reading count characters, not bytes.
    std::array<std::string, kWindow> converted;
    // Bit k: the line k lines up from the last one read begins with "OBJECT". Each line is
    // looked at once, as it is read; most are rejected by their start.
    uint32_t objectLines = 0;
    size_t count = 0;  // lines read and passed over (a skip counts one): are there nine yet?
    std::string_view line;
    for (;;) {
        // While no object line waits for the lines below it, lines that cannot be one are
        // passed over without being read (most of a file: the objects' bodies).
        if ((objectLines & ((1u << (kWindow - 1)) - 1)) == 0) {
            if (lines.SkipLinesNotBeginningWith('O')) {
                ++count;  // at least one line passed
                objectLines = 0;
            }
        }
        if (!lines.Next(line)) break;
        objectLines = objectLines << 1 | (line.starts_with("OBJECT") ? 1u : 0u);
        ++count;
        // The line eight lines up is the candidate.
        if (count < kWindow || !(objectLines & 1u << (kWindow - 1))) continue;
        for (size_t k = 0; k < kWindow; ++k) {
            window[k] = lines.Recent(kWindow - 1 - k);
            if (utf8) window[k] = converted[k] = Utf8ToAnsi(window[k]);
        }
        TFobRec rec;
        if (ReadObject(window, lines.Offset(kWindow - 1 - 3), out.FileNo(), regional, !utf8, rec)) {
            fobs.push_back(rec);
            // An object's text runs from its object line to the next object's, or to the end.
            const uint64_t begin = lines.Offset(kWindow - 1);
            if (!spans.empty()) spans.back().End = begin;
            spans.push_back({begin, file.Size()});
        }
    }
}

}  // namespace

ReadResult ReadFileTxt(ByteSource& file, const FileOrigin& origin, const Regional& regional) {
    TFobBuilder out = StartFile(file, origin, regional);
    return FinishRead(out, [&] { ReadTxt(file, out, regional); });
}

}  // namespace kavlo
