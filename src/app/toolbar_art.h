// The program's own images, drawn in code: the 30 toolbar images (in toolbar order, 16 and
// 32 pixels, transparent background) and the two 14 × 14 file markers. Portable: the Win32
// image list is built from these in toolbar_images_win.h, the marker bitmaps in res/ are
// written from MarkerImage by tools/make_markers.
#pragma once

#include "raster/canvas.h"

namespace kavlo {

// Image indexes, one per toolbar button, left to right.
enum ToolbarImageIndex : int {
    kImageClear = 0,
    kImageOpenFile1,
    kImageOpenFile2,
    kImageOpenFolder1,
    kImageOpenFolder2,
    kImageTableData,  // the ten object types, in type order (type number + kImageTableData)
    kImageTable,
    kImageForm,
    kImageReport,
    kImageDataport,
    kImageCodeunit,
    kImageXMLport,
    kImageMenuSuite,
    kImagePage,
    kImageQuery,
    kImageCompareEqual,
    kImageCompareDifferent,
    kImageCompareOff,
    kImageCompareAdded,
    kImageCompareDeleted,
    kImageFilterAdd,
    kImageFilterClear,
    kImageSave,
    kImagePrint,
    kImageExcel,
    kImageMarkObjectDesigner,
    kImageMakeFilterString,
    kImageMerge,
    kImageSettings,
    kImageAbout,
};
constexpr int kToolbarImageCount = 30;
static_assert(kImageAbout + 1 == kToolbarImageCount);

// The sizes the toolbar uses at 96 DPI: small and large buttons.
constexpr int kToolbarSmall = 16;
constexpr int kToolbarLarge = 32;
// The sizes images are drawn at: the two above and, for 150 %, 24 and 48.
constexpr bool IsToolbarImageSize(int size) { return size == 16 || size == 24 || size == 32 || size == 48; }
// The drawn size nearest to `size` (a design size scaled for the DPI).
constexpr int NearestToolbarImageSize(int size) {
    int best = 16;
    for (int s : {24, 32, 48})
        if ((s > size ? s - size : size - s) < (best > size ? best - size : size - best)) best = s;
    return best;
}

// A short English name of each image ("Clear", "Open File 1", "TableData", …), for tools and
// test messages. Throws std::out_of_range for a bad index.
const char* ToolbarImageName(int index);

// Image `index` (0 to 29) at `size` × `size` pixels, a size IsToolbarImageSize accepts; straight-alpha ARGB with a
// transparent background. Throws std::out_of_range for a bad index, std::invalid_argument for
// another size.
Image ToolbarImage(int index, int size);

// The look of a disabled button's image: grey, lighter, half transparent.
Image DisabledImage(const Image& image);

// The file marker of file 1 (a white 1 on a blue square) or file 2 (a white 2 on a red
// square): 14 × 14, every pixel opaque. Throws std::out_of_range for another file number.
Image MarkerImage(int fileNo);
constexpr int kMarkerSize = 14;
constexpr uint32_t kFile1Blue = 0xFF1F5FBF;
constexpr uint32_t kFile2Red = 0xFFCC2B2B;

// The program's icon at `size` × `size` pixels (16, 32, 48 or 256): file 1's blue sheet behind
// file 2's white sheet with its red border, one of its lines changed.
Image AppIconImage(int size);
inline constexpr int kAppIconSizes[] = {16, 32, 48, 256};

}  // namespace kavlo
