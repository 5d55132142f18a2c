#include "objfile/object_types.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TEST(ObjectTypes, FobTypeIndexTrimsButMatchesCaseExactly) {
    EXPECT_EQ(FobTypeIndex(" Form "), 2);
    EXPECT_EQ(FobTypeIndex("\tQuery\r\n"), 9);
    EXPECT_EQ(FobTypeIndex("TableData"), 0);
    EXPECT_EQ(FobTypeIndex("form"), -1);
    EXPECT_EQ(FobTypeIndex("table"), -1);
    EXPECT_EQ(FobTypeIndex(""), -1);
    EXPECT_EQ(FobTypeIndex("Tab le"), -1);
    EXPECT_TRUE(IsFobType("Table     "));
    EXPECT_FALSE(IsFobType("Tables"));
}

TEST(ObjectTypes, NormalizeTypeTextCompletesPrefixesInTableOrder) {
    EXPECT_EQ(NormalizeTypeText(""), "");
    EXPECT_EQ(NormalizeTypeText("form"), "Form");
    EXPECT_EQ(NormalizeTypeText("t"), "TableData");
    EXPECT_EQ(NormalizeTypeText("tab"), "TableData");
    EXPECT_EQ(NormalizeTypeText("table"), "Table");  // exact match beats the prefix of TableData
    EXPECT_EQ(NormalizeTypeText("p"), "Page");
    EXPECT_EQ(NormalizeTypeText("x"), "XMLport");
    EXPECT_EQ(NormalizeTypeText("cod"), "Codeunit");
    EXPECT_EQ(NormalizeTypeText(" MENU "), "MenuSuite");
    EXPECT_EQ(NormalizeTypeText("Tab*"), "Tab*");  // nothing matches: unchanged
}

TEST(ObjectTypes, NormalizeBoolTextTriesTrueFalseOnOffThenNumbers) {
    EXPECT_EQ(NormalizeBoolText(""), "");
    for (const char* t : {"t", "TRU", "o", "O", "on", "1", "42", "+7"}) EXPECT_EQ(NormalizeBoolText(t), "True") << t;
    for (const char* f : {"f", "fAlSe", "of", "OFF", "0", "00", "-0"}) EXPECT_EQ(NormalizeBoolText(f), "False") << f;
    for (const char* u : {"yes", "-1", "-3", "1 ", "truer", "*"}) EXPECT_EQ(NormalizeBoolText(u), u) << u;
}

TEST(ObjectTypes, ObjectFileNameIsThePrefixAndIdUpperCase) {
    EXPECT_EQ(ObjectFileName(1, 18), "TAB18.TXT");
    EXPECT_EQ(ObjectFileName(5, 80), "COD80.TXT");
    EXPECT_EQ(ObjectFileName(6, 5000), "XML5000.TXT");
    EXPECT_EQ(ObjectFileName(9, 1), "QUE1.TXT");
    EXPECT_EQ(ObjectFileName(0, 18), "");  // table data has no text of its own
}

}  // namespace
}  // namespace kavlo
