// The visible list: the rows that the main window's grid shows and that saving, printing,
// Excel, the filter string and marking read. Row 0 is the header (ColumnTitles); rows 1 to
// LastRow() are the listed objects in build order. A list without objects still has one data
// row, row 1, whose ten cells are empty.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "listing/columns.h"

namespace kavlo {

// Splits a line of comma-separated fields: a field in double quotes runs to the closing quote,
// a doubled quote inside it stands for one; an unquoted field runs to the next comma or blank;
// blanks and control characters between fields are skipped. Missing fields stay empty, fields
// past the tenth are dropped.
std::array<std::string, kColumnCount> SplitCommaText(std::string_view line);

class TVisibleList {
public:
    // The list of no objects: the header and one empty row.
    TVisibleList() = default;

    // Header included, so at least 2.
    int RowCount() const { return 1 + DataRowCount(); }
    int LastRow() const { return DataRowCount(); }
    // The number of data rows, at least 1 (the empty row of an empty list).
    int DataRowCount() const { return rows_.empty() ? 1 : static_cast<int>(rows_.size()); }
    // The rows added by the build; 0 for the empty list.
    int AddedRowCount() const { return static_cast<int>(rows_.size()); }

    // Row 0 gives the column titles; a row or column out of range gives the empty text.
    std::string_view Cell(int row, int column) const;
    std::array<std::string_view, kColumnCount> Row(int row) const;

    // The test every output command and marking run first: the first data row has a File
    // cell, so the list holds objects (the caller tells the user "No rows in list." otherwise).
    bool HasRows() const { return !Cell(1, ColumnFile).empty(); }

    // Back to the empty list.
    void Clear();
    // Room for this many more rows.
    void Reserve(size_t rows);
    // Appends a row; its ten cells together may hold at most 65535 bytes (a row of an object
    // record holds well under 1000), else EKavloError.
    void AddRow(std::span<const std::string_view, kColumnCount> cells);
    // Appends the row that SplitCommaText makes of the line.
    void AddCommaText(std::string_view line);

    // Bytes held by the list, for the benchmarks' memory figures.
    size_t MemoryBytes() const;

private:
    // The cell texts of all rows end to end in blocks of 1 MB, a row never split between two:
    // the list grows without copying what it holds and without the slack of a doubling buffer.
    // Per row: the block and offset where it starts and where each of its cells ends, relative
    // to that start; 32 bytes besides the texts.
    static constexpr unsigned kBlockBits = 20;
    static constexpr size_t kBlockSize = size_t{1} << kBlockBits;
    struct RowIndex {
        uint64_t start;  // block << kBlockBits | offset
        std::array<uint16_t, kColumnCount> end;
    };
    char* Room(size_t bytes, uint64_t& start);

    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t usedInLast_ = kBlockSize;  // no block yet
    std::vector<RowIndex> rows_;
    std::string scratch_;  // AddCommaText's unquoting
};

// What the output commands, the filter string and marking tell the user when the list holds no
// objects.
inline constexpr std::string_view kNoRowsInList = "No rows in list.";

// The list's HasRows, and when it is false "No rows in list." told through `tell`.
template <typename Tell>
bool HasRows(const TVisibleList& list, Tell&& tell) {
    if (list.HasRows()) return true;
    tell(kNoRowsInList);
    return false;
}

}  // namespace kavlo
