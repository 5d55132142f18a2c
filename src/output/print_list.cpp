// The list printed over a PrintCanvas: layout in device pixels from centimetre positions, a
// page break tested only before a row, the header block on every page. Nothing runs into its
// neighbour: a long path in the header loses the middle of its folders, a long cell is clipped
// to its column.
#include "output/print_list.h"

#include <algorithm>

#include "objfile/conversions.h"

namespace kavlo {

namespace {

constexpr std::string_view kFont = "Arial";
constexpr int kRowPoints = 10, kVersionPoints = 8;
// Column offsets from the left margin, in tenths of a centimetre.
constexpr std::array<int, 7> kOffsetTenths = {0, 5, 45, 48, 130, 155, 180};

// dpcm × tenths / 10, rounded to the nearest integer, an exact half to the even one; in
// integers, so that 141.5 cannot turn into 141.4999 on the way.
int TenthsToPixels(int dpcm, int tenths) {
    const long long n = static_cast<long long>(dpcm) * tenths;
    long long q = n / 10;
    const long long r = n % 10;
    if (r > 5 || (r == 5 && q % 2 != 0)) ++q;
    return static_cast<int>(q);
}

// LOGPIXELS / 25.4 × 10, truncated: pixels per inch × 100 / 254 in integers.
int PixelsPerCentimetre(int pixelsPerInch) {
    return static_cast<int>(static_cast<long long>(pixelsPerInch) * 100 / 254);
}

class ListPrinter {
public:
    ListPrinter(PrintCanvas& canvas, const PrintColumns& cols) : c_(canvas), p_(cols.p), dpcmY_(cols.dpcmY) {}

    int LineHeight() { return c_.TextHeight("q"); }

    void RightAligned(int right, int y, std::string_view text) { c_.WriteText(right - c_.TextWidth(text), y, text); }

    // A text of `width` at (x, y), kept between left and right on a line of height h. Only a
    // text that does not fit is clipped: a clipped text costs the printer far more.
    void WriteWithin(int left, int right, int y, int h, int x, int width, std::string_view text) {
        if (x >= left && x + width <= right)
            c_.WriteText(x, y, text);
        else
            c_.WriteClippedText(left, y, right, y + h, x, y, text);
    }

    // A line of the header: the label and a file's path at P0, a text with its right edge at
    // P6. A path that would run into that text keeps its file name and loses the middle of its
    // folders; what still does not fit is clipped.
    void HeaderLine(int y, std::string_view label, std::string_view file, std::string_view right) {
        const int h = LineHeight();
        const int end = p_[6] - c_.TextWidth(right);
        std::string text = std::string(label) + std::string(file);
        if (c_.TextWidth(text) > end - p_[0])
            text = std::string(label) + c_.CompactPath(file, end - p_[0] - c_.TextWidth(label));
        WriteWithin(p_[0], end, y, h, p_[0], c_.TextWidth(text), text);
        c_.WriteText(end, y, right);
    }

    // The header block in bold: both file names, page number and print time, column headings.
    void Header(int& y, int page, std::string_view file1, std::string_view file2, std::string_view printTime) {
        c_.SetFont(kFont, kRowPoints, true);
        y = dpcmY_;
        HeaderLine(y, "File #1: ", file1, "  Page: " + std::to_string(page));
        y += LineHeight();
        HeaderLine(y, "File #2: ", file2, printTime);
        y += 2 * LineHeight();
        c_.WriteText(p_[0], y, "#");
        c_.WriteText(p_[1], y, ColumnTitles[ColumnType]);
        RightAligned(p_[2], y, ColumnTitles[ColumnID]);
        c_.WriteText(p_[3], y,
                     std::string(ColumnTitles[ColumnName]) + " / " + std::string(ColumnTitles[ColumnVersion]));
        RightAligned(p_[4], y, ColumnTitles[ColumnDate]);
        RightAligned(p_[5], y, ColumnTitles[ColumnTime]);
        RightAligned(p_[6], y, ColumnTitles[ColumnBlobSize]);
        y += 2 * LineHeight();
    }

    // One object: its fields on one line, each clipped to its column, its version list below
    // in the small font, clipped to the room between the Name and BLOB Size positions. Type
    // and ID share the room between P1 and P2, Name and Date that between P3 and P4: the
    // left-aligned cell ends a blank before the right-aligned one begins.
    void Row(int& y, const TVisibleList& list, int row) {
        c_.SetFont(kFont, kRowPoints, false);
        const int h = LineHeight(), blank = c_.TextWidth(" ");
        auto left = [&](int x, int end, int column) {
            const std::string_view text = list.Cell(row, column);
            WriteWithin(x, end, y, h, x, c_.TextWidth(text), text);
        };
        auto right = [&](int start, int end, int column) {
            const std::string_view text = list.Cell(row, column);
            const int width = c_.TextWidth(text);
            WriteWithin(start, end, y, h, end - width, width, text);
        };
        left(p_[0], p_[1], ColumnFile);
        const int idX = p_[2] - c_.TextWidth(list.Cell(row, ColumnID));
        left(p_[1], std::max(p_[1], idX - blank), ColumnType);
        right(p_[1], p_[2], ColumnID);
        const int dateX = p_[4] - c_.TextWidth(list.Cell(row, ColumnDate));
        left(p_[3], std::max(p_[3], dateX - blank), ColumnName);
        right(p_[3], p_[4], ColumnDate);
        right(p_[4], p_[5], ColumnTime);
        right(p_[5], p_[6], ColumnBlobSize);
        y += h;
        c_.SetFont(kFont, kVersionPoints, false);
        c_.WriteClippedText(p_[3], y, p_[6], y + h, p_[3], y, list.Cell(row, ColumnVersion));
        c_.SetFont(kFont, kRowPoints, false);
        y += h;
    }

private:
    PrintCanvas& c_;
    std::array<int, 7> p_;
    int dpcmY_;
};

}  // namespace

PrintColumns ComputePrintColumns(int pixelsPerInchX, int pixelsPerInchY) {
    PrintColumns cols;
    cols.dpcmX = PixelsPerCentimetre(pixelsPerInchX);
    cols.dpcmY = PixelsPerCentimetre(pixelsPerInchY);
    for (size_t i = 0; i < cols.p.size(); ++i) cols.p[i] = cols.dpcmX + TenthsToPixels(cols.dpcmX, kOffsetTenths[i]);
    return cols;
}

std::string PrintTimeText(double now, const FormatSettings& fs) {
    return "  " + FormatDateText(now, fs) + " - " + FormatTimeText(now, fs);
}

void PrintList(PrintCanvas& canvas, const TVisibleList& list, std::string_view file1, std::string_view file2,
               std::string_view printTime, ProgressCallback* progress) {
    canvas.BeginDoc(kPrintJobTitle);
    try {
        const PrintColumns cols = ComputePrintColumns(canvas.PixelsPerInchX(), canvas.PixelsPerInchY());
        canvas.SetFont(kFont, kRowPoints, false);
        ListPrinter printer(canvas, cols);
        int y = 0, page = 1;
        bool headerDue = true;
        for (int row = 1; row <= list.LastRow(); ++row) {
            if (progress) progress->Progress(row);
            // Only here, before a row: never inside the header or between a row's two lines.
            if (y + 2 * printer.LineHeight() > canvas.PageHeight()) {
                canvas.NewPage();
                ++page;
                y = 0;
                headerDue = true;
            }
            if (headerDue) {
                printer.Header(y, page, file1, file2, printTime);
                headerDue = false;
            }
            printer.Row(y, list, row);
        }
    } catch (const ECancelled&) {
        // The user stopped it: the job is dropped, nothing of it is printed.
        try {
            canvas.AbortDoc();
        } catch (...) {}
        throw;
    } catch (...) {
        // The document is ended in every case; a failure to end it after another failure
        // must not hide the first one.
        try {
            canvas.EndDoc();
        } catch (...) {}
        throw;
    }
    canvas.EndDoc();
}

}  // namespace kavlo
