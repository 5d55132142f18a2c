// The visible list handed to a new Excel: a workbook whose active sheet gets the grid's texts
// (header row included, grid row r in sheet row r + 1), a few columns formatted as text or
// aligned right, the header bold, the widths fitted, and Excel left open and visible for the
// user. Excel is reached through late-bound automation by member name; on Windows that is COM,
// the tests record the calls. Each call is a round trip to Excel's process, so the formats are
// set once for a column's rows and the texts go in blocks of rows, one call a block.
#pragma once
#include <exception>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/errors.h"
#include "base/progress.h"
#include "listing/visible_list.h"
#include "platform/format_settings.h"

namespace kavlo {

// The texts of a block of cells, row by row: what Range("A1:J500").Value takes in one call, each
// cell a text as a single cell's value would be.
struct TextBlock {
    int rows = 0, columns = 0;
    std::vector<std::string> cells;  // rows × columns, the first row first
};

// A value given to an automation member: a flag, a number, a text (ANSI, as the list's) or a
// block of texts.
using AutomationValue = std::variant<bool, int, std::string, TextBlock>;

// An object of the automation server, reached by member name.
class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Reads a property that holds an object, with its arguments (Range("A1"), Cells(1, 2)).
    virtual std::unique_ptr<AutomationObject> Get(std::string_view name,
                                                  std::initializer_list<AutomationValue> args = {}) = 0;
    // Sets a property; with arguments, the property of the object they pick (Cells(1, 2) := "x").
    virtual void Put(std::string_view name, std::initializer_list<AutomationValue> args,
                     const AutomationValue& value) = 0;
    // Calls a method without arguments; its result is dropped.
    virtual void Call(std::string_view name) = 0;
};

// Where the export finds Excel.
class ExcelHost {
public:
    virtual ~ExcelHost() = default;
    // A new instance of "Excel.Application" (a running Excel is never reused).
    virtual std::unique_ptr<AutomationObject> CreateApplication() = 0;
    // Brings Excel's main window to the front, restored when it is minimized.
    virtual void BringToFront() = 0;
};

// A failed automation call, with the system's text for its result code.
class EOleSysError : public EKavloError {
public:
    EOleSysError(const std::string& message, long code) : EKavloError(message), code_(code) {}
    long Code() const { return code_; }

private:
    long code_;
};
// A failure that the automation server reported itself, with its own description.
class EOleException : public EOleSysError {
public:
    using EOleSysError::EOleSysError;
};

inline constexpr long kXlRight = -4152;  // Excel's HorizontalAlignment for right-aligned
// The most rows written in one call: the progress bar still moves, and no block is huge.
inline constexpr int kExcelBlockRows = 500;

// Fills a new workbook as above. From the moment Excel has started, whatever happens, Excel is
// made visible and handed to the user (UserControl) with what was written so far; a failure
// then goes on to the caller. Only after a transfer without failure is its window brought to
// the front. The callback sees r + 1 for each grid row r from 0 (the header) to the last row.
// When it throws ECancelled, the rows before that one are written, the widths fitted, Excel is
// handed over the same way, and ECancelled goes on to the caller.
void ExportToExcel(const TVisibleList& list, const FormatSettings& fs, ExcelHost& excel,
                   ProgressCallback* progress = nullptr);

// The name of a failure's type as the user is told it (EOleException, EFCreateError, …).
std::string ErrorTypeName(const std::exception& e);
// "Export to Excel failed.", CR LF, the failure's type name, ": ", its text.
std::string ExcelExportFailedText(const std::exception& e);

}  // namespace kavlo
