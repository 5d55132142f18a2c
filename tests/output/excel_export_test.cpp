#include "output/excel_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "support/progress_recorder.h"

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

// A block reads "[a|b;c|d]": its rows split by ";", their cells by "|".
std::string Text(const AutomationValue& v) {
    if (const bool* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
    if (const int* i = std::get_if<int>(&v)) return std::to_string(*i);
    if (const std::string* t = std::get_if<std::string>(&v)) return *t;
    const TextBlock& block = std::get<TextBlock>(v);
    EXPECT_EQ(block.cells.size(), static_cast<size_t>(block.rows * block.columns));
    std::string s = "[";
    for (size_t i = 0; i < block.cells.size(); ++i)
        s += (i == 0 ? "" : i % static_cast<size_t>(block.columns) ? "|" : ";") + block.cells[i];
    return s + "]";
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

// Rows of `n` objects each.
TVisibleList Objects(int n) {
    TVisibleList list;
    for (int i = 1; i <= n; ++i)
        list.AddCommaText("\"1\",\"Table\",\"" + std::to_string(i) + "\",\"Name\",\"\",\"\",\"\",\"0\",\" \",\" \"");
    return list;
}

TEST(ExcelExport, FormatsGoOnOncePerColumnBeforeTheTextsGoInBlocks) {
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18","Customer","NAVW17.10","17-02-04","12:00:00","120","1"," ")");
    list.AddCommaText(R"("","Table","19","left out","","","","0"," "," ")");
    list.AddCommaText(R"("2","Page","21","Card","","no date","","0"," ","1")");
    LoggedExcel excel;
    testing::ProgressRecorder progress;
    ExportToExcel(list, FormatSettings{}, excel, &progress);

    // The header is text and bold; Type, Name and Version are text, ID, Date, Time and BLOB
    // Size right-aligned, each set once for a block of rows and before its texts; the row left
    // out stays empty, so grid row 3 stays sheet row 4; dates read as year, month and day.
    EXPECT_EQ(excel.log.calls,
              (std::vector<std::string>{
                  "create", "get Workbooks", "Workbooks.Add()", "get ActiveWorkbook", "get ActiveWorkbook.ActiveSheet",
                  "get Range(A1:J1)", "Range(A1:J1).NumberFormatLocal=@",
                  "get Range(A1:J1)", "get Range(A1:J1).Font", "Range(A1:J1).Font.Bold=true",
                  "get Range(B2:B2)", "Range(B2:B2).NumberFormatLocal=@",
                  "get Range(D2:E2)", "Range(D2:E2).NumberFormatLocal=@",
                  "get Range(C1:C2)", "Range(C1:C2).HorizontalAlignment=-4152",
                  "get Range(F1:H2)", "Range(F1:H2).HorizontalAlignment=-4152",
                  "get Range(A1:J2)",
                  "Range(A1:J2).Value=[File|Type|ID|Name|Version|Date|Time|BLOB Size|Modified|Compiled;"
                  "1|Table|18|Customer|NAVW17.10|2004-02-17|12:00:00|120|1| ]",
                  "get Range(B4:B4)", "Range(B4:B4).NumberFormatLocal=@",
                  "get Range(D4:E4)", "Range(D4:E4).NumberFormatLocal=@",
                  "get Range(C4:C4)", "Range(C4:C4).HorizontalAlignment=-4152",
                  "get Range(F4:H4)", "Range(F4:H4).HorizontalAlignment=-4152",
                  "get Range(A4:J4)", "Range(A4:J4).Value=[2|Page|21|Card||no date||0| |1]",
                  "get Range(A1:J1)", "get Range(A1:J1).EntireColumn", "Range(A1:J1).EntireColumn.AutoFit()",
                  "Visible=true", "UserControl=true", "release", "to front"}));
    EXPECT_EQ(progress.rows, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ExcelExport, TheCallsGrowByOneBlockWriteForEveryBlockOfRows) {
    LoggedExcel one;
    ExportToExcel(Objects(1), FormatSettings{}, one);
    for (int n : {kExcelBlockRows - 1, kExcelBlockRows, 3 * kExcelBlockRows + 7}) {
        LoggedExcel excel;
        ExportToExcel(Objects(n), FormatSettings{}, excel);
        // The header and the rows, kExcelBlockRows to a block. Each further block costs its
        // four formatted areas and its texts, a Range and a put each.
        const int blocks = (n + 1 + kExcelBlockRows - 1) / kExcelBlockRows;
        EXPECT_EQ(excel.log.count, one.log.count + 10 * (blocks - 1)) << n;
        EXPECT_EQ(std::count_if(excel.log.calls.begin(), excel.log.calls.end(),
                                [](const std::string& c) { return c.find(").Value=[") != std::string::npos; }),
                  blocks)
            << n;
        EXPECT_NE(std::find(excel.log.calls.begin(), excel.log.calls.end(),
                            "get Range(A" + std::to_string((blocks - 1) * kExcelBlockRows + 1) + ":J" +
                                std::to_string(n + 1) + ")"),
                  excel.log.calls.end())
            << n;
    }
}

TEST(ExcelExport, ACancelWritesTheRowsBeforeItAndHandsExcelOver) {
    struct Cancel : ProgressCallback {
        void Progress(int row) override {
            if (row == kExcelBlockRows + 10) throw ECancelled();
        }
    } cancel;
    LoggedExcel excel;
    EXPECT_THROW(ExportToExcel(Objects(2 * kExcelBlockRows), FormatSettings{}, excel, &cancel), ECancelled);
    // Grid rows 0 to kExcelBlockRows + 8 were written: sheet rows 1 to kExcelBlockRows + 9.
    std::vector<std::string> blocks;
    for (const std::string& c : excel.log.calls)
        if (c.find(").Value=[") != std::string::npos) blocks.push_back(c.substr(0, c.find(')') + 1));
    EXPECT_EQ(blocks, (std::vector<std::string>{"Range(A1:J" + std::to_string(kExcelBlockRows) + ")",
                                                "Range(A" + std::to_string(kExcelBlockRows + 1) + ":J" +
                                                    std::to_string(kExcelBlockRows + 9) + ")"}));
    const auto& calls = excel.log.calls;
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"Range(A1:J1).EntireColumn.AutoFit()", "Visible=true", "UserControl=true",
                                        "release"}));
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
