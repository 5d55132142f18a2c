#include "listing/visible_list.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace kavlo {
namespace {

TEST(VisibleList, EmptyListIsTheHeaderAndOneEmptyRow) {
    TVisibleList list;
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.LastRow(), 1);
    EXPECT_EQ(list.AddedRowCount(), 0);
    EXPECT_FALSE(list.HasRows());
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(list.Cell(0, c), ColumnTitles[static_cast<size_t>(c)]);
        EXPECT_EQ(list.Cell(1, c), "");
    }
    EXPECT_EQ(list.Cell(0, 7), "BLOB Size");
    EXPECT_EQ(list.Cell(2, 0), "");  // out of range reads as empty
    EXPECT_EQ(list.Cell(0, 10), "");
    EXPECT_EQ(list.Cell(-1, 0), "");
}

TEST(VisibleList, SplitCommaTextUndoesTheQuoting) {
    const auto cells = SplitCommaText(R"("1","Table","50000","Say ""hi"", then go","A,B","","","77","1"," ")");
    const char* want[] = {"1", "Table", "50000", "Say \"hi\", then go", "A,B", "", "", "77", "1", " "};
    for (size_t c = 0; c < 10; ++c) EXPECT_EQ(cells[c], want[c]) << c;
    // Unquoted fields end at a comma or a blank; blanks between fields are skipped; missing
    // fields stay empty and a trailing comma gives one empty field.
    const auto loose = SplitCommaText(" a , b c,,\"d\" ,");
    const char* want2[] = {"a", "b", "c", "", "d", "", "", "", "", ""};
    for (size_t c = 0; c < 10; ++c) EXPECT_EQ(loose[c], want2[c]) << c;
    // An unclosed quote runs to the end; fields past the tenth are dropped.
    EXPECT_EQ(SplitCommaText("\"open, end")[0], "open, end");
    EXPECT_EQ(SplitCommaText("0,1,2,3,4,5,6,7,8,9,10")[9], "9");
    // Bytes of every value pass inside quotes, a NUL and control characters included.
    const std::string odd("\"a\0\x01\x7F\xFF\"", 7);
    EXPECT_EQ(SplitCommaText(odd)[0], std::string("a\0\x01\x7F\xFF", 5));
}

TEST(VisibleList, RowsKeepTheirCellsInOrder) {
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18","Cust ""A""","V1","01-02-03","12:00:00","5","1"," ")");
    const std::string_view second[] = {"2", "Page", "21", "", "", "", "", "0", " ", "1"};
    list.AddRow(second);
    list.AddCommaText(R"("","","","","","","","",""," ")");
    EXPECT_EQ(list.RowCount(), 4);
    EXPECT_EQ(list.AddedRowCount(), 3);
    EXPECT_TRUE(list.HasRows());
    EXPECT_EQ(list.Cell(1, 3), "Cust \"A\"");
    EXPECT_EQ(list.Cell(1, 5), "01-02-03");
    EXPECT_EQ(list.Cell(1, 9), " ");
    for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(list.Cell(2, c), second[c]) << c;
    EXPECT_EQ(list.Cell(3, 0), "");
    EXPECT_EQ(list.Cell(3, 9), " ");
    const auto row = list.Row(1);
    EXPECT_EQ(row[1], "Table");
    EXPECT_EQ(row[8], "1");
    list.Clear();
    EXPECT_FALSE(list.HasRows());
    EXPECT_EQ(list.RowCount(), 2);
}

TEST(VisibleList, FirstRowDecidesHasRows) {
    // The output commands look at the File cell of row 1 only.
    TVisibleList list;
    const std::string_view blank[10] = {};
    list.AddRow(blank);
    const std::string_view object[10] = {"1", "Table", "18"};
    list.AddRow(object);
    EXPECT_FALSE(list.HasRows());
}

TEST(VisibleList, LongestRowsAreKeptAndLongerOnesRefused) {
    TVisibleList list;
    const std::string big(6553, 'x');  // ten of them: 65530 bytes
    const std::string_view cells[10] = {big, big, big, big, big, big, big, big, big, big};
    list.AddRow(cells);
    EXPECT_EQ(list.Cell(1, 9).size(), big.size());
    const std::string bigger(6554, 'y');
    const std::string_view over[10] = {bigger, bigger, bigger, bigger, bigger, bigger, bigger, bigger, bigger, bigger};
    EXPECT_THROW(list.AddRow(over), EKavloError);
    std::string line;
    for (int c = 0; c < 10; ++c) line += (c ? ",\"" : "\"") + bigger + "\"";
    EXPECT_THROW(list.AddCommaText(line), EKavloError);
    // A refused row leaves the list as it was.
    EXPECT_EQ(list.AddedRowCount(), 1);
    list.AddCommaText(R"("2","Table","7")");
    EXPECT_EQ(list.Cell(2, 2), "7");
    EXPECT_EQ(list.Cell(1, 0), big);
}

TEST(VisibleList, AMillionRowsStayCompact) {
    TVisibleList list;
    const char* line = R"("1","Codeunit","50000","Sales-Post","NAVW17.00","24-01-13","12:00:00","123456"," ","1")";
    list.Reserve(1000000);
    for (int i = 0; i < 1000000; ++i) list.AddCommaText(line);
    EXPECT_EQ(list.LastRow(), 1000000);
    EXPECT_EQ(list.Cell(1000000, 3), "Sales-Post");
    // 57 bytes of text and the row's index: well under a hundred bytes a row.
    EXPECT_LT(list.MemoryBytes(), 100u * 1000000u);
}

}  // namespace
}  // namespace kavlo
