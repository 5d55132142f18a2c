// The toolbar images and file markers drawn in code.
#include "app/toolbar_art.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>

namespace kavlo {
namespace {

constexpr int kSizes[] = {kToolbarSmall, 24, kToolbarLarge, 48};

int CountIf(const Image& image, bool (*pred)(uint32_t)) {
    return static_cast<int>(std::count_if(image.argb.begin(), image.argb.end(), pred));
}

// How many pixels of two images, each seen over white, differ clearly (a channel by more than 48).
int DifferingPixels(const Image& a, const Image& b) {
    int n = 0;
    for (size_t k = 0; k < a.argb.size(); ++k) {
        const uint32_t x = Over(a.argb[k], 0xFFFFFFFF), y = Over(b.argb[k], 0xFFFFFFFF);
        const int d = std::max({std::abs(RedOf(x) - RedOf(y)), std::abs(GreenOf(x) - GreenOf(y)),
                                std::abs(BlueOf(x) - BlueOf(y))});
        n += d > 48;
    }
    return n;
}

TEST(ToolbarArt, EveryImageHasItsSizeIsDrawnAndHasATransparentBackground) {
    for (int size : kSizes) {
        for (int i = 0; i < kToolbarImageCount; ++i) {
            SCOPED_TRACE(std::string(ToolbarImageName(i)) + " at " + std::to_string(size));
            const Image img = ToolbarImage(i, size);
            ASSERT_EQ(img.width, size);
            ASSERT_EQ(img.height, size);
            ASSERT_EQ(img.argb.size(), static_cast<size_t>(size * size));
            const int area = size * size;
            // Legible: at least a quarter of the square is ink; a background shows around it.
            EXPECT_GE(CountIf(img, [](uint32_t p) { return AlphaOf(p) >= 128; }), area / 4);
            EXPECT_GE(CountIf(img, [](uint32_t p) { return AlphaOf(p) == 0; }), area / 8);
            // Transparent pixels carry no colour (black), as image lists with a mask expect.
            EXPECT_EQ(CountIf(img, [](uint32_t p) { return AlphaOf(p) == 0 && p != 0; }), 0);
        }
    }
}

TEST(ToolbarArt, NoTwoImagesOfOneSizeLookAlike) {
    for (int size : kSizes) {
        std::vector<Image> all;
        for (int i = 0; i < kToolbarImageCount; ++i) all.push_back(ToolbarImage(i, size));
        for (int i = 0; i < kToolbarImageCount; ++i)
            for (int j = i + 1; j < kToolbarImageCount; ++j)
                EXPECT_GE(DifferingPixels(all[static_cast<size_t>(i)], all[static_cast<size_t>(j)]), size * size / 20)
                    << ToolbarImageName(i) << " and " << ToolbarImageName(j) << " at " << size;
    }
}

TEST(ToolbarArt, TheLargeImageIsTheSmallOneDrawnLarger) {
    // The 32-pixel image, halved, is closer to its own 16-pixel image than to any other: both
    // sizes draw the same picture under each index.
    std::vector<Image> small;
    for (int i = 0; i < kToolbarImageCount; ++i) small.push_back(ToolbarImage(i, kToolbarSmall));
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const Image halved = HalveImage(ToolbarImage(i, kToolbarLarge));
        const int own = DifferingPixels(halved, small[static_cast<size_t>(i)]);
        // Outlines and letters are one or two pixels at either size, so details differ; the
        // picture may not.
        EXPECT_LE(own, 16 * 16 * 2 / 5) << ToolbarImageName(i);
        for (int j = 0; j < kToolbarImageCount; ++j)
            if (j != i) {
                EXPECT_LT(own, DifferingPixels(halved, small[static_cast<size_t>(j)]))
                    << ToolbarImageName(i) << " vs " << ToolbarImageName(j);
            }
    }
}

TEST(ToolbarArt, ImagesAreTheSameEachTime) {
    for (int i = 0; i < kToolbarImageCount; ++i) EXPECT_EQ(ToolbarImage(i, 16).argb, ToolbarImage(i, 16).argb) << i;
}

TEST(ToolbarArt, RejectsAnIndexOrSizeItHasNoImageFor) {
    EXPECT_THROW(ToolbarImage(-1, 16), std::out_of_range);
    EXPECT_THROW(ToolbarImage(kToolbarImageCount, 16), std::out_of_range);
    EXPECT_THROW(ToolbarImage(0, 20), std::invalid_argument);
    EXPECT_THROW(ToolbarImage(0, 0), std::invalid_argument);
    EXPECT_THROW(ToolbarImageName(kToolbarImageCount), std::out_of_range);
    EXPECT_THROW(MarkerImage(0), std::out_of_range);
    EXPECT_THROW(MarkerImage(3), std::out_of_range);
}

TEST(ToolbarArt, NamesFollowTheToolbarOrder) {
    EXPECT_STREQ(ToolbarImageName(kImageClear), "Clear");
    EXPECT_STREQ(ToolbarImageName(kImageOpenFile2), "Open File 2");
    EXPECT_STREQ(ToolbarImageName(kImageTableData), "TableData");
    EXPECT_STREQ(ToolbarImageName(kImageQuery), "Query");
    EXPECT_STREQ(ToolbarImageName(kImageCompareDeleted), "Compare Deleted");
    EXPECT_STREQ(ToolbarImageName(kImageAbout), "About");
    std::set<std::string> names;
    for (int i = 0; i < kToolbarImageCount; ++i) names.insert(ToolbarImageName(i));
    EXPECT_EQ(names.size(), static_cast<size_t>(kToolbarImageCount));
}

// The colour most of an image's opaque pixels have.
uint32_t MainColour(const Image& img) {
    std::vector<uint32_t> opaque;
    for (uint32_t p : img.argb)
        if (AlphaOf(p) == 255) opaque.push_back(p);
    std::sort(opaque.begin(), opaque.end());
    uint32_t best = 0;
    size_t bestRun = 0;
    for (size_t i = 0; i < opaque.size();) {
        size_t j = i;
        while (j < opaque.size() && opaque[j] == opaque[i]) ++j;
        if (j - i > bestRun) bestRun = j - i, best = opaque[i];
        i = j;
    }
    return best;
}

TEST(ToolbarArt, TheTenObjectTypesHaveTenClearlyDifferentColours) {
    std::vector<uint32_t> colours;
    for (int t = 0; t < 10; ++t) colours.push_back(MainColour(ToolbarImage(kImageTableData + t, 16)));
    for (size_t i = 0; i < colours.size(); ++i) {
        // Dark enough to carry white letters.
        const uint32_t c = colours[i];
        EXPECT_LT((RedOf(c) * 30 + GreenOf(c) * 59 + BlueOf(c) * 11) / 100, 160) << ToolbarImageName(kImageTableData + static_cast<int>(i));
        for (size_t j = i + 1; j < colours.size(); ++j) {
            const uint32_t d = colours[j];
            const int diff = std::max({std::abs(RedOf(c) - RedOf(d)), std::abs(GreenOf(c) - GreenOf(d)),
                                       std::abs(BlueOf(c) - BlueOf(d))});
            EXPECT_GT(diff, 48) << ToolbarImageName(kImageTableData + static_cast<int>(i)) << " vs "
                                << ToolbarImageName(kImageTableData + static_cast<int>(j));
        }
    }
}

TEST(ToolbarArt, OpenFileImagesCarryTheMarkerOfTheirFile) {
    // At 32 pixels the bottom-right corner is the marker itself; at 16 a badge of its colour.
    for (int fileNo : {1, 2}) {
        const Image large = ToolbarImage(fileNo == 1 ? kImageOpenFile1 : kImageOpenFile2, 32);
        const Image marker = MarkerImage(fileNo);
        for (int y = 0; y < kMarkerSize; ++y)
            for (int x = 0; x < kMarkerSize; ++x)
                ASSERT_EQ(large.At(32 - kMarkerSize + x, 32 - kMarkerSize + y), marker.At(x, y)) << fileNo << " " << x << "," << y;
        const Image small = ToolbarImage(fileNo == 1 ? kImageOpenFile1 : kImageOpenFile2, 16);
        const uint32_t colour = fileNo == 1 ? kFile1Blue : kFile2Red;
        int inBadge = 0, white = 0;
        for (int y = 9; y < 16; ++y)
            for (int x = 9; x < 16; ++x) {
                inBadge += small.At(x, y) == colour;
                white += small.At(x, y) == 0xFFFFFFFF;
            }
        EXPECT_GE(inBadge, 30) << fileNo;
        EXPECT_GE(white, 5) << fileNo;
    }
}

// The markers as text: 'B' blue, 'R' red, 'W' white, '?' anything else.
std::vector<std::string> Picture(const Image& img) {
    std::vector<std::string> rows;
    for (int y = 0; y < img.height; ++y) {
        std::string row;
        for (int x = 0; x < img.width; ++x) {
            const uint32_t p = img.At(x, y);
            row += p == kFile1Blue ? 'B' : p == kFile2Red ? 'R' : p == 0xFFFFFFFF ? 'W' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(MarkerImage, File1IsAWhiteOneOnABlueSquareAndFile2AWhiteTwoOnARedSquare) {
    for (int fileNo : {1, 2}) {
        const Image img = MarkerImage(fileNo);
        ASSERT_EQ(img.width, 14);
        ASSERT_EQ(img.height, 14);
        const char square = fileNo == 1 ? 'B' : 'R';
        const std::vector<std::string> pic = Picture(img);
        int white = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x) {
                const char c = pic[static_cast<size_t>(y)][static_cast<size_t>(x)];
                ASSERT_TRUE(c == square || c == 'W') << fileNo << " at " << x << "," << y;
                // A margin of the square's colour all round the digit.
                if (x < 2 || y < 2 || x > 11 || y > 11) {
                    ASSERT_EQ(c, square) << fileNo << " at " << x << "," << y;
                }
                white += c == 'W';
            }
        EXPECT_GE(white, 20) << fileNo;
        EXPECT_LE(white, 50) << fileNo;
        // The dropped-file dialog adds a lime row and treats the bottom-left colour as transparent:
        // the square must not be lime.
        EXPECT_NE(img.At(0, 13) & 0xFFFFFF, 0x00FF00u);
    }
    // A "1" is a vertical stem; a "2" has a full-width foot and a bowl at the top right.
    const std::vector<std::string> one = Picture(MarkerImage(1)), two = Picture(MarkerImage(2));
    int stem = 0;
    for (int y = 2; y < 12; ++y) stem += one[static_cast<size_t>(y)][6] == 'W' && one[static_cast<size_t>(y)][7] == 'W';
    EXPECT_EQ(stem, 10);
    EXPECT_EQ(std::count(two[11].begin(), two[11].end(), 'W'), 6);
    EXPECT_EQ(two[4][9], 'W');   // right side of the bowl
    EXPECT_EQ(two[4][4], 'R');   // open on the left
    EXPECT_EQ(two[9][4], 'W');   // the diagonal reaches the bottom left
    EXPECT_EQ(one[9][4], 'B');
}

TEST(MarkerImage, TheColoursAreABlueAndARed) {
    EXPECT_GT(BlueOf(kFile1Blue), RedOf(kFile1Blue) + 100);
    EXPECT_GT(BlueOf(kFile1Blue), GreenOf(kFile1Blue) + 60);
    EXPECT_GT(RedOf(kFile2Red), GreenOf(kFile2Red) + 100);
    EXPECT_GT(RedOf(kFile2Red), BlueOf(kFile2Red) + 100);
}

TEST(ToolbarArt, DisabledImagesAreGreyFainterAndKeepTheirShape) {
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const Image img = ToolbarImage(i, 16), off = DisabledImage(img);
        ASSERT_EQ(off.argb.size(), img.argb.size());
        for (size_t k = 0; k < img.argb.size(); ++k) {
            const uint32_t p = off.argb[k];
            ASSERT_EQ(AlphaOf(img.argb[k]) == 0, AlphaOf(p) == 0) << ToolbarImageName(i);
            ASSERT_LT(AlphaOf(p), 160) << ToolbarImageName(i);
            ASSERT_TRUE(RedOf(p) == GreenOf(p) && GreenOf(p) == BlueOf(p)) << ToolbarImageName(i);
            if (AlphaOf(p)) {
                ASSERT_GE(RedOf(p), 100) << ToolbarImageName(i);
            }
        }
    }
}

}  // namespace
}  // namespace kavlo
