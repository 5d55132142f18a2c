#include "listing/field_filter.h"

#include <gtest/gtest.h>

#include <random>

namespace kavlo {
namespace {

// The matcher as a plain recursion, positions from 0, the reference for the one with its own
// stack and failure record.
bool ReferenceMatch(std::string_view pat, std::string_view text, bool cs, size_t p, size_t s) {
    const auto same = [&](char a, char b) {
        if (cs) return a == b;
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return fold(a) == fold(b);
    };
    while (p < pat.size() && s < text.size()) {
        if (pat[p] == '*') {
            while (p < pat.size() && pat[p] == '*') ++p;
            if (p >= pat.size()) return true;
            for (size_t t = s; t < text.size(); ++t)
                if (ReferenceMatch(pat, text, cs, p, t)) return true;
            return false;
        }
        if (pat[p] != '?' && !same(pat[p], text[s])) return false;
        ++p;
        ++s;
    }
    while (p < pat.size() && (pat[p] == '*' || pat[p] == '?')) ++p;
    return p >= pat.size() && s >= text.size();
}

TEST(WildcardMatch, StarQuestionMarkAndTheEndOfTheText) {
    EXPECT_TRUE(WildcardMatch("", "", true));
    EXPECT_TRUE(WildcardMatch("", "anything", true));
    EXPECT_TRUE(WildcardMatch("*", "", true));
    EXPECT_TRUE(WildcardMatch("*", "Customer", true));
    EXPECT_TRUE(WildcardMatch("Cust*", "Customer", true));
    EXPECT_FALSE(WildcardMatch("Cust*", "customer", true));
    EXPECT_TRUE(WildcardMatch("*mer", "Customer", true));
    EXPECT_FALSE(WildcardMatch("*mer", "Customers", true));
    EXPECT_TRUE(WildcardMatch("C*t*r", "Customer", true));
    // "?" is one character while text remains; left over at the end it is ignored.
    EXPECT_TRUE(WildcardMatch("ab?", "abc", true));
    EXPECT_TRUE(WildcardMatch("ab?", "ab", true));
    EXPECT_FALSE(WildcardMatch("ab?", "abcd", true));
    EXPECT_FALSE(WildcardMatch("?a", "", true));
    EXPECT_FALSE(WildcardMatch("a?b", "a", true));
    EXPECT_TRUE(WildcardMatch("a*?", "a", true));
    // On the ID column.
    EXPECT_TRUE(WildcardMatch("18", "18", true));
    EXPECT_FALSE(WildcardMatch("18", "180", true));
    for (const char* id : {"18", "180", "18000"}) EXPECT_TRUE(WildcardMatch("18*", id, true)) << id;
    EXPECT_FALSE(WildcardMatch("18*", "118", true));
    for (const char* id : {"1", "10", "15", "19"}) EXPECT_TRUE(WildcardMatch("1?", id, true)) << id;
    EXPECT_FALSE(WildcardMatch("1?", "100", true));
    EXPECT_FALSE(WildcardMatch("1?", "21", true));
}

TEST(WildcardMatch, WithoutCaseOnlyAsciiLettersFold) {
    EXPECT_TRUE(WildcardMatch("cust*", "CUSTOMER", false));
    EXPECT_TRUE(WildcardMatch("CUST*", "customer", false));
    EXPECT_TRUE(WildcardMatch("\xC6", "\xC6", false));
    EXPECT_FALSE(WildcardMatch("\xE6", "\xC6", false));  // ANSI a-e ligature, lower vs upper
    EXPECT_FALSE(WildcardMatch("\xE4ndring", "\xC4NDRING", false));
    EXPECT_FALSE(WildcardMatch("[", "{", false));  // 0x5B and 0x7B differ by 32 but are no letters
    EXPECT_FALSE(WildcardMatch("@", "`", false));
}

TEST(WildcardMatch, EqualsThePlainRecursionOnRandomPatterns) {
    std::mt19937 rng(5);
    const char alphabet[] = "aAb*?";
    for (int round = 0; round < 20000; ++round) {
        std::string pat, text;
        const size_t pl = rng() % 8, tl = rng() % 9;
        for (size_t i = 0; i < pl; ++i) pat += alphabet[rng() % 5];
        for (size_t i = 0; i < tl; ++i) text += "aAbB"[rng() % 4];
        const bool cs = rng() % 2;
        const bool want = pat.empty() || ReferenceMatch(pat, text, cs, 0, 0);
        ASSERT_EQ(WildcardMatch(pat, text, cs), want) << '"' << pat << "\" \"" << text << "\" " << cs;
    }
}

TEST(WildcardMatch, ManyStarsAgainstALongTextFinish) {
    // The plain recursion tries on the order of 10^15 branches here; the record of failed
    // positions keeps it to a few thousand.
    const std::string text(248, 'a');
    std::string pat;
    for (int i = 0; i < 12; ++i) pat += "*a";
    EXPECT_FALSE(WildcardMatch(pat + "*b", text, true));
    EXPECT_TRUE(WildcardMatch(pat + "*", text, true));
    // Thousands of "*" groups need no deep recursion either.
    std::string deep;
    for (int i = 0; i < 3000; ++i) deep += "*a";
    EXPECT_TRUE(WildcardMatch(deep, std::string(3000, 'a'), true));
    EXPECT_FALSE(WildcardMatch(deep + "b", std::string(200, 'a'), true));
}

TEST(FieldFilter, CaseMarkerIsLeadingOrSecond) {
    FilterTexts t;
    t[0] = "@Cust*";
    t[1] = "*@cust*";
    t[2] = "?@a";
    t[3] = "a@b";
    t[4] = "@";
    t[5] = "**@x";
    const PreparedFilters f = PrepareFilters(t);
    EXPECT_TRUE(f.anyFilter);
    EXPECT_EQ(f.pattern[0], "Cust*");
    EXPECT_FALSE(f.caseSensitive[0]);
    EXPECT_EQ(f.pattern[1], "*cust*");
    EXPECT_FALSE(f.caseSensitive[1]);
    EXPECT_EQ(f.pattern[2], "?a");
    EXPECT_FALSE(f.caseSensitive[2]);
    EXPECT_EQ(f.pattern[3], "a@b");  // an "@" further in is literal
    EXPECT_TRUE(f.caseSensitive[3]);
    EXPECT_EQ(f.pattern[4], "");  // matches everything
    EXPECT_TRUE(f.active[4]);
    EXPECT_EQ(f.pattern[5], "**@x");
    EXPECT_TRUE(f.caseSensitive[5]);
    EXPECT_FALSE(f.active[6]);
    EXPECT_FALSE(PrepareFilters(FilterTexts{}).anyFilter);
}

TFobRec Rec(int type, int id, std::string_view name) {
    TFobRec r{};
    r.FileNo = 1;
    r.ObjType = type;
    r.ID = id;
    r.Name.assign(name);
    return r;
}

TEST(FieldFilter, EveryNonEmptyFilterMustMatchItsColumnText) {
    TFobRec r = Rec(1, 18, "My Customer");
    r.Modified = true;
    FilterTexts t;
    t[3] = "*@cust*";
    EXPECT_TRUE(FilterPasses(PrepareFilters(t), r));
    r.Name.assign("MY CUSTOMER");
    EXPECT_TRUE(FilterPasses(PrepareFilters(t), r));
    t[2] = "1?";
    EXPECT_TRUE(FilterPasses(PrepareFilters(t), r));
    t[1] = "Codeunit";
    EXPECT_FALSE(FilterPasses(PrepareFilters(t), r));  // AND across columns
    t[1] = "Table";
    // The flag columns filter on True and False, not on the grid's "1" or blank.
    t[8] = "1";
    EXPECT_FALSE(FilterPasses(PrepareFilters(t), r));
    t[8] = "True";
    EXPECT_TRUE(FilterPasses(PrepareFilters(t), r));
    t[9] = "False";
    EXPECT_TRUE(FilterPasses(PrepareFilters(t), r));
    t[0] = "2";
    EXPECT_FALSE(FilterPasses(PrepareFilters(t), r));
}

TEST(FieldFilter, FieldTextsAreTheColumnTexts) {
    std::mt19937 rng(9);
    for (int round = 0; round < 500; ++round) {
        TFobRec r{};
        r.FileNo = static_cast<int32_t>(rng() % 3);
        r.ObjType = static_cast<int32_t>(rng() % 10);
        r.ID = static_cast<int32_t>(rng());
        r.BlobSize = static_cast<int32_t>(rng());
        r.Name.assign(std::to_string(rng()));
        r.VersionList.assign(std::string(rng() % 248, 'v'));
        r.DateStr.assign("01-02-03");
        r.TimeStr.assign("04:05:06");
        r.Modified = rng() % 2;
        r.Compiled = rng() % 2;
        std::array<char, 16> buffer;
        for (int c = 0; c < kColumnCount; ++c) ASSERT_EQ(FilterFieldText(r, c, buffer), GetFobString(r, c)) << c;
    }
    TFobRec extreme{};
    extreme.ID = INT32_MIN;
    std::array<char, 16> buffer;
    EXPECT_EQ(FilterFieldText(extreme, 2, buffer), "-2147483648");
}

TEST(FieldFilter, NormaliseRewritesTypeAndFlagTextsOnly) {
    FilterTexts t;
    t[0] = "t";
    t[1] = "cod";
    t[3] = "on";
    t[8] = "1";
    t[9] = "of";
    NormaliseFilters(t);
    EXPECT_EQ(t[0], "t");
    EXPECT_EQ(t[1], "Codeunit");
    EXPECT_EQ(t[3], "on");
    EXPECT_EQ(t[8], "True");
    EXPECT_EQ(t[9], "False");
    t[1] = "C*";
    t[8] = "yes";
    t[9] = "-1";
    NormaliseFilters(t);
    EXPECT_EQ(t[1], "C*");
    EXPECT_EQ(t[8], "yes");  // stays, and then matches no object
    EXPECT_EQ(t[9], "-1");
    t[1] = "tabl";
    NormaliseFilters(t);
    EXPECT_EQ(t[1], "TableData");
}

}  // namespace
}  // namespace kavlo
