#include "app/filter_commands.h"

#include <algorithm>

#include "objfile/object_types.h"

namespace kavlo {

std::string MakeFilterString(const TVisibleList& list) {
    std::string result;
    const int rows = std::min(list.DataRowCount(), kFilterStringMaxIds);
    for (int row = 1; row <= rows; ++row) {
        if (row > 1) result += '|';
        result += list.Cell(row, 2);
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
    if (column == 8 || column == 9) {
        if (value == " ") value = "0";
        value = NormalizeBoolText(value);
    }
    return value;
}

std::string WithTxtExtension(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("\\/");
    const size_t dot = fileName.find_last_of('.');
    const bool hasTxt = dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
                        LowerAscii(fileName.substr(dot)) == ".txt";
    return hasTxt ? fileName : fileName + ".txt";
}

}  // namespace kavlo
