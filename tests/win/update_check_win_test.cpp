// The update check's Windows side: the build's version data, the HTTP request against a
// server on 127.0.0.1, and the check at start, from the main window to the question.
#include "local_http_server.h"  // Winsock 2 before <windows.h>
#include "main_form_fixture.h"

#include "base/errors.h"
#include "settings/update_check_win.h"

namespace kavlo {
namespace {

using testing::LocalHttpServer;

std::string ThrownText(const std::function<void()>& f) {
    try {
        f();
    } catch (const EKavloError& e) {
        return e.what();
    }
    return "<nothing thrown>";
}

TEST(WinVersionInfo, ReadsTheBuildsOwnStrings) {
    const TVersionInfo info(OwnExecutablePath());
    ASSERT_TRUE(info.Valid());
    ASSERT_EQ(info.TranslationCount(), 1);
    EXPECT_EQ(info.GetTranslation(0), 0x04E40409u);  // US English, code page 1252
    std::string version, date;
    ReadOwnVersion(version, date);
    EXPECT_EQ(version, KAVLO_FILE_VERSION);  // the version of the build, MAJOR.MINOR.PATCH.0
    EXPECT_EQ(DigitsOnly(date).size(), 8u) << date;  // year, month and day
    const TVersionInfo cli(KAVLO_CLI_EXE);  // kavlo.exe carries the same version data
    EXPECT_EQ(cli.GetStringValue("FileVersion", 0), version);
    EXPECT_EQ(cli.GetStringValue("Date", 0), date);
    EXPECT_EQ(ReadOwnDate(), date);
    EXPECT_EQ(info.GetStringValueFor("Date", 0x0409, 0x04E4), date);
    EXPECT_EQ(info.GetStringValueForKey("Date", "040904e4"), date);
    EXPECT_EQ(info.GetStringValueForKey("Date", "04070000"), "");
    EXPECT_EQ(info.GetStringValueForKey("NoSuchString", "040904E4"), "");
    EXPECT_EQ(ThrownText([&] { info.GetTranslation(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ThrownText([&] { info.GetStringValue("Date", -1); }), "List index out of bounds (-1)");
}

TEST(WinVersionInfo, AFileWithoutVersionDataHasNoStrings) {
    kavlo::testing::TempDir dir;
    const std::string plain = dir.File("plain.txt");
    kavlo::testing::WriteBytes(plain, "no version data");
    const TVersionInfo info(plain);
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(info.GetStringValueForKey("Date", "040904E4"), "");
    EXPECT_EQ(ThrownText([&] { info.GetTranslation(0); }), "List index out of bounds (0)");
}

TEST(WinHttpGetText, ReturnsTheBodyOrNothing) {
    const std::string body = "Date=2027-03-01\r\nNotes=caf\xE9\r\n";
    LocalHttpServer server({
        {"/kavlo.txt", LocalHttpServer::Ok(body)},
        {"/old.txt", "HTTP/1.1 302 Found\r\nLocation: /kavlo.txt\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"},
        {"/broken.txt", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\nConnection: close\r\n\r\noops"},
    });
    EXPECT_EQ(HttpGetText("http://" + server.Host() + "/kavlo.txt"), body);  // byte for byte
    EXPECT_EQ(HttpGetText("http://" + server.Host() + "/old.txt"), body);    // redirect followed
    EXPECT_EQ(HttpGetText("http://" + server.Host() + "/missing.txt"), "");  // 404
    EXPECT_EQ(HttpGetText("http://" + server.Host() + "/broken.txt"), "");
    const std::vector<std::string> requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_TRUE(requests[0].starts_with("GET /kavlo.txt HTTP/1.")) << requests[0];
    EXPECT_NE(requests[0].find("User-Agent: Mozilla/3.0\r\n"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("Accept: text/html, */*\r\n"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("Content-Type: text/html\r\n"), std::string::npos) << requests[0];
    EXPECT_EQ(requests[0].find("Range:"), std::string::npos);
}

TEST(WinHttpGetText, NoServerGivesNothing) {
    unsigned short closedPort = 0;
    {
        LocalHttpServer gone({});
        closedPort = static_cast<unsigned short>(std::stoi(gone.Host().substr(10)));
    }
    EXPECT_EQ(HttpGetText("http://127.0.0.1:" + std::to_string(closedPort) + "/kavlo.txt"), "");
    EXPECT_EQ(HttpGetText("not a url"), "");
}

TEST(WinUpdateCheck, LoopbackAloneIsNoNetwork) {
    const uint32_t address = LocalHostAddress();
    EXPECT_EQ(NetworkPresent(), address != 0 && address != 0x7F000001);
}

// The check at start: due with the check switched on and never run; the thread asks the
// local server, finds a newer version and posts it; the window asks and dates the check.
TEST_F(MainFormTest, TheCheckAtStartOffersANewerVersion) {
    LocalHttpServer server({{"/kavlo.txt", LocalHttpServer::Ok("Date=2999-01-01\r\n")}});
    auto key = registry_.OpenOrCreateKey("\\Software\\Brenvik\\KavloWindowTest", 0xF003F);
    const uint32_t on = 1, days = 30;
    key->Set("CheckForUpdates", RegType::DWord, std::string_view(reinterpret_cast<const char*>(&on), 4));
    key->Set("CheckForUpdatesDays", RegType::DWord, std::string_view(reinterpret_cast<const char*>(&days), 4));
    key.reset();
    updateSite_ = server.Host();
    std::string text;
    WhenShown question("Check for updates", [&](HWND box) {
        char buf[256] = {};
        GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
        text = buf;
        PressKey('Y');
    });
    Start();
    for (int i = 0; i < 200 && !question.Done(); ++i) Pump();
    ASSERT_TRUE(question.Done());
    EXPECT_EQ(text, kNewVersionQuestion);
    EXPECT_EQ(websiteOpened_, 1);
    EXPECT_EQ(Form().Session().Settings().CheckForUpdatesLastDate, LocalToday());
    EXPECT_EQ(server.Requests().size(), 1u);
    // Dated today, the check is not due at the next start.
    form_.reset();
    Start();
    Pump(20);
    EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace kavlo
