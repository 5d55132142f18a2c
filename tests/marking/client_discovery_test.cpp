// Which top-level windows are Navision clients, and when the selection dialog is asked.
#include "marking/client_discovery.h"

#include <gtest/gtest.h>

#include "sim_desktop.h"

namespace kavlo {
namespace {

using testing::SimDesktop;

class RecordingDialog : public SelectNavDialog {
public:
    WindowId Select(const NavClientList& clients, const std::function<NavClientList()>& refresh) override {
        shown.push_back(clients);
        if (beforeRefresh) {
            beforeRefresh();
            shown.push_back(refresh());
        }
        return answer;
    }
    std::vector<NavClientList> shown;
    std::function<void()> beforeRefresh;
    WindowId answer = 0;
};

TEST(ListNavisionClients, TakesTheExactClassWithACaptionInZOrder) {
    SimDesktop d;
    const WindowId a = d.Add({0, "C/SIDE Application", "Navision"});
    d.Add({0, "c/side application", "Navision"});  // the case differs
    d.Add({0, "C/SIDE Application", ""});
    d.Add({0, "Notepad", "Navision"});
    const WindowId b = d.Add({0, "C/SIDE Application", "Navision"});  // the same caption
    const WindowId c = d.Add({0, "C/SIDE Application", std::string(400, 'x')});
    NavClientList list{{"kept", 7}};
    ListNavisionClients(d, kNavisionClientClass, list);
    EXPECT_EQ(list, (NavClientList{{"kept", 7}, {"Navision", a}, {"Navision", b}, {std::string(299, 'x'), c}}));
}

TEST(FindNavisionClient, NoneTellsOneIsTakenSeveralAreOffered) {
    std::vector<std::string> told;
    auto tell = [&](std::string_view t) { told.emplace_back(t); };
    {
        SimDesktop d;  // a client without a caption is none
        d.Add({0, "C/SIDE Application", ""});
        RecordingDialog dialog;
        EXPECT_EQ(FindNavisionClient(d, kNavisionClientClass, dialog, tell), 0u);
        EXPECT_EQ(told, std::vector<std::string>{"No running Navision Client found."});
        EXPECT_TRUE(dialog.shown.empty());
    }
    told.clear();
    {
        SimDesktop d;
        const WindowId one = d.Add({0, "C/SIDE Application", "One"});
        RecordingDialog dialog;
        EXPECT_EQ(FindNavisionClient(d, kNavisionClientClass, dialog, tell), one);
        EXPECT_TRUE(dialog.shown.empty());
    }
    {
        SimDesktop d;
        const WindowId one = d.Add({0, "C/SIDE Application", "One"});
        const WindowId two = d.Add({0, "C/SIDE Application", "Two"});
        RecordingDialog dialog;
        dialog.answer = two;
        WindowId three = 0;
        dialog.beforeRefresh = [&] { three = d.Add({0, "C/SIDE Application", "Three"}); };
        EXPECT_EQ(FindNavisionClient(d, kNavisionClientClass, dialog, tell), two);
        ASSERT_EQ(dialog.shown.size(), 2u);
        EXPECT_EQ(dialog.shown[0], (NavClientList{{"One", one}, {"Two", two}}));
        // Refresh lists the same class afresh.
        EXPECT_EQ(dialog.shown[1], (NavClientList{{"One", one}, {"Two", two}, {"Three", three}}));
        dialog.beforeRefresh = nullptr;
        dialog.answer = 0;  // cancelled
        EXPECT_EQ(FindNavisionClient(d, kNavisionClientClass, dialog, tell), 0u);
    }
    EXPECT_TRUE(told.empty());
}

}  // namespace
}  // namespace kavlo
