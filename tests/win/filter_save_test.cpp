// Field filters in the window, the filter string on the clipboard, and saving the list.
#include "main_form_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/filter_form_win.h"
#include "output/text_list.h"

namespace kavlo {
namespace {

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

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

// Types into the focused editor of a dialog as the keyboard does.
void Type(HWND edit, const std::string& text) {
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

TEST_F(MainFormTest, TheFilterDialogTakesTypedFiltersAndShowsThemNormalised) {
    Start({file1_});
    {
        WhenShown dialog("Filter", [this](HWND) {
            HWND editor = form_->FilterForm().Editor();
            EXPECT_EQ(form_->FilterForm().CurrentRow(), 1);  // the editor starts on File
            SendMessageA(editor, WM_KEYDOWN, VK_DOWN, 1);
            EXPECT_EQ(form_->FilterForm().CurrentRow(), 2);  // Type
            Type(editor, "cod");
            SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 1);
            PostMessageA(editor, WM_KEYUP, VK_RETURN, 0xC0000001);  // Enter released: OK
        });
        form_->Click(ToolButtonFilterAdd);
        EXPECT_TRUE(dialog.Done());
    }
    Pump();
    EXPECT_EQ(form_->Filters()[1], "Codeunit");
    EXPECT_TRUE(form_->ButtonEnabled(ToolButtonFilterClear));
    ASSERT_GT(Rows(), 0);
    for (int row = 1; row <= Rows(); ++row) EXPECT_EQ(Cell(row, 1), "Codeunit");
    {
        std::string shown;
        WhenShown again("Filter", [&](HWND dlg) {
            HWND editor = form_->FilterForm().Editor();
            SendMessageA(editor, WM_KEYDOWN, VK_DOWN, 1);
            char text[64] = {};
            GetWindowTextA(editor, text, sizeof text);
            shown = text;
            PostMessageA(editor, WM_KEYUP, VK_ESCAPE, 0xC0000001);  // Escape released: Cancel
        });
        form_->Click(ToolButtonFilterAdd);
        EXPECT_EQ(shown, "Codeunit");
    }
    Pump();
    EXPECT_EQ(form_->Filters()[1], "Codeunit");
    // Clearing the only filter disables the button and lists everything again.
    form_->Click(ToolButtonFilterClear);
    Pump();
    EXPECT_FALSE(form_->ButtonEnabled(ToolButtonFilterClear));
    EXPECT_EQ(Rows(), 30);
}

TEST_F(MainFormTest, AHeaderClickOffersTheCurrentRowsValue) {
    Start({file1_});
    form_->Grid().SetCurrentRow(5);
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
    const RECT header = form_->Grid().CellRect(0, 3);
    const int mid = (header.left + header.right) / 2;
    SendMessageA(form_->Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mid, 8));
    SendMessageA(form_->Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(mid, 8));
    Pump(10);
    EXPECT_TRUE(prompt.Done());
    EXPECT_EQ(label, "Name Filter");
    EXPECT_EQ(offered, name);
    EXPECT_EQ(form_->Filters()[3], name);
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
    form_->LoadIntoSlot(many, 1, false);
    form_->BuildList(BuildMode::Off());
    form_->Click(ToolButtonMakeFilterString);
    const std::string text = ClipboardText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 139);
    EXPECT_TRUE(text.starts_with(Cell(1, 2) + "|" + Cell(2, 2) + "|"));
    EXPECT_TRUE(text.ends_with("|" + Cell(140, 2)));
}

TEST_F(MainFormTest, SaveWritesTheListAndRemembersTheName) {
    Start({file1_, file2_});
    saveAnswers_ = {std::nullopt};  // Cancel: nothing written, nothing remembered
    SendMessageA(form_->Handle(), WM_COMMAND, ToolButtonId(ToolButtonSave), 0);
    EXPECT_EQ(form_->Settings().LastFileSaved, "");
    const std::string chosen = dir_.File("objects");
    saveAnswers_ = {chosen};
    SendMessageA(form_->Handle(), WM_COMMAND, ToolButtonId(ToolButtonSave), 0);
    Pump();
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    const std::string bytes = FileBytes(chosen + ".txt");
    FormatSettings fs = SystemFormatSettings();
    EXPECT_EQ(bytes, ListAsText(form_->Built().List, fs));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 59);
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    EXPECT_EQ(form_->Settings().LastFileSaved, chosen + ".txt");
    EXPECT_FALSE(IsWindowVisible(form_->ProgressBar()));

    // A target that cannot be written (a folder of that name: the tests run as root, for whom
    // a read-only file is writable): the error with the system's text, LastFileSaved
    // unchanged; the next dialog starts from the last name saved.
    const std::string readOnly = dir_.File("locked.txt");
    std::filesystem::create_directory(readOnly);
    saveAnswers_ = {readOnly};
    SendMessageA(form_->Handle(), WM_COMMAND, ToolButtonId(ToolButtonSave), 0);
    Pump();
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_TRUE(errors_[0].starts_with("Cannot create file \"" + readOnly + "\". ")) << errors_[0];
    EXPECT_TRUE(std::filesystem::is_directory(readOnly));
    EXPECT_EQ(form_->Settings().LastFileSaved, chosen + ".txt");
    EXPECT_EQ(saveDialogStart_.back(), chosen + ".txt");
    EXPECT_FALSE(IsWindowVisible(form_->ProgressBar()));
}

}  // namespace
}  // namespace kavlo
