// The raster canvas: shapes, the pixel fonts, colour mixing, and the BMP files.
#include "raster/canvas.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace kavlo {
namespace {

TEST(ToolbarCanvas, RectanglesOnWholeUnitsAreSharpAndOutlinesOnePixelWide) {
    Canvas c(32, 32);  // two pixels per unit
    c.Rect(2, 2, 6, 5, 0xFF00FF00, 0xFF0000FF);
    const Image& img = c.Peek();
    EXPECT_EQ(img.At(3, 3), 0u);          // outside
    EXPECT_EQ(img.At(4, 4), 0xFF0000FFu);  // the outline: the first pixel row and column
    EXPECT_EQ(img.At(5, 5), 0xFF00FF00u);  // inside
    EXPECT_EQ(img.At(11, 9), 0xFF0000FFu);  // last column and row
    EXPECT_EQ(img.At(10, 8), 0xFF00FF00u);
    EXPECT_EQ(img.At(12, 5), 0u);
    EXPECT_EQ(img.At(5, 10), 0u);
}

TEST(ToolbarCanvas, EdgesBetweenPixelsAreBlended) {
    Canvas c(16, 16);
    c.Rect(1.5, 0, 3, 1, 0xFFFF0000);
    const uint32_t half = c.Peek().At(1, 0);
    EXPECT_NEAR(AlphaOf(half), 128, 2);
    EXPECT_EQ(half & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(c.Peek().At(2, 0), 0xFFFF0000u);
    // A disc: its centre is solid, a point beyond its radius untouched, the rim in between.
    Canvas d(16, 16);
    d.Circle(8, 8, 4, 0xFF000000);
    EXPECT_EQ(AlphaOf(d.Peek().At(8, 8)), 255);
    EXPECT_EQ(d.Peek().At(8, 13), 0u);
    const int rim = AlphaOf(d.Peek().At(10, 10));  // the pixel the circle crosses diagonally
    EXPECT_GT(rim, 0);
    EXPECT_LT(rim, 255);
}

TEST(ToolbarCanvas, PolygonsFillTheirInsideOnly) {
    Canvas c(16, 16);
    c.Polygon({{0, 0}, {16, 0}, {0, 16}}, 0xFF112233);  // the top-left half
    EXPECT_EQ(c.Peek().At(2, 2), 0xFF112233u);
    EXPECT_EQ(c.Peek().At(13, 13), 0u);
    EXPECT_NEAR(AlphaOf(c.Peek().At(7, 8)), 128, 40);  // on the diagonal
}

TEST(ToolbarCanvas, EraseCircleMakesAHole) {
    Canvas c(16, 16);
    c.Rect(0, 0, 16, 16, 0xFF808080);
    c.EraseCircle(8, 8, 3);
    EXPECT_EQ(c.Peek().At(8, 8), 0u);
    EXPECT_EQ(c.Peek().At(1, 1), 0xFF808080u);
}

TEST(ToolbarCanvas, TextIsDrawnFromTheFontAtItsScale) {
    Canvas c(20, 20);
    c.Text(1, 2, "T", kFont5x7, 0xFFFFFFFF, 2);
    const Image& img = c.Peek();
    // The bar of the T: font row 0, columns 0..4, two pixels each way.
    for (int x = 1; x < 11; ++x) EXPECT_EQ(img.At(x, 2), 0xFFFFFFFFu) << x;
    EXPECT_EQ(img.At(11, 2), 0u);
    EXPECT_EQ(img.At(5, 15), 0xFFFFFFFFu);  // the stem, last row
    EXPECT_EQ(img.At(1, 15), 0u);
    EXPECT_EQ(img.At(5, 16), 0u);
    EXPECT_THROW(c.Text(0, 0, "~", kFont5x7, 0xFFFFFFFF), std::invalid_argument);
    EXPECT_EQ(kFont5x7.TextWidth("TD"), 11);
    EXPECT_EQ(kFont3x5.TextWidth("all"), 7);
    EXPECT_EQ(kFont5x7.TextWidth(""), 0);
}

TEST(ToolbarCanvas, TextWithHaloRingsTheInk) {
    Canvas c(10, 10);
    c.TextWithHalo(2, 2, "l", kFont3x5, 0xFF000000, 0xFFFFFFFF);
    EXPECT_EQ(c.Peek().At(2, 2), 0xFF000000u);
    EXPECT_EQ(c.Peek().At(1, 2), 0xFFFFFFFFu);
    EXPECT_EQ(c.Peek().At(3, 7), 0xFFFFFFFFu);  // diagonal below the foot
    EXPECT_EQ(c.Peek().At(4, 4), 0u);
}

TEST(ToolbarCanvas, FontsAreWellFormed) {
    for (const PixelFont* font : {&kFont5x7, &kFont3x5}) {
        std::set<char> seen;
        for (const PixelGlyph& g : font->glyphs) {
            EXPECT_TRUE(seen.insert(g.c).second) << "twice: " << g.c;
            ASSERT_EQ(static_cast<int>(g.rows.size()), font->height) << g.c;
            bool ink = false;
            for (const std::string& row : g.rows) {
                EXPECT_EQ(static_cast<int>(row.size()), g.Width()) << g.c;
                EXPECT_EQ(row.find_first_not_of("#."), std::string::npos) << g.c;
                ink |= row.find('#') != std::string::npos;
            }
            EXPECT_TRUE(ink) << g.c;
        }
    }
    for (char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZal")) EXPECT_NE(kFont5x7.Find(c), nullptr) << c;
}

TEST(ToolbarCanvas, OverAndShade) {
    EXPECT_EQ(Over(0xFF123456, 0xFFABCDEF), 0xFF123456u);
    EXPECT_EQ(Over(0x00123456, 0xFFABCDEF), 0xFFABCDEFu);
    EXPECT_EQ(Over(0, 0), 0u);
    const uint32_t half = Over(0x80FFFFFF, 0xFF000000);
    EXPECT_EQ(AlphaOf(half), 255);
    EXPECT_NEAR(RedOf(half), 128, 1);
    EXPECT_EQ(Shade(0xFF808080, -1), 0xFF000000u);
    EXPECT_EQ(Shade(0x80808080, 1), 0x80FFFFFFu);
    EXPECT_EQ(Shade(0xFF204060, 0), 0xFF204060u);
}

// The BMP files.

TEST(ToolbarBmp, HeaderRowsAndPaddingAreWhatWindowsReads) {
    Image img(3, 2);
    img.At(0, 0) = 0xFF010203;  // top-left
    img.At(2, 1) = 0xFFA0B0C0;  // bottom-right
    img.At(1, 1) = 0x00FFFFFF;  // transparent: shows the matte
    const std::string bmp = EncodeBmp24(img, 0xFF336699);
    const size_t stride = 12;  // 3 pixels × 3 bytes, padded to 4
    ASSERT_EQ(bmp.size(), 54 + 2 * stride);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    auto le = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bmp[at + static_cast<size_t>(i)]);
        return v;
    };
    EXPECT_EQ(le(2, 4), bmp.size());
    EXPECT_EQ(le(10, 4), 54u);
    EXPECT_EQ(le(14, 4), 40u);
    EXPECT_EQ(le(18, 4), 3u);
    EXPECT_EQ(le(22, 4), 2u);  // bottom-up
    EXPECT_EQ(le(28, 2), 24u);
    EXPECT_EQ(le(30, 4), 0u);  // BI_RGB
    // The first row in the file is the image's bottom row, pixels as B, G, R.
    EXPECT_EQ(le(54 + 6, 3), 0xA0B0C0u);
    EXPECT_EQ(le(54 + 3, 3), 0x336699u);
    EXPECT_EQ(le(54 + stride, 3), 0x010203u);
    EXPECT_EQ(le(54 + 9, 3), 0u);  // padding
}

TEST(ToolbarBmp, DecodeReadsBackWhatEncodeWrote) {
    // An opaque image with a row width that needs padding: a white 2 on a blue square.
    Canvas c(14, 14, 14);
    c.FillPixels(0, 0, 14, 14, Opaque(0x1F5FBF));
    c.Text(5, 3, "2", kFont5x7, 0xFFFFFFFF);
    const Image marker = c.Take();
    const Image back = DecodeBmp24(EncodeBmp24(marker));
    ASSERT_EQ(back.width, 14);
    ASSERT_EQ(back.height, 14);
    EXPECT_EQ(back.argb, marker.argb);
    EXPECT_THROW(DecodeBmp24("BM"), std::runtime_error);
    std::string truncated = EncodeBmp24(marker);
    truncated.resize(truncated.size() - 10);
    EXPECT_THROW(DecodeBmp24(truncated), std::runtime_error);
    std::string eightBit = EncodeBmp24(marker);
    eightBit[28] = 8;
    EXPECT_THROW(DecodeBmp24(eightBit), std::runtime_error);
}

}  // namespace
}  // namespace kavlo
