// The printed list: a header block with both file names, the page number and the time of
// printing on every page, column headings, and two lines per object (its fields, then its
// version list in a smaller font). Positions are centimetres turned into the printer's pixels.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "base/print_canvas.h"
#include "base/progress.h"
#include "listing/visible_list.h"
#include "platform/format_settings.h"

namespace kavlo {

// The print job's title in the print queue.
inline constexpr std::string_view kPrintJobTitle = "Kavlo";

// Where the printed columns stand, in device pixels from the left of the printable area.
struct PrintColumns {
    int dpcmX = 0, dpcmY = 0;  // device pixels per centimetre, truncated
    // P0 File, P1 Type, P2 ID (right edge), P3 Name and Version, P4 Date, P5 Time and
    // P6 BLOB Size, page number and print time (right edges).
    std::array<int, 7> p{};
};

// A 1 cm margin plus the offsets 0, 0.5, 4.5, 4.8, 13, 15.5 and 18 cm, each product rounded
// to the nearest pixel with an exact half going to the even neighbour.
PrintColumns ComputePrintColumns(int pixelsPerInchX, int pixelsPerInchY);

// Two blanks, the date in the short date format, " - ", the time in the long time format.
std::string PrintTimeText(double now, const FormatSettings& fs);

// Prints rows 1 to the last row as one document; every row is printed, also one without a
// File cell. `printTime` is the same on every page. The callback sees each row's index before
// the row. The document is ended also when printing fails; the failure then goes on to the
// caller. When the callback throws ECancelled the document is aborted instead, and ECancelled
// goes on to the caller.
void PrintList(PrintCanvas& canvas, const TVisibleList& list, std::string_view file1, std::string_view file2,
               std::string_view printTime, ProgressCallback* progress = nullptr);

}  // namespace kavlo
