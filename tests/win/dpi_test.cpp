// The window and its dialogs at the screen's DPI: run at 96 DPI with the other window tests, and
// again at 144 DPI (KAVLO_EXPECT_DPI says which the run must see). Every design size scales, the
// widest date, time and BLOB size texts fit their columns, no dialog clips a control's text, the
// window's minimum size shows every part, a stored size is scaled from the DPI it was stored at,
// and the about box's icon is one of the icon's own sizes.
#include <algorithm>
#include <cstdlib>

#include "app/grid_logic.h"
#include "app/toolbar_art.h"
#include "gui/dpi_win.h"
#include "main_form_fixture.h"
#include "res/resource.h"
#include "settings/registry.h"

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

    // Values in the store the window loads from, as an earlier run left them.
    void Store(std::initializer_list<std::pair<const char*, int32_t>> values) {
        auto key = registry_.OpenOrCreateKey("\\Software\\Brenvik\\KavloWindowTest", kKeyReadWrite);
        for (const auto& [name, value] : values) WriteInteger(*key, name, value);
    }
    SIZE WindowSize() const {
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    // Sizes the window as dragging its bottom-right corner to `size` would: the frame as the
    // window lets it be dragged, then the window to the frame.
    void Drag(SIZE size) {
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
        SendMessageA(form_->Handle(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
        SetWindowPos(form_->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }
    // Every part of the window a user needs is there whole: each toolbar button on the toolbar,
    // the grid with a few rows and the scroll bar beside it between toolbar and status bar, and
    // each status panel's text in its panel (the last one's beside the size grip).
    void ExpectEveryPartWhole(const std::string& when) {
        SCOPED_TRACE(when);
        HWND main = form_->Handle();
        RECT client{};
        GetClientRect(main, &client);
        const auto placed = [main](HWND part) {
            RECT r{};
            GetWindowRect(part, &r);
            MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        const RECT toolbar = placed(Form().ToolBar().Handle()), scrollbar = placed(Form().Grid().ScrollBar()),
                   status = placed(Form().StatusBar().Handle());
        const int buttons = static_cast<int>(SendMessageA(Form().ToolBar().Handle(), TB_BUTTONCOUNT, 0, 0));
        for (int b = 0; b < buttons; ++b) {
            RECT item{};
            SendMessageA(Form().ToolBar().Handle(), TB_GETITEMRECT, b, reinterpret_cast<LPARAM>(&item));
            EXPECT_LE(item.right, toolbar.right - toolbar.left) << "button " << b;
            EXPECT_LE(item.bottom, toolbar.bottom - toolbar.top) << "button " << b;
        }
        EXPECT_EQ(toolbar.right, client.right);
        EXPECT_GE(ComputeScrollMetrics(Form().Grid().ScrollState()).fitRows, 3);
        EXPECT_EQ(scrollbar.right, client.right);
        EXPECT_GE(scrollbar.top, toolbar.bottom);
        EXPECT_LE(scrollbar.bottom, status.top);
        EXPECT_EQ(status.bottom, client.bottom);
        HWND bar = Form().StatusBar().Handle();
        const WindowDc dc(bar);
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
        const int panels = static_cast<int>(kStatusPanelWidths.size());
        for (int p = 0; p < panels; ++p) {
            RECT part{};
            SendMessageA(bar, SB_GETRECT, p, reinterpret_cast<LPARAM>(&part));
            if (p == panels - 1) part.right -= GetSystemMetrics(SM_CXVSCROLL);  // the size grip
            const std::string text = Form().StatusBar().ShownText(p);
            SIZE extent{};
            GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
            EXPECT_LE(part.right, status.right - status.left) << "panel " << p;
            EXPECT_LE(extent.cx, part.right - part.left) << "panel " << p << ": " << text;
        }
    }
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

// Restored from an earlier run, dragged by a corner, or set by a window manager or a program:
// the window never gets too small for its parts, with either size of toolbar buttons (the large
// ones wrap onto more lines).
TEST_F(DpiTest, TheWindowKeepsAMinimumSizeThatShowsEveryPart) {
    for (int32_t buttonSize : {0, 1}) {
        SCOPED_TRACE(buttonSize ? "large buttons" : "small buttons");
        form_.reset();
        Store({{"MainLeft", 10}, {"MainTop", 10}, {"MainWidth", 201}, {"MainHeight", 1}, {"ToolButtonSize", buttonSize}});
        Start({file1_, file2_});
        ExpectEveryPartWhole("restored at 201 x 1");
        Drag({Scale(775), Scale(520)});
        Drag({201, 1});
        ExpectEveryPartWhole("dragged to 201 x 1");
        // As a window manager that sizes the frame itself sets it (X's under Wine), or a program.
        SetWindowPos(form_->Handle(), nullptr, 0, 0, 201, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        ExpectEveryPartWhole("set to 201 x 1");
        MINMAXINFO info{};
        SendMessageA(form_->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        SetWindowPos(form_->Handle(), nullptr, 0, 0, info.ptMinTrackSize.x, info.ptMinTrackSize.y,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        ExpectEveryPartWhole("at the minimum tracking size");
    }
}

// A size stored at one DPI opens at today's holding the same: scaled by the ratio of the DPI it
// was stored at (96 when none was stored with it) to today's. Closing stores today's.
TEST_F(DpiTest, AStoredSizeIsScaledFromTheDpiItWasStoredAt) {
    const struct {
        int32_t storedDpi;  // 0: none stored, as by the builds before the DPI was
        int32_t width, height;
    } cases[] = {{0, 800, 560}, {96, 800, 560}, {144, 1200, 840}};
    for (const auto& c : cases) {
        form_.reset();
        Store({{"MainLeft", 10}, {"MainTop", 10}, {"MainWidth", c.width}, {"MainHeight", c.height}});
        if (c.storedDpi) Store({{"PlacementDpi", c.storedDpi}});
        Start({file1_, file2_});
        const int32_t from = c.storedDpi ? c.storedDpi : 96;
        const SIZE size = WindowSize();
        EXPECT_NEAR(size.cx, MulDiv(c.width, dpi_, from), 1) << from;
        EXPECT_NEAR(size.cy, MulDiv(c.height, dpi_, from), 1) << from;
        ExpectEveryPartWhole("restored");
    }
    form_.reset();
    auto key = registry_.OpenOrCreateKey("\\Software\\Brenvik\\KavloWindowTest", kKeyReadWrite);
    EXPECT_EQ(ReadInteger(*key, "PlacementDpi"), dpi_);
}

// The about box shows the program's icon as it was drawn at one of its sizes, in a picture as
// large as the icon: never stretched or shrunk from another size.
TEST_F(DpiTest, TheAboutBoxShowsTheIconAtOneOfItsOwnSizes) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(IDI_KAVLODEX), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    std::vector<int> sizes;
    for (int i = 0; i < (dir[4] | dir[5] << 8); ++i) sizes.push_back(dir[6 + 14 * i] ? dir[6 + 14 * i] : 256);
    Start();
    BITMAP image{};
    RECT picture{};
    WhenShown about("About Ostra's Kavlodex", [&](HWND dlg) {
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0)), &info));
            GetObjectA(info.hbmColor, sizeof image, &image);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            GetClientRect(c, &picture);
        }
        PressKey(VK_ESCAPE);
    });
    form_->Click(ToolButtonAbout);
    EXPECT_TRUE(about.Done());
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), image.bmWidth), sizes.end()) << image.bmWidth;
    EXPECT_EQ(image.bmHeight, image.bmWidth);
    EXPECT_EQ(picture.right, image.bmWidth);
    EXPECT_EQ(picture.bottom, image.bmHeight);
}

}  // namespace
}  // namespace kavlo
