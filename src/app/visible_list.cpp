#include "app/visible_list.h"

#include "objfile/errors.h"

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
    return std::string_view(text_).substr(static_cast<size_t>(r.start) + begin, r.end[c] - begin);
}

std::array<std::string_view, kColumnCount> TVisibleList::Row(int row) const {
    std::array<std::string_view, kColumnCount> cells;
    for (int c = 0; c < kColumnCount; ++c) cells[static_cast<size_t>(c)] = Cell(row, c);
    return cells;
}

void TVisibleList::Clear() {
    text_.clear();
    rows_.clear();
}

void TVisibleList::Reserve(size_t rows, size_t bytesPerRow) {
    rows_.reserve(rows_.size() + rows);
    text_.reserve(text_.size() + rows * bytesPerRow);
}

void TVisibleList::AddRow(std::span<const std::string_view, kColumnCount> cells) {
    size_t total = 0;
    for (std::string_view c : cells) total += c.size();
    if (total > 0xFFFF) throw EKavloError("A row of the list holds more than 65535 bytes of text.");
    RowIndex r{text_.size(), {}};
    uint16_t end = 0;
    for (size_t c = 0; c < cells.size(); ++c) {
        text_ += cells[c];
        end = static_cast<uint16_t>(end + cells[c].size());
        r.end[c] = end;
    }
    rows_.push_back(r);
}

void TVisibleList::AddCommaText(std::string_view line) {
    // Unquoted straight into the list's text, without a string per cell.
    const size_t start = text_.size();
    RowIndex r{start, {}};
    std::string scratch;
    size_t c = 0;
    const auto undo = [&] { text_.resize(start); };
    try {
        ForEachCommaField(line, scratch, [&](std::string_view f) {
            if (c >= kColumnCount) return;
            if (text_.size() - start + f.size() > 0xFFFF)
                throw EKavloError("A row of the list holds more than 65535 bytes of text.");
            text_ += f;
            r.end[c++] = static_cast<uint16_t>(text_.size() - start);
        });
    } catch (...) {
        undo();
        throw;
    }
    for (; c < kColumnCount; ++c) r.end[c] = static_cast<uint16_t>(text_.size() - start);
    rows_.push_back(r);
}

size_t TVisibleList::MemoryBytes() const {
    return sizeof(*this) + text_.capacity() + rows_.capacity() * sizeof(RowIndex);
}

}  // namespace kavlo
