// The ten columns of the visible list, in grid order, and their titles (row 0 of the list).
#pragma once
#include <array>
#include <string_view>

namespace kavlo {

enum Column : int {
    ColumnFile, ColumnType, ColumnID, ColumnName, ColumnVersion,
    ColumnDate, ColumnTime, ColumnBlobSize, ColumnModified, ColumnCompiled,
};
inline constexpr int kColumnCount = 10;

inline constexpr std::array<std::string_view, kColumnCount> ColumnTitles = {
    "File", "Type", "ID", "Name", "Version", "Date", "Time", "BLOB Size", "Modified", "Compiled"};

// The two flag columns, whose cells are "1" or a blank.
constexpr bool IsFlagColumn(int column) { return column == ColumnModified || column == ColumnCompiled; }

}  // namespace kavlo
