// Loading and saving the settings record and the window's placement and column widths.
#include "settings/settings.h"

#include <variant>

namespace kavlo {

namespace {

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

// The values of the record that pass between one field and one registry value, in the order
// they are read and written (a failure stops both at the failing value).
struct SettingsValue {
    std::string_view name;
    std::variant<bool TSettings::*, int32_t TSettings::*, double TSettings::*, std::string TSettings::*> field;
    // A string absent from the registry takes this text (the second for the Danish language).
    std::string_view absentText = {}, absentTextDanish = {};
    // An integer read from the registry is put right by this, where it is given.
    int32_t (*normalise)(int32_t) = nullptr;
};

int32_t ToolButtonSizeOf(int32_t stored) { return stored == 0 || stored == 1 ? stored : 1; }

constexpr SettingsValue kSettingsValues[] = {
    {"ShowTableData", &TSettings::ShowTableData},
    {"ShowTable", &TSettings::ShowTable},
    {"ShowForm", &TSettings::ShowForm},
    {"ShowReport", &TSettings::ShowReport},
    {"ShowDataport", &TSettings::ShowDataport},
    {"ShowCodeunit", &TSettings::ShowCodeunit},
    {"ShowXMLport", &TSettings::ShowXMLport},
    {"ShowMenuSuite", &TSettings::ShowMenuSuite},
    {"ShowPage", &TSettings::ShowPage},
    {"ShowQuery", &TSettings::ShowQuery},
    {"HideSystemObjects", &TSettings::HideSystemObjects},
    {"CheckForUpdates", &TSettings::CheckForUpdates},
    {"CheckForUpdatesDays", &TSettings::CheckForUpdatesDays},
    {"CheckForUpdatesLastDate", &TSettings::CheckForUpdatesLastDate},
    {"SortByFile", &TSettings::SortByFile},
    {"OnlyShowBoth", &TSettings::OnlyShowBoth},
    // A stored caption wins even when it is empty; only an absent one takes the default.
    {"LanguageObjectDesigner", &TSettings::LanguageObjectDesigner, "Object Designer", "Object Designer"},
    {"LanguageFieldFilterType", &TSettings::LanguageFieldFilterType, "Type - Field Filter", "Type - Feltfilter"},
    {"LanguageFieldFilterID", &TSettings::LanguageFieldFilterID, "ID - Field Filter", "ID - Feltfilter"},
    {"LanguageSelectAllShortcut", &TSettings::LanguageSelectAllShortcut, "Ctrl+A", "Ctrl+A"},
    {"ToolButtonSize", &TSettings::ToolButtonSize, {}, {}, ToolButtonSizeOf},
    {"IntelligentObjectMarking", &TSettings::IntelligentObjectMarking},
    {"CompareContent", &TSettings::CompareContent},
    {"DiffWindowWidth", &TSettings::DiffWindowWidth},
    {"DiffWindowHeight", &TSettings::DiffWindowHeight},
    {"MergeOriginal", &TSettings::MergeOriginal},
    {"MergeModified", &TSettings::MergeModified},
    {"MergeTarget", &TSettings::MergeTarget},
    {"MergeResult", &TSettings::MergeResult},
    {"MergeOneFilePerObject", &TSettings::MergeOneFilePerObject},
    {"MergeWindowWidth", &TSettings::MergeWindowWidth},
    {"MergeWindowHeight", &TSettings::MergeWindowHeight},
};

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

void ReadValue(RegistryKey& key, const SettingsValue& v, TSettings& s, bool danish) {
    std::visit(Overloaded{
                   [&](bool TSettings::*field) {
                       if (auto b = ReadBool(key, v.name)) s.*field = *b;
                   },
                   [&](int32_t TSettings::*field) {
                       if (auto n = ReadInteger(key, v.name)) s.*field = *n;
                       if (v.normalise) s.*field = v.normalise(s.*field);
                   },
                   [&](double TSettings::*field) {
                       // A damaged date costs at most an early update check, so it does not end
                       // loading.
                       try {
                           if (auto d = ReadDate(key, v.name)) s.*field = *d;
                       } catch (const ERegistryError&) {
                           s.*field = 0.0;
                       }
                   },
                   [&](std::string TSettings::*field) {
                       auto text = ReadString(key, v.name);
                       s.*field = text ? std::move(*text) : std::string(danish ? v.absentTextDanish : v.absentText);
                   },
               },
               v.field);
}

void WriteValue(RegistryKey& key, const SettingsValue& v, const TSettings& s) {
    std::visit(Overloaded{
                   [&](bool TSettings::*field) { WriteBool(key, v.name, s.*field); },
                   [&](int32_t TSettings::*field) { WriteInteger(key, v.name, s.*field); },
                   [&](double TSettings::*field) { WriteDate(key, v.name, s.*field); },
                   [&](std::string TSettings::*field) { WriteString(key, v.name, s.*field); },
               },
               v.field);
}

// Every field but LastFileSaved at its default, the four captions empty: the captions take
// their defaults only when they are reached, so a failure before them leaves them empty. Each
// field of the list starts zero, false or empty; these are the defaults that are not.
void SetDefaults(TSettings& s) {
    for (const SettingsValue& v : kSettingsValues) std::visit([&](auto field) { s.*field = {}; }, v.field);
    for (bool TSettings::*show : kShowTypeFields) s.*show = true;
    s.CheckForUpdatesDays = 30;
    s.ToolButtonSize = 1;
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
    const bool danish = languageId == kDanishLanguageId;
    for (const SettingsValue& v : kSettingsValues) ReadValue(key, v, s, danish);

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

    for (const SettingsValue& v : kSettingsValues) WriteValue(key, v, s);
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
