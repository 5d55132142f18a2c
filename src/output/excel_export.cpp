// The list written into a new Excel through the automation seam, in the order of the cells.
#include "output/excel_export.h"

#include <new>

#include "output/text_list.h"

namespace kavlo {

namespace {

// Column letter and sheet row, "B7".
std::string CellAddress(int column, int sheetRow) {
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(sheetRow);
}

bool IsTextColumn(int c) { return c == ColumnType || c == ColumnName || c == ColumnVersion; }
bool IsRightColumn(int c) { return c == ColumnID || c == ColumnDate || c == ColumnTime || c == ColumnBlobSize; }

void TransferCells(AutomationObject& app, const TVisibleList& list, const FormatSettings& fs,
                   ProgressCallback* progress) {
    const std::unique_ptr<AutomationObject> sheet = app.Get("ActiveWorkbook")->Get("ActiveSheet");
    for (int r = 0; r <= list.LastRow(); ++r) {
        if (progress) progress->Progress(r + 1);
        // A row left out leaves its sheet row empty: the sheet keeps the grid's row numbers.
        if (list.Cell(r, ColumnFile).empty()) continue;
        for (int c = 0; c < kColumnCount; ++c) {
            // Formats go on before the value, so that a text column keeps "007" as text.
            const std::string address = CellAddress(c, r + 1);
            if (r == 0 || IsTextColumn(c))
                sheet->Get("Range", {address})->Put("NumberFormatLocal", {}, std::string("@"));
            if (IsRightColumn(c))
                sheet->Get("Range", {address})->Put("HorizontalAlignment", {}, static_cast<int>(kXlRight));
            if (r == 0) sheet->Get("Cells", {1, c + 1})->Get("Font")->Put("Bold", {}, true);
            const std::string_view cell = list.Cell(r, c);
            sheet->Put("Cells", {r + 1, c + 1}, r > 0 && c == ColumnDate ? DateCellAsYmd(cell, fs) : std::string(cell));
        }
    }
    sheet->Get("Range", {std::string("A1:J1")})->Get("EntireColumn")->Call("AutoFit");
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
