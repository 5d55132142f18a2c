// The visible list's storage in 1 MB blocks, and the splitting of a comma-separated row.
#include "listing/visible_list.h"

#include <cstring>

#include "base/errors.h"

namespace kavlo {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Calls field(text) for each field of the line, in order; quoted fields are unquoted into
// `scratch` first.
template <typename Field>
void ForEachCommaField(std::string_view line, std::string& scratch, Field&& field) {
    size_t p = 0;
    const size_t n = line.size();
    const auto skipBlanks = [&] {
        while (p < n && IsBlank(line[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        if (line[p] == '"') {
            // Most fields hold no quote of their own and are passed as they stand; the first
            // doubled quote switches to unquoting into scratch.
            const size_t start = ++p;
            bool copied = false;
            while (p < n) {
                if (line[p] == '"') {
                    if (p + 1 < n && line[p + 1] == '"') {
                        if (!copied) scratch.assign(line.substr(start, p - start));
                        copied = true;
                        scratch += '"';
                        p += 2;
                        continue;
                    }
                    break;
                }
                if (copied) scratch += line[p];
                ++p;
            }
            field(copied ? std::string_view(scratch) : line.substr(start, p - start));
            if (p < n) ++p;  // the closing quote
        } else {
            const size_t start = p;
            while (p < n && !IsBlank(line[p]) && line[p] != ',') ++p;
            field(line.substr(start, p - start));
        }
        skipBlanks();
        if (p < n && line[p] == ',') {
            if (p + 1 == n) field(std::string_view());  // a trailing comma ends in an empty field
            ++p;
            skipBlanks();
        }
    }
}

}  // namespace

std::array<std::string, kColumnCount> SplitCommaText(std::string_view line) {
    std::array<std::string, kColumnCount> cells;
    std::string scratch;
    size_t c = 0;
    ForEachCommaField(line, scratch, [&](std::string_view f) {
        if (c < cells.size()) cells[c] = f;
        ++c;
    });
    return cells;
}

std::string_view TVisibleList::Cell(int row, int column) const {
    if (column < 0 || column >= kColumnCount) return {};
    const size_t c = static_cast<size_t>(column);
    if (row == 0) return ColumnTitles[c];
    if (row < 1 || row > static_cast<int>(rows_.size())) return {};
    const RowIndex& r = rows_[static_cast<size_t>(row - 1)];
    const size_t begin = c == 0 ? 0 : r.end[c - 1];
    const char* text = blocks_[r.start >> kBlockBits].get() + (r.start & (kBlockSize - 1));
    return std::string_view(text + begin, r.end[c] - begin);
}

std::array<std::string_view, kColumnCount> TVisibleList::Row(int row) const {
    std::array<std::string_view, kColumnCount> cells;
    for (int c = 0; c < kColumnCount; ++c) cells[static_cast<size_t>(c)] = Cell(row, c);
    return cells;
}

void TVisibleList::Clear() {
    blocks_.clear();
    usedInLast_ = kBlockSize;
    rows_.clear();
}

void TVisibleList::Reserve(size_t rows) { rows_.reserve(rows_.size() + rows); }

char* TVisibleList::Room(size_t bytes, uint64_t& start) {
    if (blocks_.empty() || kBlockSize - usedInLast_ < bytes) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        usedInLast_ = 0;
    }
    start = (static_cast<uint64_t>(blocks_.size() - 1) << kBlockBits) | usedInLast_;
    char* at = blocks_.back().get() + usedInLast_;
    usedInLast_ += bytes;
    return at;
}

void TVisibleList::AddRow(std::span<const std::string_view, kColumnCount> cells) {
    size_t total = 0;
    for (std::string_view c : cells) total += c.size();
    if (total > 0xFFFF) throw EKavloError("A row of the list holds more than 65535 bytes of text.");
    RowIndex r;
    char* at = Room(total, r.start);
    uint16_t end = 0;
    for (size_t c = 0; c < cells.size(); ++c) {
        if (!cells[c].empty()) std::memcpy(at + end, cells[c].data(), cells[c].size());
        end = static_cast<uint16_t>(end + cells[c].size());
        r.end[c] = end;
    }
    rows_.push_back(r);
}

void TVisibleList::AddCommaText(std::string_view line) {
    // The fields are unquoted one after another into scratch_, then added as one row.
    scratch_.clear();
    std::array<size_t, kColumnCount> end{};
    std::string field;
    size_t c = 0;
    ForEachCommaField(line, field, [&](std::string_view f) {
        if (c >= kColumnCount) return;
        scratch_ += f;
        end[c++] = scratch_.size();
    });
    for (; c < kColumnCount; ++c) end[c] = scratch_.size();
    std::array<std::string_view, kColumnCount> cells;
    for (size_t i = 0; i < kColumnCount; ++i) {
        const size_t begin = i == 0 ? 0 : end[i - 1];
        cells[i] = std::string_view(scratch_).substr(begin, end[i] - begin);
    }
    AddRow(cells);
}

size_t TVisibleList::MemoryBytes() const {
    return sizeof(*this) + blocks_.size() * kBlockSize + blocks_.capacity() * sizeof(blocks_[0]) +
           rows_.capacity() * sizeof(RowIndex) + scratch_.capacity();
}

}  // namespace kavlo
