// kavlo's renderings of a listing: JSON for programs, an aligned grid for a terminal.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "listing/visible_list.h"

namespace kavlo::cli {

struct FileSummary {
    bool present = false;
    std::string name;  // as given, in the encoding of the command line
    int count = 0;
};

struct Listing {
    FileSummary file1, file2;
    // The visible list as a build left it (ANSI cells; the flag cells "1" or " "); an empty
    // list renders no rows.
    TVisibleList list;
    int count = 0;  // the number listed
};

std::string RenderJson(const Listing& listing);
// escapeControls: for a terminal, control characters in the cells are written as \xNN.
std::string RenderGrid(const Listing& listing, bool escapeControls = false);
// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view utf8);

}  // namespace kavlo::cli
