// The probe scan over captured pixels, the analysis images, the pixel read and the switch.
#include "marking/mark_probe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sim_desktop.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using testing::SimDesktop;

Pixels Area() { return Pixels(27, 80); }
void Column(Pixels& p, int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y) p.Set(x, y, kBlack);
}

TEST(ScanMarkProbe, FindsTheRunThenTheFifthDarkPixelOnItsMiddleRow) {
    struct Case {
        const char* name;
        std::function<void(Pixels&)> draw;
        std::optional<ScreenPoint> probe;
    } cases[] = {
        {"8 in column 17, none in 13", [](Pixels& p) { Column(p, 17, 10, 17); }, std::nullopt},
        {"9 from row 10, a line on row 14",
         [](Pixels& p) {
             Column(p, 17, 10, 18);
             for (int x = 18; x < 27; ++x) p.Set(x, 14, kBlack);
         },
         ScreenPoint{12, 14}},
        {"dark pixels at 17, 19, 21, 23, 25",
         [](Pixels& p) {
             Column(p, 17, 30, 38);
             for (int x : {19, 21, 23, 25}) p.Set(x, 34, kBlack);
         },
         ScreenPoint{16, 34}},
        {"a lighter pixel restarts the run",
         [](Pixels& p) {
             Column(p, 17, 10, 17);
             Column(p, 17, 19, 27);
             for (int x = 18; x < 22; ++x) p.Set(x, 23, kBlack);
         },
         ScreenPoint{12, 23}},
        {"rows above 10 do not count", [](Pixels& p) { Column(p, 17, 2, 17); }, std::nullopt},
        {"column 13 when 17 has no run",
         [](Pixels& p) {
             Column(p, 13, 40, 48);
             for (int x = 14; x < 18; ++x) p.Set(x, 44, kBlack);
         },
         ScreenPoint{8, 44}},
        {"only 4 on the row",
         [](Pixels& p) {
             Column(p, 17, 10, 18);
             for (int x = 18; x < 21; ++x) p.Set(x, 14, kBlack);
         },
         std::nullopt},
        {"not quite black is light",
         [](Pixels& p) {
             Column(p, 17, 10, 18);
             p.Set(17, 15, 0x000001);
         },
         std::nullopt},
    };
    for (Case& c : cases) {
        Pixels p = Area();
        c.draw(p);
        EXPECT_EQ(ScanMarkProbe(p, nullptr), c.probe) << c.name;
    }
}

TEST(ScanMarkProbe, SavesEachImageWithItsMarkersDrawnFirst) {
    // A run from row 10 that the purple marker at (17, 10) cuts to 8: with the images wanted
    // the scan goes on to column 13 and fails, and the first image is written all the same.
    std::vector<std::string> saved;
    Pixels cut = Area();
    Column(cut, 17, 10, 18);
    for (int x = 18; x < 27; ++x) cut.Set(x, 14, kBlack);
    EXPECT_FALSE(ScanMarkProbe(cut, [&](const char* name, const Pixels& p) {
        saved.push_back(name);
        EXPECT_EQ(p.At(17, 10), 0x800080u);
    }));
    EXPECT_EQ(saved, (std::vector<std::string>{"_test1w7.bmp", "_test2xp.bmp"}));
    EXPECT_EQ(cut.At(13, 10), 0x0000FFu);

    Pixels found = Area();
    Column(found, 17, 11, 19);
    for (int x = 18; x < 27; ++x) found.Set(x, 15, kBlack);
    ASSERT_TRUE(ScanMarkProbe(found, [](const char*, const Pixels&) {}));
    EXPECT_EQ(found.At(17, 19), 0x008000u);  // the run's end
    EXPECT_EQ(found.At(17, 15), 0xFFFF00u);  // 4 left of the fifth
    EXPECT_EQ(found.At(12, 15), 0xFF0000u);  // the probe
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FindMarkProbe, ScansTheCapturedAreaAndWritesBmpFilesWhenAsked) {
    testing::TempDir dir;
    SimDesktop d;
    // A run in screen column 217 (area column 17) and the row's black to its right.
    d.screen = [](int x, int y) -> std::optional<Color> {
        if ((x == 217 && y >= 530 && y <= 538) || (y == 534 && x >= 217 && x <= 221)) return kBlack;
        return Color{0xFFFFFF};
    };
    const ScreenRect area{200, 500, 227, 580};
    EXPECT_EQ(FindMarkProbe(d, area, {}), (ScreenPoint{212, 534}));
    EXPECT_FALSE(std::filesystem::exists(dir.File("_test1w7.bmp")));

    const std::string folder = dir.Path().string() + "/";
    EXPECT_EQ(FindMarkProbe(d, area, {true, folder}), (ScreenPoint{212, 534}));
    const std::string bmp = ReadAll(folder + "_test3.bmp");
    ASSERT_EQ(bmp.size(), 54u + 80u * 84u);  // 27 pixels of 3 bytes padded to 84 per row
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24u);  // bits per pixel
    // Bottom-up: the probe (12, 34) on file row 80 - 1 - 34, blue as blue, green, red bytes.
    const size_t at = 54 + (80 - 1 - 34) * 84 + 12 * 3;
    EXPECT_EQ(bmp.substr(at, 3), std::string("\xFF\x00\x00", 3));
    EXPECT_EQ(bmp.substr(54 + 3 * 84 + 0, 3), std::string("\xFF\xFF\xFF", 3));
    EXPECT_TRUE(std::filesystem::exists(folder + "_test1w7.bmp"));

    // An image that cannot be written, or a capture that fails: not found, nothing thrown.
    EXPECT_FALSE(FindMarkProbe(d, area, {true, folder + "missing/"}));
    d.captureFails = true;
    EXPECT_FALSE(FindMarkProbe(d, area, {}));
}

TEST(ScreenPixel, AFailedReadIsNotBlack) {
    SimDesktop d;
    d.screen = [](int x, int) -> std::optional<Color> {
        if (x < 0) return kInvalidColor;
        if (x == 0) return std::nullopt;
        return kBlack;
    };
    EXPECT_EQ(ScreenPixel(d, {5, 5}), kBlack);
    EXPECT_EQ(ScreenPixel(d, {0, 5}), 0x010203u);
    EXPECT_EQ(ScreenPixel(d, {-1, 5}), kInvalidColor);
}

TEST(SaveAnalyzeSwitch, TakesADashOrSlashInAnyCase) {
    for (const char* yes : {"-saveanalyze", "/saveanalyze", "-SaveAnalyze", "/SAVEANALYZE"})
        EXPECT_TRUE(IsSaveAnalyzeSwitch(yes)) << yes;
    for (const char* no : {"saveanalyze", "--saveanalyze", "-saveanalyzed", "\\saveanalyze", "-", "", "x.fob"})
        EXPECT_FALSE(IsSaveAnalyzeSwitch(no)) << no;
    EXPECT_TRUE(HasSaveAnalyzeSwitch({"a.fob", "/saveAnalyze"}));
    EXPECT_FALSE(HasSaveAnalyzeSwitch({"a.fob", "b.fob"}));
}

}  // namespace
}  // namespace kavlo
