// The filter string of the visible list, and what the one-column filter prompt offers.
#pragma once
#include <string>
#include <string_view>

#include "listing/field_filter.h"
#include "listing/visible_list.h"

namespace kavlo {

// At most this many IDs go into the filter string.
inline constexpr int kFilterStringMaxIds = 140;

// The ID cells of the first 140 data rows, joined by "|" (18|27|5050); empty for an empty list.
std::string MakeFilterString(const TVisibleList& list);

// The one-column prompt: its label ("Name Filter") and the value it offers: the column's filter,
// or when that is empty the current row's cell (for the flag columns a single blank is "0",
// and the value is then given as "True" or "False").
std::string FieldFilterLabel(int column);
std::string FieldFilterValue(const FilterTexts& filters, int column, std::string_view currentCell);

}  // namespace kavlo
