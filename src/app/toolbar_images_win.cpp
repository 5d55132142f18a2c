// The toolbar's image lists: the drawn images as 32-bit DIB sections with their masks.
#include "app/toolbar_images_win.h"

#include <cstring>
#include <vector>

namespace kavlo {

UniqueBitmap CreateArgbBitmap(const Image& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down, like Image
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bmp(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp || !bits) return {};
    // A 32-bit DIB pixel is B, G, R, A in memory: the same bytes as 0xAARRGGBB on little-endian.
    std::memcpy(bits, image.argb.data(), image.argb.size() * sizeof(uint32_t));
    GdiFlush();
    return bmp;
}

UniqueBitmap CreateMaskBitmap(const Image& image) {
    // Monochrome rows are padded to 16 bits for CreateBitmap; the first pixel is the top bit.
    const int stride = (image.width + 15) / 16 * 2;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * static_cast<size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (AlphaOf(image.At(x, y)) < 128)
                bits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
    return UniqueBitmap(CreateBitmap(image.width, image.height, 1, 1, bits.data()));
}

namespace {

UniqueImageList NewImageList(int size) {
    return UniqueImageList(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kToolbarImageCount, 0));
}

bool AddImage(HIMAGELIST list, const Image& image, int index) {
    const UniqueBitmap bmp = CreateArgbBitmap(image);
    const UniqueBitmap mask = CreateMaskBitmap(image);
    return bmp && mask && ImageList_Add(list, bmp.get(), mask.get()) == index;
}

// Adds the images of `size` to the lists given (either may be null), drawing each image once.
bool AddToolbarImages(int size, HIMAGELIST normal, HIMAGELIST disabled) {
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const Image image = ToolbarImage(i, size);
        if (normal && !AddImage(normal, image, i)) return false;
        if (disabled && !AddImage(disabled, DisabledImage(image), i)) return false;
    }
    return true;
}

}  // namespace

UniqueImageList CreateToolbarImageList(int size, ToolbarImageLook look) {
    if (!IsToolbarImageSize(size)) return {};
    UniqueImageList list = NewImageList(size);
    const bool disabled = look == ToolbarImageLook::Disabled;
    if (!list || !AddToolbarImages(size, disabled ? nullptr : list.get(), disabled ? list.get() : nullptr)) return {};
    return list;
}

ToolbarImageLists CreateToolbarImageLists(int size) {
    if (!IsToolbarImageSize(size)) return {};
    ToolbarImageLists lists{NewImageList(size), NewImageList(size)};
    if (!lists.normal || !lists.disabled || !AddToolbarImages(size, lists.normal.get(), lists.disabled.get())) return {};
    return lists;
}

}  // namespace kavlo
