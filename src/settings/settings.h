// The user's preferences, kept from one run to the next under one registry key, and the main
// window's placement and column widths, which pass straight between the registry and the
// window. Read once while the main window is created, written once when it is destroyed.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "objfile/object_types.h"
#include "settings/registry.h"

namespace kavlo {

// Below the current user's hive.
inline constexpr std::string_view kSettingsKeyPath = "\\Software\\Brenvik\\Kavlo";

// The language identifier for which the Object Designer's captions default to Danish.
inline constexpr uint16_t kDanishLanguageId = 0x0406;

// The settings record: one field per registry value of the same name. Each comment gives the
// value's kind and the field's default when the value is absent. A record that was never
// loaded is all zero, false and empty, and so it stays when the key cannot be opened.
struct TSettings {
    std::string LastFileSaved;             // string, empty: the save-as-text dialog starts here
    bool ShowTableData = false;            // boolean, true: type buttons pressed at start...
    bool ShowTable = false;                // boolean, true
    bool ShowForm = false;                 // boolean, true
    bool ShowReport = false;               // boolean, true
    bool ShowDataport = false;             // boolean, true
    bool ShowCodeunit = false;             // boolean, true
    bool ShowXMLport = false;              // boolean, true
    bool ShowMenuSuite = false;            // boolean, true
    bool ShowPage = false;                 // boolean, true
    bool ShowQuery = false;                // boolean, true: ...in object type order
    bool HideSystemObjects = false;        // boolean, false
    bool CheckForUpdates = false;          // boolean, false: the automatic check at start
    int32_t CheckForUpdatesDays = 0;       // integer, 30: days between automatic checks
    double CheckForUpdatesLastDate = 0.0;  // date, 0.0: last check that reached a verdict
    bool SortByFile = false;               // boolean, false: start value of the comparison
    bool OnlyShowBoth = false;             // boolean, false: the same
    std::string LanguageObjectDesigner;    // string, "Object Designer"
    std::string LanguageFieldFilterType;   // string, "Type - Field Filter" ("Type - Feltfilter")
    std::string LanguageFieldFilterID;     // string, "ID - Field Filter" ("ID - Feltfilter")
    std::string LanguageSelectAllShortcut; // string, "Ctrl+A"
    int32_t ToolButtonSize = 0;            // integer, 1: 0 small, 1 large; anything else is 1
    bool IntelligentObjectMarking = false; // boolean, false
    bool CompareContent = false;           // boolean, false: the comparison dialog's "Content"
    int32_t DiffWindowWidth = 0;           // integer, 0: the last size of an "Object Differences"
    int32_t DiffWindowHeight = 0;          // integer, 0: window, in 96-DPI pixels; 0 is none
    std::string MergeOriginal;             // string, empty: the Three-Way Merge dialog's
    std::string MergeModified;             // string, empty: paths, as last run
    std::string MergeTarget;               // string, empty
    std::string MergeResult;               // string, empty
    bool MergeOneFilePerObject = false;    // boolean, false: its "One file per object"
    int32_t MergeWindowWidth = 0;          // integer, 0: the last size of a "Merge" window,
    int32_t MergeWindowHeight = 0;         // integer, 0: in 96-DPI pixels; 0 is none

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// The ShowTableData ... ShowQuery fields by object type number (0 TableData ... 9 Query).
inline constexpr bool TSettings::*kShowTypeFields[kObjectTypeCount] = {
    &TSettings::ShowTableData, &TSettings::ShowTable,    &TSettings::ShowForm,
    &TSettings::ShowReport,    &TSettings::ShowDataport, &TSettings::ShowCodeunit,
    &TSettings::ShowXMLport,   &TSettings::ShowMenuSuite, &TSettings::ShowPage,
    &TSettings::ShowQuery};

// The screen DPI of a placement stored without one: every placement was stored at 96 DPI (100 %)
// before the DPI was stored with it.
inline constexpr int32_t kDefaultPlacementDpi = 96;

// The main window's restored (normal) rectangle, in the workspace coordinates that the window
// placement gives, whether the window is maximized over it, and the screen DPI it was measured
// at (so that a later start at another DPI can scale its size).
struct SettingsPlacement {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool maximized = false;
    int32_t dpi = kDefaultPlacementDpi;
};

// What loading and saving need of the main window. Loading calls the setters only for what
// it found stored, while the window is not yet visible; what it does not call keeps the
// window's design state (centred at its design size, not maximized, design column widths,
// type buttons released, the system-object check box unchecked).
class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;

    // Leave the centred design placement for the stored one: top and left as stored, and the
    // width and height when given (otherwise the design size stays), which were measured at a
    // screen of `dpi` dots per inch.
    virtual void RestorePosition(int32_t left, int32_t top, std::optional<int32_t> width,
                                 std::optional<int32_t> height, int32_t dpi) = 0;
    virtual void SetMaximized() = 0;
    virtual int ColumnCount() const = 0;
    virtual void SetColumnWidth(int column, int32_t width) = 0;
    // type: 0 TableData ... 9 Query.
    virtual void SetTypeButtonDown(int type, bool down) = 0;
    virtual void SetHideSystemObjectsChecked(bool checked) = 0;

    // nullopt when the placement cannot be had; the stored one is then left as it is.
    virtual std::optional<SettingsPlacement> Placement() const = 0;
    virtual int32_t ColumnWidth(int column) const = 0;
};

// Fills the record from the store and applies the stored window values. Never fails: a key
// that cannot be opened leaves everything as it is, and a value that cannot be read ends
// loading there (what was read before stays). languageId is the user's default language; it
// picks the default captions of the Object Designer.
void LoadSettings(TSettings& settings, SettingsWindow& window, Registry& registry,
                  uint16_t languageId, std::string_view keyPath = kSettingsKeyPath);

// Writes every value, changed or not: the record (not the controls it set at start), the
// window placement and the column widths. Never fails: saving ends silently at the first
// value that cannot be written.
void SaveSettings(const TSettings& settings, const SettingsWindow& window, Registry& registry,
                  std::string_view keyPath = kSettingsKeyPath);

// The user's default language identifier (GetUserDefaultLangID on Windows; English, 0x0409,
// in the native build, which has no such setting).
uint16_t UserDefaultLanguageId();

}  // namespace kavlo
