#include "listing/filter_string.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TVisibleList ListOfIds(int n) {
    TVisibleList list;
    for (int i = 1; i <= n; ++i) {
        const std::string id = std::to_string(1000 + i);
        std::array<std::string_view, kColumnCount> cells = {"1", "Table", id, "N", "", "", "", "0", " ", " "};
        list.AddRow(cells);
    }
    return list;
}

TEST(FilterString, JoinsTheFirst140Ids) {
    EXPECT_EQ(MakeFilterString(ListOfIds(3)), "1001|1002|1003");
    const std::string s = MakeFilterString(ListOfIds(141));
    EXPECT_EQ(std::count(s.begin(), s.end(), '|'), 139);
    EXPECT_TRUE(s.ends_with("|1140"));
    EXPECT_EQ(MakeFilterString(TVisibleList()), "");
}

TEST(FieldFilterPrompt, OffersTheFilterOrTheCurrentCell) {
    FilterTexts f{};
    EXPECT_EQ(FieldFilterLabel(3), "Name Filter");
    EXPECT_EQ(FieldFilterLabel(7), "BLOB Size Filter");
    EXPECT_EQ(FieldFilterValue(f, 3, "Customer"), "Customer");
    f[3] = "Cust*";
    EXPECT_EQ(FieldFilterValue(f, 3, "Customer"), "Cust*");
    EXPECT_EQ(FieldFilterValue(f, 8, " "), "False");
    EXPECT_EQ(FieldFilterValue(f, 9, "1"), "True");
    EXPECT_EQ(FieldFilterValue(f, 9, ""), "");
}

}  // namespace
}  // namespace kavlo
