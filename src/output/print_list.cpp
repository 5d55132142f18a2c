// The list printed over a PrintCanvas: layout in device pixels from centimetre positions, a
// page break tested only before a row, the header block on every page.
#include "output/print_list.h"

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

    // The header block in bold: both file names, page number and print time, column headings.
    void Header(int& y, int page, std::string_view file1, std::string_view file2, std::string_view printTime) {
        c_.SetFont(kFont, kRowPoints, true);
        y = dpcmY_;
        c_.WriteText(p_[0], y, "File #1: " + std::string(file1));
        RightAligned(p_[6], y, "  Page: " + std::to_string(page));
        y += LineHeight();
        c_.WriteText(p_[0], y, "File #2: " + std::string(file2));
        RightAligned(p_[6], y, printTime);
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

    // One object: its fields on one line, its version list below in the small font, clipped
    // to the room between the Name and BLOB Size positions.
    void Row(int& y, const TVisibleList& list, int row) {
        c_.SetFont(kFont, kRowPoints, false);
        c_.WriteText(p_[0], y, list.Cell(row, ColumnFile));
        c_.WriteText(p_[1], y, list.Cell(row, ColumnType));
        RightAligned(p_[2], y, list.Cell(row, ColumnID));
        c_.WriteText(p_[3], y, list.Cell(row, ColumnName));
        RightAligned(p_[4], y, list.Cell(row, ColumnDate));
        RightAligned(p_[5], y, list.Cell(row, ColumnTime));
        RightAligned(p_[6], y, list.Cell(row, ColumnBlobSize));
        const int h = LineHeight();
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
