// The update check's procedure against a fake network, web site and user.
#include "settings/update_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/calendar.h"

namespace kavlo {
namespace {

struct FakeWorld {
    bool network = true;
    std::string ownDate = "2026-12-08";
    std::string published = "Date=2026-12-08\r\nNotes=first\r\n";
    bool answerYes = false;
    std::vector<std::string> urls, told, asked;
    std::vector<BoxIcon> icons;
    int websiteOpened = 0;

    UpdateCheckEnv Env() {
        UpdateCheckEnv env;
        env.site = "updates.test:8080";
        env.networkPresent = [this] { return network; };
        env.ownDate = [this] { return ownDate; };
        env.httpGetText = [this](const std::string& url) {
            urls.push_back(url);
            return published;
        };
        env.tell = [this](const std::string& text, BoxIcon icon) {
            told.push_back(text);
            icons.push_back(icon);
        };
        env.ask = [this](const std::string& text, BoxIcon icon) {
            asked.push_back(text);
            icons.push_back(icon);
            return answerYes;
        };
        env.openWebsite = [this] { ++websiteOpened; };
        return env;
    }
};

TEST(UpdateCheck, VerdictsCompareTheDigitsOfBothDates) {
    struct Case {
        std::string own, published;
        int result;
    };
    const std::vector<Case> cases = {
        {"2026-12-08", "Date=2026-12-08\r\n", kUpToDate},
        {"2026-12-08", "Date=2027-01-02\r\n", kNewerVersionAvailable},
        {"2026-12-08", "Date=2025-01-02\r\n", kNewerThanPublished},
        // Bytes decide, not numbers: 9 sorts after 10, and a prefix sorts first.
        {"9", "Date=10\r\n", kNewerThanPublished},
        {"2026", "Date=20261\r\n", kNewerVersionAvailable},
        // The first "Date=" is taken out wherever it stands; without it the line counts whole.
        {"2026-12-08", "Version 2026.12.08\r\n", kUpToDate},
        {"2026-12-08", "New: Date=2027-01-01\r\n", kNewerVersionAvailable},
        // LF-only line ends: the whole text is the first line, all its digits count.
        {"2026-12-08", "Date=2026-12-08\nBuild 7\n", kNewerVersionAvailable},
        {"2026-12-08", "", kNewestDateUnreadable},
        {"2026-12-08", "Date=soon\r\n2027-01-01\r\n", kNewestDateUnreadable},
        {"undated", "Date=2026-12-08\r\n", kOwnDateMissing},
    };
    for (const Case& c : cases) {
        FakeWorld w;
        w.ownDate = c.own;
        w.published = c.published;
        EXPECT_EQ(CheckForNewVersion(w.Env(), true), c.result) << c.own << " / " << c.published;
        EXPECT_TRUE(w.told.empty() && w.asked.empty()) << "a silent check shows nothing";
    }
}

TEST(UpdateCheck, AsksForTheInformationFileOfTheSite) {
    FakeWorld w;
    CheckForNewVersion(w.Env(), true);
    EXPECT_EQ(w.urls, std::vector<std::string>{"http://updates.test:8080/kavlo.txt"});
    EXPECT_EQ(WebPageUrl("updates.test:8080"), "http://updates.test:8080/navision.htm");
}

TEST(UpdateCheck, WithoutNetworkNothingElseHappens) {
    FakeWorld w;
    w.network = false;
    w.ownDate = "";
    EXPECT_EQ(CheckForNewVersion(w.Env(), false), kNoNetwork);
    EXPECT_TRUE(w.urls.empty());
    EXPECT_EQ(w.told, std::vector<std::string>{"No network connection detected."});
    EXPECT_EQ(w.icons, std::vector<BoxIcon>{BoxIcon::Warning});
}

TEST(UpdateCheck, InteractiveBoxesAndTheirAnswers) {
    {
        FakeWorld w;
        w.ownDate = "no digits";
        EXPECT_EQ(CheckForNewVersion(w.Env(), false), kOwnDateMissing);
        EXPECT_EQ(w.told, std::vector<std::string>{
                              "WTF? Version Info Date for this application was not found. This should never happen!"});
        EXPECT_EQ(w.icons, std::vector<BoxIcon>{BoxIcon::Error});
        EXPECT_TRUE(w.urls.empty());
    }
    for (bool yes : {false, true}) {
        FakeWorld w;
        w.published = "<html>Not Found</html>";
        w.answerYes = yes;
        EXPECT_EQ(CheckForNewVersion(w.Env(), false), kNewestDateUnreadable);
        EXPECT_EQ(w.asked, std::vector<std::string>{
                               "Unable to read newest version from website. Would you like to go to the website?"});
        EXPECT_EQ(w.icons, std::vector<BoxIcon>{BoxIcon::Warning});
        EXPECT_EQ(w.websiteOpened, yes ? 1 : 0);
    }
    for (bool yes : {false, true}) {
        FakeWorld w;
        w.published = "Date=2099-01-01\r\n";
        w.answerYes = yes;
        EXPECT_EQ(CheckForNewVersion(w.Env(), false), kNewerVersionAvailable);
        EXPECT_EQ(w.asked, std::vector<std::string>{std::string(kNewVersionQuestion)});
        EXPECT_EQ(w.icons, std::vector<BoxIcon>{BoxIcon::Information});
        EXPECT_EQ(w.websiteOpened, yes ? 1 : 0);
    }
    {
        FakeWorld w;
        EXPECT_EQ(CheckForNewVersion(w.Env(), false), kUpToDate);
        EXPECT_EQ(w.told, std::vector<std::string>{"This version is up to date."});
        w.told.clear();
        w.published = "Date=2001-01-01";  // no line end at all: the whole text
        EXPECT_EQ(CheckForNewVersion(w.Env(), false), kNewerThanPublished);
        EXPECT_EQ(w.told, std::vector<std::string>{"This version is actually newer than the newest version available."});
        EXPECT_EQ(w.icons, (std::vector<BoxIcon>{BoxIcon::Information, BoxIcon::Information}));
        EXPECT_EQ(w.websiteOpened, 0);
    }
}

TEST(UpdateCheck, DueWhenSwitchedOnAndTheDaysHavePassed) {
    const double today = EncodeDate(2026, 12, 9);
    TSettings s;
    s.CheckForUpdates = false;
    EXPECT_FALSE(UpdateCheckDue(s, today));
    s.CheckForUpdates = true;
    s.CheckForUpdatesDays = 30;
    s.CheckForUpdatesLastDate = 0.0;  // never checked
    EXPECT_TRUE(UpdateCheckDue(s, today));
    s.CheckForUpdatesLastDate = today - 29;
    EXPECT_FALSE(UpdateCheckDue(s, today));
    s.CheckForUpdatesLastDate = today - 30;
    EXPECT_TRUE(UpdateCheckDue(s, today));
    s.CheckForUpdatesDays = 0;  // every start
    s.CheckForUpdatesLastDate = today;
    EXPECT_TRUE(UpdateCheckDue(s, today));
}

TEST(UpdateCheck, DigitsOnlyKeepsTheDigitsInOrder) {
    EXPECT_EQ(DigitsOnly("2018-06-26"), "20180626");
    EXPECT_EQ(DigitsOnly(" v1.2 (b3)\r"), "123");
    EXPECT_EQ(DigitsOnly("\xB2\xB3 none"), "");  // superscripts are no digits
}

}  // namespace
}  // namespace kavlo
