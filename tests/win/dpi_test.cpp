// The window and its dialogs at the screen's DPI: run at 96 DPI with the other window tests, and
// again at 144 DPI (KAVLO_EXPECT_DPI says which the run must see). Every design size scales, the
// widest date, time and BLOB size texts fit their columns, and no dialog clips a control's text.
#include <cstdlib>

#include "app/grid_logic.h"
#include "app/toolbar_art.h"
#include "gui/dpi_win.h"
#include "main_form_fixture.h"

namespace kavlo {
namespace {

class DpiTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        dpi_ = ScreenDpi();
        if (const char* want = std::getenv("KAVLO_EXPECT_DPI")) {
            ASSERT_EQ(dpi_, std::atoi(want));
        }
    }
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    int dpi_ = 96;
};

// The room the text takes in the control's font: on one line, or wrapped at `width`.
SIZE TextExtent(HWND control, const std::string& text, bool wraps, int width) {
    const WindowDc dc(control);
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, wraps ? width : 0, 0};
    DrawTextA(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    return {r.right - r.left, r.bottom - r.top};
}

// What is wrong with a visible control of a dialog (empty when nothing): it must lie inside its
// parent, and show its whole text: a button's beside its margins or its check box, a static's
// wrapped into its height.
std::string ClippedControl(HWND control, int dpi) {
    if (!IsWindowVisible(control)) return {};
    char cls[64] = {};
    GetClassNameA(control, cls, sizeof cls);
    const std::string text = WindowText(control);
    const std::string who = std::string(cls) + " \"" + text + "\"";
    RECT r{}, parent{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(GetParent(control), &parent);
    if (r.left < 0 || r.top < 0 || r.right > parent.right || r.bottom > parent.bottom) return who + " is outside its parent";
    if (text.empty()) return {};
    const int width = r.right - r.left, height = r.bottom - r.top;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const auto scale = [dpi](int px) { return MulDiv(px, dpi, 96); };
    if (lstrcmpiA(cls, "Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        int room = width - scale(8);  // a push button's margins
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
            type == BS_3STATE || type == BS_AUTO3STATE)
            room = width - scale(13 + 4);  // the box and its gap
        if (type == BS_GROUPBOX) room = width - scale(16);
        const SIZE t = TextExtent(control, text, (style & BS_MULTILINE) != 0, room);
        if (t.cx > room || (type != BS_GROUPBOX && t.cy > height)) return who + " clips its text";
    } else if (lstrcmpiA(cls, "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
            return {};
        const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        const SIZE t = TextExtent(control, text, wraps, width);
        if (t.cx > width || t.cy > height) return who + " clips its text";
    }
    return {};
}

// Every visible control of the dialog, at any depth (a tab's page included).
void ExpectNothingClipped(HWND dialog, int dpi) {
    struct Walk {
        int dpi;
        std::vector<std::string> faults;
    } walk{dpi, {}};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM p) {
            auto* w = reinterpret_cast<Walk*>(p);
            if (std::string fault = ClippedControl(child, w->dpi); !fault.empty()) w->faults.push_back(fault);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    for (const std::string& f : walk.faults) ADD_FAILURE() << WindowText(dialog) << ": " << f;
}

TEST_F(DpiTest, TheWindowScalesItsDesignSizesAndItsColumnsHoldTheWidestTexts) {
    Start();
    TObjectGrid& grid = Form().Grid();
    EXPECT_EQ(grid.RowHeight(), std::max(Scale(kGridRowHeight), FontHeight(grid.Font()) + Scale(3)));
    EXPECT_GE(grid.RowHeight(), Scale(kGridRowHeight));
    ExpectToolbarImages(NearestToolbarImageSize(Scale(kToolbarLarge)));
    RECT window{};
    GetWindowRect(form_->Handle(), &window);
    EXPECT_NEAR(window.right - window.left, Scale(775), 1);
    EXPECT_EQ(grid.ColWidth(ColumnName), Scale(170));
    // The user's formats at their widest: every month's date, every hour's time.
    const FormatSettings fs = SystemFormatSettings();
    const WindowDc dc(grid.Handle());
    SelectGuard font(dc.get(), grid.Font());
    for (int col : {ColumnDate, ColumnTime, ColumnBlobSize}) {
        const std::vector<std::string> texts = WidestTextCandidates(col, fs);
        ASSERT_FALSE(texts.empty());
        for (const std::string& text : texts) {
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
            EXPECT_LE(size.cx + Scale(5), grid.ColWidth(col)) << text;
        }
    }
}

TEST_F(DpiTest, NoDialogClipsAControl) {
    Start({file1_, file2_});
    const auto check = [this](HWND dlg) { ExpectNothingClipped(dlg, dpi_); };
    {
        WhenShown compare("Compare", {check, [](HWND) { PressKey(VK_ESCAPE); }});
        form_->Click(ToolButtonCompareEqual);
        EXPECT_TRUE(compare.Done());
    }
    Pump(10);  // the release of Escape, which the filter dialog would take as its own
    {
        WhenShown filter("Filter", {check, [](HWND) { PressKey(VK_ESCAPE); }});
        form_->Click(ToolButtonFilterAdd);
        EXPECT_TRUE(filter.Done());
    }
    {
        WhenShown prompt("Field Filter", {check, [](HWND) { PressKey(VK_ESCAPE); }});
        PostMessageA(form_->Handle(), kWmEditFieldFilter, ColumnName, 0);
        Pump(40);
        EXPECT_TRUE(prompt.Done());
    }
    {
        const auto nextPage = [](HWND) { PressKey(VK_TAB, {VK_CONTROL}); };
        WhenShown settings("Settings", {check, nextPage, check, nextPage, check, [](HWND) { PressKey(VK_ESCAPE); }});
        form_->Click(ToolButtonSettings);
        EXPECT_TRUE(settings.Done());
    }
    {
        WhenShown about("About Ostra's Kavlodex", {check, [](HWND) { PressKey(VK_ESCAPE); }});
        form_->Click(ToolButtonAbout);
        EXPECT_TRUE(about.Done());
    }
}

}  // namespace
}  // namespace kavlo
