#include "listing/char_diff.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

using Ranges = std::vector<CharRange>;

TEST(CharDiff, MarksTheChangedWordsOfBothVersionsInCharacters) {
    const struct {
        const char* line1;
        const char* line2;
        Ranges ranges1, ranges2;
    } cases[] = {
        {"Line5 := 5;", "Line5 := 55;", {{9, 10}}, {{9, 11}}},
        // only added: an empty range on the other side says where
        {"a := b;", "a := b + c;", {{6, 6}}, {{6, 10}}},
        {"Amount := Qty * Price;", "Amount := Quantity * UnitPrice;", {{10, 13}, {16, 21}}, {{10, 18}, {21, 30}}},
        // changes with only blanks between them are one
        {"f(a b)", "f(c d)", {{2, 5}}, {{2, 5}}},
        {"same", "same", {}, {}},
        {"", "x", {{0, 0}}, {{0, 1}}},
        // UTF-8 counts characters, not bytes
        {"Имя := 'Иван';", "Имя := 'Пётр';", {{8, 12}}, {{8, 12}}},
        {"Ωμέγα(1);", "Ωμέγα(2);", {{6, 7}}, {{6, 7}}},
        // Windows-1252 text (not UTF-8): a character a byte
        {"Kunde \xE4;", "Kunde \xF6\xE4;", {{6, 7}}, {{6, 8}}},
    };
    for (const auto& c : cases) {
        const LineCharChanges changes = ChangedChars(c.line1, c.line2);
        EXPECT_EQ(changes.Ranges1, c.ranges1) << c.line1 << " | " << c.line2;
        EXPECT_EQ(changes.Ranges2, c.ranges2) << c.line1 << " | " << c.line2;
    }
}

TEST(CharDiff, CountsCharactersOfUtf8AndBytesOfOtherText) {
    const struct {
        const char* line;
        int length;
        int n;
        size_t offset;  // of character n
    } cases[] = {
        {"abc", 3, 1, 1},
        {"Имя", 3, 1, 2},
        {"Имя", 3, 3, 6},
        {"Имя", 3, 9, 6},
        {"\xF0\x9F\x98\x80x", 2, 1, 4},   // a code point beyond 16 bits is one character
        {"Gr\xFC\xDF", 4, 3, 3},           // Windows-1252
        {"\xD0\x98\xD0", 3, 1, 1},         // a sequence cut short: the line is not UTF-8
        {"\xED\xA0\x80", 3, 1, 1},         // a surrogate is not UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineLength(c.line), c.length) << c.line;
        EXPECT_EQ(static_cast<int>(LineChars(c.line).size()), c.length) << c.line;
        EXPECT_EQ(CharOffset(c.line, c.n), c.offset) << c.line;
    }
}

TEST(CharDiff, FirstChangedCharIsWhereTheRowFirstDiffers) {
    const std::string indented = std::string(64, ' ') + "Added := TRUE;";
    const struct {
        RowKind kind;
        std::string line1, line2;
        int first;
    } cases[] = {
        {RowKind::Added, "", indented, 64},
        {RowKind::Removed, indented, "", 64},
        {RowKind::Removed, "   ", "", 0},
        {RowKind::Changed, "      x := 1; y := 2;", "      x := 1; y := 3;", 19},
        {RowKind::Changed, "      a := b;", "      a := b + c;", 12},
        {RowKind::Same, indented, indented, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstChangedChar(c.kind, c.line1, c.line2), c.first) << c.line1 << c.line2;
}

}  // namespace
}  // namespace kavlo
