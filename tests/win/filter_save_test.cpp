// Field filters in the window, the filter string on the clipboard, and saving the list.
#include "main_form_fixture.h"

#include <dlgs.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/filter_form_win.h"
#include "output/text_list.h"
#include "platform/system_error_win.h"

namespace kavlo {
namespace {

void SetClipboardText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(MainFormTest, TheFilterDialogTakesTypedFiltersAndShowsThemNormalised) {
    Start({file1_});
    {
        int startRow = 0;
        WhenShown dialog("Filter", {
            [&](HWND) {
                startRow = Form().FilterForm().CurrentRow();
                EXPECT_EQ(GetFocus(), Form().FilterForm().Editor());
                PressKey(VK_DOWN);  // to Type
                TypeText("cod");
            },
            [](HWND) { PressKey(VK_RETURN); },  // Enter released in the grid: OK
        });
        form_->Click(ToolButtonFilterAdd);
        EXPECT_TRUE(dialog.Done());
        EXPECT_EQ(startRow, 1);  // the editor starts on File
    }
    Pump();
    EXPECT_EQ(Form().Session().Filters()[1], "Codeunit");
    EXPECT_TRUE(Form().ToolBar().Enabled(ToolButtonFilterClear));
    ASSERT_GT(Rows(), 0);
    for (int row = 1; row <= Rows(); ++row) EXPECT_EQ(Cell(row, 1), "Codeunit");
    {
        std::string shown;
        int row = 0;
        WhenShown again("Filter", {
            [](HWND) { PressKey(VK_DOWN); },
            [&](HWND) {
                row = Form().FilterForm().CurrentRow();
                char text[64] = {};
                GetWindowTextA(Form().FilterForm().Editor(), text, sizeof text);
                shown = text;
                TypeText("x");       // a change that Escape throws away
                PressKey(VK_ESCAPE);  // Escape released: Cancel
            },
        });
        form_->Click(ToolButtonFilterAdd);
        EXPECT_TRUE(again.Done());
        EXPECT_EQ(row, 2);
        EXPECT_EQ(shown, "Codeunit");
    }
    Pump();
    EXPECT_EQ(Form().Session().Filters()[1], "Codeunit");
    // Clearing the only filter disables the button and lists everything again.
    form_->Click(ToolButtonFilterClear);
    Pump();
    EXPECT_FALSE(Form().ToolBar().Enabled(ToolButtonFilterClear));
    EXPECT_EQ(Rows(), 30);
}

TEST_F(MainFormTest, AHeaderClickOffersTheCurrentRowsValue) {
    Start({file1_});
    Form().Grid().SetCurrentRow(5);
    const std::string name = Cell(5, 3);
    std::string offered, label;
    WhenShown prompt("Field Filter", [&](HWND dlg) {
        char text[128] = {};
        GetDlgItemTextA(dlg, 402, text, sizeof text);
        offered = text;
        GetDlgItemTextA(dlg, 401, text, sizeof text);
        label = text;
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    const RECT header = Form().Grid().CellRect(0, 3);
    const int mid = (header.left + header.right) / 2;
    SendMessageA(Form().Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mid, 8));
    SendMessageA(Form().Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(mid, 8));
    Pump(10);
    EXPECT_TRUE(prompt.Done());
    EXPECT_EQ(label, "Name Filter");
    EXPECT_EQ(offered, name);
    EXPECT_EQ(Form().Session().Filters()[3], name);
    ASSERT_GE(Rows(), 1);
    for (int row = 1; row <= Rows(); ++row) EXPECT_EQ(Cell(row, 3), name);  // exactly that name
}

TEST_F(MainFormTest, TheFilterStringHoldsAtMost140Ids) {
    const std::string many = dir_.File("many.fob");
    FobFile f;
    f.objects = testing::RealisticObjects(141, 5);
    testing::WriteBytes(many, testing::WriteFob(f));
    Start();
    SetClipboardText("untouched");
    form_->Click(ToolButtonMakeFilterString);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "No rows in list.");
    EXPECT_EQ(ClipboardText(), "untouched");
    Form().Session().OpenFile(many, 1);
    form_->Click(ToolButtonMakeFilterString);
    const std::string text = ClipboardText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 139);
    EXPECT_TRUE(text.starts_with(Cell(1, 2) + "|" + Cell(2, 2) + "|"));
    EXPECT_TRUE(text.ends_with("|" + Cell(140, 2)));
}

// The save dialog answered through the keyboard: the name it offers, then a typed name and
// Enter, or Escape.
struct SaveDialogAnswer {
    std::optional<std::string> typed;  // nothing: Escape
    bool replace = false;              // answers the question whether to replace the file
    std::string offered;
    bool refuse = false;               // answers it No instead
    bool thenEscape = false;           // and leaves the dialog, which stays after a No
};

void AnswerSaveDialog(TMainForm& form, SaveDialogAnswer& answer) {
    WhenShown::Steps steps = {[&](HWND dlg) {
        char text[MAX_PATH] = {};
        GetDlgItemTextA(dlg, cmb13, text, sizeof text);  // the file name box
        answer.offered = text;
        if (!answer.typed) {
            PressKey(VK_ESCAPE);
            return;
        }
        PressKey('A', {VK_CONTROL});  // replace what is offered
        TypeText(*answer.typed);
    }};
    if (answer.typed) steps.push_back([](HWND) { PressKey(VK_RETURN); });
    // "... already exists. Do you want to replace it?", a box of the same caption
    if (answer.replace) steps.push_back([](HWND) { PressKey('Y'); });
    if (answer.refuse) steps.push_back([](HWND) { PressKey('N'); });
    if (answer.thenEscape) steps.push_back([](HWND) { PressKey(VK_ESCAPE); });
    WhenShown dialog("Save As", std::move(steps));
    SendMessageA(form.Handle(), WM_COMMAND, ToolButtonId(ToolButtonSave), 0);
    EXPECT_TRUE(dialog.Done());
}

TEST_F(MainFormTest, SaveWritesTheListAndRemembersTheName) {
    Start({file1_, file2_});
    SaveDialogAnswer cancel;  // Escape: nothing written, nothing remembered
    AnswerSaveDialog(*form_, cancel);
    EXPECT_EQ(cancel.offered, "");
    EXPECT_EQ(Form().Session().Settings().LastFileSaved, "");

    const std::string chosen = dir_.File("objects");
    SaveDialogAnswer save{chosen};
    AnswerSaveDialog(*form_, save);
    Pump();
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    const std::string bytes = FileBytes(chosen + ".txt");
    FormatSettings fs = SystemFormatSettings();
    EXPECT_EQ(bytes, ListAsText(Form().Session().Built().List, fs));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 59);
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_EQ(Form().Session().Settings().LastFileSaved, chosen + ".txt");
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));

    // A file that another program holds open without sharing cannot be written: the error
    // with the system's text, the file untouched, LastFileSaved unchanged. The dialog offers
    // the last name saved.
    const std::string locked = dir_.File("locked.txt");
    testing::WriteBytes(locked, "kept");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    SaveDialogAnswer busy{locked, true};
    AnswerSaveDialog(*form_, busy);
    Pump();
    CloseHandle(holder);
    EXPECT_EQ(busy.offered, "objects.txt");
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "Cannot create file \"" + locked + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(FileBytes(locked), "kept");
    EXPECT_EQ(Form().Session().Settings().LastFileSaved, chosen + ".txt");
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));
}

// Nothing is replaced without asking: a name typed without ".txt" is asked about as the name
// with it, and so is a name with another extension, to which ".txt" is added.
TEST_F(MainFormTest, SaveAsksBeforeReplacingTheFileItWrites) {
    Start({file1_});
    // The dialog's own question about "mylist.txt", then Escape; our question about
    // "list.csv.txt" after the dialog, in a box of the same caption.
    for (const auto& [typed, dialogStays] : {std::pair{"mylist", true}, std::pair{"list.csv", false}}) {
        const std::string existing = dir_.File(std::string(typed) + ".txt");
        testing::WriteBytes(existing, "kept");
        SaveDialogAnswer keep{dir_.File(typed)};
        keep.refuse = true;
        keep.thenEscape = dialogStays;
        AnswerSaveDialog(*form_, keep);
        Pump();
        EXPECT_EQ(FileBytes(existing), "kept") << typed;
        EXPECT_EQ(Form().Session().Settings().LastFileSaved, "") << typed;
    }
    EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace kavlo
