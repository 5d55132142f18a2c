// The visible list saved as text: one line per listed object, its ten cells each in double
// quotes, joined by commas, the date as year, month and day.
#pragma once
#include <string>
#include <string_view>

#include "base/progress.h"
#include "listing/visible_list.h"
#include "platform/format_settings.h"

namespace kavlo {

// A Date cell that reads as a date in the short date format, as yyyy/mm/dd with the locale's
// date separator for "/"; any other text unchanged. Excel export writes dates the same way.
std::string DateCellAsYmd(std::string_view cell, const FormatSettings& fs);

// The bytes of the file: rows with an empty File cell are left out, every line ends in CR LF,
// the texts are the list's own ANSI bytes. The callback sees every data row, written or not.
std::string ListAsText(const TVisibleList& list, const FormatSettings& fs, ProgressCallback* progress = nullptr);
// The same for the data rows firstRow to lastRow only (the grid's selection on the clipboard).
std::string RowsAsText(const TVisibleList& list, int firstRow, int lastRow, const FormatSettings& fs,
                       ProgressCallback* progress = nullptr);

// Builds all lines first, then creates (or replaces) the file and writes them in one go, so a
// failure while building leaves the file system untouched. A file that cannot be created or
// written raises EFCreateError.
void SaveListAsText(const TVisibleList& list, const std::string& fileName, const FormatSettings& fs,
                    ProgressCallback* progress = nullptr);

// ".txt" is appended unless the name already ends in it, in any letter case.
std::string WithTxtExtension(const std::string& fileName);

}  // namespace kavlo
