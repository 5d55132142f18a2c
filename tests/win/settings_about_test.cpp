// The settings dialog, "Check Now", the about box and the program's icon, driven by real keys
// and the real pointer.
#include "main_form_fixture.h"

#include "app/about_text.h"
#include "local_http_server.h"
#include "res/resource.h"
#include "settings/update_check_win.h"

namespace kavlo {
namespace {

using testing::LocalHttpServer;

std::string TextOf(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}
bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
// Focuses a control of the dialog and presses a key on it, as a user's Tab and key would.
void PressOn(HWND control, WORD vk) {
    SetFocus(control);
    PressKey(vk);
}
void SelectAllAndType(HWND edit, const std::string& text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    TypeText(text);
}
// Moves the real pointer to the middle of a window, and clicks there when asked.
void PointAt(HWND hwnd, bool click = false) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MovePointer({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, click);
}

TEST_F(MainFormTest, TheSettingsDialogEditsTheRecordOnOkOnly) {
    Start();
    TSettings& s = Form().Session().Settings();
    s.ShowForm = false;
    s.CheckForUpdates = false;
    s.CheckForUpdatesDays = 30;
    s.LanguageObjectDesigner = "Object Designer";
    TSettingsForm& dlg = Form().SettingsForm();
    {
        WhenShown settings("Settings", {
            [&](HWND) {
                EXPECT_EQ(dlg.CurrentPage(), TSettingsForm::PageStartup);
                for (int t = 0; t < kObjectTypeCount; ++t) {
                    EXPECT_EQ(TextOf(dlg.Item(IDC_TYPE_CHECKBOX_FIRST + t)), ObjectTypeNames[static_cast<size_t>(t)]);
                    EXPECT_NE(SendMessageA(dlg.Item(IDC_TYPE_IMAGE_FIRST + t), STM_GETICON, 0, 0), 0) << t;
                }
                EXPECT_EQ(TextOf(dlg.Item(IDC_CHECKBOX_HIDESYSTEM)), "Hide System Objects");
                EXPECT_FALSE(IsChecked(dlg.Item(IDC_TYPE_CHECKBOX_FIRST + 2)));  // Form
                EXPECT_TRUE(GetWindowLongA(dlg.Item(IDC_CHECKBOX_LARGEBUTTONS), GWL_EXSTYLE) & WS_EX_COMPOSITED);
                EXPECT_FALSE(IsWindowEnabled(dlg.Item(IDC_EDIT_DAYS)));
                PressOn(dlg.Item(IDC_CHECKBOX_LARGEBUTTONS), VK_SPACE);  // large buttons off
                PressKey(VK_TAB, {VK_CONTROL});
            },
            [&](HWND) {
                EXPECT_EQ(dlg.CurrentPage(), TSettingsForm::PageUpdates);
                PressOn(dlg.Item(IDC_CHECKBOX_CHECKFORUPDATES), VK_SPACE);
            },
            [&](HWND) {
                EXPECT_TRUE(IsWindowEnabled(dlg.Item(IDC_EDIT_DAYS)));
                SelectAllAndType(dlg.Item(IDC_EDIT_DAYS), "a-+123");
            },
            [&](HWND) {
                EXPECT_EQ(TextOf(dlg.Item(IDC_EDIT_DAYS)), "12");
                PressKey(VK_TAB, {VK_CONTROL});
            },
            [&](HWND) {
                EXPECT_EQ(dlg.CurrentPage(), TSettingsForm::PageMarking);
                SelectAllAndType(dlg.Item(IDC_EDIT_OBJECTDESIGNER), " Objektdesigner ");
            },
            [](HWND) { PressKey(VK_RETURN); },  // Enter in an edit: OK
        });
        form_->Click(ToolButtonSettings);
        EXPECT_TRUE(settings.Done());
    }
    EXPECT_TRUE(s.CheckForUpdates);
    EXPECT_EQ(s.CheckForUpdatesDays, 12);
    EXPECT_EQ(s.LanguageObjectDesigner, " Objektdesigner ");  // exactly as typed
    EXPECT_EQ(s.ToolButtonSize, 0);
    EXPECT_FALSE(s.ShowForm);
    ExpectToolbarImages(16);  // switched at once
    EXPECT_TRUE(Form().ToolBar().Checked(ToolButtonForm));  // the type boxes wait for the next start

    const TSettings before = s;
    {
        WhenShown settings("Settings", {
            [&](HWND) {
                EXPECT_EQ(dlg.CurrentPage(), TSettingsForm::PageMarking);  // where it was closed
                SelectAllAndType(dlg.Item(IDC_EDIT_OBJECTDESIGNER), "thrown away");
                PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});  // back to Updates
            },
            [&](HWND) {
                EXPECT_EQ(dlg.CurrentPage(), TSettingsForm::PageUpdates);
                SelectAllAndType(dlg.Item(IDC_EDIT_DAYS), "7");
            },
            [](HWND) { PressKey(VK_ESCAPE); },
        });
        form_->Click(ToolButtonSettings);
        EXPECT_TRUE(settings.Done());
    }
    EXPECT_EQ(s, before);
    {
        WhenShown settings("Settings", {
            [&](HWND) { SendMessageA(dlg.Item(IDC_EDIT_DAYS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("")); },
            [](HWND) { PressKey(VK_RETURN); },
        });
        form_->Click(ToolButtonSettings);
        EXPECT_TRUE(settings.Done());
    }
    EXPECT_EQ(s.CheckForUpdatesDays, 0);  // an emptied edit
    EXPECT_TRUE(errors_.empty());
}

// "Check Now" against the test's web site: a newer version is offered, and the check is dated
// even though the dialog is then cancelled; an equal date says so.
TEST_F(MainFormTest, CheckNowAsksAndDatesTheCheckEvenWhenCancelled) {
    for (const auto& [published, expected] :
         {std::pair<std::string, std::string>{"Date=2999-01-01\r\n", std::string(kNewVersionQuestion)},
          {"Date=" + ReadOwnDate() + "\r\n", "This version is up to date."}}) {
        LocalHttpServer server({{"/kavlo.txt", LocalHttpServer::Ok(published)}});
        updateSite_ = server.Host();
        Start();
        Form().Session().Settings().CheckForUpdatesLastDate = 0;
        TSettingsForm& dlg = Form().SettingsForm();
        std::string text;
        WhenShown box("Check for updates", [&](HWND b) {
            text = TextOf(GetDlgItem(b, 0xFFFF));
            PressKey(VK_ESCAPE);
        });
        WhenShown settings("Settings", {
            [](HWND) { PressKey(VK_TAB, {VK_CONTROL}); },  // to Updates
            [&](HWND) { PressOn(dlg.Item(IDC_BUTTON_CHECKNOW), VK_SPACE); },
        });
        settings.AddWhen([&] { return box.Done(); }, [](HWND) { PressKey(VK_ESCAPE); });
        form_->Click(ToolButtonSettings);
        EXPECT_TRUE(box.Done());
        EXPECT_EQ(text, expected);
        EXPECT_EQ(Form().Session().Settings().CheckForUpdatesLastDate, LocalToday());
        EXPECT_EQ(websiteOpened_, 0);  // Escape is not Yes
        form_.reset();
    }
}

TEST_F(MainFormTest, TheAboutBoxShowsTheBuildAndOpensItsLinks) {
    Start();
    TAboutForm& about = Form().AboutForm();
    std::string version, date;
    ReadOwnVersion(version, date);
    const COLORREF plain = GetSysColor(COLOR_WINDOWTEXT), blue = RGB(0, 0, 255);
    WhenShown box("About Ostra's Kavlodex", {
        [&](HWND) {
            EXPECT_EQ(TextOf(about.LabelWindow(TAboutForm::LabelName)), "Ostra's Kavlodex");
            EXPECT_EQ(TextOf(about.LabelWindow(TAboutForm::LabelVersion)), ShortenVersion(version));
            EXPECT_EQ(TextOf(about.LabelWindow(TAboutForm::LabelDate)), date);
            PointAt(about.LabelWindow(TAboutForm::LabelEmail));
        },
        [&](HWND) {
            EXPECT_EQ(about.TextColor(about.LabelWindow(TAboutForm::LabelEmail)), blue);
            PointAt(about.LabelWindow(TAboutForm::LabelVersion));  // no link: no colour
        },
        [&](HWND) {
            EXPECT_EQ(about.TextColor(about.LabelWindow(TAboutForm::LabelEmail)), plain);
            EXPECT_EQ(about.TextColor(about.LabelWindow(TAboutForm::LabelVersion)), plain);
            PointAt(about.LabelWindow(TAboutForm::LabelVersion), true);
            PointAt(about.LabelWindow(TAboutForm::LabelWebSite), true);
        },
        [&](HWND) { PointAt(about.LabelWindow(TAboutForm::LabelEmail), true); },
        [](HWND) { PressKey(VK_ESCAPE); },
    });
    form_->Click(ToolButtonAbout);
    EXPECT_TRUE(box.Done());
    EXPECT_EQ(linksOpened_, (std::vector<std::string>{
                                "http://www.kavlodex.example/",
                                "mailto:kavlodex@kavlodex.example?subject=About Ostra's Kavlodex"}));
}

// OK writes back what the dialog shows and nothing else: an update check that finished in the
// background while the dialog was open keeps the date it gave.
TEST_F(MainFormTest, SettingsOkKeepsTheDateOfACheckThatFinishedWhileItWasOpen) {
    Start();
    TSettings& s = Form().Session().Settings();
    s.CheckForUpdatesLastDate = 1.0;
    WhenShown settings("Settings", {
        [&](HWND) { PostMessageA(form_->Handle(), kWmUpdateCheck, 2, 0); },  // a verdict: up to date
        [&](HWND) {
            EXPECT_EQ(s.CheckForUpdatesLastDate, LocalToday());
            PressKey(VK_RETURN);
        },
    });
    form_->Click(ToolButtonSettings);
    EXPECT_TRUE(settings.Done());
    EXPECT_EQ(s.CheckForUpdatesLastDate, LocalToday());
}

// The days edit's text as OK reads it, pasted (typing lets only digits in): a text that does not
// read as a number whole gives 0.
TEST_F(MainFormTest, SettingsOkReadsTheDaysAsANumberOrZero) {
    Start();
    const struct {
        const char* text;
        int32_t days;
    } cases[] = {{"5x", 0}, {"x5", 0}, {"", 0}, {"07", 7}, {"99", 99}};
    for (const auto& c : cases) {
        Form().Session().Settings().CheckForUpdatesDays = 30;
        WhenShown settings("Settings", [&](HWND) {
            SetWindowTextA(Form().SettingsForm().Item(IDC_EDIT_DAYS), c.text);
            PressKey(VK_RETURN);
        });
        form_->Click(ToolButtonSettings);
        EXPECT_TRUE(settings.Done());
        EXPECT_EQ(Form().Session().Settings().CheckForUpdatesDays, c.days) << c.text;
        Pump(10);  // the release of Enter, which the next opening would take as its own
    }
}

// Composited against flicker: the buttons and check boxes of every page, but no group box, which
// composited would paint over the controls inside it.
TEST_F(MainFormTest, SettingsCompositesButtonsAndCheckBoxesButNoGroupBox) {
    Start();
    int groups = 0, others = 0;
    WhenShown settings("Settings", [&](HWND dlg) {
        struct Count {
            int *groups, *others;
        } count{&groups, &others};
        EnumChildWindows(
            dlg,
            [](HWND c, LPARAM p) {
                char cls[16] = {};
                GetClassNameA(c, cls, sizeof cls);
                if (lstrcmpiA(cls, "Button") != 0) return TRUE;
                auto* n = reinterpret_cast<Count*>(p);
                const bool group = (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
                ++*(group ? n->groups : n->others);
                EXPECT_EQ((GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_COMPOSITED) != 0, !group) << TextOf(c);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        PressKey(VK_ESCAPE);
    });
    form_->Click(ToolButtonSettings);
    EXPECT_TRUE(settings.Done());
    EXPECT_GT(groups, 0);
    EXPECT_GT(others, 0);
}

TEST(WinAboutBox, ShowsTheShortVersionOrThePlaceholders) {
    const struct {
        const char *version, *date, *shownVersion, *shownDate;
    } cases[] = {{"2.5.0.0", "2018-06-26", "2.5", "2018-06-26"}, {"", "", "#Version", "#Date"}};
    for (const auto& c : cases) {
        TAboutForm about(c.version, c.date, [](const std::string&) {});
        std::string version, date;
        WhenShown box("About #Name", [&](HWND) {
            version = TextOf(about.LabelWindow(TAboutForm::LabelVersion));
            date = TextOf(about.LabelWindow(TAboutForm::LabelDate));
            PressKey(VK_RETURN);
        });
        about.Show(nullptr);
        EXPECT_EQ(version, c.shownVersion);
        EXPECT_EQ(date, c.shownDate);
    }
}

// The icon group in the executable: one image of each size, 256 written as 0.
TEST(WinAppIcon, TheExecutableHoldsTheIconAtEverySize) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(IDI_KAVLODEX), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    const int count = dir[4] | dir[5] << 8;
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) sizes.push_back(dir[6 + 14 * i] ? dir[6 + 14 * i] : 256);
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
    for (int size : {16, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(IDI_KAVLODEX), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
}  // namespace kavlo
