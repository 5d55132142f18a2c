// The characters that differ inside a changed line, for the marks a diff window draws over the
// line's tint, and where a change's first difference is, for scrolling it into view. Lines are
// UTF-8 and counted in characters (code points); a line that is not valid UTF-8 is single-byte
// text (Windows-1252), one character a byte, so that the columns of both kinds agree with what
// is drawn.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "listing/side_by_side.h"

namespace kavlo {

// Characters [Begin, End) of a line. An empty range marks the place where the other version
// has characters that this one lacks.
struct CharRange {
    int Begin = 0, End = 0;
    friend bool operator==(const CharRange&, const CharRange&) = default;
};

struct LineCharChanges {
    std::vector<CharRange> Ranges1, Ranges2;  // of the line of file 1 and of file 2, ascending
};

// Whether the line is valid UTF-8 (plain ASCII is).
bool IsUtf8(std::string_view line);
// The line's characters: code points when it is UTF-8, otherwise its bytes.
std::u32string LineChars(std::string_view line);
// The line's length in characters.
int LineLength(std::string_view line);
// The byte offset of character `n` of the line; the line's size when it has n characters or
// fewer.
size_t CharOffset(std::string_view line, int n);

// What differs between the two versions of a changed line, word by word: a word (letters,
// digits, underscores), a run of blanks and each other character count as one piece, and the
// blanks between two changed pieces join them into one range. The ranges pair up: the k-th
// range of each side is the same change, one of the two empty where it only adds.
LineCharChanges ChangedChars(std::string_view line1, std::string_view line2);

// The character at which a row's lines first differ: the first changed character of a
// changed row, the first non-blank of a line that only one side has (0 for a blank one), 0 for
// an equal row.
int FirstChangedChar(RowKind kind, std::string_view line1, std::string_view line2);

}  // namespace kavlo
