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

#include "base/text_lines.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"
#include "objfile/readers.h"
#include "platform/code_page.h"

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

// The states of the scan.
enum class State {
    LookForRoot,     // find "<Objects "
    Done,
    RootTagEnd,      // the end of the root's start tag: ">" or "/>"
    RootClosed,      // "/>" or "</Objects>"
    NextElement,     // the next tag beginning of the search
    StartTag,        // a form's, report's or page's start tag, up to a double quote and ">"
    ReadElement,     // its record, from the start tag's attributes
    SkipBody,        // up to the element's closing tag
};

// The tag beginnings of the element search, in the order they are tried.
struct TagStart {
    std::string_view text;
    State next;  // NextElement for the elements that are passed over
    Kind kind;
};
constexpr std::array<TagStart, 11> kTagStarts = {{
    {"</Objects>", State::RootClosed, Kind::None},
    {"<TableData ", State::NextElement, Kind::None},
    {"<Table ", State::NextElement, Kind::None},
    {"<Form ", State::StartTag, Kind::Form},
    {"<Report ", State::StartTag, Kind::Report},
    {"<Dataport ", State::NextElement, Kind::None},
    {"<Codeunit ", State::NextElement, Kind::None},
    {"<XMLport ", State::NextElement, Kind::None},
    {"<MenuSuite ", State::NextElement, Kind::None},
    {"<Page ", State::StartTag, Kind::Page},
    {"<Query ", State::NextElement, Kind::None},
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

TFobRec ReadStartTag(std::string_view rawTag, int32_t fileNo, const Regional& regional, int biasMinutes,
                     bool& isObject) {
    const std::string tag = Utf8ToAnsi(rawTag);
    int type = -1;
    if (const size_t blank = tag.find(' '); blank != std::string::npos)
        type = FobTypeIndex(std::string_view(tag).substr(1, blank > 0 ? blank - 1 : 0));

    TFobRec rec{};
    rec.FileNo = fileNo;
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

// One reading of a file: the line reader, the scan buffer and the state of the scan. Each state
// is one step; Run takes steps until the scan is done.
class XmlScan {
public:
    XmlScan(ByteSource& file, TFobBuilder& out, const Regional& regional, size_t lineBlockSize)
        : file_(file), out_(out), fobs_(out.Fobs()), spans_(out.Content().Spans), regional_(regional),
          bias_(regional.timeZone ? regional.timeZone->BiasMinutes() : 0), lines_(file, 0, 1, lineBlockSize) {
        // The file is read a line at a time, never held whole; a line is given up when the
        // next one is read, so what the buffer still holds of it is copied first (and only
        // then). A line longer than the line reader's block comes in pieces, so that not even
        // one line is held whole.
        lines_.GiveLongLinesInPieces();
    }

    void Run() {
        for (;;) {
            switch (state_) {
                case State::LookForRoot: LookForRoot(); break;
                case State::Done: fobs_.shrink_to_fit(); return;
                case State::RootTagEnd: RootTagEnd(); break;
                case State::RootClosed: state_ = State::Done; break;
                case State::NextElement: NextElement(); break;
                case State::StartTag: StartTag(); break;
                case State::ReadElement: ReadElement(); break;
                case State::SkipBody: SkipBody(); break;
            }
        }
    }

private:
    // The scan fetches up to five lines at a time, joined without their breaks, looks for what
    // it seeks in all it holds, and when that is not there keeps only the last few bytes before
    // the next fetch. The pieces of a long line continue their fetch: before one, as many bytes
    // stay as a sought text could have begun in, so that the scan finds just what it would find
    // in the whole fetch.
    //
    // Appends the rest of the current fetch, or the next one; false when nothing was left.
    bool AppendLines() {
        if (!inFetch_) fetched_ = 0;
        inFetch_ = false;
        bool appended = false;
        std::string_view line;
        while (fetched_ < 5 && !lines_.AtEnd()) {
            buf_.Own();
            if (!lines_.Next(line)) break;
            buf_.Append(line, lines_.Offset());
            appended = true;
            if (!lines_.LineEnded()) {
                inFetch_ = true;
                break;
            }
            ++fetched_;
        }
        return appended;
    }
    // Fetches; at the end of the file the scan is done.
    void Fetch() {
        if (!AppendLines()) state_ = State::Done;
    }
    // Gives up all but the last `keep` bytes of the pending text, where texts of up to `reach`
    // bytes are sought, and fetches.
    void KeepAndFetch(size_t keep, size_t reach) {
        buf_.KeepLast(inFetch_ ? std::max(keep, reach - 1) : keep);
        Fetch();
    }

    void LookForRoot() {
        const size_t at = buf_.View().find("<Objects ");
        if (at == std::string_view::npos) return KeepAndFetch(9, 9);
        buf_.Drop(at + 9);
        state_ = State::RootTagEnd;
    }

    // ">" or "/>", the earlier counts: a "/>" can only come first when it ends at the first ">".
    void RootTagEnd() {
        const std::string_view v = buf_.View();
        const size_t gt = v.find('>');
        if (gt == std::string_view::npos) return KeepAndFetch(2, 2);
        state_ = gt > 0 && v[gt - 1] == '/' ? State::RootClosed : State::NextElement;
        buf_.Drop(gt + 1);
    }

    void NextElement() {
        const std::string_view v = buf_.View();
        if (v.size() < 8) return Fetch();
        const TagHit hit = FindTagStart(v);
        if (!hit.tag) return KeepAndFetch(6, kLongestTagStart);
        if (hit.tag->kind != Kind::None) elementBegin_ = buf_.FileOffset(hit.at);
        buf_.Drop(hit.at);
        state_ = hit.tag->next;
        kind_ = hit.tag->kind;
        searchedTo_ = 0;
        // The seven kinds of element that are not listed are passed over by their tag
        // beginning alone: the search then goes on behind it, so reading always advances, and
        // a following form, report or page is never swallowed, whatever shape the passed
        // element has (empty, nested or never closed).
        if (state_ == State::NextElement) buf_.Drop(hit.tag->text.size());
    }

    // Up to the first double quote followed by ">". A tag that spans many lines is searched
    // once, not once per fetch: searchedTo_ is how far it has been searched already.
    void StartTag() {
        const std::string_view v = buf_.View();
        const size_t from = searchedTo_ > 0 ? searchedTo_ - 1 : 0;
        const size_t end = from < v.size() ? v.find("\">", from) : std::string_view::npos;
        if (end == std::string_view::npos) {
            searchedTo_ = v.size();
            return Fetch();
        }
        startTag_.assign(v.substr(0, end + 2));
        buf_.Drop(end + 2);
        state_ = State::ReadElement;
    }

    // Each element's text runs from its start tag to the end of its closing tag, or to the end
    // of the file when it has none.
    void ReadElement() {
        bool isObject = false;
        const TFobRec rec = ReadStartTag(startTag_, out_.FileNo(), regional_, bias_, isObject);
        elementListed_ = isObject;
        if (isObject) {
            fobs_.push_back(rec);
            spans_.push_back({elementBegin_, file_.Size()});
        }
        state_ = State::SkipBody;
    }

    void SkipBody() {
        const std::string_view closing = ClosingTag(kind_);
        const size_t at = buf_.View().find(closing);
        if (at == std::string_view::npos) return KeepAndFetch(8, closing.size());
        if (elementListed_) spans_.back().End = buf_.FileOffset(at + closing.size() - 1) + 1;
        elementListed_ = false;
        buf_.Drop(at + closing.size());
        kind_ = Kind::None;
        state_ = State::NextElement;
    }

    ByteSource& file_;
    TFobBuilder& out_;
    // The list holds the records stored so far at every moment, as for text exports.
    std::vector<TFobRec>& fobs_;
    std::vector<ObjectSpan>& spans_;
    const Regional& regional_;
    const int bias_;
    LineReader lines_;
    ScanBuffer buf_;
    int fetched_ = 0;       // whole lines of the current fetch
    bool inFetch_ = false;  // the current fetch is not complete: its last line came in part

    State state_ = State::LookForRoot;
    Kind kind_ = Kind::None;
    size_t searchedTo_ = 0;
    std::string startTag_;
    uint64_t elementBegin_ = 0;
    bool elementListed_ = false;
};

}  // namespace

ReadResult ReadFileXml(ByteSource& file, const FileOrigin& origin, const Regional& regional, size_t lineBlockSize) {
    TFobBuilder out = StartFile(file, origin, regional);
    return FinishRead(out, [&] { XmlScan(file, out, regional, lineBlockSize).Run(); });
}

}  // namespace kavlo
