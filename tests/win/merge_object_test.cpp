// The window of one object's three-way merge, opened on three generated text exports and driven
// by real keys.
#include "main_form_fixture.h"

#include "app/merge_object_form_win.h"
#include "objfile/load_object_file.h"
#include "objfile/object_content.h"
#include "support/fixed_regional.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

class MergeObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetErrorReporter([this](HWND, const std::string& text) { errors_.push_back(text); });
        owner_ = CreateWindowExA(0, "STATIC", "Merge", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 600, 400, nullptr,
                                 nullptr, nullptr, nullptr);
        // Codeunit 80: both sides change code lines 5 and 20 differently, TARGET line 12 alone;
        // Table 18 only in MODIFIED.
        testing::TxtFile o;
        o.objects = {testing::SimpleTxtObject("Codeunit", 80, "Sales-Post")};
        for (int i = 1; i <= 40; ++i) o.objects[0].code.push_back("Line" + std::to_string(i) + " := " + std::to_string(i) + ";");
        testing::TxtFile m = o, t = o;
        m.objects[0].code[4] = "Line5 := 50;";
        m.objects[0].code[19] = "Line20 := 200;";
        m.objects[0].date = "02-02-20";
        m.objects.insert(m.objects.begin(), testing::SimpleTxtObject("Table", 18, "Customer"));
        t.objects[0].code[4] = "Line5 := 55;";
        t.objects[0].code[11] = "Line12 := 120;";
        t.objects[0].code[19] = "Line20 := 220;";
        const testing::TxtFile* files[3] = {&o, &m, &t};
        for (int k = 0; k < 3; ++k) {
            paths_[k] = dir_.File("side" + std::to_string(k) + ".txt");
            testing::WriteBytes(paths_[k], testing::WriteTxt(*files[k]));
            LoadObjectFile(fobs_[k], k + 1, paths_[k], regional_.Get());
        }
    }
    void TearDown() override {
        windows_.CloseAll();
        DestroyWindow(owner_);
        Pump();
        SetErrorReporter(previous_);
    }
    void Open(int type, int id) {
        windows_.Open(fobs_[0], fobs_[1], fobs_[2], MergeOptions{}, type, id, owner_);
        Pump();
    }
    static void Pump() {
        for (int r = 0; r < 3; ++r) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(5);
        }
    }
    void Press(WORD vk, std::initializer_list<WORD> modifiers = {}) {
        PressKey(vk, modifiers);
        Pump();
    }
    // The current upper row's line in pane `pane`, and RESULT's current line.
    static std::string UpperLine(const TMergeObjectForm& w, int pane) {
        const MergeView& v = w.View();
        const int line = v.Rows.at(static_cast<size_t>(w.CurrentRow(TMergeObjectForm::Upper))).Line[static_cast<size_t>(pane)];
        return line ? v.Lines[static_cast<size_t>(pane)].at(static_cast<size_t>(line - 1)) : "";
    }
    static std::string ResultLine(const TMergeObjectForm& w) {
        return w.View().ResultLines.at(static_cast<size_t>(w.CurrentRow(TMergeObjectForm::Result)));
    }

    testing::TempDir dir_;
    testing::FixedRegional regional_;
    std::string paths_[3];
    TFob fobs_[3];
    HWND owner_ = nullptr;
    TMergeObjectWindows windows_;
    ErrorReporter previous_;
    std::vector<std::string> errors_;
};

TEST_F(MergeObjectTest, OpensAlignedAndF8StepsThroughTheConflictsInBothPartsAndEscapeCloses) {
    Open(5, 80);
    ASSERT_EQ(windows_.OpenWindows().size(), 1u);
    TMergeObjectForm& w = *windows_.OpenWindows()[0];
    EXPECT_EQ(WindowText(w.Handle()), "Merge - Codeunit 80 Sales-Post");
    EXPECT_EQ(GetForegroundWindow(), w.Handle());
    // Every row that no side changed holds one line on all three sides.
    const MergeView& v = w.View();
    const auto lineOf = [&](const MergeViewRow& row, int pane) {
        return v.Lines[static_cast<size_t>(pane)].at(static_cast<size_t>(row.Line[static_cast<size_t>(pane)] - 1));
    };
    for (const MergeViewRow& row : v.Rows) {
        if (row.Kind != MergeRowKind::Same) continue;
        EXPECT_EQ(lineOf(row, PaneModified), lineOf(row, PaneOriginal));
        EXPECT_EQ(lineOf(row, PaneTarget), lineOf(row, PaneOriginal));
    }
    EXPECT_EQ(w.StatusText(0), "conflict");
    EXPECT_EQ(w.StatusText(1), "2 conflicts");

    // It opens at the first conflict; F8 and Shift+F8 move the sides and RESULT together.
    const struct {
        WORD vk, modifier;
        const char *modified, *target, *position;
    } steps[] = {
        {0, 0, "      Line5 := 50;", "      Line5 := 55;", "Conflict 1 of 2"},
        {VK_F8, 0, "      Line20 := 200;", "      Line20 := 220;", "Conflict 2 of 2"},
        {VK_F8, 0, "      Line20 := 200;", "      Line20 := 220;", "Conflict 2 of 2"},  // the last: a beep
        {VK_F8, VK_SHIFT, "      Line5 := 50;", "      Line5 := 55;", "Conflict 1 of 2"},
    };
    for (const auto& s : steps) {
        if (s.modifier) Press(s.vk, {s.modifier});
        else if (s.vk) Press(s.vk);
        EXPECT_EQ(UpperLine(w, PaneModified), s.modified) << s.position;
        EXPECT_EQ(UpperLine(w, PaneTarget), s.target) << s.position;
        EXPECT_EQ(ResultLine(w), kConflictStart) << s.position;
        EXPECT_EQ(w.StatusText(2), s.position);
        const int result = w.CurrentRow(TMergeObjectForm::Result);
        EXPECT_GE(result, w.TopRow(TMergeObjectForm::Result));
        EXPECT_LT(result, w.TopRow(TMergeObjectForm::Result) + w.VisibleRows(TMergeObjectForm::Result));
    }
    const int stop = w.CurrentStop();
    Open(5, 80);  // a second open brings the same window to the front
    ASSERT_EQ(windows_.OpenWindows().size(), 1u);
    EXPECT_EQ(w.CurrentStop(), stop);
    Press(VK_ESCAPE);
    EXPECT_TRUE(windows_.OpenWindows().empty());
}

// A changed row marks its changed characters in the sides' panes over the row's tint, RESULT's
// pane none: at the first conflict, "Line5 := 50;" and "Line5 := 55;" against "Line5 := 5;".
TEST_F(MergeObjectTest, MarksTheChangedCharactersInTheSidesPanes) {
    Open(5, 80);
    ASSERT_EQ(windows_.OpenWindows().size(), 1u);
    TMergeObjectForm& w = *windows_.OpenWindows()[0];
    const int row = w.CurrentRow(TMergeObjectForm::Upper), result = w.CurrentRow(TMergeObjectForm::Result);
    Press(VK_UP);  // the current row's frame off the conflict's row
    ASSERT_LT(w.CurrentRow(TMergeObjectForm::Upper), row);
    for (int pane = 0; pane < 4; ++pane) {
        const bool upper = pane != TMergeObjectForm::kResultPane;
        const TMergeObjectForm::Area a = upper ? TMergeObjectForm::Upper : TMergeObjectForm::Result;
        const int r = upper ? row : result + 1;  // RESULT: MODIFIED's line in the conflict block
        const PanePixels pixels(w.Pane(pane));
        const RECT past = w.CellRect(a, r, 30), blank = w.CellRect(a, r, 2), changed = w.CellRect(a, r, 15);
        const COLORREF back = pixels.At(past.left, past.top);  // the row's tint
        EXPECT_TRUE(pixels.All(blank, back)) << pane;
        EXPECT_EQ(pixels.At(changed.left, changed.top) != back, upper) << pane << ": the 5 of 50, 5, 55";
    }
}

TEST_F(MergeObjectTest, OpensAnObjectOfOneSideAndTellsOfAFileChangedSinceLoading) {
    Open(1, 18);
    ASSERT_EQ(windows_.OpenWindows().size(), 1u);
    const MergeView& v = windows_.OpenWindows()[0]->View();
    EXPECT_EQ(v.Headings[PaneOriginal], "Original: " + paths_[0] + " (absent)");
    EXPECT_EQ(v.Headings[PaneTarget], "Target: " + paths_[2] + " (absent)");
    EXPECT_EQ(v.ResultHeading, "Result: inserted, 0 conflicts");
    EXPECT_EQ(v.ResultLines, v.Lines[PaneModified]);

    testing::WriteBytes(paths_[2], "changed");
    Open(5, 80);
    EXPECT_EQ(windows_.OpenWindows().size(), 1u);
    EXPECT_EQ(errors_, std::vector<std::string>{FileChangedText(paths_[2]) + "."});
}

}  // namespace
}  // namespace kavlo
