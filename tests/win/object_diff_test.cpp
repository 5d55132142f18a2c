// The "Object Differences" window, opened from the main window's list by real keys and clicks.
#include "main_form_fixture.h"

#include "app/object_diff_form_win.h"
#include "listing/line_diff.h"
#include "support/fbk_writer.h"
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
    // Two text exports of Codeunit 80 and 81, file 2's with the code changed.
    void WritePair(const std::vector<std::string>& code1, const std::vector<std::string>& code2) {
        text1_ = dir_.File("one.txt");
        text2_ = dir_.File("two.txt");
        testing::TxtFile file;
        file.objects = {testing::SimpleTxtObject("Codeunit", 80, "Sales-Post"),
                        testing::SimpleTxtObject("Codeunit", 81, "Sales-Post (Yes/No)")};
        for (auto& o : file.objects) o.code = code1;
        testing::WriteBytes(text1_, testing::WriteTxt(file));
        for (auto& o : file.objects) {
            o.code = code2;
            o.date = "02-02-20";  // Different by its fields too
        }
        testing::WriteBytes(text2_, testing::WriteTxt(file));
    }
    // Opens the window of the codeunit's file-1 row by Enter on the Different list.
    void OpenByEnter(const std::string& id) {
        for (int row = 1; row <= Rows(); ++row)
            if (Cell(row, ColumnID) == id && Cell(row, ColumnFile) == "1") SelectRow(row);
        PressKey(VK_RETURN);
        Pump();
    }
    std::vector<TObjectDiffForm*> Windows() { return Form().DiffWindows().OpenWindows(); }
    // Whether a message box shows an icon (a static control holding one).
    static bool HasIcon(HWND box) {
        bool found = false;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM found) {
                if (SendMessageA(child, STM_GETICON, 0, 0)) *reinterpret_cast<bool*>(found) = true;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
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
        Form().Session().BuildList(BuildMode::Different());
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
    Form().Session().BuildList(BuildMode::Different());
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

// A window with nothing to show but one sentence would be a large empty window: the sentence
// comes in a message box instead. Backups keep each object's data, which is compared but not
// shown; object files do not keep each object's definition apart, so their contents are not
// compared, nor those of two kinds of file.
TEST_F(ObjectDiffTest, ContentsWithNothingToShowAreToldInAMessageBoxNotAWindow) {
    WriteTextExports();
    testing::FobFile fob;
    fob.objects = {testing::FobObject{5, 80, "Sales-Post", "NAVW17.01"}};
    const std::string fob80 = dir_.File("80.fob");
    testing::WriteBytes(fob80, testing::WriteFob(fob));
    const std::string fbk1 = dir_.File("one.fbk"), fbk2 = dir_.File("two.fbk");
    for (const auto& [file, name] : {std::pair{fbk1, "Customer"}, {fbk2, "Debitor"}}) {
        testing::FbkFile fbk;
        fbk.objects = {testing::SimpleFbkObject(1, 18, name)};
        testing::WriteBytes(file, testing::WriteFbk(fbk));
    }
    const struct {
        std::string file1, file2;
        const char* type;     // of the row; the first row's when null
        const char* message;  // how it starts
    } cases[] = {
        {fbk1, fbk2, "Table", "The object data is binary: it is compared, not shown."},
        {file1_, file2_, nullptr,
         "Contents not compared: object files do not keep each object's definition apart; objects are compared"},
        {text1_, fob80, "Codeunit", "Contents not compared: file 1 is a text export, file 2 an object file;"},
    };
    for (const auto& c : cases) {
        form_.reset();
        Pump();
        Start({c.file1, c.file2});
        Form().Session().BuildList(BuildMode::Different());
        // file 2 has no object that file 1 lacks
        SelectRow(RowOf(c.type ? c.type : Cell(1, ColumnType), "2"));
        std::string told;
        bool icon = false;
        {
            WhenShown box("Object Differences", [&](HWND h) {
                told = WindowText(GetDlgItem(h, 0xFFFF));
                icon = HasIcon(h);
                PostMessageA(h, WM_COMMAND, IDOK, 0);
            });
            PressKey(VK_RETURN);
            for (int i = 0; i < 100 && !box.Done(); ++i) Pump();
            Pump();
        }
        EXPECT_EQ(told.rfind(c.message, 0), 0u) << c.file2 << ": " << told;
        EXPECT_TRUE(icon) << "an information icon";
        EXPECT_TRUE(Windows().empty());
        EXPECT_TRUE(errors_.empty());
    }
}

TEST_F(ObjectDiffTest, AFileChangedSinceLoadingIsReportedAndOpensNoWindow) {
    WriteTextExports();
    Start({text1_, text2_});
    Form().Session().BuildList(BuildMode::Different());
    testing::WriteBytes(text2_, "changed");
    SelectRow(RowOf("Codeunit", "1"));
    PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(Windows().empty());
    EXPECT_EQ(errors_.size(), 1u);
}

// A change out of view to the right: F8 scrolls across to its first differing character, and
// End goes to the end of the current line, not of the object's widest line.
TEST_F(ObjectDiffTest, HorizontalScrollingFollowsTheCurrentLine) {
    std::vector<std::string> code1 = CodeLines(30);
    code1[2] = "Long := '" + std::string(200, 'x') + "';";
    std::vector<std::string> code2 = code1;
    code2.insert(code2.begin() + 20, std::string(64, ' ') + "Added := TRUE;");
    WritePair(code1, code2);
    Start({text1_, text2_});
    Form().Session().BuildList(BuildMode::Different());
    OpenByEnter("80");
    ASSERT_EQ(Windows().size(), 1u);
    const TObjectDiffForm& w = *Windows()[0];
    const int added = static_cast<int>(Indented(code2[20]).size());  // the line's length
    const int first = added - 14;                                    // where "Added" starts
    ASSERT_LT(w.VisibleColumns(), first);

    PressKey(VK_F8);
    Pump();
    EXPECT_EQ(CurrentLines(w).second, Indented(code2[20]));
    EXPECT_LE(w.LeftColumn(), first);
    EXPECT_GT(w.LeftColumn() + w.VisibleColumns(), first) << "the change's first character is in view";

    PressKey(VK_HOME);
    PressKey(VK_END);
    Pump();
    EXPECT_EQ(w.LeftColumn() + w.VisibleColumns(), added + 1) << "the line's end at the pane's edge";
}

// A window over two versions of lines of its own, without the main window.
std::unique_ptr<TObjectDiffForm> OpenLines(std::vector<std::string> lines1, std::vector<std::string> lines2,
                                           const RECT& rect) {
    ObjectDiff d;
    d.Caption = "Object Differences - Codeunit 1 Test";
    d.View = LayOutSideBySide(DiffLines(lines1, lines2));
    for (const auto* lines : {&lines1, &lines2})
        for (const std::string& l : *lines) d.LongestLine = std::max(d.LongestLine, LineLength(l));
    d.Lines1 = std::move(lines1);
    d.Lines2 = std::move(lines2);
    auto form = std::make_unique<TObjectDiffForm>();
    form->Create(std::move(d), rect, {});
    return form;
}

// UTF-8 lines take a column a character, and a changed line shows its changed characters in a
// stronger tint; a change scrolled out of view leaves a mark at the pane's edge.
TEST_F(ObjectDiffTest, UnicodeLinesTakeAColumnACharacterWithTheirChangesMarked) {
    const std::string blanks(150, ' ');
    // Row 0 is equal and current (it has the frame); rows 1 and 2 are changed.
    auto form = OpenLines({"x := 0;", "Имя := 'Иван';", "a := 1;" + blanks + "b := 2;"},
                          {"x := 0;", "Имя := 'Пётр';", "a := 1;" + blanks + "b := 3;"}, {40, 40, 840, 440});
    Pump();
    const TObjectDiffForm& w = *form;
    ASSERT_LT(w.VisibleColumns(), 150);
    const int past = w.VisibleColumns() - 2;  // in view, past the lines
    ASSERT_GT(past, 28);
    for (int side = 0; side < 2; ++side) {
        const PanePixels pixels(w.Pane(side));
        const auto cell = [&](int row, int col) { return w.CellRect(row, col); };
        const COLORREF back = pixels.At(cell(1, past).left, cell(1, past).top);  // a changed line's tint
        bool ink = false;
        for (int col = 0; col < 8; ++col) ink = ink || !pixels.All(cell(1, col), back);
        EXPECT_TRUE(ink) << side;
        RECT after = cell(1, 14);
        after.right = cell(1, past).right;
        EXPECT_TRUE(pixels.All(after, back)) << side << ": nothing drawn after the line's 14 characters";
        EXPECT_NE(pixels.At(cell(1, 9).left, cell(1, 9).top), back) << side << ": 'Иван' and 'Пётр' are marked";
        EXPECT_EQ(pixels.At(cell(2, 20).left, cell(2, 20).top), back) << side;
        RECT client{};
        GetClientRect(w.Pane(side), &client);
        EXPECT_NE(pixels.At(client.right - 1, cell(2, 0).top), back) << side << ": a mark at the edge";
        EXPECT_EQ(pixels.At(client.right - 1, cell(1, 0).top), back) << side;
    }
}

// A row whose window is open brings it to the front, restored when it was minimized.
TEST_F(ObjectDiffTest, EnterOnTheRowOfAnOpenWindowBringsItToTheFront) {
    OpenCodeunitByEnter();
    ASSERT_EQ(Windows().size(), 1u);
    HWND window = Windows()[0]->Handle();
    for (bool minimized : {false, true}) {
        if (minimized) ShowWindow(window, SW_MINIMIZE);
        SelectRow(RowOf("Codeunit", "1"));
        ASSERT_NE(GetForegroundWindow(), window);
        PressKey(VK_RETURN);
        Pump();
        EXPECT_EQ(GetForegroundWindow(), window) << minimized;
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(Windows().size(), 1u);
    }
}

// A new window opens a caption's height below and right of the main window, the next one the
// same step from the newest, at the size last used (kept in the settings record, in 96-DPI
// pixels), and never larger than the work area or out of it.
TEST_F(ObjectDiffTest, OpensCascadedAtTheLastSizeWithinTheWorkArea) {
    WritePair(CodeLines(10), CodeLines(12));
    Start({text1_, text2_});
    Form().Session().BuildList(BuildMode::Different());
    SetWindowPos(form_->Handle(), nullptr, 60, 40, 900, 600, SWP_NOZORDER);
    Form().Session().Settings().DiffWindowWidth = 700;
    Form().Session().Settings().DiffWindowHeight = 500;
    const int dpi = WindowDpi(form_->Handle());
    const auto rectOf = [](HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return r;
    };
    OpenByEnter("80");
    OpenByEnter("81");
    ASSERT_EQ(Windows().size(), 2u);
    const RECT main = rectOf(form_->Handle()), one = rectOf(Windows()[0]->Handle()),
               two = rectOf(Windows()[1]->Handle());
    const int step = one.left - main.left;
    EXPECT_GT(step, 10);
    EXPECT_LT(step, 80);
    EXPECT_EQ(one.top - main.top, step);
    EXPECT_EQ(two.left - one.left, step);
    EXPECT_EQ(two.top - one.top, step);
    EXPECT_EQ(one.right - one.left, ScaleToDpi(700, dpi));
    EXPECT_EQ(one.bottom - one.top, ScaleToDpi(500, dpi));

    // The newest window's size at closing is the next one's.
    SetWindowPos(Windows()[1]->Handle(), nullptr, 0, 0, ScaleToDpi(640, dpi), ScaleToDpi(480, dpi),
                 SWP_NOMOVE | SWP_NOZORDER);
    PressKey(VK_ESCAPE);
    Pump();
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(Form().Session().Settings().DiffWindowWidth, 640);
    EXPECT_EQ(Form().Session().Settings().DiffWindowHeight, 480);

    // Too large a size, and a main window at the screen's corner: inside the work area.
    PostMessageA(Windows()[0]->Handle(), WM_CLOSE, 0, 0);
    Pump();
    Form().Session().Settings().DiffWindowWidth = 5000;
    SetWindowPos(form_->Handle(), nullptr, 900, 700, 600, 400, SWP_NOZORDER);
    OpenByEnter("81");
    ASSERT_EQ(Windows().size(), 1u);
    MONITORINFO mi{sizeof mi};
    GetMonitorInfoA(MonitorFromWindow(form_->Handle(), MONITOR_DEFAULTTONEAREST), &mi);
    RECT inside{};
    const RECT r = rectOf(Windows()[0]->Handle());
    IntersectRect(&inside, &r, &mi.rcWork);
    EXPECT_TRUE(EqualRect(&inside, &r));
}

}  // namespace
}  // namespace kavlo
