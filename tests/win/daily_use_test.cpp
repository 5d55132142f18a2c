// What a window in daily use must get right beyond its design: hints that go away, the mode on
// show, the keys of every command.
#include "main_form_fixture.h"

#include <atomic>
#include <thread>

#include "output/text_list.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

POINT InClient(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

TEST_F(MainFormTest, HintsGoWhenThePointerLeavesOrTheWindowIsLeft) {
    const std::string path = dir_.File("names.fob");
    FobFile f;
    f.objects = testing::RealisticObjects(2, 8);
    f.objects[1].name = "Sales Invoice Header";
    testing::WriteBytes(path, testing::WriteFob(f));
    Start({path});
    Form().Grid().SetColWidth(ColumnName, 60);
    const RECT longName = Form().Grid().CellRect(2, ColumnName);
    const POINT offWindow{5, 5};
    const auto pumpUntil = [&](auto done) {
        for (int i = 0; i < 400 && !done(); ++i) Pump(1);  // up to 2 s: leaving is polled
    };

    MovePointer(InClient(Form().Grid().Handle(), longName.left + 5, longName.top + 5));
    pumpUntil([&] { return !Form().Grid().CurrentHint().empty(); });
    EXPECT_EQ(Form().Grid().CurrentHint(), "Sales Invoice Header");
    MovePointer(offWindow);
    pumpUntil([&] { return Form().Grid().CurrentHint().empty(); });
    EXPECT_EQ(Form().Grid().CurrentHint(), "");

    HWND status = GetDlgItem(form_->Handle(), 13);
    MovePointer(InClient(status, 100, 5));  // the name of file 1
    pumpUntil([&] { return !Form().StatusBar().Hint().empty(); });
    EXPECT_EQ(Form().StatusBar().Hint(), path);
    MovePointer(offWindow);
    pumpUntil([&] { return Form().StatusBar().Hint().empty(); });
    EXPECT_EQ(Form().StatusBar().Hint(), "");

    // Another window to the front: the hint goes with the focus.
    MovePointer(InClient(Form().Grid().Handle(), longName.left + 5, longName.top + 5));
    pumpUntil([&] { return !Form().Grid().CurrentHint().empty(); });
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    SetForegroundWindow(other);
    pumpUntil([&] { return Form().Grid().CurrentHint().empty(); });
    EXPECT_EQ(Form().Grid().CurrentHint(), "");
    DestroyWindow(other);
}

TEST_F(MainFormTest, TheModeInForceIsShownPressed) {
    Start({file1_, file2_});
    const int modes[] = {ToolButtonCompareEqual, ToolButtonCompareDifferent, ToolButtonCompareOff,
                         ToolButtonCompareAdded, ToolButtonCompareDeleted};
    const auto pressed = [&] {
        std::vector<int> on;
        for (int b : modes)
            if (SendMessageA(Form().ToolBar().Handle(), TB_ISBUTTONCHECKED, ToolButtonId(b), 0)) on.push_back(b);
        return on;
    };
    EXPECT_EQ(pressed(), std::vector<int>{ToolButtonCompareOff});
    form_->Click(ToolButtonCompareAdded);
    EXPECT_EQ(pressed(), std::vector<int>{ToolButtonCompareAdded});
    form_->Click(ToolButtonCompareAdded);  // a push button: pressing it again keeps it shown
    EXPECT_EQ(pressed(), std::vector<int>{ToolButtonCompareAdded});
    Form().Session().Filters()[ColumnName] = "*";
    PostMessageA(form_->Handle(), kWmFiltersChanged, 0, 0);  // a filter rebuilds in the mode
    Pump();
    EXPECT_EQ(pressed(), std::vector<int>{ToolButtonCompareAdded});
    form_->Click(ToolButtonClear);
    EXPECT_EQ(pressed(), std::vector<int>{ToolButtonCompareOff});
}

TEST_F(MainFormTest, TheWindowKeepsAMinimumSize) {
    Start();
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    int panels = 0;
    for (const int width : kStatusPanelWidths) panels += width;
    EXPECT_GT(client.right, panels);  // every status panel in view
    RECT grid{};
    GetClientRect(Form().Grid().Handle(), &grid);
    EXPECT_GE(grid.bottom, 4 * kGridRowHeight);  // a few rows stay in view
}

// After the window grows, the status bar's size grip is drawn in the new corner only: where the
// old corner was, the empty last panel shows its plain face.
TEST_F(MainFormTest, TheSizeGripLeavesNoTraceWhenTheWindowGrows) {
    Start();
    HWND status = Form().StatusBar().Handle();
    RECT before{};
    GetClientRect(status, &before);
    RECT w{};
    GetWindowRect(form_->Handle(), &w);
    SetWindowPos(form_->Handle(), nullptr, 0, 0, w.right - w.left + 200, w.bottom - w.top + 100, SWP_NOMOVE | SWP_NOZORDER);
    Pump(10);
    const WindowDc dc(status);
    const COLORREF face = GetPixel(dc.get(), before.right - 40, before.bottom / 2);
    int marks = 0;
    for (int y = before.bottom - 12; y < before.bottom - 3; ++y)
        for (int x = before.right - 12; x < before.right - 2; ++x) marks += GetPixel(dc.get(), x, y) != face;
    EXPECT_EQ(marks, 0);
}

// Every command has a key; the keys show in the hints after the buttons' own texts.
TEST_F(MainFormTest, KeysOpenClearCompareAndReload) {
    Start({file1_, file2_});
    SetFocus(Form().Grid().Handle());
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonOpenFile2), "Open File 2  Ctrl+Shift+O");
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonCompareAdded), "Show objects that are added in file 2  Ctrl+4");
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonOpenFolder2), "Open Folder 2  Ctrl+Shift+D");
    const struct {
        char vk;
        bool shift;
        const char* dialog;
    } opens[] = {{'O', false, "Open"}, {'O', true, "Open"}, {'D', false, "Open Folder 1"}, {'D', true, "Open Folder 2"}};
    for (const auto& [vk, shift, dialog] : opens) {
        WhenShown open(dialog, [](HWND) { PressKey(VK_ESCAPE); });
        shift ? PressKey(vk, {VK_CONTROL, VK_SHIFT}) : PressKey(vk, {VK_CONTROL});
        for (int i = 0; i < 100 && !open.Done(); ++i) Pump(1);
        EXPECT_TRUE(open.Done()) << dialog << " " << shift;
    }
    {
        WhenShown compare("Compare", [](HWND) { PressKey(VK_RETURN); });
        PressKey('2', {VK_CONTROL});
        for (int i = 0; i < 100 && !compare.Done(); ++i) Pump(1);
        EXPECT_TRUE(compare.Done());
    }
    EXPECT_TRUE(Form().Session().Built().LastMode == BuildMode::Different());
    PressKey('5', {VK_CONTROL});
    Pump();
    EXPECT_TRUE(Form().Session().Built().LastMode == BuildMode::Deleted());
    EXPECT_EQ(Rows(), 1);  // the object file 2 lacks

    // F5 reads both files again and keeps the mode: file 2 lost another object meanwhile.
    FobFile fewer;
    fewer.objects = testing::RealisticObjects(30, 1);
    fewer.objects.erase(fewer.objects.begin() + 10, fewer.objects.begin() + 12);
    testing::WriteBytes(file2_, testing::WriteFob(fewer));
    PressKey(VK_F5);
    Pump();
    EXPECT_EQ(Form().Session().Fob(2).Count(), 28);
    EXPECT_TRUE(Form().Session().Built().LastMode == BuildMode::Deleted());
    EXPECT_EQ(Rows(), 2);

    PressKey('N', {VK_CONTROL});
    Pump();
    EXPECT_EQ(Form().Session().Fob(1).Count(), 0);
    EXPECT_TRUE(errors_.empty());
}

// While a large file loads, the pointer over the window is the hourglass (watched from another
// thread, as the user sees it), and the arrow again afterwards.
TEST_F(MainFormTest, TheHourglassShowsWhileAFileLoads) {
    const std::string big = dir_.File("big.txt");
    testing::TxtFile t;
    t.objects = testing::RealisticTxtObjects(4000, 3, 200);
    testing::WriteBytes(big, testing::WriteTxt(t));
    Start();
    RECT grid{};
    GetWindowRect(Form().Grid().Handle(), &grid);
    MovePointer({(grid.left + grid.right) / 2, (grid.top + grid.bottom) / 2});
    Pump();
    const HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    std::atomic<bool> loading{true}, sawWait{false};
    std::thread watch([&] {
        while (loading) {
            CURSORINFO ci{sizeof ci};
            if (GetCursorInfo(&ci) && ci.hCursor == wait) sawWait = true;
            Sleep(2);
        }
    });
    {
        // As the user does it: the open dialog, the name typed, Enter.
        WhenShown open("Open", {[&](HWND) { TypeText(big); }, [](HWND) { PressKey(VK_RETURN); }});
        form_->Click(ToolButtonOpenFile1);
        EXPECT_TRUE(open.Done());
    }
    loading = false;
    watch.join();
    EXPECT_TRUE(sawWait);
    EXPECT_EQ(Form().Session().Fob(1).Count(), 4000);
    CURSORINFO after{sizeof after};
    GetCursorInfo(&after);
    EXPECT_NE(after.hCursor, wait);
}


// A long path loses its middle in the panel, so that the file's own name shows; the hint and
// the panel's text keep it whole.
TEST_F(MainFormTest, LongPathsShowTheirFileNameInThePanel) {
    std::string folder = dir_.File("");
    for (int i = 0; i < 6; ++i) {
        folder += "a rather long folder name " + std::to_string(i) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string path = folder + "objects.fob";
    ASSERT_TRUE(CopyFileA(file1_.c_str(), path.c_str(), FALSE));
    Start({path, file2_});
    const std::string shown = Form().StatusBar().ShownText(1);
    EXPECT_TRUE(shown.ends_with("\\objects.fob")) << shown;
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_EQ(Form().StatusBar().Text(1), path);
    EXPECT_TRUE(Form().StatusBar().ShownText(2).ends_with("\\two.fob"));
    EXPECT_EQ(Form().StatusBar().ShownText(3), "File 1: 30");
    Form().StatusBar().MouseMove(100);
    EXPECT_EQ(Form().StatusBar().Hint(), path);
}

// A double click on a column's right border in the header fits the column to its texts in view:
// afterwards none needs a hint, and a wide column gets narrower.
TEST_F(MainFormTest, ADoubleClickOnABorderFitsTheColumn) {
    Start({file1_});
    TObjectGrid& grid = Form().Grid();
    const auto doubleClickBorder = [&] {
        const RECT title = grid.CellRect(0, ColumnName);
        MovePointer(InClient(grid.Handle(), title.right, title.top + 5));
        INPUT in[4] = {};
        for (INPUT& i : in) i.type = INPUT_MOUSE;
        in[0].mi.dwFlags = in[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = in[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(4, in, sizeof(INPUT));
        Pump();
    };
    grid.SetColWidth(ColumnName, 40);
    doubleClickBorder();
    const int fitted = grid.ColWidth(ColumnName);
    EXPECT_GT(fitted, 40);
    for (int row = grid.TopRow(); row < grid.TopRow() + grid.VisibleDataRowCount() && row <= Rows(); ++row) {
        const RECT cell = grid.CellRect(row, ColumnName);
        SendMessageA(grid.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + 3, cell.top + 3));
        EXPECT_EQ(grid.CurrentHint(), "") << Cell(row, ColumnName);
    }
    grid.SetColWidth(ColumnName, 400);
    doubleClickBorder();
    EXPECT_EQ(grid.ColWidth(ColumnName), fitted);
    EXPECT_TRUE(editFieldFilter_.empty());  // no header click
}

TEST_F(MainFormTest, TheGridCopiesItsSelectionAndTheTypeSwitchesHaveKeys) {
    Start({file1_});
    SetFocus(Form().Grid().Handle());
    const TVisibleList& list = Form().Session().Built().List;
    const FormatSettings fs = SystemFormatSettings();
    PressKey('C', {VK_CONTROL});  // the current row alone
    Pump();
    EXPECT_EQ(ClipboardText(), RowsAsText(list, 1, 1, fs));
    PressKey(VK_DOWN, {VK_SHIFT});
    PressKey(VK_DOWN, {VK_SHIFT});
    PressKey('C', {VK_CONTROL});
    Pump();
    EXPECT_EQ(ClipboardText(), RowsAsText(list, 1, 3, fs));
    PressKey('A', {VK_CONTROL});
    PressKey('C', {VK_CONTROL});
    Pump();
    EXPECT_EQ(ClipboardText(), ListAsText(list, fs));
    PressKey(VK_DOWN);  // a plain move selects one row again: the one after row 3
    Pump();
    EXPECT_EQ(Form().Grid().Selection(), std::make_pair(4, 4));

    // Ctrl+Shift+2 flips the Table switch as its click does.
    const int before = Rows();
    PressKey('2', {VK_CONTROL, VK_SHIFT});
    Pump();
    EXPECT_FALSE(Form().ToolBar().Checked(ToolButtonTable));
    EXPECT_LT(Rows(), before);
    PressKey('2', {VK_CONTROL, VK_SHIFT});
    Pump();
    EXPECT_TRUE(Form().ToolBar().Checked(ToolButtonTable));
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonTable), "Table  Ctrl+Shift+2");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(MainFormTest, TabTakesTheKeyboardToTheToolbarAndBack) {
    Start({file1_});
    SetFocus(Form().Grid().Handle());
    PressKey(VK_TAB);
    Pump();
    EXPECT_EQ(GetFocus(), Form().ToolBar().Handle());
    // Right from Clear to the first type switch; Space flips it.
    for (int b = ToolButtonClear; b < ToolButtonTableData; ++b) PressKey(VK_RIGHT);
    PressKey(VK_SPACE);
    Pump();
    EXPECT_FALSE(Form().ToolBar().Checked(ToolButtonTableData));
    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_EQ(GetFocus(), Form().Grid().Handle());
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    Pump();
    EXPECT_EQ(GetFocus(), Form().Grid().Handle());
    // Enter presses the button in focus when it is released, so the dialog the button opens
    // does not take the release for its own and close at once.
    PressKey(VK_TAB);
    Pump();
    for (int b = ToolButtonTableData; b < ToolButtonFilterAdd; ++b) PressKey(VK_RIGHT);
    {
        WhenShown filter("Filter", [](HWND) { PressKey(VK_ESCAPE); });
        PressKey(VK_RETURN);
        for (int i = 0; i < 200 && !filter.Done(); ++i) Pump(1);
        EXPECT_TRUE(filter.Done());
    }
    EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace kavlo
