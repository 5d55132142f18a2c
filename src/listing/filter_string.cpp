// The filter string of up to 140 IDs, and the values the one-column filter prompt offers.
#include "listing/filter_string.h"

#include <algorithm>

#include "objfile/object_types.h"

namespace kavlo {

std::string MakeFilterString(const TVisibleList& list) {
    std::string result;
    const int rows = std::min(list.DataRowCount(), kFilterStringMaxIds);
    for (int row = 1; row <= rows; ++row) {
        if (row > 1) result += '|';
        result += list.Cell(row, ColumnID);
    }
    return result;
}

std::string FieldFilterLabel(int column) {
    return std::string(TrimBlanks(ColumnTitles[static_cast<size_t>(column)])) + " Filter";
}

std::string FieldFilterValue(const FilterTexts& filters, int column, std::string_view currentCell) {
    const std::string& filter = filters[static_cast<size_t>(column)];
    if (!filter.empty()) return filter;
    std::string value(currentCell);
    if (IsFlagColumn(column)) {
        if (value == " ") value = "0";
        value = NormalizeBoolText(value);
    }
    return value;
}

}  // namespace kavlo
