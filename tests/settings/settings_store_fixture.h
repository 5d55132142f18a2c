// The behavioural tests of loading and saving the settings, written once against the registry
// seam and run on every store: the in-memory one everywhere, the real registry under Wine
// (tests/win/settings_registry_test.cpp instantiates them there).
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "settings/registry.h"
#include "settings/settings.h"

namespace kavlo::testing {

// One test's store, with a key of its own that does not exist yet.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual Registry& Store() = 0;
    virtual const std::string& KeyPath() const = 0;
    virtual bool KeyExists() const = 0;
};

// Makes the store for the named test.
using SettingsBackendFactory = std::unique_ptr<SettingsBackend> (*)(const std::string& testName);

// The main window as loading and saving see it, starting in its design state.
struct FakeSettingsWindow final : SettingsWindow {
    struct Position {
        int32_t left, top;
        std::optional<int32_t> width, height;
        int32_t dpi = kDefaultPlacementDpi;
        friend bool operator==(const Position&, const Position&) = default;
        friend void PrintTo(const Position& p, std::ostream* os) {
            *os << "{left " << p.left << ", top " << p.top << ", width "
                << (p.width ? std::to_string(*p.width) : "-") << ", height "
                << (p.height ? std::to_string(*p.height) : "-") << ", dpi " << p.dpi << "}";
        }
    };
    // What loading set.
    std::optional<Position> restored;
    int restoreCalls = 0;
    bool maximized = false;
    std::array<std::optional<int32_t>, 10> widthsSet{};
    std::array<bool, 10> typeButtonsDown{};  // released at design
    bool hideSystemObjectsChecked = false;
    // What saving reads.
    std::optional<SettingsPlacement> placement;
    std::array<int32_t, 10> widths{33, 66, 66, 170, 170, 66, 66, 66, 13, 13};

    void RestorePosition(int32_t left, int32_t top, std::optional<int32_t> width,
                         std::optional<int32_t> height, int32_t dpi) override {
        restored = Position{left, top, width, height, dpi};
        ++restoreCalls;
    }
    void SetMaximized() override { maximized = true; }
    int ColumnCount() const override { return 10; }
    void SetColumnWidth(int column, int32_t width) override { widthsSet.at(column) = width; }
    void SetTypeButtonDown(int type, bool down) override { typeButtonsDown.at(type) = down; }
    void SetHideSystemObjectsChecked(bool checked) override { hideSystemObjectsChecked = checked; }
    std::optional<SettingsPlacement> Placement() const override { return placement; }
    int32_t ColumnWidth(int column) const override { return widths.at(column); }
};

class SettingsStore : public ::testing::TestWithParam<SettingsBackendFactory> {
protected:
    static constexpr uint16_t kEnglish = 0x0409;
    static constexpr uint16_t kDanish = 0x0406;

    void SetUp() override;

    // Loads into a fresh record and a fresh window (kept in `window`).
    TSettings Load(uint16_t languageId = kEnglish);
    void Save(const TSettings& settings);

    // Values put and looked at through the seam itself.
    void Put(std::string_view name, RegType type, std::string_view data);
    void PutInteger(std::string_view name, int32_t value);
    void PutString(std::string_view name, std::string_view text);
    std::optional<RegValue> Stored(std::string_view name);

    std::unique_ptr<SettingsBackend> backend;
    FakeSettingsWindow window;
};

}  // namespace kavlo::testing
