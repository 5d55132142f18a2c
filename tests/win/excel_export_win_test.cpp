// Excel in the window, against tools/fakeexcel: a real COM local server in a process of its own,
// registered under HKEY_CLASSES_ROOT as "Excel.Application", which records every call and
// writes the sheet it was given.
#include "main_form_fixture.h"

#include <fstream>
#include <map>
#include <sstream>

#include "output/excel_automation_win.h"
#include "output/text_list.h"
#include "platform/regional.h"

namespace kavlo {
namespace {

std::string ExeDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of("\\/"));
}

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Runs fakeexcel with the arguments and waits for it.
void RunFakeExcel(const std::string& args) {
    std::string command = "\"" + ExeDir() + "\\fakeexcel.exe\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_EQ(code, 0u) << command;
}

// Closes every stand-in window and waits for its process: a stand-in that the user controls
// stays alive, as Excel does.
void EndStandIns() {
    for (int i = 0; i < 10; ++i) {
        HWND w = FindWindowA(kExcelMainWindowClass, nullptr);
        if (!w) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        PostMessageA(w, WM_CLOSE, 0, 0);
        if (p) {
            if (WaitForSingleObject(p, 5000) != WAIT_OBJECT_0) TerminateProcess(p, 1);
            CloseHandle(p);
        }
    }
}

// The calls that set a member of an area of the sheet ("B2:B21").
std::vector<std::string> AreaPut(const std::string& area, const std::string& member, const std::string& value) {
    return {"Worksheet get Range(\"" + area + "\")", "Range(" + area + ") put " + member + " = " + value};
}

class ExcelExportTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        out_ = dir_.File("excel");
        CreateDirectoryA(out_.c_str(), nullptr);
        // COM starts the stand-in with this process's standard handles: it must not hold the
        // test run's output pipe open while it lives.
        for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
            saved_.push_back(GetStdHandle(which));
            SetStdHandle(which, nul_);
        }
    }
    void TearDown() override {
        EndStandIns();
        RunFakeExcel("/unregserver");
        SetStdHandle(STD_OUTPUT_HANDLE, saved_[0]);
        SetStdHandle(STD_ERROR_HANDLE, saved_[1]);
        CloseHandle(nul_);
        MainFormTest::TearDown();
    }
    void Register(int failAt = 0) {
        RunFakeExcel("/regserver --out \"" + out_ + "\"" + (failAt ? " --fail-at " + std::to_string(failAt) : ""));
    }
    // Starts the window on a file of `objects` objects.
    void StartWith(int objects) {
        const std::string file = dir_.File("excel.fob");
        FobFile f;
        f.objects = testing::RealisticObjects(objects, 7);
        testing::WriteBytes(file, testing::WriteFob(f));
        Start({file});
        ASSERT_EQ(Rows(), objects);
    }
    std::vector<std::string> Calls() const { return FileLines(out_ + "\\calls.txt"); }
    // The sheet: address -> value, its type, number format, alignment, bold.
    std::map<std::string, std::string> Sheet() const {
        std::map<std::string, std::string> sheet;
        for (const std::string& line : FileLines(out_ + "\\sheet.txt")) {
            const size_t tab = line.find('\t');
            sheet[line.substr(0, tab)] = line.substr(tab + 1);
        }
        return sheet;
    }
    HWND StandIn() const { return FindWindowA(kExcelMainWindowClass, nullptr); }
    // The sheet's rows 1 to `rows` as the grid's rows 0 to rows - 1 give them: every cell a
    // text, the dates as year/month/day; the columns fitted.
    std::map<std::string, std::string> GridSheet(int rows) const {
        const FormatSettings fs = SystemFormatSettings();
        const TVisibleList& list = Form().Session().Built().List;
        std::map<std::string, std::string> want;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kColumnCount; ++c) {
                const bool text = r == 0 || c == ColumnType || c == ColumnName || c == ColumnVersion;
                const bool right = c == ColumnID || c == ColumnDate || c == ColumnTime || c == ColumnBlobSize;
                std::string value(list.Cell(r, c));
                if (r > 0 && c == ColumnDate) value = DateCellAsYmd(value, fs);
                want[std::string(1, static_cast<char>('A' + c)) + std::to_string(r + 1)] =
                    value + "\ttext\t" + (text ? "@" : "General") + "\t" + (right ? "-4152" : "1") + "\t" +
                    (r == 0 ? "1" : "0");
            }
        want["autofit"] = "ABCDEFGHIJ";
        return want;
    }

    std::string out_;
    HANDLE nul_ =
        CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<HANDLE> saved_;
};

TEST_F(ExcelExportTest, CtrlEGivesASheetEqualToTheGridInTheCallsOfItsCells) {
    Register();
    StartWith(20);
    PressKey('E', {VK_CONTROL});
    Pump();
    EXPECT_TRUE(messages_.empty()) << messages_[0];
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));
    HWND excel = StandIn();
    ASSERT_NE(excel, nullptr);
    EXPECT_TRUE(IsWindowVisible(excel));
    EXPECT_EQ(GetForegroundWindow(), excel);

    // The sheet holds the grid, header included, the dates as year/month/day, every cell a text.
    const TVisibleList& list = Form().Session().Built().List;
    const FormatSettings fs = SystemFormatSettings();
    int rewritten = 0;
    for (int r = 1; r <= list.LastRow(); ++r)
        rewritten += DateCellAsYmd(list.Cell(r, ColumnDate), fs) != list.Cell(r, ColumnDate);
    EXPECT_GT(rewritten, 10);
    EXPECT_EQ(Sheet(), GridSheet(list.LastRow() + 1));

    // The formats once for each column, the texts in one block.
    const std::string last = std::to_string(list.LastRow() + 1);
    std::vector<std::string> calls = {"Application get Workbooks", "Workbooks call Add",
                                      "Application get ActiveWorkbook", "Workbook get ActiveSheet"};
    for (const auto& step : {AreaPut("A1:J1", "NumberFormatLocal", "\"@\""),
                             {"Worksheet get Range(\"A1:J1\")", "Range(A1:J1) get Font", "Font(A1:J1) put Bold = true"},
                             AreaPut("B2:B" + last, "NumberFormatLocal", "\"@\""),
                             AreaPut("D2:E" + last, "NumberFormatLocal", "\"@\""),
                             AreaPut("C1:C" + last, "HorizontalAlignment", "-4152"),
                             AreaPut("F1:H" + last, "HorizontalAlignment", "-4152"),
                             AreaPut("A1:J" + last, "Value", "<array " + last + " x 10>")})
        calls.insert(calls.end(), step.begin(), step.end());
    calls.insert(calls.end(),
                 {"Worksheet get Range(\"A1:J1\")", "Range(A1:J1) get EntireColumn", "Range(A:J) call AutoFit",
                  "Application put Visible = true", "Application put UserControl = true"});
    EXPECT_EQ(Calls(), calls);
}

TEST_F(ExcelExportTest, AFailingCallIsToldAndExcelIsLeftVisibleWithWhatWasWritten) {
    // Call 29 writes the second block's texts, after its formats: the header and 600 rows go
    // in two blocks.
    Register(29);
    StartWith(kExcelBlockRows + 100);
    form_->Click(ToolButtonExcel);
    Pump();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Export to Excel failed.\r\nEOleException: Stand-in failure at call 29");
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));
    const std::vector<std::string> calls = Calls();
    ASSERT_EQ(calls.size(), 31u);
    EXPECT_TRUE(calls[28].starts_with("Range(A" + std::to_string(kExcelBlockRows + 1) + ":J")) << calls[28];
    EXPECT_TRUE(calls[28].ends_with("-> failed")) << calls[28];
    EXPECT_EQ(calls[29], "Application put Visible = true");
    EXPECT_EQ(calls[30], "Application put UserControl = true");
    HWND excel = StandIn();
    ASSERT_NE(excel, nullptr);
    EXPECT_TRUE(IsWindowVisible(excel));
    // What came before the failure is in the sheet: the first block, and no text of the second.
    const std::map<std::string, std::string> want = GridSheet(kExcelBlockRows);
    std::map<std::string, std::string> sheet = Sheet();
    for (const auto& [cell, value] : want)
        if (cell != "autofit") EXPECT_EQ(sheet[cell], value) << cell;
    EXPECT_EQ(sheet.count("A" + std::to_string(kExcelBlockRows + 1)), 0u);
}

TEST_F(ExcelExportTest, EscapeStopsTheExportAndHandsExcelOverWithTheRowsSoFar) {
    Register();
    StartWith(2 * kExcelBlockRows);
    const int escapeAt = kExcelBlockRows + 200;
    {
        EscapeAtProgress escape(Form().StatusBar().ProgressBar(), Form().Grid().Handle(), escapeAt);
        form_->Click(ToolButtonExcel);
        EXPECT_TRUE(escape.Posted());
    }
    Pump();
    EXPECT_TRUE(messages_.empty()) << messages_[0];
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));
    EXPECT_EQ(Form().StatusBar().ShownText(ProgressPlacement(kStatusPanelWidths).panel), "Export to Excel cancelled.");
    // The bar stood at grid row escapeAt - 1 when Escape came: the rows before it are written
    // and fitted, and Excel is the user's.
    std::map<std::string, std::string> want = GridSheet(escapeAt - 1);
    EXPECT_EQ(Sheet(), want);
    const std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"Range(A:J) call AutoFit", "Application put Visible = true",
                                        "Application put UserControl = true"}));
    HWND excel = StandIn();
    ASSERT_NE(excel, nullptr);
    EXPECT_TRUE(IsWindowVisible(excel));
}

TEST_F(ExcelExportTest, WithoutTheProgIdTheHintSaysSoAndTheCommandDoesNothing) {
    RunFakeExcel("/unregserver");
    EXPECT_EQ(ReadProgIdClsid("Excel.Application"), "");
    Start();  // an empty list: a command that went on would say "No rows in list."
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonExcel), "Excel - is not installed");
    form_->Click(ToolButtonExcel);
    Pump();
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(StandIn(), nullptr);

    Register();
    EXPECT_EQ(ReadProgIdClsid("Excel.Application"), "{6B1E3C52-7A4D-4F0E-9C1B-2D5A8E7F3A10}");
    Start();
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonExcel), "Excel  Ctrl+E");
    form_->Click(ToolButtonExcel);
    EXPECT_EQ(messages_, std::vector<std::string>{"No rows in list."});
    EXPECT_EQ(StandIn(), nullptr);
}

}  // namespace
}  // namespace kavlo
