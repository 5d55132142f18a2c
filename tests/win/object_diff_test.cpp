// The "Object Differences" window, opened from the main window's list by real keys and clicks.
#include "main_form_fixture.h"

#include "app/object_diff_form_win.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

std::vector<std::string> CodeLines(int count) {
    std::vector<std::string> code;
    for (int i = 1; i <= count; ++i) code.push_back("Line" + std::to_string(i) + " := " + std::to_string(i) + ";");
    return code;
}

// A code line as the export holds it.
std::string Indented(const std::string& code) { return "      " + code; }

class ObjectDiffTest : public MainFormTest {
protected:
    // File 2: code line 5 changed, line 15 removed, a line added after line 25; Table 18 only in
    // file 1.
    void WriteTextExports() {
        text1_ = dir_.File("one.txt");
        text2_ = dir_.File("two.txt");
        testing::TxtFile file;
        file.objects = {testing::SimpleTxtObject("Table", 18, "Customer"),
                        testing::SimpleTxtObject("Codeunit", 80, "Sales-Post")};
        file.objects[1].code = CodeLines(30);
        testing::WriteBytes(text1_, testing::WriteTxt(file));
        file.objects.erase(file.objects.begin());
        file.objects[0].date = "02-02-20";  // Different by its fields too
        std::vector<std::string>& code = file.objects[0].code;
        code[4] = "Line5 := 55;";
        code.insert(code.begin() + 25, "Added := TRUE;");
        code.erase(code.begin() + 14);
        testing::WriteBytes(text2_, testing::WriteTxt(file));
    }
    std::vector<TObjectDiffForm*> Windows() { return Form().DiffWindows().OpenWindows(); }
    // The list's row of the type from the file ("1" or "2"), 0 when there is none.
    int RowOf(const std::string& type, const std::string& file) const {
        for (int row = 1; row <= Rows(); ++row)
            if (Cell(row, ColumnType) == type && Cell(row, ColumnFile) == file) return row;
        return 0;
    }
    // Builds the Different list of the two text exports and opens the codeunit's window by Enter.
    void OpenCodeunitByEnter() {
        WriteTextExports();
        Start({text1_, text2_});
        Form().BuildList(BuildMode::Different());
        SelectRow(RowOf("Codeunit", "1"));
        PressKey(VK_RETURN);
        Pump();
    }
    // Focus on the grid's data row, as a click on it would leave it.
    void SelectRow(int row) {
        SetForegroundWindow(form_->Handle());
        SetFocus(Form().Grid().Handle());
        Form().Grid().SetCurrentRow(row);
        Pump();
    }
    // The texts of the current row: file 1's line and file 2's line ("" for a blank side).
    static std::pair<std::string, std::string> CurrentLines(const TObjectDiffForm& w) {
        const ObjectDiff& d = w.Diff();
        const SideBySideRow& r = d.View.Rows.at(static_cast<size_t>(w.CurrentRow()));
        return {r.Line1 ? d.Lines1.at(static_cast<size_t>(r.Line1 - 1)) : "",
                r.Line2 ? d.Lines2.at(static_cast<size_t>(r.Line2 - 1)) : ""};
    }
    std::string text1_, text2_;
};

TEST_F(ObjectDiffTest, OpensByEnterAndByDoubleClickOncePerObjectAndEscapeCloses) {
    WriteTextExports();
    Start({text1_, text2_});
    Form().BuildList(BuildMode::Different());
    ASSERT_NE(RowOf("Table", "1"), 0);  // only in file 1: nothing opens
    SelectRow(RowOf("Table", "1"));
    PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(Windows().empty());

    SelectRow(RowOf("Codeunit", "1"));
    PressKey(VK_RETURN);
    Pump();
    ASSERT_EQ(Windows().size(), 1u);
    HWND first = Windows()[0]->Handle();
    EXPECT_EQ(WindowText(first), "Object Differences - Codeunit 80 Sales-Post");
    EXPECT_EQ(GetForegroundWindow(), first);

    // A double click on the file 2 row of the same object brings the same window to the front.
    SetForegroundWindow(form_->Handle());
    Pump();
    const RECT cell = Form().Grid().CellRect(RowOf("Codeunit", "2"), ColumnName);
    POINT at{cell.left + 5, cell.top + 5};
    ClientToScreen(Form().Grid().Handle(), &at);
    MovePointer(at, true);
    MovePointer(at, true);
    Pump();
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), first);

    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(Windows().empty());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ObjectDiffTest, F8AndShiftF8StepThroughTheChanges) {
    OpenCodeunitByEnter();
    ASSERT_EQ(Windows().size(), 1u);
    const TObjectDiffForm& w = *Windows()[0];
    EXPECT_EQ(w.StatusText(0), "3 changes, 2 lines added, 2 lines removed");
    EXPECT_EQ(w.StatusText(1), "");

    using Lines = std::pair<std::string, std::string>;
    const struct {
        bool shift;
        Lines lines;
        const char* position;
    } steps[] = {
        {false, {Indented("Line5 := 5;"), Indented("Line5 := 55;")}, "Change 1 of 3"},
        {false, {Indented("Line15 := 15;"), ""}, "Change 2 of 3"},
        {false, {"", Indented("Added := TRUE;")}, "Change 3 of 3"},
        {false, {"", Indented("Added := TRUE;")}, "Change 3 of 3"},  // no further change: it stays
        {true, {Indented("Line15 := 15;"), ""}, "Change 2 of 3"},
        {true, {Indented("Line5 := 5;"), Indented("Line5 := 55;")}, "Change 1 of 3"},
    };
    for (const auto& s : steps) {
        if (s.shift) PressKey(VK_F8, {VK_SHIFT});
        else PressKey(VK_F8);
        Pump();
        EXPECT_EQ(CurrentLines(w), s.lines) << s.position;
        EXPECT_EQ(w.StatusText(1), s.position);
        EXPECT_LE(w.TopRow(), w.CurrentRow());
    }
    // Ctrl+End goes to the last row and scrolls it into view; Ctrl+Home back to the first.
    PressKey(VK_END, {VK_CONTROL});
    Pump();
    EXPECT_EQ(w.CurrentRow(), static_cast<int>(w.Diff().View.Rows.size()) - 1);
    PressKey(VK_HOME, {VK_CONTROL});
    Pump();
    EXPECT_EQ(w.CurrentRow(), 0);
    EXPECT_EQ(w.TopRow(), 0);
}

// Object files do not keep each object's definition apart: the window says the contents were
// not compared, as the list and kavlo do.
TEST_F(ObjectDiffTest, ObjectFilesSayTheirContentsAreNotCompared) {
    Start({file1_, file2_});
    Form().BuildList(BuildMode::Different());
    SelectRow(RowOf(Cell(1, ColumnType), "2"));  // file 2 has no object that file 1 lacks
    PressKey(VK_RETURN);
    Pump();
    ASSERT_EQ(Windows().size(), 1u);
    const TObjectDiffForm& w = *Windows()[0];
    EXPECT_EQ(w.Diff().Message, "Contents not compared: object files do not keep each object's definition apart; "
                                "objects are compared by their fields alone.");
    EXPECT_EQ(w.StatusText(0), "Not comparable");
    EXPECT_FALSE(IsWindowVisible(w.Pane(0)));
}

TEST_F(ObjectDiffTest, AFileChangedSinceLoadingIsReportedAndOpensNoWindow) {
    WriteTextExports();
    Start({text1_, text2_});
    Form().BuildList(BuildMode::Different());
    testing::WriteBytes(text2_, "changed");
    SelectRow(RowOf("Codeunit", "1"));
    PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(Windows().empty());
    EXPECT_EQ(errors_.size(), 1u);
}

}  // namespace
}  // namespace kavlo
