// The real main window, driven by its messages and by synthesized input, under Wine.
#include "main_form_fixture.h"

#include "app/ask_file_no_form_win.h"
#include "app/compare_form_win.h"
#include "objfile/object_types.h"
#include "output/excel_automation_win.h"
#include "output/printers_win.h"
#include "res/resource.h"
#include "settings/update_check.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

using testing::FobFile;
using testing::FobObject;

TEST_F(MainFormTest, StartsWithItsDesignAndNoStoredSettings) {
    Start();
    char caption[64] = {};
    GetWindowTextA(form_->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Ostra's Kavlodex");
    RECT r{};
    GetWindowRect(form_->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 775);
    EXPECT_EQ(r.bottom - r.top, 520);
    for (int t = 0; t < 10; ++t) EXPECT_TRUE(Form().ToolBar().Checked(ToolButtonTableData + t)) << t;
    EXPECT_FALSE(Form().ToolBar().Enabled(ToolButtonFilterClear));
    EXPECT_TRUE(Form().ToolBar().Large());  // absent ToolButtonSize means large
    ExpectToolbarImages(32);
    EXPECT_EQ(Form().StatusBar().Text(0), "0");
    EXPECT_EQ(Form().StatusBar().Text(3), "File 1: 0");
    EXPECT_EQ(Form().StatusBar().Text(4), "File 2: 0");
    EXPECT_EQ(Form().Session().Built().List.RowCount(), 2);
    EXPECT_FALSE(IsWindowEnabled(Form().Grid().ScrollBar()));
    EXPECT_EQ(SendMessageA(Form().ToolBar().Handle(), TB_BUTTONCOUNT, 0, 0), 30 + 9);  // 9 separators
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonFilterAdd), "Add Filter  Ctrl+F7");
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonMarkObjectDesigner), "Mark objects in Navision Object Designer  Ctrl+M");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(MainFormTest, StoredSettingsGiveSmallButtonsAndReleasedTypes) {
    Start();
    form_.reset();  // saves the settings
    auto key = registry_.OpenOrCreateKey("\\Software\\Brenvik\\KavloWindowTest", 0xF003F);
    const uint32_t zero = 0;
    key->Set("ToolButtonSize", RegType::DWord, std::string_view(reinterpret_cast<const char*>(&zero), 4));
    key->Set("ShowForm", RegType::DWord, std::string_view(reinterpret_cast<const char*>(&zero), 4));
    key.reset();
    Start({file1_});
    EXPECT_FALSE(Form().ToolBar().Large());
    ExpectToolbarImages(16);
    EXPECT_FALSE(Form().ToolBar().Checked(ToolButtonForm));
    EXPECT_TRUE(Form().ToolBar().Checked(ToolButtonTable));
    for (int row = 1; row <= Rows(); ++row) EXPECT_NE(Cell(row, 1), "Form");
}

TEST_F(MainFormTest, EveryModeButtonBuildsItsList) {
    Start({file1_, file2_});
    form_->Click(ToolButtonCompareDeleted);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(1, 0), "1");
    form_->Click(ToolButtonCompareAdded);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Form().StatusBar().Text(0), "0");
    ClickDifferentThrough({[](HWND) { PressKey(VK_RETURN); }});
    EXPECT_EQ(Form().Session().Built().LastMode, BuildMode::Different());
    EXPECT_GE(Rows(), 2);
    {
        // Cancel leaves the list as it was.
        WhenShown cancel("Compare", [](HWND) { PressKey(VK_ESCAPE); });
        form_->Click(ToolButtonCompareEqual);
        EXPECT_TRUE(cancel.Done());
    }
    EXPECT_EQ(Form().Session().Built().LastMode, BuildMode::Different());
    {
        WhenShown ok("Compare", [](HWND dlg) {
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 203)));  // Type & ID cannot be changed
            PressKey(VK_RETURN);
        });
        form_->Click(ToolButtonCompareEqual);
    }
    EXPECT_EQ(Rows(), 2 * 28);
    form_->Click(ToolButtonCompareOff);
    EXPECT_EQ(Rows(), 59);
    // A type switch always returns to all objects of the selected types.
    Form().ToolBar().SetChecked(ToolButtonTable, false);
    form_->Click(ToolButtonTable);
    EXPECT_EQ(Form().Session().Built().LastMode, BuildMode::Off());
    for (int row = 1; row <= Rows(); ++row) EXPECT_NE(Cell(row, 1), "Table");
    form_->Click(ToolButtonClear);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Form().StatusBar().Text(1), "");
    EXPECT_EQ(Form().StatusBar().Text(3), "File 1: 0");
}

TEST_F(MainFormTest, DropsThroughTheRegisteredTarget) {
    Start();
    auto* target = reinterpret_cast<IDropTarget*>(Form().DropTarget());
    ASSERT_NE(target, nullptr);
    const auto drop = [&](const std::vector<std::string>& files) {
        FileDrop data(files);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        POINTL pt{10, 10};
        EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, pt, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        effect = DROPEFFECT_LINK;
        EXPECT_EQ(target->Drop(&data, MK_LBUTTON, pt, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    };
    {
        // One file, answered with the key 2.
        WhenShown key2("Load dropped file", [](HWND) { PressKey('2'); });
        drop({file1_});
        Pump(10);
        EXPECT_TRUE(key2.Done());
    }
    EXPECT_EQ(Form().Session().Fob(1).Count(), 0);
    EXPECT_EQ(Form().Session().Fob(2).Count(), 30);
    {
        // One file, answered with Escape: nothing is loaded, the list is rebuilt.
        WhenShown escape("Load dropped file", [](HWND) { PressKey(VK_ESCAPE); });
        drop({file2_});
        Pump(10);
        EXPECT_TRUE(escape.Done());
    }
    EXPECT_EQ(Form().Session().Fob(1).Count(), 0);
    EXPECT_EQ(Rows(), 30);
    drop({file1_, file2_});  // two files: no question
    Pump(5);
    EXPECT_EQ(Form().Session().Fob(1).Count(), 30);
    EXPECT_EQ(Form().Session().Fob(2).Count(), 29);
    form_->Click(ToolButtonClear);
    drop({file1_, file2_, file1_});  // three: nothing
    Pump(5);
    EXPECT_EQ(Form().Session().Fob(1).Count(), 0);
    EXPECT_EQ(Form().Session().DroppedCount(), 0);
}

// A folder of object files as source control keeps them: one object a file.
std::string WriteObjectFolder(const testing::TempDir& dir, const std::string& name, int objects) {
    const std::string folder = dir.File(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const testing::TxtObject& o : testing::RealisticTxtObjects(objects, 7, 3))
        testing::WriteBytes(folder + "\\" + o.type.substr(0, 3) + std::to_string(o.id) + ".TXT", testing::WriteTxt({{o}}));
    return folder;
}

// Open Folder 2 loads the folder chosen in the system's folder picker, which the panel shows as
// it shows a file; Open Folder 1 then starts in that folder, so that Enter alone takes it again.
TEST_F(MainFormTest, OpenFolderLoadsTheFolderChosenInThePicker) {
    const std::string folder = WriteObjectFolder(dir_, "objects", 5);
    Start();
    {
        WhenShown pick("Open Folder 2", {[&](HWND) { TypeText(folder); }, [](HWND) { PressKey(VK_RETURN); }});
        form_->Click(ToolButtonOpenFolder2);
        EXPECT_TRUE(pick.Done());
    }
    Pump();
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    EXPECT_EQ(Form().Session().Fob(2).Count(), 5);
    EXPECT_EQ(Form().StatusBar().Text(2), folder);
    {
        WhenShown again("Open Folder 1", [](HWND) { PressKey(VK_RETURN); });
        form_->Click(ToolButtonOpenFolder1);
        EXPECT_TRUE(again.Done());
    }
    Pump();
    EXPECT_EQ(Form().Session().Fob(1).FileName(), folder);
    EXPECT_EQ(Rows(), 10);
}

// A folder that holds other files too asks first, in a message box naming them: Yes opens it
// without them, No leaves the slot as it was.
TEST_F(MainFormTest, AFolderWithOtherFilesAsksWhetherToOpenItWithoutThem) {
    const std::string folder = WriteObjectFolder(dir_, "objects", 5);
    testing::WriteBytes(folder + "\\notes.md", "x");
    testing::WriteBytes(folder + "\\TAB18.TXT.bak", "x");
    Start({file1_});
    const struct {
        char key;
        int count;
        std::string name;
    } cases[] = {{'N', 30, file1_}, {'Y', 5, folder}};
    for (const auto& c : cases) {
        std::string asked;
        WhenShown ask("Kavlodex", [&](HWND box) {
            char text[1024] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            asked = text;
            PressKey(c.key);
        });
        Form().DropPIDLTarget1Drop({folder, file2_});
        Pump(10);
        EXPECT_TRUE(ask.Done()) << c.key;
        EXPECT_EQ(asked, "The folder " + folder +
                             " holds files that are no object files: TAB18.TXT.bak, notes.md. Open it without them?");
        EXPECT_TRUE(errors_.empty()) << errors_[0];
        EXPECT_EQ(Form().Session().Fob(1).Count(), c.count) << c.key;
        EXPECT_EQ(Form().Session().Fob(1).FileName(), c.name) << c.key;
        EXPECT_EQ(Form().Session().Fob(2).Count(), 29) << c.key;
    }
}

// What a load keeps of a failed file is the session's (tests/app); the window shows the error
// and keeps its list.
TEST_F(MainFormTest, AReaderErrorIsShownAndTheListIsKept) {
    Start({file1_});
    ASSERT_EQ(Rows(), 30);
    const std::string bad = dir_.File("bad.fob");
    std::string bytes = testing::WriteFob(FobFile{{FobObject{}}});
    bytes.resize(200);
    testing::WriteBytes(bad, bytes);
    Form().DropPIDLTarget1Drop({file1_, bad});
    Pump(5);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_TRUE(errors_[0].starts_with("Stream read error") || errors_[0].starts_with("Assertion failure")) << errors_[0];
    EXPECT_EQ(Rows(), 30);  // the rebuild was skipped
    const std::string doc = dir_.File("notes.doc");
    testing::WriteBytes(doc, "x");
    Form().DropPIDLTarget1Drop({doc, file2_});
    Pump(5);
    ASSERT_EQ(errors_.size(), 2u);
    EXPECT_EQ(errors_[1], "Unsupported file type: .doc.");
}

TEST_F(MainFormTest, ShortcutsActOnKeyReleaseWithExactModifiers) {
    Start();  // an empty list: Save and the filter string answer "No rows in list."
    SetFocus(Form().Grid().Handle());
    // Real key events: the modifiers held while the key goes down and up; nothing acts before
    // the key is released.
    const auto keyUp = [&](WORD vk, bool ctrl, bool shift, bool alt) {
        std::vector<WORD> held;
        if (ctrl) held.push_back(VK_CONTROL);
        if (shift) held.push_back(VK_SHIFT);
        if (alt) held.push_back(VK_MENU);
        for (WORD m : held) SendKeyEvent(m, false);
        const size_t before = messages_.size();
        SendKeyEvent(vk, false);
        Pump(2);
        EXPECT_EQ(messages_.size(), before) << "acted on the key going down";
        SendKeyEvent(vk, true);
        for (auto m = held.rbegin(); m != held.rend(); ++m) SendKeyEvent(*m, true);
        Pump(2);
    };
    keyUp('S', true, false, false);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "No rows in list.");
    keyUp('S', true, true, false);   // Ctrl+Shift+S: nothing
    keyUp('S', true, false, true);   // with Alt: nothing
    keyUp('S', false, false, false);
    EXPECT_EQ(messages_.size(), 1u);
    keyUp('F', true, false, false);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1], "No rows in list.");
    // Print and Excel say "No rows in list." only where a printer, and Excel, are installed.
    keyUp('P', true, false, false);
    keyUp('E', true, false, false);
    keyUp('M', true, false, false);
    ASSERT_EQ(messages_.size(), 3u + (PrintersInstalled() ? 1 : 0) + (ExcelInstalled() ? 1 : 0));
    EXPECT_EQ(messages_.back(), "No rows in list.");  // marking too needs objects in the list
    {
        WhenShown filter("Filter", [](HWND) { PressKey(VK_ESCAPE); });
        keyUp(VK_F7, true, false, false);
        EXPECT_TRUE(filter.Done());
    }
    // Shift+Ctrl+F7 clears the filters even while its button is disabled, and rebuilds.
    Form().Session().OpenFile(file1_, 1);
    Form().Session().Filters()[3] = "Cust*";
    PostMessageA(form_->Handle(), kWmFiltersChanged, 0, 0);
    Pump();
    EXPECT_TRUE(Form().ToolBar().Enabled(ToolButtonFilterClear));
    const int filtered = Rows();
    keyUp(VK_F7, true, true, false);
    EXPECT_EQ(Form().Session().Filters()[3], "");
    EXPECT_FALSE(Form().ToolBar().Enabled(ToolButtonFilterClear));
    EXPECT_EQ(Rows(), 30);
    EXPECT_LT(filtered, 30);
}

TEST_F(MainFormTest, ScrollBarFiguresFollowTheRowsInView) {
    const std::string big = dir_.File("big.fob");
    FobFile f;
    f.objects = testing::RealisticObjects(10000, 3);
    testing::WriteBytes(big, testing::WriteFob(f));
    Start({big});
    ASSERT_EQ(Rows(), 10000);
    ShowDataRows(25);
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(Form().Grid().ScrollBar(), SB_CTL, &si);
    EXPECT_TRUE(IsWindowEnabled(Form().Grid().ScrollBar()));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 9999);
    EXPECT_EQ(si.nPage, 25u);
    EXPECT_EQ(Form().Grid().ScrollState().smallChange, 1);
    EXPECT_EQ(Form().Grid().ScrollState().largeChange, 25);
    // The thumb dragged to the bottom shows the last page.
    SendMessageA(form_->Handle(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(Form().Grid().ScrollBar()));
    EXPECT_EQ(Form().Grid().TopRow(), 10001 - 25);
    // Page Down twice from the first row: to the page's last row, then a page further.
    Form().Grid().SetTopRow(1);
    SendMessageA(Form().Grid().Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Form().Grid().CurrentRow(), 25);
    SendMessageA(Form().Grid().Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Form().Grid().CurrentRow(), 50);
    EXPECT_EQ(Form().Grid().TopRow(), 26);
    // The wheel moves the selection by the system's lines per notch.
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SendMessageA(Form().Grid().Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(Form().Grid().CurrentRow(), 50 + static_cast<int>(lines));

    form_->Click(ToolButtonClear);
    const std::string forty = dir_.File("forty.fob");
    f.objects = testing::RealisticObjects(40, 4);
    testing::WriteBytes(forty, testing::WriteFob(f));
    Form().Session().OpenFile(forty, 1);
    Pump();
    ShowDataRows(20);
    GetScrollInfo(Form().Grid().ScrollBar(), SB_CTL, &si);
    EXPECT_EQ(si.nPage, 5000u);
    EXPECT_EQ(Form().Grid().ScrollState().smallChange, 250);
}

TEST_F(MainFormTest, HeaderClicksOpenFiltersButBorderDragsDoNot) {
    Start({file1_});
    HWND grid = Form().Grid().Handle();
    const RECT name = Form().Grid().CellRect(0, 3);
    const int mid = (name.left + name.right) / 2;
    {
        // The prompt that the message opens is cancelled: nothing changes.
        WhenShown prompt("Field Filter", [](HWND) { PressKey(VK_ESCAPE); });
        SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mid, 8));
        SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(mid, 8));
        Pump(10);
        EXPECT_TRUE(prompt.Done());
    }
    EXPECT_EQ(Form().Session().Filters()[3], "");
    ASSERT_EQ(editFieldFilter_.size(), 1u);
    EXPECT_EQ(editFieldFilter_[0], 3);
    // A drag of the Name column's right border widens it and opens nothing.
    SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(name.right, 8));
    SendMessageA(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(name.right + 30, 8));
    SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(name.right + 30, 8));
    Pump();
    EXPECT_EQ(editFieldFilter_.size(), 1u);
    EXPECT_EQ(Form().Grid().ColWidth(3), 170 + 30);
}

TEST_F(MainFormTest, StatusPanelHintsShowLongNamesNotGaps) {
    Start({file1_});
    Form().StatusBar().MouseMove(100);  // over panel 1
    EXPECT_EQ(Form().StatusBar().Hint(), file1_);
    Form().StatusBar().MouseMove(41);  // the gap between panels 0 and 1
    EXPECT_EQ(Form().StatusBar().Hint(), "");
}

TEST_F(MainFormTest, CellHintsShowTextsTooWideForTheirColumn) {
    const std::string path = dir_.File("names.fob");
    FobFile f;
    f.objects = testing::RealisticObjects(2, 8);
    f.objects[0].name = "G/L";
    f.objects[1].name = "Sales Invoice Header";
    testing::WriteBytes(path, testing::WriteFob(f));
    Start({path});
    Form().Grid().SetColWidth(3, 60);
    HWND grid = Form().Grid().Handle();
    const RECT shortName = Form().Grid().CellRect(1, 3);
    const RECT longName = Form().Grid().CellRect(2, 3);
    SendMessageA(grid, WM_MOUSEMOVE, 0, MAKELPARAM(shortName.left + 5, shortName.top + 5));
    EXPECT_EQ(Form().Grid().CurrentHint(), "");
    SendMessageA(grid, WM_MOUSEMOVE, 0, MAKELPARAM(longName.left + 5, longName.top + 5));
    EXPECT_EQ(Form().Grid().CurrentHint(), "Sales Invoice Header");
    SendMessageA(grid, WM_MOUSEMOVE, 0, MAKELPARAM(shortName.left + 5, shortName.top + 5));
    EXPECT_EQ(Form().Grid().CurrentHint(), "");
}

TEST_F(MainFormTest, TheWindowDrawsMarkersTicksAndRuling) {
    const std::string one = dir_.File("one-object.fob");
    FobFile f;
    f.objects = testing::RealisticObjects(2, 9);
    f.objects[0].modified = true;
    f.objects[1].modified = false;
    testing::WriteBytes(one, testing::WriteFob(f));
    Start({one});
    HWND grid = Form().Grid().Handle();
    InvalidateRect(grid, nullptr, TRUE);
    UpdateWindow(grid);
    HDC dc = GetDC(grid);
    const RECT file = Form().Grid().CellRect(1, 0);
    const COLORREF marker = GetPixel(dc, file.left + 2 + 1, file.top + 1 + 1);
    EXPECT_GT(GetBValue(marker), 150) << std::hex << marker;  // the blue square of "file1"
    EXPECT_LT(GetRValue(marker), 100) << std::hex << marker;
    // Row 2 is not the current row: its tick is in the window text colour on the window colour.
    const RECT mod2 = Form().Grid().CellRect(2, 8);
    const RECT mod1 = Form().Grid().CellRect(1, 8);
    EXPECT_EQ(GetPixel(dc, mod1.left + 3, mod1.top + 6), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(GetPixel(dc, mod1.left + 1, mod1.top + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetPixel(dc, mod2.left + 3, mod2.top + 6), GetSysColor(COLOR_WINDOW));  // no tick: flag clear
    // Below the last row the sheet is ruled in silver.
    const RECT last = Form().Grid().CellRect(2, 3);
    EXPECT_EQ(GetPixel(dc, last.right, last.bottom + 10), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(dc, last.left + 5, last.bottom + kGridRowHeight), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(dc, last.left + 5, last.bottom + 8), GetSysColor(COLOR_WINDOW));
    ReleaseDC(grid, dc);
    EXPECT_FALSE(IsWindowEnabled(Form().Grid().ScrollBar()));
}

// "Content": off at first, ticked in the dialog it makes an object whose code alone changed
// Different, and it is kept in the registry for the next run.
TEST_F(MainFormTest, TheContentBoxComparesContentsAndIsKeptFromRunToRun) {
    testing::TxtFile a = testing::ThreeTxtObjects();
    testing::TxtFile b = a;
    b.objects[2].code = {"MESSAGE('changed');"};
    const std::string one = dir_.File("code1.txt"), two = dir_.File("code2.txt");
    testing::WriteBytes(one, testing::WriteTxt(a));
    testing::WriteBytes(two, testing::WriteTxt(b));
    Start({one, two});
    bool shownOff = false;
    ClickDifferentThrough({[&](HWND dlg) {
        shownOff = IsDlgButtonChecked(dlg, IDC_CHECKBOX_CONTENT) == BST_UNCHECKED;
        PressKey(VK_RETURN);
    }});
    EXPECT_TRUE(shownOff);
    EXPECT_EQ(Rows(), 0) << "equal by every field";
    ClickDifferentThrough({[](HWND dlg) {
        SendDlgItemMessageA(dlg, IDC_CHECKBOX_CONTENT, BM_CLICK, 0, 0);
        PressKey(VK_RETURN);
    }});
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(1, 1) + " " + Cell(1, 2), "Codeunit 80");
    EXPECT_EQ(Cell(2, 0), "2");
    form_.reset();  // saves the settings

    Start({one, two});
    EXPECT_TRUE(Form().Session().Compare().CompareContent);
    bool shownOn = false;
    ClickDifferentThrough({[&](HWND dlg) {
        shownOn = IsDlgButtonChecked(dlg, IDC_CHECKBOX_CONTENT) == BST_CHECKED;
        PressKey(VK_ESCAPE);
    }});
    EXPECT_TRUE(shownOn);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(MainFormTest, TheCompareDialogChoosesTheFieldsThatCount) {
    FobFile a;
    a.objects = testing::RealisticObjects(6, 2);
    FobFile b = a;
    b.objects[1].rawDate += 2;      // one day later: differs by date only
    b.objects[2].rawTime += 60000;  // by time only
    b.objects[4].name = "Renamed";  // by name
    const std::string one = dir_.File("dates1.fob"), two = dir_.File("dates2.fob");
    testing::WriteBytes(one, testing::WriteFob(a));
    testing::WriteBytes(two, testing::WriteFob(b));
    Start({one, two});
    const auto ids = [&] {
        std::vector<std::string> v;
        for (int row = 1; row <= Rows(); ++row) v.push_back(Cell(row, 0) + ":" + Cell(row, 1) + " " + Cell(row, 2));
        return v;
    };
    const auto key = [&](size_t i) {
        return std::string(ObjectTypeNames[static_cast<size_t>(a.objects[i].type)]) + " " +
               std::to_string(a.objects[i].id);
    };
    const std::string id1 = key(1), id2 = key(2), id4 = key(4);
    ClickDifferentThrough({[](HWND) { PressKey(VK_RETURN); }});  // every field
    EXPECT_EQ(ids(), (std::vector<std::string>{"1:" + id1, "2:" + id1, "1:" + id2, "2:" + id2, "1:" + id4, "2:" + id4}));
    // Tab to Date, untick it and Time with the space bar, Enter for OK.
    ClickDifferentThrough({
        [](HWND) {
            PressKey(VK_TAB);
            PressKey(VK_TAB);
            PressKey(VK_SPACE);
            PressKey(VK_TAB);
            PressKey(VK_SPACE);
        },
        [](HWND) { PressKey(VK_RETURN); },
    });
    EXPECT_EQ(ids(), (std::vector<std::string>{"1:" + id4, "2:" + id4}));
    EXPECT_FALSE(Form().Session().Compare().CompareDate);
    EXPECT_FALSE(Form().Session().Compare().CompareTime);
    // Changes thrown away with Escape; the next showing has the settings as they were.
    ClickDifferentThrough({
        [](HWND) { PressKey(VK_SPACE); },  // Name
        [](HWND) { PressKey(VK_ESCAPE); },
    });
    EXPECT_TRUE(Form().Session().Compare().CompareName);
    std::vector<bool> shown;
    ClickDifferentThrough({[&](HWND dlg) {
        for (int id : {203, 204, 205, 206, 207, 208})
            shown.push_back(IsDlgButtonChecked(dlg, id) == BST_CHECKED);
        PressKey(VK_ESCAPE);
    }});
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, false, false, true}));
    EXPECT_EQ(ids(), (std::vector<std::string>{"1:" + id4, "2:" + id4}));
}

TEST_F(MainFormTest, AnUpdateVerdictDatesTheCheckAndANewerVersionIsOffered) {
    Start();
    // The result code is read as a signed 32-bit number, as the update thread posts it.
    const auto post = [&](int32_t code) {
        PostMessageA(form_->Handle(), kWmUpdateCheck, static_cast<WPARAM>(static_cast<uint32_t>(code)), 0);
        Pump();
    };
    for (int32_t failure : {-1, -2, -3}) post(failure);  // no verdict: the date stays
    EXPECT_EQ(Form().Session().Settings().CheckForUpdatesLastDate, 0.0);
    for (int32_t verdict : {2, 3}) {
        Form().Session().Settings().CheckForUpdatesLastDate = 0.0;
        post(verdict);
        EXPECT_EQ(Form().Session().Settings().CheckForUpdatesLastDate, LocalToday()) << verdict;
    }
    EXPECT_EQ(websiteOpened_, 0);
    // A newer version: the question, whose Yes alone opens the web page.
    for (WORD answer : {WORD('N'), WORD(VK_ESCAPE), WORD('Y')}) {
        Form().Session().Settings().CheckForUpdatesLastDate = 0.0;
        std::string text;
        WhenShown question("Check for updates", [&](HWND box) {
            char buf[256] = {};
            GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);  // the box's text
            text = buf;
            PressKey(answer);
        });
        post(1);
        Pump(10);
        EXPECT_TRUE(question.Done());
        EXPECT_EQ(text, kNewVersionQuestion);
        EXPECT_EQ(Form().Session().Settings().CheckForUpdatesLastDate, LocalToday());
    }
    EXPECT_EQ(websiteOpened_, 1);
}

}  // namespace
}  // namespace kavlo
