// Loading and saving the settings record and the window's placement and column widths.
#include "settings/settings.h"

namespace kavlo {

namespace {

// The value names of ShowTableData ... ShowQuery, in object type order.
constexpr std::string_view kShowTypeNames[kObjectTypeCount] = {
    "ShowTableData", "ShowTable",    "ShowForm",      "ShowReport", "ShowDataport",
    "ShowCodeunit",  "ShowXMLport",  "ShowMenuSuite", "ShowPage",   "ShowQuery"};

// Stored coordinates of -5 and below count as absent, so -5 also stands for "not stored".
constexpr int32_t kNoCoordinate = -5;

std::string ColumnWidthName(int column) { return "ColWidth" + std::to_string(column); }

// The DPI the placement was stored at. Absent, or not a DPI at all (not above 0, or damaged),
// it is the DPI of every placement stored before it was kept: a damaged one costs at most the
// window's size, so it does not end loading.
int32_t ReadPlacementDpi(RegistryKey& key) {
    try {
        const int32_t dpi = ReadInteger(key, "PlacementDpi").value_or(kDefaultPlacementDpi);
        return dpi > 0 ? dpi : kDefaultPlacementDpi;
    } catch (const ERegistryError&) {
        return kDefaultPlacementDpi;
    }
}

void ReadBoolInto(RegistryKey& key, std::string_view name, bool& field) {
    if (auto v = ReadBool(key, name)) field = *v;
}

void ReadIntegerInto(RegistryKey& key, std::string_view name, int32_t& field) {
    if (auto v = ReadInteger(key, name)) field = *v;
}

// A stored caption wins even when it is empty; only an absent one takes the default.
void ReadLanguageText(RegistryKey& key, std::string_view name, std::string& field,
                      std::string_view defaultText) {
    auto v = ReadString(key, name);
    field = v ? std::move(*v) : std::string(defaultText);
}

// Every field but LastFileSaved at its default, the four captions empty: the captions take
// their defaults only when they are reached, so a failure before them leaves them empty.
void SetDefaults(TSettings& s) {
    for (bool TSettings::*show : kShowTypeFields) s.*show = true;
    s.HideSystemObjects = false;
    s.CheckForUpdates = false;
    s.CheckForUpdatesDays = 30;
    s.CheckForUpdatesLastDate = 0.0;
    s.SortByFile = false;
    s.OnlyShowBoth = false;
    s.LanguageObjectDesigner.clear();
    s.LanguageFieldFilterType.clear();
    s.LanguageFieldFilterID.clear();
    s.LanguageSelectAllShortcut.clear();
    s.ToolButtonSize = 1;
    s.IntelligentObjectMarking = false;
    s.CompareContent = false;
    s.DiffWindowWidth = 0;
    s.DiffWindowHeight = 0;
}

void Load(TSettings& s, SettingsWindow& window, RegistryKey& key, uint16_t languageId) {
    s.LastFileSaved = ReadString(key, "LastFileSaved").value_or(std::string());

    const int32_t top = ReadInteger(key, "MainTop").value_or(kNoCoordinate);
    const int32_t left = ReadInteger(key, "MainLeft").value_or(kNoCoordinate);
    const int32_t width = ReadInteger(key, "MainWidth").value_or(kNoCoordinate);
    const int32_t height = ReadInteger(key, "MainHeight").value_or(kNoCoordinate);
    const int32_t dpi = ReadPlacementDpi(key);
    // A size alone says nothing about where the window was: without both coordinates the
    // window stays centred at its design size.
    if (top > kNoCoordinate && left > kNoCoordinate) {
        window.RestorePosition(left, top,
                               width > kNoCoordinate ? std::optional<int32_t>(width) : std::nullopt,
                               height > kNoCoordinate ? std::optional<int32_t>(height) : std::nullopt, dpi);
    }
    if (ReadBool(key, "MainMaximized").value_or(false)) window.SetMaximized();
    const int columns = window.ColumnCount();
    for (int n = 0; n < columns; ++n) {
        if (auto w = ReadInteger(key, ColumnWidthName(n))) window.SetColumnWidth(n, *w);
    }

    SetDefaults(s);
    for (int t = 0; t < kObjectTypeCount; ++t) ReadBoolInto(key, kShowTypeNames[t], s.*kShowTypeFields[t]);
    ReadBoolInto(key, "HideSystemObjects", s.HideSystemObjects);
    ReadBoolInto(key, "CheckForUpdates", s.CheckForUpdates);
    ReadIntegerInto(key, "CheckForUpdatesDays", s.CheckForUpdatesDays);
    // A damaged date costs at most an early update check, so it does not end loading.
    try {
        if (auto d = ReadDate(key, "CheckForUpdatesLastDate")) s.CheckForUpdatesLastDate = *d;
    } catch (const ERegistryError&) {
        s.CheckForUpdatesLastDate = 0.0;
    }
    ReadBoolInto(key, "SortByFile", s.SortByFile);
    ReadBoolInto(key, "OnlyShowBoth", s.OnlyShowBoth);

    const bool danish = languageId == kDanishLanguageId;
    ReadLanguageText(key, "LanguageObjectDesigner", s.LanguageObjectDesigner, "Object Designer");
    ReadLanguageText(key, "LanguageFieldFilterType", s.LanguageFieldFilterType,
                     danish ? "Type - Feltfilter" : "Type - Field Filter");
    ReadLanguageText(key, "LanguageFieldFilterID", s.LanguageFieldFilterID,
                     danish ? "ID - Feltfilter" : "ID - Field Filter");
    ReadLanguageText(key, "LanguageSelectAllShortcut", s.LanguageSelectAllShortcut, "Ctrl+A");

    ReadIntegerInto(key, "ToolButtonSize", s.ToolButtonSize);
    if (s.ToolButtonSize != 0 && s.ToolButtonSize != 1) s.ToolButtonSize = 1;
    ReadBoolInto(key, "IntelligentObjectMarking", s.IntelligentObjectMarking);
    ReadBoolInto(key, "CompareContent", s.CompareContent);
    ReadIntegerInto(key, "DiffWindowWidth", s.DiffWindowWidth);
    ReadIntegerInto(key, "DiffWindowHeight", s.DiffWindowHeight);

    // Only a load that got this far sets the buttons; after a failure they stay released.
    for (int t = 0; t < kObjectTypeCount; ++t) window.SetTypeButtonDown(t, s.*kShowTypeFields[t]);
    window.SetHideSystemObjectsChecked(s.HideSystemObjects);
}

void Save(const TSettings& s, const SettingsWindow& window, RegistryKey& key) {
    WriteString(key, "LastFileSaved", s.LastFileSaved);

    // The restored rectangle is kept even for a maximized window, so that it opens maximized
    // again over its last normal rectangle.
    if (const auto p = window.Placement()) {
        WriteInteger(key, "MainLeft", p->left);
        WriteInteger(key, "MainTop", p->top);
        // Computed wide and kept to 32 bits, as the registry holds it, without overflowing.
        WriteInteger(key, "MainWidth",
                     static_cast<int32_t>(static_cast<uint32_t>(int64_t{p->right} - p->left)));
        WriteInteger(key, "MainHeight",
                     static_cast<int32_t>(static_cast<uint32_t>(int64_t{p->bottom} - p->top)));
        WriteBool(key, "MainMaximized", p->maximized);
        WriteInteger(key, "PlacementDpi", p->dpi);
    }
    const int columns = window.ColumnCount();
    for (int n = 0; n < columns; ++n) WriteInteger(key, ColumnWidthName(n), window.ColumnWidth(n));

    for (int t = 0; t < kObjectTypeCount; ++t) WriteBool(key, kShowTypeNames[t], s.*kShowTypeFields[t]);
    WriteBool(key, "HideSystemObjects", s.HideSystemObjects);
    WriteBool(key, "CheckForUpdates", s.CheckForUpdates);
    WriteInteger(key, "CheckForUpdatesDays", s.CheckForUpdatesDays);
    WriteDate(key, "CheckForUpdatesLastDate", s.CheckForUpdatesLastDate);
    WriteBool(key, "SortByFile", s.SortByFile);
    WriteBool(key, "OnlyShowBoth", s.OnlyShowBoth);
    WriteString(key, "LanguageObjectDesigner", s.LanguageObjectDesigner);
    WriteString(key, "LanguageFieldFilterType", s.LanguageFieldFilterType);
    WriteString(key, "LanguageFieldFilterID", s.LanguageFieldFilterID);
    WriteString(key, "LanguageSelectAllShortcut", s.LanguageSelectAllShortcut);
    WriteInteger(key, "ToolButtonSize", s.ToolButtonSize);
    WriteBool(key, "IntelligentObjectMarking", s.IntelligentObjectMarking);
    WriteBool(key, "CompareContent", s.CompareContent);
    WriteInteger(key, "DiffWindowWidth", s.DiffWindowWidth);
    WriteInteger(key, "DiffWindowHeight", s.DiffWindowHeight);
}

}  // namespace

// Registry failures are never the user's business: the program runs on with what was read,
// and a settings store that cannot be written costs only the preferences of this run.
void LoadSettings(TSettings& settings, SettingsWindow& window, Registry& registry,
                  uint16_t languageId, std::string_view keyPath) {
    try {
        const auto key = registry.OpenOrCreateKey(keyPath, kKeyReadWrite);
        Load(settings, window, *key, languageId);
    } catch (const ERegistryError&) {
    }
}

void SaveSettings(const TSettings& settings, const SettingsWindow& window, Registry& registry,
                  std::string_view keyPath) {
    try {
        const auto key = registry.OpenOrCreateKey(keyPath, kKeyReadWrite);
        Save(settings, window, *key);
    } catch (const ERegistryError&) {
    }
}

}  // namespace kavlo
