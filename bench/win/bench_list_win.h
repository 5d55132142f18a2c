// The visible list the Windows benchmarks paint, print and export: `rows` rows of realistic
// widths, every third with Modified and every second with Compiled.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "listing/visible_list.h"

namespace kavlo {

inline TVisibleList MakeBenchList(int rows) {
    TVisibleList list;
    list.Reserve(static_cast<size_t>(rows));
    for (int i = 1; i <= rows; ++i) {
        const std::string id = std::to_string(i);
        const std::array<std::string_view, kColumnCount> cells = {
            "1", "Table", id, "Sales Invoice Header", "NAVW111.00,NAVDK11.00", "30-08-18", "12:00:00", "12345",
            i % 3 ? "1" : " ", i % 2 ? "1" : " "};
        list.AddRow(cells);
    }
    return list;
}

}  // namespace kavlo
