// The list written into a new Excel through the automation seam, a block of rows at a time: the
// block's formats, once for each column, then its texts in one call.
#include "output/excel_export.h"

#include <algorithm>
#include <new>

#include "output/text_list.h"

namespace kavlo {

namespace {

// Column letter and sheet row, "B7".
std::string CellAddress(int column, int sheetRow) {
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(sheetRow);
}
// "B2:B343": the columns first to last of the sheet rows first to last.
std::string AreaAddress(int firstColumn, int lastColumn, int firstRow, int lastRow) {
    return CellAddress(firstColumn, firstRow) + ":" + CellAddress(lastColumn, lastRow);
}

class SheetWriter {
public:
    SheetWriter(AutomationObject& sheet, const TVisibleList& list, const FormatSettings& fs)
        : sheet_(sheet), list_(list), fs_(fs) {}

    // A row whose "File" cell is empty is left out; its sheet row stays empty, so that the
    // sheet keeps the grid's row numbers.
    bool Listed(int r) const { return !list_.Cell(r, ColumnFile).empty(); }

    // Grid row r joins the block; a full block is written.
    void Add(int r) {
        if (block_.rows == 0) blockStart_ = r;
        for (int c = 0; c < kColumnCount; ++c) {
            const std::string_view cell = list_.Cell(r, c);
            block_.cells.push_back(r > 0 && c == ColumnDate ? DateCellAsYmd(cell, fs_) : std::string(cell));
        }
        if (++block_.rows == kExcelBlockRows) Flush();
    }
    // Writes the rows gathered so far: their formats first, so that a text column keeps "007"
    // as text, then their texts in one call. The sheet holds exactly the rows written, formats
    // and all, whenever the export stops.
    void Flush() {
        if (block_.rows == 0) return;
        FormatRows(blockStart_, blockStart_ + block_.rows - 1);
        const std::string area = AreaAddress(0, kColumnCount - 1, blockStart_ + 1, blockStart_ + block_.rows);
        block_.columns = kColumnCount;
        TextBlock block = std::move(block_);
        block_ = TextBlock{};
        sheet_.Get("Range", {area})->Put("Value", {}, std::move(block));
    }
    void FitWidths() { sheet_.Get("Range", {std::string("A1:J1")})->Get("EntireColumn")->Call("AutoFit"); }

private:
    void Put(const std::string& area, std::string_view member, const AutomationValue& value) {
        sheet_.Get("Range", {area})->Put(member, {}, value);
    }
    // Grid rows first to last: the header as text and bold, Type, Name and Version as text,
    // ID, Date, Time and BLOB Size aligned right (the header's too).
    void FormatRows(int first, int last) {
        const std::string text = "@";
        if (first == 0) {
            Put(AreaAddress(0, kColumnCount - 1, 1, 1), "NumberFormatLocal", text);
            sheet_.Get("Range", {AreaAddress(0, kColumnCount - 1, 1, 1)})->Get("Font")->Put("Bold", {}, true);
        }
        if (const int firstData = std::max(first, 1); firstData <= last) {
            Put(AreaAddress(ColumnType, ColumnType, firstData + 1, last + 1), "NumberFormatLocal", text);
            Put(AreaAddress(ColumnName, ColumnVersion, firstData + 1, last + 1), "NumberFormatLocal", text);
        }
        const int right = static_cast<int>(kXlRight);
        Put(AreaAddress(ColumnID, ColumnID, first + 1, last + 1), "HorizontalAlignment", right);
        Put(AreaAddress(ColumnDate, ColumnBlobSize, first + 1, last + 1), "HorizontalAlignment", right);
    }

    AutomationObject& sheet_;
    const TVisibleList& list_;
    const FormatSettings& fs_;
    int blockStart_ = 0;  // the grid row of the block's first row
    TextBlock block_;
};

void TransferCells(AutomationObject& app, const TVisibleList& list, const FormatSettings& fs,
                   ProgressCallback* progress) {
    const std::unique_ptr<AutomationObject> sheet = app.Get("ActiveWorkbook")->Get("ActiveSheet");
    SheetWriter writer(*sheet, list, fs);
    try {
        for (int r = 0; r <= list.LastRow(); ++r) {
            if (progress) progress->Progress(r + 1);
            if (writer.Listed(r))
                writer.Add(r);
            else
                writer.Flush();  // a block holds adjacent rows only
        }
    } catch (const ECancelled&) {
        // The user stopped it: what the progress bar has passed goes in, tidily fitted.
        writer.Flush();
        writer.FitWidths();
        throw;
    }
    writer.Flush();
    writer.FitWidths();
}

}  // namespace

void ExportToExcel(const TVisibleList& list, const FormatSettings& fs, ExcelHost& excel, ProgressCallback* progress) {
    std::unique_ptr<AutomationObject> app = excel.CreateApplication();
    std::exception_ptr failure;
    // Adding the workbook is part of the transfer: an Excel that started is handed over even
    // when it cannot add one.
    try {
        app->Get("Workbooks")->Call("Add");
        TransferCells(*app, list, fs, progress);
    } catch (...) {
        failure = std::current_exception();
    }
    for (const char* member : {"Visible", "UserControl"}) {
        try {
            app->Put(member, {}, true);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    app.reset();  // Excel stays open: the user has it now
    if (failure) std::rethrow_exception(failure);
    excel.BringToFront();
}

std::string ErrorTypeName(const std::exception& e) {
    if (dynamic_cast<const EOleException*>(&e)) return "EOleException";
    if (dynamic_cast<const EOleSysError*>(&e)) return "EOleSysError";
    if (dynamic_cast<const EFOpenError*>(&e)) return "EFOpenError";
    if (dynamic_cast<const EFCreateError*>(&e)) return "EFCreateError";
    if (dynamic_cast<const EReadError*>(&e)) return "EReadError";
    if (dynamic_cast<const EConvertError*>(&e)) return "EConvertError";
    if (dynamic_cast<const EAssertionFailed*>(&e)) return "EAssertionFailed";
    if (dynamic_cast<const EKavloError*>(&e)) return "EKavloError";
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "EOutOfMemory";
    return "Exception";
}

std::string ExcelExportFailedText(const std::exception& e) {
    return "Export to Excel failed.\r\n" + ErrorTypeName(e) + ": " + e.what();
}

}  // namespace kavlo
