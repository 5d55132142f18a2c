#include "output/excel_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace kavlo {
namespace {

// An automation server that logs every call with the path of the object it was made on:
// "get Range(C1)", "Range(C1).HorizontalAlignment=-4152", "Cells(2,1)=1". Automation calls are
// counted from 1; the one numbered failAt throws.
struct CallLog {
    std::vector<std::string> calls;
    int count = 0, failAt = 0;
    void Add(std::string call) {
        calls.push_back(std::move(call));
        if (++count == failAt) throw EOleException("Stand-in failure", -1);
    }
};

std::string Text(const AutomationValue& v) {
    if (const bool* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
    if (const int* i = std::get_if<int>(&v)) return std::to_string(*i);
    return std::get<std::string>(v);
}
std::string Member(std::string_view name, std::initializer_list<AutomationValue> args) {
    std::string s(name);
    if (args.size() == 0) return s;
    s += '(';
    for (const AutomationValue& a : args) s += (s.back() == '(' ? "" : ",") + Text(a);
    return s + ')';
}

class LoggedObject final : public AutomationObject {
public:
    LoggedObject(CallLog& log, std::string path, bool app = false) : log_(log), path_(std::move(path)), app_(app) {}
    ~LoggedObject() override {
        if (app_) log_.calls.push_back("release");
    }
    std::unique_ptr<AutomationObject> Get(std::string_view name, std::initializer_list<AutomationValue> args) override {
        const std::string child = Path() + Member(name, args);
        log_.Add("get " + child);
        // The sheet's own path starts again, so that the cells read as the sheet's.
        return std::make_unique<LoggedObject>(log_, child == "ActiveWorkbook.ActiveSheet" ? "" : child);
    }
    void Put(std::string_view name, std::initializer_list<AutomationValue> args,
             const AutomationValue& value) override {
        log_.Add(Path() + Member(name, args) + "=" + Text(value));
    }
    void Call(std::string_view name) override { log_.Add(Path() + std::string(name) + "()"); }

private:
    std::string Path() const { return path_.empty() ? "" : path_ + "."; }
    CallLog& log_;
    std::string path_;
    bool app_;
};

struct LoggedExcel final : ExcelHost {
    CallLog log;
    bool unavailable = false;
    std::unique_ptr<AutomationObject> CreateApplication() override {
        if (unavailable) throw EOleSysError("Class not registered", -1);
        log.calls.push_back("create");
        return std::make_unique<LoggedObject>(log, "", true);
    }
    void BringToFront() override { log.calls.push_back("to front"); }
};

struct Recorder : ProgressCallback {
    std::vector<int> rows;
    void Progress(int row) override { rows.push_back(row); }
};

// The calls of one cell, joined by blanks.
std::string CellCalls(const std::vector<std::string>& calls, size_t& at, const std::string& valueCall) {
    std::string out;
    while (at < calls.size()) {
        const std::string& c = calls[at++];
        out += (out.empty() ? "" : " ") + c;
        if (c.starts_with(valueCall)) break;
    }
    return out;
}

TEST(ExcelExport, CellsGetTheirFormatsBeforeTheirValuesInGridOrder) {
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18","Customer","NAVW17.10","17-02-04","12:00:00","120","1"," ")");
    list.AddCommaText(R"("","Table","19","left out","","","","0"," "," ")");
    list.AddCommaText(R"("2","Page","21","Card","","no date","","0"," ","1")");
    LoggedExcel excel;
    Recorder progress;
    ExportToExcel(list, FormatSettings{}, excel, &progress);

    const auto& calls = excel.log.calls;
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5),
              (std::vector<std::string>{"create", "get Workbooks", "Workbooks.Add()", "get ActiveWorkbook",
                                        "get ActiveWorkbook.ActiveSheet"}));
    const std::string text = "get Range(%) Range(%).NumberFormatLocal=@";
    const std::string right = "get Range(%) Range(%).HorizontalAlignment=-4152";
    auto with = [](std::string s, const std::string& address) {
        for (size_t p; (p = s.find('%')) != std::string::npos;) s.replace(p, 1, address);
        return s;
    };
    auto bold = [](int c) {
        return "get Cells(1," + std::to_string(c) + ") get Cells(1," + std::to_string(c) + ").Font Cells(1," +
               std::to_string(c) + ").Font.Bold=true";
    };
    // Header: every cell text-formatted and bold; ID, Date, Time and BLOB Size also right.
    const std::vector<std::string> header = {
        with(text, "A1") + " " + bold(1) + " Cells(1,1)=File",
        with(text, "B1") + " " + bold(2) + " Cells(1,2)=Type",
        with(text, "C1") + " " + with(right, "C1") + " " + bold(3) + " Cells(1,3)=ID",
        with(text, "D1") + " " + bold(4) + " Cells(1,4)=Name",
        with(text, "E1") + " " + bold(5) + " Cells(1,5)=Version",
        with(text, "F1") + " " + with(right, "F1") + " " + bold(6) + " Cells(1,6)=Date",
        with(text, "G1") + " " + with(right, "G1") + " " + bold(7) + " Cells(1,7)=Time",
        with(text, "H1") + " " + with(right, "H1") + " " + bold(8) + " Cells(1,8)=BLOB Size",
        with(text, "I1") + " " + bold(9) + " Cells(1,9)=Modified",
        with(text, "J1") + " " + bold(10) + " Cells(1,10)=Compiled",
    };
    // Data: Type, Name and Version as text; the date as year, month and day; grid row 3 stays
    // sheet row 4 behind the row that is left out.
    auto data = [&](int row, const std::array<std::string, 10>& v) {
        const std::string n = std::to_string(row);
        return std::vector<std::string>{
            "Cells(" + n + ",1)=" + v[0],
            with(text, "B" + n) + " Cells(" + n + ",2)=" + v[1],
            with(right, "C" + n) + " Cells(" + n + ",3)=" + v[2],
            with(text, "D" + n) + " Cells(" + n + ",4)=" + v[3],
            with(text, "E" + n) + " Cells(" + n + ",5)=" + v[4],
            with(right, "F" + n) + " Cells(" + n + ",6)=" + v[5],
            with(right, "G" + n) + " Cells(" + n + ",7)=" + v[6],
            with(right, "H" + n) + " Cells(" + n + ",8)=" + v[7],
            "Cells(" + n + ",9)=" + v[8],
            "Cells(" + n + ",10)=" + v[9],
        };
    };
    std::vector<std::string> want = header;
    for (const auto& rows :
         {data(2, {"1", "Table", "18", "Customer", "NAVW17.10", "2004-02-17", "12:00:00", "120", "1", " "}),
          data(4, {"2", "Page", "21", "Card", "", "no date", "", "0", " ", "1"})})
        want.insert(want.end(), rows.begin(), rows.end());
    size_t at = 5;
    for (const std::string& cell : want) {
        const std::string valueCall = cell.substr(cell.rfind("Cells("));
        EXPECT_EQ(CellCalls(calls, at, valueCall.substr(0, valueCall.find('=') + 1)), cell);
    }
    EXPECT_EQ(std::vector<std::string>(calls.begin() + static_cast<long>(at), calls.end()),
              (std::vector<std::string>{"get Range(A1:J1)", "get Range(A1:J1).EntireColumn",
                                        "Range(A1:J1).EntireColumn.AutoFit()", "Visible=true", "UserControl=true",
                                        "release", "to front"}));
    EXPECT_EQ(progress.rows, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ExcelExport, AFailureStillHandsExcelOverVisibleAndGoesOnToTheCaller) {
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18","Customer","","","","0"," "," ")");
    // Calls: 1 get Workbooks, 2 Add, ..., the last two set Visible and UserControl.
    LoggedExcel probe;
    ExportToExcel(list, FormatSettings{}, probe);
    const int total = probe.log.count;
    for (int failAt : {2, 20, total - 1, total}) {
        LoggedExcel excel;
        excel.log.failAt = failAt;
        EXPECT_THROW(ExportToExcel(list, FormatSettings{}, excel), EOleException) << failAt;
        // Nothing of the transfer follows the failure, but Excel is made visible and handed over;
        // its window is not brought to the front.
        EXPECT_EQ(excel.log.count, failAt < total - 1 ? failAt + 2 : total) << failAt;
        const auto& calls = excel.log.calls;
        ASSERT_GE(calls.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
                  (std::vector<std::string>{"Visible=true", "UserControl=true", "release"}))
            << failAt;
    }
    LoggedExcel absent;
    absent.unavailable = true;
    EXPECT_THROW(ExportToExcel(list, FormatSettings{}, absent), EOleSysError);
    EXPECT_TRUE(absent.log.calls.empty());
}

TEST(ExcelExport, TheFailureMessageNamesTheErrorsType) {
    EXPECT_EQ(ExcelExportFailedText(EOleException("Cells: no such cell", 1)),
              "Export to Excel failed.\r\nEOleException: Cells: no such cell");
    EXPECT_EQ(ExcelExportFailedText(EOleSysError("Class not registered", 1)),
              "Export to Excel failed.\r\nEOleSysError: Class not registered");
    EXPECT_EQ(ErrorTypeName(EConvertError("x")), "EConvertError");
    EXPECT_EQ(ErrorTypeName(EKavloError("x")), "EKavloError");
    EXPECT_EQ(ErrorTypeName(std::bad_alloc()), "EOutOfMemory");
    EXPECT_EQ(ErrorTypeName(std::logic_error("x")), "Exception");
}

}  // namespace
}  // namespace kavlo
