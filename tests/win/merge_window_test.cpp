// Three-Way Merge in the real main window: Ctrl+Shift+M, the dialog filled by keyboard, the run,
// and the Merge window with its rows, filter, keys and saved conflicts; a bad input is told and
// leaves no result.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "main_form_fixture.h"
#include "output/text_list.h"
#include "platform/format_settings.h"
#include "support/merge_inputs.h"

namespace kavlo {
namespace {

class MergeWindowTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        in_ = testing::WriteMergeInputs(dir_.Path().string(), "\\");
        result_ = dir_.File("result.txt");
    }
    std::array<std::string, 4> Paths(const std::string& target) const {
        return {in_.original, in_.modified, target, result_};
    }
    // The list view's rows, "Table 18 Customer conflict 1|…".
    static std::string ListRows(const TMergeWindow& w) {
        std::string out;
        const int count = static_cast<int>(SendMessageA(w.List(), LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            out += row ? "|" : "";
            for (int col = 0; col < 5; ++col) {
                char text[256] = "";
                LVITEMA item{};
                item.iSubItem = col;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                SendMessageA(w.List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
                out += (col ? " " : "") + std::string(text);
            }
        }
        return out;
    }
    TMergeWindow& OnlyWindow() {
        const std::vector<TMergeWindow*> open = Form().MergeWindows().OpenWindows();
        EXPECT_EQ(open.size(), 1u);
        return *open.at(0);
    }
    testing::MergeInputs in_;
    std::string result_;
    std::vector<std::pair<int, int>> opened_;
};

TEST_F(MergeWindowTest, TheKeyboardRunsAMergeAndWorksItsWindow) {
    // The seam to the window of one object: what Enter asks for is recorded.
    openMergeObject_ = [this](const std::shared_ptr<const TMergeDocument>& doc, int type, int id, HWND) {
        EXPECT_EQ(doc->Target().FileName(), in_.target);
        opened_.push_back({type, id});
    };
    Start();

    MergeByKeyboard(Paths(in_.target));
    ASSERT_TRUE(errors_.empty()) << errors_[0];
    TMergeWindow& w = OnlyWindow();
    EXPECT_EQ(WindowText(w.Handle()), "Merge - " + result_);
    EXPECT_TRUE(std::filesystem::exists(result_));
    EXPECT_EQ(ListRows(w),
              "Table 18 Customer conflict 1|Codeunit 80 Sales-Post conflict 1|Form 21 Customer Card merged |"
              "Report 111 Customer - Top 10 inserted |Codeunit 90 Purch.-Post target ");
    EXPECT_EQ(w.StatusText(), "2 conflicts, 1 merged, 1 inserted, 1 target");
    EXPECT_EQ(Form().Session().Settings().MergeTarget, in_.target);

    // Enter opens the focused row's object; Alt+S and Down filter to the conflicts.
    SetForegroundWindow(w.Handle());
    Pump();
    PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(opened_, (std::vector<std::pair<int, int>>{{1, 18}}));
    PressKey('S', {VK_MENU});
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(ListRows(w), "Table 18 Customer conflict 1|Codeunit 80 Sales-Post conflict 1");
    PressKey(VK_TAB);  // from the filter to the list
    Pump();
    EXPECT_EQ(GetFocus(), w.List());

    // Alt+V saves the conflicts as the main list is saved.
    const std::string saved = dir_.File("conflicts.txt");
    WhenShown save("Save As", {[&](HWND) {
                                   PressKey('A', {VK_CONTROL});
                                   TypeText(saved);
                               },
                               [](HWND) { PressKey(VK_RETURN); }});
    PressKey('V', {VK_MENU});
    Pump();
    EXPECT_TRUE(save.Done());
    const std::string bytes = testing::ReadBytes(saved);
    EXPECT_EQ(bytes, ListAsText(w.Document().ConflictList(), SystemFormatSettings()));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);

    // Escape closes it, and its size is kept.
    SetForegroundWindow(w.Handle());
    Pump();
    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(Form().MergeWindows().OpenWindows().empty());
    EXPECT_GT(Form().Session().Settings().MergeWindowWidth, 0);
}

TEST_F(MergeWindowTest, ABadInputIsToldAndNothingIsWritten) {
    const std::string xml = dir_.File("target.xml");
    testing::WriteBytes(xml, "<Objects/>");
    const struct {
        std::string target;
        bool dialogStays;  // told by the dialog, which stays open to be put right
        std::string error;
    } cases[] = {
        {xml, true, xml + ": an XML export; merge takes text exports (.txt) and folders of object files"},
        {dir_.File("none.txt"), false, dir_.File("none.txt") + ": Cannot open file \""},
    };
    Start();
    for (const auto& c : cases) {
        errors_.clear();
        MergeByKeyboard(Paths(c.target), c.dialogStays ? WhenShown::Steps{[](HWND) { PressKey(VK_ESCAPE); }}
                                                       : WhenShown::Steps{});
        ASSERT_EQ(errors_.size(), 1u) << c.target;
        EXPECT_TRUE(errors_[0].starts_with(c.error)) << errors_[0];
        EXPECT_FALSE(std::filesystem::exists(result_));
        EXPECT_TRUE(Form().MergeWindows().OpenWindows().empty());
    }
}

}  // namespace
}  // namespace kavlo
