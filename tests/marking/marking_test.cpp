// The marking procedure against the stand-in client on the simulated desktop: the keys it
// sends, its waits and pace, the screen check, the interruption, and every way it stops early.
#include "marking/marking.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sim_desktop.h"

namespace kavlo {
namespace {

using testing::SimDesktop;
using testing::SimNavClient;
using Strings = std::vector<std::string>;

class NoDialog : public SelectNavDialog {
public:
    WindowId Select(const NavClientList&, const std::function<NavClientList()>&) override {
        ++shown;
        return answer;
    }
    int shown = 0;
    WindowId answer = 0;
};

// The keys of the preparation and of the end, with the Object Designer found.
const Strings kPrepareKeys = {"Shift+F12", "Alt+A", "Shift+Ctrl+F7", "Ctrl+Up", "Ctrl+Left", "Ctrl+Right", "Ctrl+Home"};
const Strings kFinishKeys = {"Shift+Ctrl+F7", "F10", "Right", "Right", "Down", "Down", "Down",
                             "Down", "Down", "Enter", "Ctrl+Home"};

class MarkingTest : public ::testing::Test {
protected:
    // Rows of (type text, ID text).
    void List(const std::vector<std::pair<std::string, std::string>>& rows) {
        list_.Clear();
        for (const auto& [type, id] : rows) {
            std::array<std::string_view, kColumnCount> cells{"1", type, id, "Name"};
            list_.AddRow(cells);
        }
    }
    void Objects(std::vector<fakenav::NavObject> objects) { clientOptions_.objects = std::move(objects); }
    SimNavClient& Client() {
        if (!client_) client_ = std::make_unique<SimNavClient>(d_, clientOptions_);
        return *client_;
    }
    void Run() {
        Client();
        MarkObjectsInObjectDesigner(d_, list_, options_, dialog_, [this](std::string_view t) { told_.emplace_back(t); });
    }
    // The keys sent between the preparation and the end.
    Strings MarkingKeys() const {
        Strings keys = d_.Presses();
        const size_t head = std::min(keys.size(), kPrepareKeys.size());
        keys.erase(keys.begin(), keys.begin() + static_cast<long>(head));
        if (keys.size() >= kFinishKeys.size()) keys.resize(keys.size() - kFinishKeys.size());
        return keys;
    }
    long Count(const std::string& key) const {
        const Strings p = d_.Presses();
        return std::count(p.begin(), p.end(), key);
    }

    SimDesktop d_;
    SimNavClient::Options clientOptions_;
    std::unique_ptr<SimNavClient> client_;
    TVisibleList list_;
    MarkingOptions options_{"Object Designer", "Type - Field Filter", "ID - Field Filter", "Ctrl+A", false, {}};
    NoDialog dialog_;
    Strings told_;
};

TEST_F(MarkingTest, AllTableDataSendsNoFilter) {
    List({{"TableData", "18"}, {"TableData", "27"}});
    Objects({{0, 18}, {1, 18}});
    Run();
    Strings expected = kPrepareKeys;
    expected.insert(expected.end(), kFinishKeys.begin(), kFinishKeys.end());
    EXPECT_EQ(d_.Presses(), expected);
    EXPECT_TRUE(Client().model.FilterLog().empty());
    EXPECT_TRUE(told_.empty());
    // Brought to the front, the process opened so that it can be waited on, and closed.
    const Strings& log = d_.log;
    EXPECT_EQ(Strings(log.begin(), log.begin() + 4),
              (Strings{"foreground 100", "open 100400 4711", "idle 1000", "close"}));
}

TEST_F(MarkingTest, RunsOfOneTypeAreBatchedByFifty) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<fakenav::NavObject> objects{{5, 9999}};
    std::string batches[3];
    for (int i = 1; i <= 120; ++i) {
        rows.emplace_back("Codeunit", std::to_string(i * 3));
        objects.push_back({5, i * 3});
        std::string& b = batches[(i - 1) / 50];
        b += (b.empty() ? "" : "|") + std::to_string(i * 3);
    }
    List(rows);
    Objects(objects);
    Run();
    EXPECT_EQ(Client().model.FilterLog(), (Strings{"Type:5", "ID:" + batches[0], "ID:" + batches[1], "ID:" + batches[2]}));
    EXPECT_EQ(Client().Marked().size(), 120u);  // not 9999
    EXPECT_EQ(Count("Ctrl+F1"), 3);
    EXPECT_EQ(Count("Ctrl+A"), 3);
    EXPECT_EQ(Client().model.MenuKeys(), "F10 Right Right Down Down Down Down Down Enter");
    EXPECT_TRUE(told_.empty());
}

TEST_F(MarkingTest, ATypeChangeSetsTheTypeFilterAgain) {
    List({{"Codeunit", "1"}, {"Codeunit", "2"}, {"Table", "3"}, {"Query", "x"}, {"Codeunit", "4"}, {"Page", "8"}});
    Objects({{5, 1}, {5, 2}, {1, 3}, {5, 4}, {8, 8}, {8, 9}});
    Run();
    EXPECT_EQ(Client().model.FilterLog(),
              (Strings{"Type:5", "ID:1|2", "Type:1", "ID:3", "Type:5", "ID:4", "Type:8", "ID:8"}));
    EXPECT_EQ(Client().Marked(), (Strings{"1:3", "5:1", "5:2", "5:4", "8:8"}));
}

TEST_F(MarkingTest, AnIdThatIsNoNumberIsPassedOverOrFiltersAsZero) {
    List({{"Codeunit", "x"}, {"Codeunit", "5"}, {"Codeunit", "y"}, {"Form", ""}, {"Bogus", "7"}, {"Form", "7"}});
    Objects({{5, 5}, {2, 7}});
    Run();
    EXPECT_EQ(Client().model.FilterLog(), (Strings{"Type:5", "ID:5|0", "Type:2", "ID:7"}));
    EXPECT_EQ(Client().Marked(), (Strings{"2:7", "5:5"}));
}

// A comparison list names an object once per file: file 1's rows before file 2's, or a pair
// of rows that the batch of 50 may split. Each object is marked once; a later row of it is
// passed over, and a batch left with one object is marked without Select All.
struct RepeatCase {
    std::string name;
    std::vector<std::pair<std::string, std::string>> rows;
    Strings filters;
    long selectAlls;
};

void PrintTo(const RepeatCase& c, std::ostream* os) { *os << c.name; }

RepeatCase SplitPair() {
    RepeatCase c{"PairSplitByTheBatch", {}, {"Type:5", "ID:"}, 1};
    for (int id = 1; id <= 50; ++id) {
        c.rows.emplace_back("Codeunit", std::to_string(id));
        c.filters[1] += (id == 1 ? "" : "|") + std::to_string(id);
    }
    c.rows.emplace_back("Codeunit", "50");  // the pair's second row opens the next batch
    c.rows.emplace_back("Codeunit", "51");
    c.filters.push_back("ID:51");
    return c;
}

class MarkingRepeatTest : public MarkingTest, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(MarkingRepeatTest, AnObjectNamedByMoreRowsIsMarkedOnce) {
    const RepeatCase& c = GetParam();
    std::vector<fakenav::NavObject> objects;
    Strings marked;
    for (const auto& [type, id] : c.rows) {
        const int t = type == "Table" ? 1 : 5;
        const std::string key = std::to_string(t) + ":" + id;
        if (id == "x" || std::find(marked.begin(), marked.end(), key) != marked.end()) continue;
        objects.push_back({t, std::stoi(id)});
        marked.push_back(key);
    }
    List(c.rows);
    Objects(objects);
    Run();
    EXPECT_EQ(Client().model.FilterLog(), c.filters);
    Strings got = Client().Marked();
    std::sort(got.begin(), got.end());
    std::sort(marked.begin(), marked.end());
    EXPECT_EQ(got, marked);
    EXPECT_EQ(Count("Ctrl+A"), c.selectAlls);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, MarkingRepeatTest,
    ::testing::Values(
        RepeatCase{"FileOneRowsBeforeFileTwoRows",
                   {{"Codeunit", "1"}, {"Codeunit", "2"}, {"Table", "3"}, {"Codeunit", "1"}, {"Codeunit", "2"},
                    {"Table", "3"}, {"Codeunit", "4"}},
                   {"Type:5", "ID:1|2", "Type:1", "ID:3", "Type:5", "ID:4"},
                   1},
        SplitPair(),
        RepeatCase{"PairInOneBatch",
                   {{"Codeunit", "80"}, {"Codeunit", "80"}, {"Codeunit", "x"}, {"Codeunit", "81"}, {"Codeunit", "81"}},
                   {"Type:5", "ID:80|0|81"},
                   1}),
    [](const ::testing::TestParamInfo<RepeatCase>& info) { return info.param.name; });

TEST_F(MarkingTest, TheScreenCheckKeepsMarksThatAreThere) {
    struct Case {
        const char* name;
        std::vector<fakenav::NavObject> objects;
        std::vector<std::string> ids;
        bool intelligent;
        Strings marking;  // the keys from the first Ctrl+Home or Ctrl+F1 of the batch on
        Strings marked;
    } cases[] = {
        {"one object", {{5, 1}}, {"1"}, false, {"Ctrl+F1"}, {"5:1"}},
        {"one object, marked, no check", {{5, 1, true}}, {"1"}, false, {"Ctrl+F1"}, {}},
        {"one object, marked, checked", {{5, 1, true}}, {"1"}, true, {}, {"5:1"}},
        {"one object, unmarked, checked", {{5, 1}}, {"1"}, true, {"Ctrl+F1"}, {"5:1"}},
        {"batch", {{5, 1}, {5, 2}}, {"1", "2"}, false, {"Ctrl+Home", "Ctrl+A", "Ctrl+F1", "Down", "Up"}, {"5:1", "5:2"}},
        {"batch, first marked, no check", {{5, 1, true}, {5, 2}}, {"1", "2"}, false,
         {"Ctrl+Home", "Ctrl+A", "Ctrl+F1", "Down", "Up"}, {}},
        {"batch, first marked, checked", {{5, 1, true}, {5, 2}}, {"1", "2"}, true,
         {"Ctrl+Home", "Ctrl+F1", "Ctrl+A", "Ctrl+F1", "Down", "Up"}, {"5:1", "5:2"}},
        {"batch, all marked, checked", {{5, 1, true}, {5, 2, true}}, {"1", "2"}, true,
         {"Ctrl+Home", "Ctrl+F1", "Ctrl+A", "Ctrl+F1", "Down", "Up"}, {"5:1", "5:2"}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        d_ = SimDesktop();
        client_.reset();
        std::vector<std::pair<std::string, std::string>> rows;
        for (const std::string& id : c.ids) rows.emplace_back("Codeunit", id);
        List(rows);
        Objects(c.objects);
        options_.intelligentMarking = c.intelligent;
        Run();
        Strings keys = MarkingKeys();
        // From after the ID filter's Enter and Up on.
        const auto enter = std::find(keys.rbegin(), keys.rend(), "Enter");
        keys.erase(keys.begin(), enter.base() + 1);
        EXPECT_EQ(keys, c.marking);
        EXPECT_EQ(Client().Marked(), c.marked);
        EXPECT_EQ(d_.captures, c.intelligent ? 1 : 0);
    }
}

TEST_F(MarkingTest, AShortcutThatIsNotUnderstoodGivesCtrlA) {
    for (const char* shortcut : {"Strg+A", "Alt+L"}) {
        d_ = SimDesktop();
        client_.reset();
        List({{"Form", "1"}, {"Form", "2"}});
        options_.selectAllShortcut = shortcut;
        Run();
        EXPECT_EQ(Count("Ctrl+A") + Count("Alt+L"), 1) << shortcut;
        EXPECT_EQ(Count(shortcut[0] == 'S' ? "Ctrl+A" : "Alt+L"), 1) << shortcut;
    }
}

TEST_F(MarkingTest, AWrongDesignerCaptionWaitsOutAndSkipsTheCheckAndTheMenu) {
    List({{"Form", "1"}});
    Objects({{2, 1}});
    options_.objectDesigner = "Objekt-Designer";
    options_.intelligentMarking = true;
    Run();
    const Strings trace = d_.Trace();
    const auto f12 = std::find(trace.begin(), trace.end(), "Shift+F12");
    ASSERT_NE(f12, trace.end());
    // 20 waits of 10 polls, then the pace is the 20 s that they took.
    Strings expected{"~200"};
    expected.insert(expected.end(), 200, "~100");
    expected.insert(expected.end(), {"~20000", "~20000", "Alt+A"});
    EXPECT_EQ(Strings(f12 + 1, f12 + 1 + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(d_.captures, 0);
    EXPECT_EQ(d_.Presses().back(), "Shift+Ctrl+F7");
    EXPECT_EQ(Client().Marked(), Strings{"2:1"});  // the client answers its own caption's keys
}

TEST_F(MarkingTest, ThePaceFollowsTheTimeTheDesignerTookToAppear) {
    struct Case {
        uint32_t tickBase;
        uint32_t designerDelay;
        std::string pace;
    } cases[] = {
        {0, 1300, "~1200"},           // seen at the 12th poll, 1200 ms after the timer started
        {0, 100, "~500"},             // never below 500 here
        {0xFFFFFFFFu - 700, 1300, "~500"},  // the tick count wraps during the wait: 100
    };
    for (const Case& c : cases) {
        d_ = SimDesktop();
        client_.reset();
        d_.tickBase = c.tickBase;
        clientOptions_.designerDelay = c.designerDelay;
        List({{"TableData", "1"}});
        Run();
        const Strings trace = d_.Trace();
        const auto alt = std::find(trace.begin(), trace.end(), "Alt+A");
        ASSERT_NE(alt, trace.end());
        EXPECT_EQ(Strings(alt - 2, alt), (Strings{c.pace, c.pace})) << c.tickBase;
    }
}

TEST_F(MarkingTest, AnotherWindowInFrontStopsTheRun) {
    // After which key press the other window comes to the front, and the keys that still go
    // out before the next focus check sees it.
    struct Case {
        int afterPress;
        Strings keys;
    } cases[] = {
        {1, {"Shift+F12"}},  // while the Object Designer opens
        {9, {"Shift+F12", "Alt+A", "Shift+Ctrl+F7", "Ctrl+Up", "Ctrl+Left", "Ctrl+Right", "Ctrl+Home", "Home", "F7"}},
        {12, {"Shift+F12", "Alt+A", "Shift+Ctrl+F7", "Ctrl+Up", "Ctrl+Left", "Ctrl+Right", "Ctrl+Home", "Home", "F7",
              "5", "Up", "Enter"}},
    };
    for (const Case& c : cases) {
        d_ = SimDesktop();
        client_.reset();
        told_.clear();
        List({{"Codeunit", "1"}, {"Codeunit", "2"}});
        Client();
        const WindowId other = d_.Add({0, "Notepad", "Other"});
        auto client = d_.onPress;
        int presses = 0;
        d_.onPress = [&](uint8_t vk, unsigned m) {
            client(vk, m);
            if (++presses == c.afterPress) d_.foreground = other;
        };
        Run();
        EXPECT_EQ(d_.Presses(), c.keys) << c.afterPress;
        EXPECT_EQ(told_, Strings{"Marking of objects was interrupted."});
    }
}

TEST_F(MarkingTest, StopsBeforeAnyKeyWhenTheClientCannotBeReady) {
    struct Case {
        const char* name;
        std::function<void(SimDesktop&, SimNavClient&)> setup;
        Strings told;
    } cases[] = {
        {"no process id", [](SimDesktop& d, SimNavClient& c) { d.Win(c.main).processId = 0; d.lastError = 1400; },
         {"system text 1400"}},
        {"process not opened", [](SimDesktop& d, SimNavClient&) { d.openError = 5; }, {"system text 5"}},
        {"not idle in time", [](SimDesktop& d, SimNavClient&) { d.idleResult = kWaitTimeout; }, {}},
        {"idle wait failed", [](SimDesktop& d, SimNavClient&) { d.idleResult = 0xFFFFFFFF; }, {"system text 6"}},
        {"no MDI client", [](SimDesktop& d, SimNavClient& c) { d.Win(c.mdi).className = "MDIClient2"; },
         {"Navision MDI Client window was not found."}},
    };
    for (const Case& c : cases) {
        d_ = SimDesktop();
        client_.reset();
        told_.clear();
        List({{"Form", "1"}});
        c.setup(d_, Client());
        Run();
        EXPECT_EQ(told_, c.told) << c.name;
        EXPECT_TRUE(d_.Presses().empty()) << c.name;
        EXPECT_EQ(d_.foreground, Client().main) << c.name;
    }
}

TEST_F(MarkingTest, NothingIsSentWithoutRowsOrClient) {
    Run();  // the empty list
    EXPECT_EQ(told_, Strings{"No rows in list."});
    EXPECT_TRUE(d_.log.empty());

    d_ = SimDesktop();
    told_.clear();
    List({{"Form", "1"}});
    MarkObjectsInObjectDesigner(d_, list_, options_, dialog_, [this](std::string_view t) { told_.emplace_back(t); });
    EXPECT_EQ(told_, Strings{"No running Navision Client found."});

    // Two clients, and the chosen one is gone by the time the dialog closes.
    told_.clear();
    d_.Add({0, "C/SIDE Application", "One"});
    d_.Add({0, "C/SIDE Application", "Two"});
    dialog_.answer = 0x9999;
    MarkObjectsInObjectDesigner(d_, list_, options_, dialog_, [this](std::string_view t) { told_.emplace_back(t); });
    EXPECT_EQ(dialog_.shown, 1);
    EXPECT_TRUE(told_.empty());
    EXPECT_TRUE(d_.log.empty());
}

TEST_F(MarkingTest, MinimizedWindowsAreRestoredAndAMaximizedDesignerGetsAThirdRight) {
    List({{"TableData", "1"}});
    Client();
    d_.Win(client_->main).minimized = true;
    d_.Win(client_->designer).minimized = true;
    Run();
    EXPECT_EQ(d_.log[0], "restore 100");
    EXPECT_EQ(std::count(d_.log.begin(), d_.log.end(), "restore 102"), 1);
    EXPECT_EQ(Client().model.MenuKeys(), "F10 Right Right Down Down Down Down Down Enter");

    d_ = SimDesktop();
    client_.reset();
    clientOptions_.designerMaximized = true;
    Run();
    EXPECT_EQ(Client().model.MenuKeys(), "F10 Right Right Right Down Down Down Down Down Enter");
}

TEST(MarkingId, ReadsDecimalIntegersOrZero) {
    struct Case {
        const char* text;
        int id;
    } cases[] = {{"18", 18}, {"2000000001", 2000000001}, {"-5", -5}, {" 7", 7}, {"", 0}, {"x", 0},
                 {"12a", 0}, {"99999999999", 0}, {"-", 0}, {"2147483648", 0}};
    for (const Case& c : cases) EXPECT_EQ(MarkingId(c.text), c.id) << c.text;
}

}  // namespace
}  // namespace kavlo
