// Ctrl+M in the real main window against tools/fakenav running as a separate process: the
// objects are marked, the screen check keeps marks, several clients open the selection dialog,
// none gives its message, another window in front stops the run, and "saveanalyze" writes the
// analysis images. Time is scaled: key-only runs at 0.05, runs with the screen check at 0.25.
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "fakenav_process.h"
#include "main_form_fixture.h"
#include "res/resource.h"
#include "res/select_nav_ids.h"
#include "scaled_desktop.h"
#include "support/merge_inputs.h"

namespace kavlo {
namespace {

using testing::FobObject;

constexpr char kSelectCaption[] = "Select which Navision Application to mark objects";
// A dozen listed objects of three types and one TableData, which is never marked.
constexpr char kListed[] = "1:3,1:18,1:27,1:36,5:80,5:81,5:82,5:90,8:21,8:22,8:30,8:42";
// The client holds them, each unmarked, and some more, one of them marked.
constexpr char kClientObjects[] =
    "0:18,1:3,1:18,1:27,1:36,1:99,5:80,5:81,5:82,5:90,5:99*,8:21,8:22,8:30,8:42,8:99";

class MarkingWinTest : public MainFormTest {
protected:
    void SetUp() override {
        desktop_ = &scaled_;
        MainFormTest::SetUp();
        list_ = dir_.File("listed.fob");
        FobFile f;
        f.objects.push_back({0, 18, "Customer"});
        for (auto [type, id] : {std::pair{1, 3}, {1, 18}, {1, 27}, {1, 36}, {5, 80}, {5, 81}, {5, 82}, {5, 90},
                                {8, 21}, {8, 22}, {8, 30}, {8, 42}})
            f.objects.push_back({type, id, "Object " + std::to_string(id)});
        testing::WriteBytes(list_, testing::WriteFob(f));
    }

    // Ctrl+M in the main window at this time scale; the run ends before the pump returns.
    void MarkByCtrlM(double scale, bool screenCheck) {
        Form().Session().Settings().IntelligentObjectMarking = screenCheck;
        scaled_.SetScale(scale);
        scaled_.keyDowns = 0;
        BringToFront(form_->Handle());
        PressKey('M', {VK_CONTROL});
        Pump();
    }
    // Makes the window the one that gets the keys, and keeps it so for 300 ms of this thread's
    // events: under Wine a window that had the focus may take it back a moment later.
    void BringToFront(HWND w) {
        for (int attempt = 0; attempt < 10 && !Settled(w); ++attempt) SetForegroundWindow(w);
        ASSERT_EQ(GetForegroundWindow(), w);
    }
    bool Settled(HWND w) {
        for (int i = 0; i < 30; ++i) {
            Pump(1);
            if (GetForegroundWindow() != w) return false;
        }
        return true;
    }
    // Marks by Ctrl+M and waits until the client has handled every key sent.
    void MarkIn(FakeNavProcess& client, double scale, bool screenCheck) {
        const int before = client.Keys();
        MarkByCtrlM(scale, screenCheck);
        ASSERT_GT(scaled_.keyDowns, 0);
        ASSERT_TRUE(client.WaitForKeys(before + scaled_.keyDowns));
        EXPECT_EQ(client.Keys(), before + scaled_.keyDowns);
    }

    WinDesktop real_;
    ScaledDesktop scaled_{real_};
    std::string list_;
};

TEST_F(MarkingWinTest, MarksTheListedObjectsAndTheScreenCheckKeepsThem) {
    FakeNavProcess client(dir_.File("state.txt"), std::string("--objects ") + kClientObjects);
    ASSERT_TRUE(client.Window());
    Start({list_});
    ASSERT_EQ(Rows(), 13);

    MarkIn(client, 0.05, false);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(client.Marked(), std::string(kListed).insert(std::string(kListed).find("8:21"), "5:99,"));
    const auto state = client.State();
    EXPECT_EQ(state.at("filter").size(), 6u);  // a Type and an ID filter for each type
    EXPECT_EQ(state.at("menu"), std::vector<std::string>{"F10 Right Right Down Down Down Down Down Enter"});

    // With the screen check each batch's first object is seen marked: it is unmarked first
    // and then marked with the rest, so all stay marked.
    const size_t keysBefore = client.State().at("key").size();
    MarkIn(client, 0.25, true);
    EXPECT_EQ(client.Marked(), std::string(kListed).insert(std::string(kListed).find("8:21"), "5:99,"));
    const auto keys = client.State().at("key");
    std::string marking;
    for (size_t i = keysBefore; i < keys.size(); ++i)
        if (keys[i] == "Ctrl+F1" || keys[i] == "Ctrl+A") marking += keys[i] + " ";
    EXPECT_EQ(marking, "Ctrl+F1 Ctrl+A Ctrl+F1 Ctrl+F1 Ctrl+A Ctrl+F1 Ctrl+F1 Ctrl+A Ctrl+F1 ");

    // Without it, marking again switches them off.
    MarkIn(client, 0.05, false);
    EXPECT_EQ(client.Marked(), "5:99");
    EXPECT_TRUE(messages_.empty());
}

// A Different list names an object that both files hold twice, once per file. Each listed
// object ends marked, whether file 1's rows come before file 2's or each pair stands together
// and the Codeunits' first batch of 50 ends between the two rows of a pair.
TEST_F(MarkingWinTest, ADifferentListOfPairsMarksEachObjectOnce) {
    FobFile a, b;
    auto both = [&](int type, int id) {
        a.objects.push_back({type, id, "Object " + std::to_string(id), "STD"});
        b.objects.push_back({type, id, "Object " + std::to_string(id), "STD,KAV"});
    };
    both(1, 18);
    for (int id : {1, 2, 3}) a.objects.push_back({5, id, "Deleted " + std::to_string(id), "STD"});
    for (int id = 10; id <= 70; id += 2) {
        both(5, id);
        if (id == 10 || id == 30) b.objects.push_back({5, id + 1, "Added", "KAV"});
    }
    both(8, 21);
    const std::string one = dir_.File("one.fob"), two = dir_.File("two.fob");
    testing::WriteBytes(one, testing::WriteFob(a));
    testing::WriteBytes(two, testing::WriteFob(b));
    std::string clientObjects = "5:99*", listed;
    for (int type : {1, 5, 8}) {
        std::vector<int> ids;
        for (const FobFile* f : {&a, &b})
            for (const FobObject& o : f->objects)
                if (o.type == type && std::find(ids.begin(), ids.end(), o.id) == ids.end()) ids.push_back(o.id);
        std::sort(ids.begin(), ids.end());
        for (int id : ids) {
            const std::string key = std::to_string(type) + ":" + std::to_string(id);
            clientObjects += "," + key;
            listed += (listed.empty() ? "" : ",") + key;
        }
    }
    const std::string marked = std::string(listed).insert(listed.find("8:21"), "5:99,");
    FakeNavProcess client(dir_.File("state.txt"), "--objects " + clientObjects);
    ASSERT_TRUE(client.Window());
    Start({one, two});
    for (const bool sortByFile : {true, false}) {
        SCOPED_TRACE(sortByFile ? "Sort by File first" : "pairs together");
        ClickDifferentThrough({[&](HWND dlg) {
            if ((IsDlgButtonChecked(dlg, IDC_CHECKBOX_SORTBYFILE) == BST_CHECKED) != sortByFile)
                SendDlgItemMessageA(dlg, IDC_CHECKBOX_SORTBYFILE, BM_CLICK, 0, 0);
            PressKey(VK_RETURN);
        }});
        ASSERT_EQ(Rows(), 2 + 3 + 31 * 2 + 2 + 2);
        if (!sortByFile) {
            ASSERT_EQ(Cell(2 + 50, 2), Cell(2 + 51, 2)) << "a pair across the first batch's end";
            ASSERT_EQ(Cell(2 + 50, 0) + Cell(2 + 51, 0), "12");
        }
        MarkIn(client, 0.05, false);
        EXPECT_TRUE(messages_.empty());
        EXPECT_EQ(client.Marked(), marked);
        MarkIn(client, 0.05, false);  // and marking them again takes each mark away once
        EXPECT_EQ(client.Marked(), "5:99");
    }
}

TEST_F(MarkingWinTest, SeveralClientsAreOfferedInTheSelectionDialog) {
    FakeNavProcess a(dir_.File("a.txt"), "--caption \"Nav A\" --objects 5:80 --pos 0,0,600,240");
    FakeNavProcess b(dir_.File("b.txt"), "--caption \"Nav B\" --objects 5:80 --pos 640,0,600,240");
    ASSERT_TRUE(a.Window() && b.Window());
    FobFile f;
    f.objects.push_back({5, 80, "One"});
    testing::WriteBytes(list_, testing::WriteFob(f));
    Start({list_});
    auto byCaption = [&](const std::string& caption) -> FakeNavProcess& { return caption == "Nav A" ? a : b; };
    auto line = [](HWND dlg, int i) {
        char text[300] = {};
        SendDlgItemMessageA(dlg, IDC_NAVLISTBOX, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };

    // The second line by Down and Enter.
    std::string second;
    {
        WhenShown dialog(kSelectCaption, WhenShown::Steps{[&](HWND dlg) {
                                                              second = line(dlg, 1);
                                                              PressKey(VK_DOWN);
                                                          },
                                                          [](HWND) { PressKey(VK_RETURN); }});
        MarkByCtrlM(0.05, false);
        EXPECT_TRUE(dialog.Done());
    }
    ASSERT_TRUE(second == "Nav A" || second == "Nav B") << second;
    FakeNavProcess& chosen = byCaption(second);
    FakeNavProcess& other = byCaption(second == "Nav A" ? "Nav B" : "Nav A");
    ASSERT_TRUE(chosen.WaitForKeys(scaled_.keyDowns));
    EXPECT_EQ(chosen.Keys(), scaled_.keyDowns);
    EXPECT_EQ(chosen.Marked(), "5:80");
    EXPECT_EQ(other.Keys(), 0);

    // Refresh selects the first line again, whatever was selected.
    std::string first;
    const int chosenBefore = chosen.Keys();
    {
        WhenShown dialog(kSelectCaption, WhenShown::Steps{[](HWND) { PressKey(VK_DOWN); },
                                                          [](HWND) { PressKey('R', {VK_MENU}); },
                                                          [&](HWND dlg) {
                                                              first = line(dlg, 0);
                                                              PressKey(VK_RETURN);
                                                          }});
        MarkByCtrlM(0.05, false);
        EXPECT_TRUE(dialog.Done());
    }
    FakeNavProcess& refreshed = byCaption(first);
    ASSERT_TRUE(refreshed.WaitForKeys((&refreshed == &chosen ? chosenBefore : 0) + scaled_.keyDowns));
    EXPECT_EQ((&refreshed == &chosen ? other : chosen).Keys(), &refreshed == &chosen ? 0 : chosenBefore);

    // Escape: nothing is sent and nothing said.
    {
        WhenShown dialog(kSelectCaption, [](HWND) { PressKey(VK_ESCAPE); });
        MarkByCtrlM(0.05, false);
        EXPECT_TRUE(dialog.Done());
    }
    EXPECT_EQ(scaled_.keyDowns, 0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MarkingWinTest, NoClientIsToldAndNothingSent) {
    Start({list_});
    MarkByCtrlM(0.05, false);
    EXPECT_EQ(messages_, std::vector<std::string>{"No running Navision Client found."});
    EXPECT_EQ(scaled_.keyDowns, 0);
}

// A Merge window's Alt+M marks its conflicts, Table 18 and Codeunit 80, by the same procedure.
TEST_F(MarkingWinTest, AMergeWindowMarksItsConflicts) {
    FakeNavProcess client(dir_.File("state.txt"), std::string("--objects ") + kClientObjects);
    ASSERT_TRUE(client.Window());
    const testing::MergeInputs in = testing::WriteMergeInputs(dir_.Path().string(), "\\");
    Start();
    MergeByKeyboard({in.original, in.modified, in.target, dir_.File("result.txt")});
    ASSERT_EQ(Form().MergeWindows().OpenWindows().size(), 1u);
    Form().Session().Settings().IntelligentObjectMarking = false;
    scaled_.SetScale(0.05);
    scaled_.keyDowns = 0;
    BringToFront(Form().MergeWindows().OpenWindows()[0]->Handle());
    PressKey('M', {VK_MENU});
    Pump();
    ASSERT_GT(scaled_.keyDowns, 0);
    ASSERT_TRUE(client.WaitForKeys(scaled_.keyDowns));
    EXPECT_EQ(client.Marked(), "1:18,5:80,5:99");  // 5:99 was marked before
    EXPECT_TRUE(messages_.empty());
}

// A top-level window of this thread that notes the keys it receives.
std::vector<WPARAM>& OtherWindowKeys() {
    static std::vector<WPARAM> keys;
    return keys;
}
HWND CreateOtherWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) OtherWindowKeys().push_back(w);
        return DefWindowProcA(h, msg, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KavloOtherWindow";
    RegisterClassA(&wc);
    OtherWindowKeys().clear();
    HWND w = CreateWindowExA(0, "KavloOtherWindow", "Other", WS_OVERLAPPEDWINDOW, 700, 800, 200, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    return w;
}

TEST_F(MarkingWinTest, AnotherWindowInFrontInterruptsAndGetsTheRest) {
    FakeNavProcess client(dir_.File("state.txt"), std::string("--objects ") + kClientObjects);
    ASSERT_TRUE(client.Window());
    Start({list_});
    HWND other = CreateOtherWindow();
    // The 18th key down is the Type filter's digit; its Up and Enter then go to the other window.
    // The switch waits until the client has handled the 18 keys: a key still queued for it when
    // another window comes to the front may be dropped by the window system, which is no fault
    // of the marking and would make this test depend on the machine's load.
    bool handled18 = false;
    scaled_.afterKeyDown = [&](int n) {
        if (n != 18) return;
        handled18 = client.WaitForKeys(18);
        SetForegroundWindow(other);
    };
    MarkByCtrlM(0.05, false);
    scaled_.afterKeyDown = nullptr;
    EXPECT_EQ(messages_, std::vector<std::string>{"Marking of objects was interrupted."});
    EXPECT_EQ(scaled_.keyDowns, 20);
    ASSERT_TRUE(handled18);
    for (int i = 0; i < 200 && OtherWindowKeys().size() < 2; ++i) Pump(1);
    EXPECT_EQ(OtherWindowKeys(), (std::vector<WPARAM>{VK_UP, VK_RETURN}));
    const auto keys = client.State().at("key");
    ASSERT_EQ(keys.size(), 18u);  // the keys are delivered in order: nothing after the switch
    EXPECT_EQ(keys[17], "1");  // the digit of the Table filter
    DestroyWindow(other);
}

TEST_F(MarkingWinTest, SaveAnalyzeWritesTheAnalysisImagesInTheProgramsFolder) {
    char exe[MAX_PATH];
    const std::string path(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    for (const char* name : {"_test1w7.bmp", "_test2xp.bmp", "_test3.bmp"}) DeleteFileA((folder + name).c_str());
    FakeNavProcess client(dir_.File("state.txt"), "--objects 5:80,5:81*");
    ASSERT_TRUE(client.Window());
    FobFile f;
    f.objects.push_back({5, 80, "One"});
    testing::WriteBytes(list_, testing::WriteFob(f));
    Start({"-SaveAnalyze", list_});  // the switch is no file name: the list still loads
    ASSERT_EQ(Rows(), 1);
    MarkIn(client, 0.25, true);
    EXPECT_EQ(client.Marked(), "5:80,5:81");
    EXPECT_TRUE(std::filesystem::exists(folder + "_test1w7.bmp"));
    EXPECT_FALSE(std::filesystem::exists(folder + "_test2xp.bmp"));  // column 17 found the line
    HBITMAP image = static_cast<HBITMAP>(
        LoadImageA(nullptr, (folder + "_test3.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(image, nullptr);
    BITMAP bm{};
    GetObject(image, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 27);
    EXPECT_EQ(bm.bmHeight, 80);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image);
    EXPECT_EQ(GetPixel(dc, 12, 18), RGB(0, 0, 255));  // the probe, left of the cursor's bar
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(image);
    for (const char* name : {"_test1w7.bmp", "_test3.bmp"}) DeleteFileA((folder + name).c_str());
}

}  // namespace
}  // namespace kavlo
