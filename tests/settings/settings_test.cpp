#include "settings/settings.h"

#include <gtest/gtest.h>

#include <climits>

#include "settings/registry_memory.h"
#include "settings/settings_store_fixture.h"

namespace kavlo::testing {

// ---- The fixture shared with the real-registry run -------------------------------------------

void SettingsStore::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    backend = GetParam()(std::string(info->test_suite_name()) + "." + info->name());
    ASSERT_FALSE(backend->KeyExists());
}

TSettings SettingsStore::Load(uint16_t languageId) {
    TSettings s;
    window = FakeSettingsWindow{};
    LoadSettings(s, window, backend->Store(), languageId, backend->KeyPath());
    return s;
}

void SettingsStore::Save(const TSettings& settings) {
    SaveSettings(settings, window, backend->Store(), backend->KeyPath());
}

void SettingsStore::Put(std::string_view name, RegType type, std::string_view data) {
    backend->Store().OpenOrCreateKey(backend->KeyPath(), kKeyReadWrite)->Set(name, type, data);
}

void SettingsStore::PutInteger(std::string_view name, int32_t value) {
    Put(name, RegType::DWord, EncodeDWord(static_cast<uint32_t>(value)));
}

void SettingsStore::PutString(std::string_view name, std::string_view text) {
    std::string data(text);
    data.push_back('\0');
    Put(name, RegType::Sz, data);
}

std::optional<RegValue> SettingsStore::Stored(std::string_view name) {
    return backend->Store().OpenOrCreateKey(backend->KeyPath(), kKeyReadWrite)->Query(name);
}

namespace {

using std::string_literals::operator""s;
using Position = FakeSettingsWindow::Position;

const std::string kDWord0("\0\0\0\0", 4);
const std::string kDWord1("\1\0\0\0", 4);
const std::string kDate45000("\0\0\0\0\0\xF9\xE5\x40", 8);  // 15 March 2023

constexpr std::array<bool, 10> kAllDown{true, true, true, true, true, true, true, true, true, true};
constexpr std::array<bool, 10> kAllReleased{};

// ---- Behavioural tests, on every store ----------------------------------------------------------

TEST_P(SettingsStore, FirstStartCreatesTheKeyAndLoadsTheDefaults) {
    const TSettings s = Load();
    EXPECT_TRUE(backend->KeyExists());
    EXPECT_FALSE(Stored("LastFileSaved")) << "loading writes nothing";

    EXPECT_FALSE(window.restored) << "centred at the design size";
    EXPECT_FALSE(window.maximized);
    for (const auto& w : window.widthsSet) EXPECT_FALSE(w) << "columns keep their design widths";
    EXPECT_EQ(window.typeButtonsDown, kAllDown);
    EXPECT_FALSE(window.hideSystemObjectsChecked);

    EXPECT_EQ(s.LastFileSaved, "");
    for (bool TSettings::*show : kShowTypeFields) EXPECT_TRUE(s.*show);
    EXPECT_FALSE(s.HideSystemObjects);
    EXPECT_FALSE(s.CheckForUpdates);
    EXPECT_EQ(s.CheckForUpdatesDays, 30);
    EXPECT_EQ(s.CheckForUpdatesLastDate, 0.0);
    EXPECT_FALSE(s.SortByFile);
    EXPECT_FALSE(s.OnlyShowBoth);
    EXPECT_EQ(s.LanguageObjectDesigner, "Object Designer");
    EXPECT_EQ(s.LanguageFieldFilterType, "Type - Field Filter");
    EXPECT_EQ(s.LanguageFieldFilterID, "ID - Field Filter");
    EXPECT_EQ(s.LanguageSelectAllShortcut, "Ctrl+A");
    EXPECT_EQ(s.ToolButtonSize, 1);
    EXPECT_FALSE(s.IntelligentObjectMarking);
    EXPECT_FALSE(s.CompareContent);
    EXPECT_EQ(s.DiffWindowWidth, 0) << "no size stored";
    EXPECT_EQ(s.DiffWindowHeight, 0);
}

TEST_P(SettingsStore, CaptionsDefaultByTheUserLanguageButAStoredOneWinsEvenEmpty) {
    TSettings s = Load(kDanish);
    EXPECT_EQ(s.LanguageObjectDesigner, "Object Designer");
    EXPECT_EQ(s.LanguageFieldFilterType, "Type - Feltfilter");
    EXPECT_EQ(s.LanguageFieldFilterID, "ID - Feltfilter");
    EXPECT_EQ(s.LanguageSelectAllShortcut, "Ctrl+A");
    // Only Danish (Denmark) counts: other languages, and Danish's primary id alone, get English.
    for (uint16_t other : {uint16_t{0x0407}, uint16_t{0x0006}, uint16_t{0x0414}}) {
        s = Load(other);
        EXPECT_EQ(s.LanguageFieldFilterType, "Type - Field Filter") << other;
        EXPECT_EQ(s.LanguageFieldFilterID, "ID - Field Filter") << other;
    }

    PutString("LanguageFieldFilterType", "");
    PutString("LanguageObjectDesigner", "Objekt Designer");
    PutString("LanguageSelectAllShortcut", "");
    s = Load(kDanish);
    EXPECT_EQ(s.LanguageObjectDesigner, "Objekt Designer");
    EXPECT_EQ(s.LanguageFieldFilterType, "");
    EXPECT_EQ(s.LanguageFieldFilterID, "ID - Feltfilter");
    EXPECT_EQ(s.LanguageSelectAllShortcut, "");
}

TEST_P(SettingsStore, PositionIsRestoredOnlyWithBothCoordinatesAboveMinusFive) {
    PutInteger("MainTop", 100);
    PutInteger("MainWidth", 800);
    PutInteger("MainHeight", 600);
    Load();
    EXPECT_FALSE(window.restored) << "no MainLeft: neither position nor size";

    PutInteger("MainLeft", -5);
    Load();
    EXPECT_FALSE(window.restored) << "-5 counts as absent";

    PutInteger("MainLeft", -4);
    Load();
    EXPECT_EQ(window.restored, (Position{-4, 100, 800, 600})) << "-4 is a coordinate";
    EXPECT_EQ(window.restoreCalls, 1);

    PutInteger("MainTop", -5);
    Load();
    EXPECT_FALSE(window.restored) << "the same for the top";
    PutInteger("MainTop", INT_MIN);
    Load();
    EXPECT_FALSE(window.restored);

    PutInteger("MainTop", 0);
    PutInteger("MainWidth", -5);
    PutInteger("MainHeight", -4);
    Load();
    EXPECT_EQ(window.restored, (Position{-4, 0, std::nullopt, -4})) << "design width, stored height";
}

TEST_P(SettingsStore, WindowClosedMaximizedOpensMaximizedOverItsNormalRectangle) {
    window.placement = SettingsPlacement{50, 60, 850, 660, true};
    window.widths = {40, 1, 2, 3, 4, 5, 6, 7, 8, 0};
    Save(TSettings{});
    EXPECT_EQ(Stored("MainLeft")->data, EncodeDWord(50));
    EXPECT_EQ(Stored("MainTop")->data, EncodeDWord(60));
    EXPECT_EQ(Stored("MainWidth")->data, EncodeDWord(800));
    EXPECT_EQ(Stored("MainHeight")->data, EncodeDWord(600));
    EXPECT_EQ(Stored("MainMaximized")->data, kDWord1);

    Load();
    EXPECT_EQ(window.restored, (Position{50, 60, 800, 600}));
    EXPECT_TRUE(window.maximized);
    const std::array<std::optional<int32_t>, 10> widths{40, 1, 2, 3, 4, 5, 6, 7, 8, 0};
    EXPECT_EQ(window.widthsSet, widths);

    window.placement = SettingsPlacement{-4, 0, 1036, 768, false};
    Save(TSettings{});
    Load();
    EXPECT_EQ(window.restored, (Position{-4, 0, 1040, 768}));
    EXPECT_FALSE(window.maximized);
}

TEST_P(SettingsStore, PlacementThatCannotBeHadLeavesTheStoredOne) {
    window.placement = SettingsPlacement{10, 20, 110, 220, true};
    Save(TSettings{});
    window.placement.reset();
    TSettings s;
    s.ShowForm = true;
    Save(s);
    EXPECT_EQ(Stored("ShowForm")->data, kDWord1) << "the rest is saved";
    Load();
    EXPECT_EQ(window.restored, (Position{10, 20, 100, 200}));
    EXPECT_TRUE(window.maximized);
}

// The size is restored with the DPI it was measured at, so that the window can scale it to
// today's; a placement stored before the DPI was kept (or with a damaged one) was at 96.
TEST_P(SettingsStore, PlacementIsRestoredWithTheDpiItWasStoredAt) {
    PutInteger("MainLeft", 10);
    PutInteger("MainTop", 20);
    PutInteger("MainWidth", 1200);
    PutInteger("MainHeight", 840);
    Load();
    EXPECT_EQ(window.restored, (Position{10, 20, 1200, 840, 96})) << "stored before the DPI was kept";

    const struct {
        RegType type;
        std::string data;
    } notADpi[] = {{RegType::DWord, EncodeDWord(0)}, {RegType::DWord, EncodeDWord(static_cast<uint32_t>(-96))},
                   {RegType::Sz, "144\0"s}};
    for (const auto& c : notADpi) {
        Put("PlacementDpi", c.type, c.data);
        const TSettings s = Load();
        EXPECT_EQ(window.restored, (Position{10, 20, 1200, 840, 96}));
        EXPECT_EQ(s.ToolButtonSize, 1) << "loading goes on";
        EXPECT_EQ(window.typeButtonsDown, kAllDown);
    }

    window.placement = SettingsPlacement{10, 20, 1210, 860, false, 144};
    Save(TSettings{});
    EXPECT_EQ(Stored("PlacementDpi")->data, EncodeDWord(144));
    Load();
    EXPECT_EQ(window.restored, (Position{10, 20, 1200, 840, 144}));
}

TEST_P(SettingsStore, ColumnWidthsAreAppliedOneByOneWhenStored) {
    PutInteger("ColWidth0", 40);
    PutInteger("ColWidth9", -20);
    PutInteger("ColWidth10", 77);  // the grid has ten columns
    PutInteger("ColWidth03", 55);  // not a name that is ever written
    Load();
    std::array<std::optional<int32_t>, 10> expected{};
    expected[0] = 40;
    expected[9] = -20;
    EXPECT_EQ(window.widthsSet, expected);
}

TEST_P(SettingsStore, ToolButtonSizeOtherThanZeroOrOneLoadsAsOne) {
    for (int32_t stored : {7, -1, 2, INT_MIN, INT_MAX}) {
        PutInteger("ToolButtonSize", stored);
        EXPECT_EQ(Load().ToolButtonSize, 1) << stored;
    }
    PutInteger("ToolButtonSize", 0);
    EXPECT_EQ(Load().ToolButtonSize, 0);
}

TEST_P(SettingsStore, ValuesAreReadLiterallyAndSigned) {
    Put("LastFileSaved", RegType::ExpandSz, "%TEMP%\\list.txt\0"s);
    Put("LanguageObjectDesigner", RegType::Sz, "Designer\0junk\0"s);
    Put("LanguageSelectAllShortcut", RegType::Sz, "Strg+A");  // not terminated
    PutInteger("ShowTable", 2);
    PutInteger("HideSystemObjects", -1);
    PutInteger("ShowForm", 0);
    PutInteger("CheckForUpdatesDays", -3);
    const TSettings s = Load();
    EXPECT_EQ(s.LastFileSaved, "%TEMP%\\list.txt") << "not expanded";
    EXPECT_EQ(s.LanguageObjectDesigner, "Designer");
    EXPECT_EQ(s.LanguageSelectAllShortcut, "Strg+A");
    EXPECT_TRUE(s.ShowTable);
    EXPECT_TRUE(s.HideSystemObjects);
    EXPECT_FALSE(s.ShowForm);
    EXPECT_EQ(s.CheckForUpdatesDays, -3);
    EXPECT_TRUE(window.hideSystemObjectsChecked);
    EXPECT_FALSE(window.typeButtonsDown[2]);
    EXPECT_TRUE(window.typeButtonsDown[1]);

    Save(s);
    EXPECT_EQ(Stored("ShowTable")->data, kDWord1) << "booleans are written as 0 or 1";
    EXPECT_EQ(Stored("HideSystemObjects")->data, kDWord1);
    EXPECT_EQ(Stored("LastFileSaved")->type, RegType::Sz);
}

TEST_P(SettingsStore, WrongTypeEndsLoadingAtThatValue) {
    PutString("LastFileSaved", "C:\\lists\\a.txt");
    PutInteger("MainLeft", 10);
    PutInteger("MainTop", 20);
    PutInteger("ColWidth2", 99);
    PutInteger("ShowTableData", 0);
    PutInteger("ShowTable", 0);
    PutString("ShowForm", "1");
    PutInteger("ShowReport", 0);
    PutInteger("CheckForUpdatesDays", 7);
    PutString("LanguageObjectDesigner", "OD");
    PutInteger("ToolButtonSize", 0);
    TSettings s = Load();
    EXPECT_EQ(s.LastFileSaved, "C:\\lists\\a.txt");
    EXPECT_EQ(window.restored, (Position{10, 20, std::nullopt, std::nullopt}));
    EXPECT_EQ(window.widthsSet[2], 99);
    EXPECT_FALSE(s.ShowTableData);
    EXPECT_FALSE(s.ShowTable);
    EXPECT_TRUE(s.ShowForm) << "the failing value keeps its default";
    EXPECT_TRUE(s.ShowReport) << "later values are not read";
    EXPECT_EQ(s.CheckForUpdatesDays, 30);
    EXPECT_EQ(s.LanguageObjectDesigner, "") << "captions are empty until their step";
    EXPECT_EQ(s.LanguageFieldFilterType, "");
    EXPECT_EQ(s.ToolButtonSize, 1);
    EXPECT_EQ(window.typeButtonsDown, kAllReleased);
    EXPECT_FALSE(window.hideSystemObjectsChecked);

    // A DWORD that is not four bytes is as wrong as a string.
    PutInteger("ShowForm", 1);
    Put("CheckForUpdatesDays", RegType::DWord, "\x07\0"s);
    PutInteger("SortByFile", 1);
    s = Load();
    EXPECT_FALSE(s.ShowReport) << "now read";
    EXPECT_EQ(s.CheckForUpdatesDays, 30);
    EXPECT_FALSE(s.SortByFile);
    EXPECT_EQ(window.typeButtonsDown, kAllReleased);
}

TEST_P(SettingsStore, WrongTypeBeforeTheDefaultsLeavesTheZeroRecord) {
    PutString("LastFileSaved", "kept.txt");
    PutInteger("MainTop", 20);
    Put("MainLeft", RegType::Binary, EncodeDWord(10));
    PutInteger("ShowTable", 1);
    PutInteger("ToolButtonSize", 1);
    TSettings zero;
    zero.LastFileSaved = "kept.txt";
    EXPECT_EQ(Load(), zero);
    EXPECT_FALSE(window.restored);
    EXPECT_EQ(window.typeButtonsDown, kAllReleased);

    Put("LastFileSaved", RegType::DWord, kDWord1);
    EXPECT_EQ(Load(), TSettings{});
}

TEST_P(SettingsStore, DamagedLastCheckDateIsIgnoredAndLoadingGoesOn) {
    PutInteger("CheckForUpdates", 1);
    PutInteger("SortByFile", 1);
    PutInteger("IntelligentObjectMarking", 1);
    for (const auto& [type, data] : {std::pair{RegType::DWord, EncodeDWord(45000)},
                                     std::pair{RegType::Binary, EncodeDWord(45000)},
                                     std::pair{RegType::Binary, kDate45000 + "\0"s},
                                     std::pair{RegType::Sz, "45000\0"s}}) {
        Put("CheckForUpdatesLastDate", type, data);
        const TSettings s = Load();
        EXPECT_EQ(s.CheckForUpdatesLastDate, 0.0) << data.size();
        EXPECT_TRUE(s.CheckForUpdates);
        EXPECT_TRUE(s.SortByFile);
        EXPECT_TRUE(s.IntelligentObjectMarking);
        EXPECT_EQ(window.typeButtonsDown, kAllDown);
    }
    Put("CheckForUpdatesLastDate", RegType::Binary, kDate45000);
    EXPECT_EQ(Load().CheckForUpdatesLastDate, 45000.0);
}

TEST_P(SettingsStore, SavedRecordLoadsBackWithEncodingsOfItsKinds) {
    TSettings s;  // every field away from its default
    s.LastFileSaved = std::string(3000, 'x') + "\\list.txt";
    s.ShowTableData = false;
    s.ShowTable = true;
    s.ShowQuery = true;
    s.HideSystemObjects = true;
    s.CheckForUpdates = true;
    s.CheckForUpdatesDays = -2;
    s.CheckForUpdatesLastDate = 45000.0;
    s.SortByFile = true;
    s.OnlyShowBoth = true;
    s.LanguageObjectDesigner = "Objekt-Designer";
    s.LanguageFieldFilterType = "Art - Feldfilter";
    s.LanguageFieldFilterID = "";
    s.LanguageSelectAllShortcut = "Strg+A";
    s.ToolButtonSize = 0;
    s.IntelligentObjectMarking = true;
    s.CompareContent = true;
    s.DiffWindowWidth = 900;
    s.DiffWindowHeight = 700;
    Save(s);

    EXPECT_EQ(Stored("CheckForUpdatesLastDate")->type, RegType::Binary);
    EXPECT_EQ(Stored("CheckForUpdatesLastDate")->data, kDate45000);
    EXPECT_EQ(Stored("CheckForUpdatesDays")->data, "\xFE\xFF\xFF\xFF"s);
    EXPECT_EQ(Stored("ShowTable")->type, RegType::DWord);
    EXPECT_EQ(Stored("ShowTable")->data, kDWord1);
    EXPECT_EQ(Stored("ShowForm")->data, kDWord0);
    EXPECT_EQ(Stored("LanguageFieldFilterID")->type, RegType::Sz);

    EXPECT_EQ(Load(kDanish), s);
    EXPECT_EQ(window.typeButtonsDown,
              (std::array<bool, 10>{false, true, false, false, false, false, false, false, false, true}));
    EXPECT_TRUE(window.hideSystemObjectsChecked);
}

TEST_P(SettingsStore, EmptyTextsAreWritten) {
    PutString("LastFileSaved", "old.txt");
    Save(TSettings{});
    const auto last = Stored("LastFileSaved");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->type, RegType::Sz);
    EXPECT_EQ(last->data, "\0"s);
    EXPECT_EQ(Load().LastFileSaved, "");
}

class MemoryBackend final : public SettingsBackend {
public:
    explicit MemoryBackend(std::string key) : key_(std::move(key)) {}
    Registry& Store() override { return store_; }
    const std::string& KeyPath() const override { return key_; }
    bool KeyExists() const override { return store_.KeyExists(key_); }

private:
    MemoryRegistry store_;
    std::string key_;
};

std::unique_ptr<SettingsBackend> MakeMemoryBackend(const std::string& testName) {
    return std::make_unique<MemoryBackend>("\\Software\\Test\\" + testName);
}

INSTANTIATE_TEST_SUITE_P(Memory, SettingsStore, ::testing::Values(&MakeMemoryBackend),
                         [](const auto&) { return std::string("InMemory"); });

// ---- The in-memory store's failure points, and the order of values ----------------------------

const std::vector<std::string> kValueNamesInOrder{
    "ShowTableData", "ShowTable", "ShowForm", "ShowReport", "ShowDataport", "ShowCodeunit",
    "ShowXMLport", "ShowMenuSuite", "ShowPage", "ShowQuery", "HideSystemObjects",
    "CheckForUpdates", "CheckForUpdatesDays", "CheckForUpdatesLastDate", "SortByFile",
    "OnlyShowBoth", "LanguageObjectDesigner", "LanguageFieldFilterType", "LanguageFieldFilterID",
    "LanguageSelectAllShortcut", "ToolButtonSize", "IntelligentObjectMarking", "CompareContent",
    "DiffWindowWidth", "DiffWindowHeight", "MergeOriginal", "MergeModified", "MergeTarget", "MergeResult",
    "MergeOneFilePerObject", "MergeWindowWidth", "MergeWindowHeight"};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kColumnNames{"ColWidth0", "ColWidth1", "ColWidth2", "ColWidth3",
                                            "ColWidth4", "ColWidth5", "ColWidth6", "ColWidth7",
                                            "ColWidth8", "ColWidth9"};

TEST(SettingsMemory, LoadsAndSavesTheKeyForReadingAndWritingInAFixedOrder) {
    MemoryRegistry store;
    FakeSettingsWindow window;
    TSettings s;
    LoadSettings(s, window, store, 0x0409);
    EXPECT_TRUE(store.KeyExists("Software\\Brenvik\\Kavlo"));
    EXPECT_EQ(store.LastAccess(), 0x2001Fu);
    EXPECT_EQ(store.Reads(),
              Concat(Concat({"LastFileSaved", "MainTop", "MainLeft", "MainWidth", "MainHeight",
                             "PlacementDpi", "MainMaximized"},
                            kColumnNames),
                     kValueNamesInOrder));
    EXPECT_TRUE(store.Writes().empty());

    store.ClearLogs();
    window.placement = SettingsPlacement{1, 2, 3, 4, false};
    SaveSettings(s, window, store);
    EXPECT_EQ(store.LastAccess(), 0x2001Fu);
    EXPECT_EQ(store.Writes(),
              Concat(Concat({"LastFileSaved", "MainLeft", "MainTop", "MainWidth", "MainHeight",
                             "MainMaximized", "PlacementDpi"},
                            kColumnNames),
                     kValueNamesInOrder));
}

TEST(SettingsMemory, KeyThatCannotBeOpenedLoadsAndSavesNothing) {
    MemoryRegistry store;
    FakeSettingsWindow window;
    window.placement = SettingsPlacement{1, 2, 3, 4, true};
    store.FailOpen();
    TSettings s;
    LoadSettings(s, window, store, 0x0406);
    EXPECT_EQ(s, TSettings{}) << "zero record: small buttons, no captions, no types";
    EXPECT_FALSE(window.restored);
    EXPECT_EQ(window.typeButtonsDown, kAllReleased);
    EXPECT_TRUE(store.Reads().empty());

    s.ShowForm = true;
    SaveSettings(s, window, store);
    EXPECT_TRUE(store.Writes().empty());
    EXPECT_FALSE(store.KeyExists(kSettingsKeyPath));
}

TEST(SettingsMemory, FailingReadEndsLoadingExceptForTheLastCheckDate) {
    MemoryRegistry store;
    {
        auto key = store.OpenOrCreateKey(kSettingsKeyPath, kKeyReadWrite);
        WriteBool(*key, "CheckForUpdates", true);
        WriteDate(*key, "CheckForUpdatesLastDate", 45000.0);
        WriteBool(*key, "SortByFile", true);
        WriteBool(*key, "OnlyShowBoth", true);
    }
    FakeSettingsWindow window;
    TSettings s;
    store.FailReadAt("sortbyfile");  // names match in any case
    LoadSettings(s, window, store, 0x0409);
    EXPECT_TRUE(s.CheckForUpdates);
    EXPECT_EQ(s.CheckForUpdatesLastDate, 45000.0);
    EXPECT_FALSE(s.SortByFile);
    EXPECT_FALSE(s.OnlyShowBoth);
    EXPECT_EQ(window.typeButtonsDown, kAllReleased);

    store.FailReadAt("CheckForUpdatesLastDate");
    s = TSettings{};
    window = FakeSettingsWindow{};
    LoadSettings(s, window, store, 0x0409);
    EXPECT_EQ(s.CheckForUpdatesLastDate, 0.0);
    EXPECT_TRUE(s.SortByFile);
    EXPECT_TRUE(s.OnlyShowBoth);
    EXPECT_EQ(window.typeButtonsDown, kAllDown);
}

TEST(SettingsMemory, FailingWriteEndsSavingThere) {
    MemoryRegistry store;
    FakeSettingsWindow window;
    window.placement = SettingsPlacement{1, 2, 3, 4, false};
    store.FailWriteAt("ColWidth3");
    TSettings s;
    s.ShowTableData = true;
    EXPECT_NO_THROW(SaveSettings(s, window, store));
    EXPECT_EQ(store.Writes().back(), "ColWidth3");
    EXPECT_TRUE(store.Peek(kSettingsKeyPath, "ColWidth2"));
    EXPECT_FALSE(store.Peek(kSettingsKeyPath, "ColWidth3"));
    EXPECT_FALSE(store.Peek(kSettingsKeyPath, "ShowTableData"));
}

}  // namespace
}  // namespace kavlo::testing
