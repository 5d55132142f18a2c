// The settings on the real registry: the behavioural tests of tests/settings on the Win32 store,
// and checks of what lands in the registry byte for byte, through the registry API itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "settings/registry_win.h"
#include "settings/settings.h"
#include "settings/settings_store_fixture.h"

namespace kavlo::testing {
namespace {

using std::string_literals::operator""s;

// Each test has a key of its own below the current user, deleted before and after it.
std::string TestKeyPath(const std::string& testName) {
    std::string key = "Software\\Brenvik\\KavloTest-";
    for (char c : testName) key += (isalnum(static_cast<unsigned char>(c)) ? c : '-');
    return key;
}

void DeleteKey(const std::string& path) { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

bool KeyExistsRaw(const std::string& path) {
    UniqueHKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

class Win32Backend final : public SettingsBackend {
public:
    explicit Win32Backend(const std::string& testName) : key_(TestKeyPath(testName)) { DeleteKey(key_); }
    ~Win32Backend() override { DeleteKey(key_); }
    Registry& Store() override { return store_; }
    const std::string& KeyPath() const override { return key_; }
    bool KeyExists() const override { return KeyExistsRaw(key_); }

private:
    Win32Registry store_;
    std::string key_;
};

std::unique_ptr<SettingsBackend> MakeWin32Backend(const std::string& testName) {
    return std::make_unique<Win32Backend>(testName);
}

INSTANTIATE_TEST_SUITE_P(Win32, SettingsStore, ::testing::Values(&MakeWin32Backend),
                         [](const auto&) { return std::string("Registry"); });

// ---- Raw checks through the registry API ------------------------------------------------------

class SettingsRegistryRaw : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = TestKeyPath(std::string("Raw-") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        DeleteKey(path_);
    }
    void TearDown() override { DeleteKey(path_); }

    UniqueHKey OpenRaw() {
        UniqueHKey key;
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    void SetRaw(const char* name, DWORD type, const std::string& data) {
        const UniqueHKey key = OpenRaw();
        ASSERT_EQ(RegSetValueExA(key.get(), name, 0, type,
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    void SetRawDWord(const char* name, DWORD value) {
        const UniqueHKey key = OpenRaw();
        ASSERT_EQ(RegSetValueExA(key.get(), name, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value),
                  ERROR_SUCCESS);
    }
    // The value's type and bytes, or type REG_NONE and no bytes when it is absent.
    std::pair<DWORD, std::string> GetRaw(const char* name) {
        const UniqueHKey key = OpenRaw();
        BYTE buffer[4096];
        DWORD type = REG_NONE, size = sizeof buffer;
        if (RegQueryValueExA(key.get(), name, nullptr, &type, buffer, &size) != ERROR_SUCCESS)
            return {REG_NONE, ""};
        return {type, std::string(reinterpret_cast<char*>(buffer), size)};
    }

    TSettings Load(uint16_t languageId = 0x0409) {
        TSettings s;
        window = FakeSettingsWindow{};
        Win32Registry registry;
        LoadSettings(s, window, registry, languageId, path_);
        return s;
    }
    void Save(const TSettings& s) {
        Win32Registry registry;
        SaveSettings(s, window, registry, path_);
    }

    std::string path_;
    FakeSettingsWindow window;
};

TEST_F(SettingsRegistryRaw, FirstLoadCreatesAnEmptyKeyFromAPathWithALeadingBackslash) {
    TSettings s;
    Win32Registry registry;
    LoadSettings(s, window, registry, 0x0409, "\\" + path_);
    ASSERT_TRUE(KeyExistsRaw(path_));
    DWORD values = 99;
    const UniqueHKey key = OpenRaw();
    ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 0u);
    EXPECT_EQ(s.CheckForUpdatesDays, 30);
}

TEST_F(SettingsRegistryRaw, ValuesOfTheWrongTypeEndLoadingWhereTheyStand) {
    SetRawDWord("ShowTableData", 0);
    SetRaw("ShowForm", REG_SZ, "1\0"s);
    SetRawDWord("ShowReport", 0);
    TSettings s = Load();
    EXPECT_FALSE(s.ShowTableData);
    EXPECT_TRUE(s.ShowForm);
    EXPECT_TRUE(s.ShowReport);
    EXPECT_FALSE(window.typeButtonsDown[0]);
    EXPECT_FALSE(window.typeButtonsDown[1]) << "buttons stay released";

    SetRawDWord("ShowForm", 0);
    SetRaw("CheckForUpdatesDays", REG_BINARY, "\x07\0\0\0"s);
    SetRawDWord("SortByFile", 1);
    s = Load();
    EXPECT_FALSE(s.ShowForm);
    EXPECT_FALSE(s.ShowReport);
    EXPECT_EQ(s.CheckForUpdatesDays, 30);
    EXPECT_FALSE(s.SortByFile);

    // The last check date alone may be damaged without ending the load.
    SetRawDWord("CheckForUpdatesDays", 7);
    SetRaw("CheckForUpdatesLastDate", REG_QWORD, "\0\0\0\0\0\xF9\xE5\x40"s);
    s = Load();
    EXPECT_EQ(s.CheckForUpdatesLastDate, 0.0);
    EXPECT_TRUE(s.SortByFile);
    EXPECT_EQ(s.CheckForUpdatesDays, 7);

    SetRaw("LastFileSaved", REG_MULTI_SZ, "a.txt\0\0"s);
    EXPECT_EQ(Load(), TSettings{});
}

TEST_F(SettingsRegistryRaw, SavedValuesHaveTheirEncodingsByteForByte) {
    SetRawDWord("ShowTable", 5);  // any non-zero value reads true and is written back as 1
    TSettings s = Load();
    s.CheckForUpdatesLastDate = 45000.0;
    s.CheckForUpdatesDays = -2;
    s.LastFileSaved = "";
    s.LanguageObjectDesigner = "Objekt Designer";
    window.placement = SettingsPlacement{-4, 10, 796, 610, true};
    Save(s);

    EXPECT_EQ(GetRaw("CheckForUpdatesLastDate"),
              std::make_pair(DWORD{REG_BINARY}, "\0\0\0\0\0\xF9\xE5\x40"s));
    EXPECT_EQ(GetRaw("LastFileSaved"), std::make_pair(DWORD{REG_SZ}, "\0"s));
    EXPECT_EQ(GetRaw("LanguageObjectDesigner"), std::make_pair(DWORD{REG_SZ}, "Objekt Designer\0"s));
    EXPECT_EQ(GetRaw("CheckForUpdatesDays"), std::make_pair(DWORD{REG_DWORD}, "\xFE\xFF\xFF\xFF"s));
    EXPECT_EQ(GetRaw("MainLeft"), std::make_pair(DWORD{REG_DWORD}, "\xFC\xFF\xFF\xFF"s));
    EXPECT_EQ(GetRaw("MainWidth"), std::make_pair(DWORD{REG_DWORD}, "\x20\x03\0\0"s));
    EXPECT_EQ(GetRaw("ColWidth3"), std::make_pair(DWORD{REG_DWORD}, "\xAA\0\0\0"s));

    const auto one = std::make_pair(DWORD{REG_DWORD}, "\1\0\0\0"s);
    const auto zero = std::make_pair(DWORD{REG_DWORD}, "\0\0\0\0"s);
    for (const char* name : {"ShowTableData", "ShowTable", "ShowForm", "ShowReport", "ShowDataport",
                             "ShowCodeunit", "ShowXMLport", "ShowMenuSuite", "ShowPage",
                             "ShowQuery", "MainMaximized"})
        EXPECT_EQ(GetRaw(name), one) << name;
    for (const char* name : {"HideSystemObjects", "CheckForUpdates", "SortByFile", "OnlyShowBoth",
                             "IntelligentObjectMarking"})
        EXPECT_EQ(GetRaw(name), zero) << name;
}

}  // namespace
}  // namespace kavlo::testing
