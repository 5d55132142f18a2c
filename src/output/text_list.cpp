// The visible list as the text file that Save writes, and the date rewrite it shares with Excel.
#include "output/text_list.h"

#include <algorithm>
#include <cstdio>

#include "base/calendar.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"
#include "platform/file.h"

namespace kavlo {

std::string DateCellAsYmd(std::string_view cell, const FormatSettings& fs) {
    const double serial = LocalDateValue(cell, fs);
    if (serial == 0) return std::string(cell);
    const CivilDate d = DecodeDate(serial);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04lld%c%02d%c%02d", static_cast<long long>(d.year), fs.dateSeparator, d.month,
                  fs.dateSeparator, d.day);
    return buf;
}

std::string ListAsText(const TVisibleList& list, const FormatSettings& fs, ProgressCallback* progress) {
    return RowsAsText(list, 1, list.LastRow(), fs, progress);
}

std::string RowsAsText(const TVisibleList& list, int firstRow, int lastRow, const FormatSettings& fs,
                       ProgressCallback* progress) {
    std::string out;
    for (int row = std::max(firstRow, 1); row <= std::min(lastRow, list.LastRow()); ++row) {
        if (progress) progress->Progress(row);
        if (list.Cell(row, ColumnFile).empty()) continue;
        for (int c = 0; c < kColumnCount; ++c) {
            if (c) out += ',';
            out += '"';
            // Cells are written as they stand, quotes and commas included; only the date changes.
            if (c == ColumnDate) out += DateCellAsYmd(list.Cell(row, c), fs);
            else out += list.Cell(row, c);
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

void SaveListAsText(const TVisibleList& list, const std::string& fileName, const FormatSettings& fs,
                    ProgressCallback* progress) {
    const std::string bytes = ListAsText(list, fs, progress);
    WriteWholeFile(fileName, bytes);
}

std::string WithTxtExtension(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("\\/");
    const size_t dot = fileName.find_last_of('.');
    const bool hasTxt = dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
                        LowerAscii(fileName.substr(dot)) == ".txt";
    return hasTxt ? fileName : fileName + ".txt";
}

}  // namespace kavlo
