// The XML export (.xml): form, report and page elements inside an <Objects> root, their data
// in the attributes of each start tag. This is no XML parser: a small state machine scans the
// text for fixed tag beginnings, a few lines at a time, and passes over each element's body by
// searching for its closing tag.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/text_lines.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"
#include "platform/code_page.h"
#include "platform/file.h"

namespace kavlo {

namespace {

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    if (s.find(from) == std::string::npos) return;
    std::string out;
    out.reserve(s.size());
    size_t p = 0;
    for (size_t hit; (hit = s.find(from, p)) != std::string::npos; p = hit + from.size()) {
        out.append(s, p, hit - p);
        out += to;
    }
    out.append(s, p, std::string::npos);
    s = std::move(out);
}

// The decoded value of one attribute of a start tag; empty when it is missing. The key begins
// with a blank, so that PageID does not answer for ID. The entities are replaced one kind after
// another in this order; "&amp;" third, so "&amp;quot;" ends up as a double quote.
std::string XmlAttribute(std::string_view tag, std::string_view name) {
    std::string key = " ";
    key += name;
    key += "=\"";
    const size_t at = tag.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view value = tag.substr(at + key.size());
    value = value.substr(0, value.find('"'));
    std::string s(value);
    ReplaceAll(s, "&lt;", "<");
    ReplaceAll(s, "&gt;", ">");
    ReplaceAll(s, "&amp;", "&");
    ReplaceAll(s, "&apos;", "'");
    ReplaceAll(s, "&quot;", "\"");
    return s;
}

// The not yet consumed text of the lines (or pieces of lines) fetched so far. Dropping from
// the front only moves the view. When nothing is pending, an appended line is referred to
// where it stands in the line reader's buffer instead of being copied; what is left of it is
// copied (Own) before a next line is read. Otherwise the pending text is copied once, and the
// consumed bytes are given back when they outweigh it: every byte is moved at most once more,
// and the scan stays linear.
//
// Since lines are joined without their breaks, the buffer also keeps where each appended line
// stands in the file, so that a place in the buffer can be told as a place in the file.
class ScanBuffer {
public:
    std::string_view View() const { return view_; }
    size_t Size() const { return view_.size(); }
    void Drop(size_t n) {
        n = std::min(n, view_.size());
        view_.remove_prefix(n);
        dropped_ += n;
    }
    void KeepLast(size_t n) {
        if (view_.size() > n) Drop(view_.size() - n);
    }
    // The file offset of the byte at `pos` of the view.
    uint64_t FileOffset(size_t pos) {
        ForgetConsumedLines();
        const uint64_t at = dropped_ + pos;
        size_t k = firstLine_;
        while (k + 1 < lines_.size() && lines_[k + 1].at <= at) ++k;
        return lines_[k].file + (at - lines_[k].at);
    }
    // Copies pending text that still refers to a line, before that line is given up.
    void Own() {
        if (!borrowed_) return;
        buf_.assign(view_);
        view_ = buf_;
        borrowed_ = false;
    }
    // `line` must stay valid until the next Own or Append, and `fileOffset` is where it starts
    // in the file.
    void Append(std::string_view line, uint64_t fileOffset) {
        if (line.empty()) return;
        ForgetConsumedLines();
        lines_.push_back({appended_, fileOffset});
        appended_ += line.size();
        if (view_.empty()) {
            view_ = line;
            borrowed_ = true;
            return;
        }
        const size_t pending = view_.size();
        if (borrowed_) {
            buf_.assign(view_);
            borrowed_ = false;
        } else {
            // The pending text is always the end of buf_: only its front is ever dropped.
            const size_t consumed = buf_.size() - pending;
            if (consumed >= pending) buf_.erase(0, consumed);
        }
        buf_.append(line);
        view_ = std::string_view(buf_).substr(buf_.size() - pending - line.size());
    }

private:
    // Lines wholly before the view are no longer needed; their entries are given back in
    // batches, so that a file of many lines and no objects keeps few.
    void ForgetConsumedLines() {
        while (firstLine_ + 1 < lines_.size() && lines_[firstLine_ + 1].at <= dropped_) ++firstLine_;
        if (firstLine_ >= 1024 && firstLine_ * 2 >= lines_.size()) {
            lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(firstLine_));
            firstLine_ = 0;
        }
    }

    struct LineStart {
        uint64_t at;    // counted in all bytes appended so far
        uint64_t file;  // its offset in the file
    };
    std::string buf_;
    std::string_view view_;
    bool borrowed_ = false;
    uint64_t dropped_ = 0;   // bytes dropped from the front, ever
    uint64_t appended_ = 0;  // bytes appended, ever
    std::vector<LineStart> lines_;
    size_t firstLine_ = 0;
};

enum class Kind { None, Form, Report, Page };

// The tag beginnings of the element search, in the order they are tried.
struct TagStart {
    std::string_view text;
    int next;  // the state it leads to; 4 for the elements that are passed over
    Kind kind;
};
constexpr std::array<TagStart, 11> kTagStarts = {{
    {"</Objects>", 3, Kind::None},
    {"<TableData ", 4, Kind::None},
    {"<Table ", 4, Kind::None},
    {"<Form ", 7, Kind::Form},
    {"<Report ", 8, Kind::Report},
    {"<Dataport ", 4, Kind::None},
    {"<Codeunit ", 4, Kind::None},
    {"<XMLport ", 4, Kind::None},
    {"<MenuSuite ", 4, Kind::None},
    {"<Page ", 9, Kind::Page},
    {"<Query ", 4, Kind::None},
}};

constexpr size_t kLongestTagStart = [] {
    size_t n = 0;
    for (const TagStart& t : kTagStarts) n = std::max(n, t.text.size());
    return n;
}();

// The earliest place where one of the tag beginnings stands whole in the text. All of them
// begin with "<" and no two can match at one place, so one pass over the "<"s finds it.
struct TagHit {
    size_t at = std::string_view::npos;
    const TagStart* tag = nullptr;
};
TagHit FindTagStart(std::string_view v) {
    for (size_t p = v.find('<'); p != std::string_view::npos; p = v.find('<', p + 1)) {
        const std::string_view here = v.substr(p);
        for (const TagStart& t : kTagStarts)
            if (here.starts_with(t.text)) return {p, &t};
    }
    return {};
}

std::string_view ClosingTag(Kind kind) {
    switch (kind) {
        case Kind::Form: return "</Form>";
        case Kind::Report: return "</Report>";
        case Kind::Page: return "</Page>";
        case Kind::None: break;
    }
    return {};
}

// The date of the Date attribute, or 0 when it is no ISO 8601 text.
double XmlDate(const std::string& text) {
    try {
        return IsoDateTime(text, false, true);
    } catch (const std::exception&) {
        return 0;
    }
}

// The local time of day of the Time attribute (UTC, or with its own zone), or 0. The shift to
// local time can cross midnight either way; the time is brought into the day, so that 23:30
// UTC at UTC+1 is 00:30 and 01:00 UTC at UTC-7 is 18:00 (-0.25 of a day becomes 0.75).
double XmlTime(const std::string& text, int biasMinutes) {
    double utc;
    try {
        utc = IsoDateTime("T" + text, false, true);
    } catch (const std::exception&) {
        return 0;
    }
    const double local = utc - biasMinutes / 1440.0;
    double day = local - std::floor(local);
    // Rounding can leave a hair below 1 for a time just before midnight; that is midnight.
    if (!(day >= 0) || day > 1.0 - 0.5 / 86400000.0) day = 0;
    return day;
}

TFobRec ReadStartTag(std::string_view rawTag, const TFob& fob, const Regional& regional, int biasMinutes,
                     bool& isObject) {
    const std::string tag = Utf8ToAnsi(rawTag);
    int type = -1;
    if (const size_t blank = tag.find(' '); blank != std::string::npos)
        type = FobTypeIndex(std::string_view(tag).substr(1, blank > 0 ? blank - 1 : 0));

    TFobRec rec{};
    rec.FileNo = fob.FileNo;
    rec.ObjType = type;
    rec.ID = WholeNumberValue(XmlAttribute(tag, "ID"));
    rec.Name.assign(XmlAttribute(tag, "Name"));
    rec.VersionList.assign(XmlAttribute(tag, "VersionList"));
    const std::string dateText = XmlAttribute(tag, "Date");
    const std::string timeText = XmlAttribute(tag, "Time");
    rec.DateStr.assign(dateText);
    rec.TimeStr.assign(timeText);
    rec.Date = XmlDate(dateText);
    rec.Time = XmlTime(timeText, biasMinutes);
    ApplyDateTimeTexts(rec, regional.format);
    // Present with any value, "No" included.
    rec.Modified = !XmlAttribute(tag, "Modified").empty();
    isObject = type >= 0 && type < kObjectTypeCount;
    return rec;
}

}  // namespace

void ReadFileXml(TFob& fob, const Regional& regional, size_t lineBlockSize) {
    // As for text exports: the list holds the records stored so far at every moment.
    std::vector<TFobRec>& fobs = fob.MutableFobs();
    fobs.clear();
    fobs.shrink_to_fit();

    const auto file = InputFile::Open(fob.FileName);
    const int bias = regional.timeZone ? regional.timeZone->BiasMinutes() : 0;

    // The file is read a line at a time, never held whole; a line is given up when the next
    // one is read, so what the buffer still holds of it is copied first (and only then). A
    // line longer than the line reader's block comes in pieces, so that not even one line is
    // held whole.
    LineReader lines(*file, 0, 1, lineBlockSize);
    lines.GiveLongLinesInPieces();
    ScanBuffer buf;
    // The scan fetches up to five lines at a time, joined without their breaks, looks for what
    // it seeks in all it holds, and when that is not there keeps only the last few bytes before
    // the next fetch. The pieces of a long line continue their fetch: before one, as many
    // bytes stay as a sought text could have begun in, so that the scan finds just what it
    // would find in the whole fetch.
    int fetched = 0;       // whole lines of the current fetch
    bool inFetch = false;  // the current fetch is not complete: its last line came in part
    // Appends the rest of the current fetch, or the next one; false when nothing was left.
    const auto appendLines = [&] {
        if (!inFetch) fetched = 0;
        inFetch = false;
        bool appended = false;
        std::string_view line;
        while (fetched < 5 && !lines.AtEnd()) {
            buf.Own();
            if (!lines.Next(line)) break;
            buf.Append(line, lines.Offset());
            appended = true;
            if (!lines.LineEnded()) {
                inFetch = true;
                break;
            }
            ++fetched;
        }
        return appended;
    };
    // Gives up all but the last `keep` bytes of the pending text, where texts of up to `reach`
    // bytes are sought, and appends more; false when nothing was left.
    const auto keepAndAppend = [&](size_t keep, size_t reach) {
        buf.KeepLast(inFetch ? std::max(keep, reach - 1) : keep);
        return appendLines();
    };

    // Each element's text runs from its start tag to the end of its closing tag, or to the end
    // of the file when it has none.
    std::vector<ObjectSpan>& spans = fob.Content.Spans;
    spans.clear();
    uint64_t elementBegin = 0;
    bool elementListed = false;

    int state = 0;
    Kind kind = Kind::None;
    // How far a start tag's end has been searched for already, from the front of the buffer;
    // a tag that spans many lines is then searched once, not once per fetch.
    size_t searchedTo = 0;
    std::string startTag;
    for (;;) {
        const std::string_view v = buf.View();
        switch (state) {
            case 0: {  // look for the root
                const size_t at = v.find("<Objects ");
                if (at != std::string_view::npos) {
                    buf.Drop(at + 9);
                    state = 2;
                } else if (!keepAndAppend(9, 9)) {
                    state = 1;
                }
                break;
            }
            case 1:  // done
                fobs.shrink_to_fit();
                // Written to while it was read: what was read may mix two versions of the file.
                if (file->ChangedSinceOpen()) throw EReadError();
                return;
            case 2: {  // the end of the root's start tag: ">" or "/>", the earlier counts
                const size_t gt = v.find('>');
                if (gt == std::string_view::npos) {
                    if (!keepAndAppend(2, 2)) state = 1;
                } else {
                    // A "/>" can only come first when it ends at the first ">".
                    state = gt > 0 && v[gt - 1] == '/' ? 3 : 4;
                    buf.Drop(gt + 1);
                }
                break;
            }
            case 3:  // root closed
                state = 1;
                break;
            case 4: {  // next element
                if (v.size() < 8) {
                    if (!appendLines()) state = 1;
                    break;
                }
                const TagHit hit = FindTagStart(v);
                if (!hit.tag) {
                    if (!keepAndAppend(6, kLongestTagStart)) state = 1;
                    break;
                }
                if (hit.tag->kind != Kind::None) elementBegin = buf.FileOffset(hit.at);
                buf.Drop(hit.at);
                state = hit.tag->next;
                kind = hit.tag->kind;
                searchedTo = 0;
                // The seven kinds of element that are not listed are passed over by their tag
                // beginning alone: the search then goes on behind it, so reading always
                // advances, and a following form, report or page is never swallowed, whatever
                // shape the passed element has (empty, nested or never closed).
                if (state == 4) buf.Drop(hit.tag->text.size());
                break;
            }
            case 7:
            case 8:
            case 9: {  // the start tag: up to the first double quote followed by ">"
                const size_t from = searchedTo > 0 ? searchedTo - 1 : 0;
                const size_t end = from < v.size() ? v.find("\">", from) : std::string_view::npos;
                if (end == std::string_view::npos) {
                    searchedTo = v.size();
                    if (!appendLines()) state = 1;
                    break;
                }
                startTag.assign(v.substr(0, end + 2));
                buf.Drop(end + 2);
                state = 6;
                break;
            }
            case 6: {  // read the element
                bool isObject = false;
                const TFobRec rec = ReadStartTag(startTag, fob, regional, bias, isObject);
                elementListed = isObject;
                if (isObject) {
                    fobs.push_back(rec);
                    spans.push_back({elementBegin, file->Size()});
                }
                state = 5;
                break;
            }
            case 5: {  // skip the body
                const std::string_view closing = ClosingTag(kind);
                const size_t at = v.find(closing);
                if (at != std::string_view::npos) {
                    if (elementListed) spans.back().End = buf.FileOffset(at + closing.size() - 1) + 1;
                    elementListed = false;
                    buf.Drop(at + closing.size());
                    kind = Kind::None;
                    state = 4;
                } else if (!keepAndAppend(8, closing.size())) {
                    state = 1;
                }
                break;
            }
            default:
                throw EKavloError("Procedure ReadFileXml, unknown State value = " + std::to_string(state));
        }
    }
}

}  // namespace kavlo
