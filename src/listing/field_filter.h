// Field filters: one wildcard pattern per column that an object's column text must match.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "listing/columns.h"
#include "objfile/fob.h"

namespace kavlo {

// The ten filter texts, index = column number (0 File … 9 Compiled). Empty = no filter.
using FilterTexts = std::array<std::string, kColumnCount>;

// The filters as one build uses them: prepared once per build, not per object.
struct PreparedFilters {
    std::array<std::string, kColumnCount> pattern;  // the text without its case marker
    std::array<bool, kColumnCount> caseSensitive{};
    std::array<bool, kColumnCount> active{};  // the column's text is non-empty
    bool anyFilter = false;
};

// A leading "@", or an "@" right after a leading "*" or "?", makes the filter ignore the case
// of ASCII letters; the marker is removed from the pattern. Any other "@" is literal.
PreparedFilters PrepareFilters(const FilterTexts& texts);

// True when the record's column text (GetFobString) matches every non-empty filter.
bool FilterPasses(const PreparedFilters& filters, const TFobRec& rec);

// "*" any run of characters, "?" one character (a "?" left over when the text is used up is
// ignored, so ab? matches ab); no escapes. An empty pattern matches everything. Without
// caseSensitive only A to Z and a to z match each other's case; bytes above 127 match only
// themselves.
bool WildcardMatch(std::string_view pattern, std::string_view text, bool caseSensitive);

// Rewrites the Type filter to a type name (cod -> Codeunit) and the Modified and Compiled
// filters to True or False (1, t, on -> True); other texts stay as typed.
void NormaliseFilters(FilterTexts& texts);

// The text that a filter on the column is matched against, as GetFobString gives it but
// without allocating; it may point into `buffer` or into the record.
std::string_view FilterFieldText(const TFobRec& rec, int column, std::array<char, 16>& buffer);

}  // namespace kavlo
