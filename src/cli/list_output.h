// kavlo's renderings of a listing: JSON for programs, an aligned grid for a terminal.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace kavlo::cli {

// One listed row: the ten cell texts as the visible list holds them (ANSI bytes; the flag
// cells "1" or " ").
using Row = std::array<std::string, 10>;

struct FileSummary {
    bool present = false;
    std::string name;  // as given, in the encoding of the command line
    int count = 0;
};

struct Listing {
    FileSummary file1, file2;
    std::vector<Row> rows;
};

std::string RenderJson(const Listing& listing);
std::string RenderGrid(const Listing& listing);
// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8);

}  // namespace kavlo::cli
