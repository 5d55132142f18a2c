// The changed characters of a changed line: both lines cut into pieces (words, runs of blanks,
// single other characters), the pieces compared by dtl as the lines are, the runs of changed
// pieces turned back into character ranges.
#include "listing/char_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <unordered_map>

#include "platform/code_page.h"

namespace kavlo {

namespace {

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }
bool IsWordChar(char32_t c) {
    return c == U'_' || (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c >= 0x80;
}

struct Piece {
    int Begin, End;  // characters of the line
};

std::vector<Piece> Pieces(const std::u32string& chars) {
    std::vector<Piece> pieces;
    const int n = static_cast<int>(chars.size());
    for (int at = 0; at < n;) {
        int end = at + 1;
        const auto same = [&](auto test) {
            while (end < n && test(chars[static_cast<size_t>(end)])) ++end;
        };
        if (IsWordChar(chars[static_cast<size_t>(at)])) same(IsWordChar);
        else if (IsBlank(chars[static_cast<size_t>(at)])) same(IsBlank);
        pieces.push_back({at, end});
        at = end;
    }
    return pieces;
}

// A run of changed pieces, as the characters it spans on each side.
struct Change {
    int Begin1, End1, Begin2, End2;
};

}  // namespace

bool IsUtf8(std::string_view line) {
    uint32_t cp;
    for (size_t at = 0; at < line.size();) {
        const size_t n = DecodeUtf8(line, at, cp);
        if (n == 0) return false;
        at += n;
    }
    return true;
}

std::u32string LineChars(std::string_view line) {
    std::u32string chars;
    chars.reserve(line.size());
    if (!IsUtf8(line)) {
        for (unsigned char c : line) chars.push_back(c);
        return chars;
    }
    uint32_t cp = 0;
    for (size_t at = 0; at < line.size();) {
        at += DecodeUtf8(line, at, cp);
        chars.push_back(cp);
    }
    return chars;
}

int LineLength(std::string_view line) {
    if (!IsUtf8(line)) return static_cast<int>(line.size());
    return static_cast<int>(Utf8Length(line));
}

size_t CharOffset(std::string_view line, int n) {
    if (n <= 0) return 0;
    if (!IsUtf8(line)) return std::min(line.size(), static_cast<size_t>(n));
    for (size_t at = 0; at < line.size(); ++at)
        if ((static_cast<unsigned char>(line[at]) & 0xC0) != 0x80 && n-- == 0) return at;
    return line.size();
}

LineCharChanges ChangedChars(std::string_view line1, std::string_view line2) {
    const std::u32string c1 = LineChars(line1), c2 = LineChars(line2);
    const std::vector<Piece> p1 = Pieces(c1), p2 = Pieces(c2);
    // Equal pieces get equal numbers, as the lines do in the line diff.
    std::unordered_map<std::u32string_view, int> numbers;
    const auto numbered = [&](const std::u32string& chars, const std::vector<Piece>& pieces) {
        std::vector<int> out;
        out.reserve(pieces.size());
        for (const Piece& p : pieces) {
            const std::u32string_view text(chars.data() + p.Begin, static_cast<size_t>(p.End - p.Begin));
            out.push_back(numbers.try_emplace(text, static_cast<int>(numbers.size())).first->second);
        }
        return out;
    };
    const std::vector<int> n1 = numbered(c1, p1), n2 = numbered(c2, p2);

    // The pieces both lines start and end with need no diff.
    size_t head = 0;
    while (head < n1.size() && head < n2.size() && n1[head] == n2[head]) ++head;
    size_t tail = 0;
    while (tail < n1.size() - head && tail < n2.size() - head && n1[n1.size() - 1 - tail] == n2[n2.size() - 1 - tail])
        ++tail;
    const std::vector<int> mid1(n1.begin() + static_cast<long>(head), n1.end() - static_cast<long>(tail));
    const std::vector<int> mid2(n2.begin() + static_cast<long>(head), n2.end() - static_cast<long>(tail));

    // Walks the middle pieces: an equal piece ends the change being gathered.
    std::vector<Change> changes;
    size_t i1 = head, i2 = head;  // the next piece of each side
    const auto at1 = [&](size_t i) { return i < p1.size() ? p1[i].Begin : static_cast<int>(c1.size()); };
    const auto at2 = [&](size_t i) { return i < p2.size() ? p2[i].Begin : static_cast<int>(c2.size()); };
    bool open = false;
    const auto step = [&](bool removed, bool added) {
        if (!open) changes.push_back({at1(i1), at1(i1), at2(i2), at2(i2)});
        open = true;
        if (removed) changes.back().End1 = p1[i1++].End;
        if (added) changes.back().End2 = p2[i2++].End;
    };
    if (mid1.empty() || mid2.empty()) {
        for (size_t k = 0; k < mid1.size(); ++k) step(true, false);
        for (size_t k = 0; k < mid2.size(); ++k) step(false, true);
    } else {
        dtl::Diff<int, std::vector<int>> diff(mid1, mid2);  // without onHuge(): see DiffLines
        diff.compose();
        for (const auto& [elem, info] : diff.getSes().getSequence()) {
            switch (info.type) {
                case dtl::SES_COMMON:
                    open = false;
                    ++i1, ++i2;
                    break;
                case dtl::SES_DELETE: step(true, false); break;
                default: step(false, true); break;
            }
        }
    }

    // Changes with only blanks between them on both sides read as one.
    const auto blanks = [](const std::u32string& chars, int from, int to) {
        return std::all_of(chars.begin() + from, chars.begin() + to, IsBlank);
    };
    LineCharChanges out;
    for (size_t k = 0; k < changes.size(); ++k) {
        Change c = changes[k];
        while (k + 1 < changes.size() && blanks(c1, c.End1, changes[k + 1].Begin1) &&
               blanks(c2, c.End2, changes[k + 1].Begin2)) {
            ++k;
            c.End1 = changes[k].End1;
            c.End2 = changes[k].End2;
        }
        out.Ranges1.push_back({c.Begin1, c.End1});
        out.Ranges2.push_back({c.Begin2, c.End2});
    }
    return out;
}

int FirstChangedChar(RowKind kind, std::string_view line1, std::string_view line2) {
    const auto firstNonBlank = [](std::string_view line) {
        const std::u32string chars = LineChars(line);
        const auto it = std::find_if_not(chars.begin(), chars.end(), IsBlank);
        return it == chars.end() ? 0 : static_cast<int>(it - chars.begin());
    };
    switch (kind) {
        case RowKind::Same: return 0;
        case RowKind::Removed: return firstNonBlank(line1);
        case RowKind::Added: return firstNonBlank(line2);
        case RowKind::Changed: {
            const LineCharChanges c = ChangedChars(line1, line2);
            if (c.Ranges1.empty()) return 0;  // the same text
            return std::min(c.Ranges1.front().Begin, c.Ranges2.front().Begin);
        }
    }
    return 0;
}

}  // namespace kavlo
