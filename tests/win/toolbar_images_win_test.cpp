// The toolbar image lists and the file-marker bitmap resources, through the real comctl32/GDI.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/toolbar_images_win.h"

namespace kavlo {
namespace {

constexpr uint32_t kBackground = 0xFF00FF;  // magenta: no image uses it

// Draws image `index` of `list` on a magenta 32-bit DIB and returns its pixels (top row first,
// 0x00RRGGBB).
std::vector<uint32_t> Render(HIMAGELIST list, int index, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint32_t> out;
    if (!dc || !target || !bits) {
        ADD_FAILURE() << "no DIB section";
    } else {
        HGDIOBJ old = SelectObject(dc, target);
        uint32_t* px = static_cast<uint32_t*>(bits);
        for (int i = 0; i < size * size; ++i) px[i] = kBackground;
        EXPECT_TRUE(ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL));
        GdiFlush();
        out.assign(px, px + size * size);
        for (uint32_t& p : out) p &= 0xFFFFFF;
        SelectObject(dc, old);
    }
    if (target) DeleteObject(target);
    if (dc) DeleteDC(dc);
    return out;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

TEST(WinToolbarImages, ListsHoldTheTwentySevenImagesAtTheirSize) {
    for (int size : {16, 32}) {
        const UniqueImageList owned = CreateToolbarImageList(size);
        HIMAGELIST list = owned.get();
        ASSERT_NE(list, nullptr) << size;
        EXPECT_EQ(ImageList_GetImageCount(list), kToolbarImageCount);
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
        EXPECT_EQ(cx, size);
        EXPECT_EQ(cy, size);
    }
    EXPECT_FALSE(CreateToolbarImageList(20));
    EXPECT_FALSE(CreateToolbarImageList(0));
}

TEST(WinToolbarImages, EachImageDrawsAsDrawnUprightOverTheBackground) {
    for (int size : {16, 32}) {
        const UniqueImageList owned = CreateToolbarImageList(size);
        HIMAGELIST list = owned.get();
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < kToolbarImageCount; ++i) {
            SCOPED_TRACE(std::string(ToolbarImageName(i)) + " at " + std::to_string(size));
            const Image want = ToolbarImage(i, size);
            const std::vector<uint32_t> got = Render(list, i, size);
            ASSERT_EQ(got.size(), want.argb.size());
            int solid = 0, clear = 0, wrongSolid = 0, wrongClear = 0;
            for (size_t k = 0; k < got.size(); ++k) {
                const int alpha = AlphaOf(want.argb[k]);
                if (alpha == 255) {
                    ++solid;
                    wrongSolid += !Near(got[k], want.argb[k] & 0xFFFFFF, 3);
                } else if (alpha == 0) {
                    ++clear;
                    wrongClear += got[k] != kBackground;
                }
            }
            ASSERT_GT(solid, 0);
            ASSERT_GT(clear, 0);
            EXPECT_EQ(wrongSolid, 0);
            EXPECT_EQ(wrongClear, 0);
        }
    }
}

TEST(WinToolbarImages, TheDisabledListIsGrey) {
    const UniqueImageList owned = CreateToolbarImageList(16, ToolbarImageLook::Disabled);
    HIMAGELIST list = owned.get();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), kToolbarImageCount);
    const std::vector<uint32_t> got = Render(list, kImageOpenFile2, 16);
    const Image want = ToolbarImage(kImageOpenFile2, 16);
    int drawn = 0;
    for (size_t k = 0; k < got.size(); ++k) {
        if (AlphaOf(want.argb[k]) == 0 || got[k] == kBackground) continue;
        ++drawn;
        // Grey over magenta stays magenta-tinted where it is half transparent, but never red.
        EXPECT_LE(RedOf(got[k]), BlueOf(got[k]) + 2) << k;
    }
    EXPECT_GT(drawn, 40);
}

TEST(WinToolbarImages, MaskMarksTheTransparentPixels) {
    const Image image = ToolbarImage(kImageAbout, 16);  // a disc: transparent corners
    const UniqueBitmap owned = CreateMaskBitmap(image);
    HBITMAP mask = owned.get();
    ASSERT_NE(mask, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
}

// The marker resources, as the main window and the dropped-file dialog load them.
TEST(WinMarkerBitmaps, ResourcesAreTheDrawnMarkers) {
    for (int fileNo : {1, 2}) {
        const std::string name = "file" + std::to_string(fileNo);
        HBITMAP bmp = LoadBitmapA(GetModuleHandleA(nullptr), name.c_str());
        ASSERT_NE(bmp, nullptr) << name;
        BITMAP bm{};
        ASSERT_TRUE(GetObjectA(bmp, sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, 14);
        EXPECT_EQ(bm.bmHeight, 14);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 14;
        info.bmiHeader.biHeight = -14;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<uint32_t> px(14 * 14);
        HDC dc = GetDC(nullptr);
        EXPECT_EQ(GetDIBits(dc, bmp, 0, 14, px.data(), &info, DIB_RGB_COLORS), 14);
        ReleaseDC(nullptr, dc);
        DeleteObject(bmp);
        const Image want = MarkerImage(fileNo);
        for (int k = 0; k < 14 * 14; ++k)
            ASSERT_EQ(px[static_cast<size_t>(k)] & 0xFFFFFF, want.argb[static_cast<size_t>(k)] & 0xFFFFFF)
                << name << " pixel " << k % 14 << "," << k / 14;
    }
}

}  // namespace
}  // namespace kavlo
