#include "cli/list_output.h"

#include <cstdio>

#include "objfile/conversions.h"
#include "objfile/fob.h"
#include "platform/code_page.h"

namespace kavlo::cli {

namespace {

const std::array<const char*, 10> kTitles = {"File", "Type", "ID", "Name", "Version",
                                             "Date", "Time", "BLOB Size", "Modified", "Compiled"};

std::string JsonNumber(const std::string& cell) {
    const WholeNumber n = ParseWholeNumber(cell);
    return n.valid ? std::to_string(n.value) : JsonString(cell);
}

std::string JsonSummary(const FileSummary& f) {
    if (!f.present) return "null";
    return "{\"name\":" + JsonString(f.name) + ",\"count\":" + std::to_string(f.count) + "}";
}

// Display width of UTF-8 text: one column per code point.
size_t Width(const std::string& utf8) {
    size_t w = 0;
    for (unsigned char c : utf8) w += (c & 0xC0) != 0x80;
    return w;
}

}  // namespace

std::string JsonString(const std::string& utf8) {
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
    std::string out = "{\"file1\":" + JsonSummary(listing.file1) +
                      ",\"file2\":" + JsonSummary(listing.file2) + ",\"rows\":[";
    bool first = true;
    for (const Row& r : listing.rows) {
        if (!first) out += ',';
        first = false;
        out += "{\"file\":" + JsonNumber(r[0]);
        out += ",\"type\":" + JsonString(r[1]);
        out += ",\"id\":" + JsonNumber(r[2]);
        out += ",\"name\":" + JsonString(AnsiToUtf8(r[3]));
        out += ",\"version\":" + JsonString(AnsiToUtf8(r[4]));
        out += ",\"date\":" + JsonString(AnsiToUtf8(r[5]));
        out += ",\"time\":" + JsonString(AnsiToUtf8(r[6]));
        out += ",\"blobSize\":" + JsonNumber(r[7]);
        out += std::string(",\"modified\":") + (r[8] == "1" ? "true" : "false");
        out += std::string(",\"compiled\":") + (r[9] == "1" ? "true" : "false");
        out += '}';
    }
    out += "]}\n";
    return out;
}

std::string RenderGrid(const Listing& listing) {
    std::vector<std::array<std::string, 10>> cells;
    cells.reserve(listing.rows.size() + 1);
    std::array<std::string, 10> header;
    for (size_t c = 0; c < 10; ++c) header[c] = kTitles[c];
    cells.push_back(header);
    for (const Row& r : listing.rows) {
        std::array<std::string, 10> u;
        for (size_t c = 0; c < 10; ++c) u[c] = AnsiToUtf8(r[c]);
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
    out += std::to_string(listing.rows.size()) + " listed\n";
    return out;
}

}  // namespace kavlo::cli
