// kavlo's JSON and grid renderings of a listing, texts converted to UTF-8.
#include "cli/list_output.h"

#include <cstdio>

#include "cli/terminal_text.h"
#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "platform/code_page.h"
#include "platform/memory.h"

namespace kavlo::cli {

namespace {

std::string JsonNumber(std::string_view cell) {
    const WholeNumber n = ParseWholeNumber(cell);
    return n.valid ? std::to_string(n.value) : JsonString(cell);
}

std::string JsonSummary(const FileSummary& f) {
    if (!f.present) return "null";
    return "{\"name\":" + JsonString(f.name) + ",\"count\":" + std::to_string(f.count) + "}";
}

// The rows of objects: none for the list of no objects, whose single row is empty.
int LastObjectRow(const TVisibleList& list) { return list.HasRows() ? list.LastRow() : 0; }

std::string Utf8(std::string_view ansi) { return AnsiToUtf8(ansi); }

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

std::string RenderJson(const Listing& listing) {
    std::string out = "{\"file1\":" + JsonSummary(listing.file1) + ",\"file2\":" + JsonSummary(listing.file2) +
                      ",\"count\":" + std::to_string(listing.count) + ",\"rows\":[";
    const TVisibleList& list = listing.list;
    for (int row = 1; row <= LastObjectRow(list); ++row) {
        if (row > 1) out += ',';
        out += "{\"file\":" + JsonNumber(list.Cell(row, ColumnFile));
        out += ",\"type\":" + JsonString(list.Cell(row, ColumnType));
        out += ",\"id\":" + JsonNumber(list.Cell(row, ColumnID));
        out += ",\"name\":" + JsonString(Utf8(list.Cell(row, ColumnName)));
        out += ",\"version\":" + JsonString(Utf8(list.Cell(row, ColumnVersion)));
        out += ",\"date\":" + JsonString(Utf8(list.Cell(row, ColumnDate)));
        out += ",\"time\":" + JsonString(Utf8(list.Cell(row, ColumnTime)));
        out += ",\"blobSize\":" + JsonNumber(list.Cell(row, ColumnBlobSize));
        out += std::string(",\"modified\":") + (list.Cell(row, ColumnModified) == "1" ? "true" : "false");
        out += std::string(",\"compiled\":") + (list.Cell(row, ColumnCompiled) == "1" ? "true" : "false");
        out += '}';
    }
    out += "]}\n";
    return out;
}

std::string RenderGrid(const Listing& listing, bool escapeControls) {
    const TVisibleList& list = listing.list;
    const int last = LastObjectRow(list);
    // A cell as it is written: for a terminal, its control characters escaped.
    std::string scratch;
    const auto cellText = [&](int row, size_t c) -> std::string_view {
        const std::string_view cell = list.Cell(row, static_cast<int>(c));
        if (!escapeControls || !HasAnsiControls(cell)) return cell;
        scratch = EscapeAnsiControls(cell);
        return scratch;
    };
    // Each character of the list becomes one code point, so a cell's width is its length in
    // the list; the texts are converted as they are written.
    std::array<size_t, 10> width{};
    for (int row = 0; row <= last; ++row)
        for (size_t c = 0; c < 10; ++c) width[c] = std::max(width[c], cellText(row, c).size());
    size_t lineWidth = 0;
    for (size_t w : width) lineWidth += w + 2;
    // Numbers are right-aligned, as in the window's grid.
    const auto right = [](size_t c) { return c == 0 || c == 2 || c == 7; };
    std::string out;
    out.reserve(static_cast<size_t>(last + 1) * (lineWidth + 8));
    AdviseLargePages(out.data(), out.capacity());
    for (int row = 0; row <= last; ++row) {
        const size_t lineStart = out.size();
        for (size_t c = 0; c < 10; ++c) {
            const std::string_view cell = cellText(row, c);
            const size_t pad = width[c] - cell.size();
            if (c) out += "  ";
            if (right(c)) out.append(pad, ' ');
            AppendAnsiAsUtf8(out, cell);
            if (!right(c) && c != 9) out.append(pad, ' ');
        }
        while (out.size() > lineStart && out.back() == ' ') out.pop_back();
        out += '\n';
    }
    const auto summary = [&](const char* label, const FileSummary& f) {
        if (f.present) out += std::string(label) + f.name + " (" + std::to_string(f.count) + " objects)\n";
    };
    summary("File 1: ", listing.file1);
    summary("File 2: ", listing.file2);
    out += std::to_string(listing.count) + " listed\n";
    return out;
}

}  // namespace kavlo::cli
