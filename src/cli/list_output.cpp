// kavlo's JSON and grid renderings of a listing, texts converted to UTF-8.
#include "cli/list_output.h"

#include <cstdio>

#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "platform/code_page.h"

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

// Display width of UTF-8 text: one column per code point.
size_t Width(const std::string& utf8) {
    size_t w = 0;
    for (unsigned char c : utf8) w += (c & 0xC0) != 0x80;
    return w;
}

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

std::string RenderGrid(const Listing& listing) {
    const TVisibleList& list = listing.list;
    std::vector<std::array<std::string, 10>> cells;
    cells.reserve(static_cast<size_t>(LastObjectRow(list)) + 1);
    for (int row = 0; row <= LastObjectRow(list); ++row) {
        std::array<std::string, 10> u;
        for (size_t c = 0; c < 10; ++c) u[c] = Utf8(list.Cell(row, static_cast<int>(c)));
        cells.push_back(std::move(u));
    }
    std::array<size_t, 10> width{};
    for (const auto& row : cells)
        for (size_t c = 0; c < 10; ++c) width[c] = std::max(width[c], Width(row[c]));
    // Numbers are right-aligned, as in the window's grid.
    const auto right = [](size_t c) { return c == 0 || c == 2 || c == 7; };
    std::string out;
    for (const auto& row : cells) {
        std::string line;
        for (size_t c = 0; c < 10; ++c) {
            const size_t pad = width[c] - Width(row[c]);
            if (c) line += "  ";
            if (right(c)) line.append(pad, ' ');
            line += row[c];
            if (!right(c) && c != 9) line.append(pad, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line;
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
