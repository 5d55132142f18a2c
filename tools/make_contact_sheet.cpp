// Writes a contact sheet of the program's images, to look at them while drawing: every toolbar
// image at 16 and 32 pixels, at actual size (also as disabled buttons show them) and magnified,
// on white and on grey, and the two file markers. The output is a 24-bit BMP (convert it to PNG with any image tool).
//   make_contact_sheet OUT.bmp [MAGNIFICATION]      (default magnification 4)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/toolbar_art.h"

using namespace kavlo;

namespace {

constexpr int kColumns = 9;
constexpr int kGap = 8;

void FillBox(Image& sheet, int x0, int y0, int w, int h, uint32_t colour) {
    for (int y = y0; y < y0 + h && y < sheet.height; ++y)
        for (int x = x0; x < x0 + w && x < sheet.width; ++x) sheet.At(x, y) = colour;
}

// `image` magnified `mag` times, composited over what is in the sheet.
void Put(Image& sheet, const Image& image, int x0, int y0, int mag) {
    for (int y = 0; y < image.height * mag; ++y)
        for (int x = 0; x < image.width * mag; ++x) {
            uint32_t& p = sheet.At(x0 + x, y0 + y);
            p = Over(image.At(x / mag, y / mag), p);
        }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_contact_sheet OUT.bmp [MAGNIFICATION]\n");
        return 2;
    }
    const int mag = argc == 3 ? std::atoi(argv[2]) : 4;
    if (mag < 1 || mag > 16) {
        std::fprintf(stderr, "magnification must be 1 to 16\n");
        return 2;
    }
    const uint32_t backgrounds[2] = {0xFFFFFFFF, 0xFFD4D0C8};
    const int rows = (kToolbarImageCount + kColumns - 1) / kColumns;
    // Per background: a strip at actual size (16 then 32), the 16-pixel grid magnified, the
    // 32-pixel grid magnified, then the markers.
    const int cell16 = 16 * mag + kGap, cell32 = 32 * mag + kGap;
    const int stripH = 2 * (32 + 16) + 5 * kGap;
    const int sectionH = stripH + rows * cell16 + rows * cell32 + kMarkerSize * mag + 2 * kGap;
    const int width = std::max(kColumns * cell32 + kGap, kToolbarImageCount * 36 + kGap);
    Image sheet(width, 2 * sectionH);
    for (int b = 0; b < 2; ++b) {
        const int top = b * sectionH;
        FillBox(sheet, 0, top, width, sectionH, backgrounds[b]);
        int y = top + kGap;
        for (int i = 0; i < kToolbarImageCount; ++i) Put(sheet, ToolbarImage(i, 16), kGap + i * 36, y, 1);
        y += 16 + kGap;
        for (int i = 0; i < kToolbarImageCount; ++i) Put(sheet, ToolbarImage(i, 32), kGap + i * 36, y, 1);
        y += 32 + kGap;
        for (int size : {16, 32}) {
            for (int i = 0; i < kToolbarImageCount; ++i)
                Put(sheet, DisabledImage(ToolbarImage(i, size)), kGap + i * 36, y, 1);
            y += size + kGap;
        }
        for (int size : {16, 32}) {
            const int cell = size == 16 ? cell16 : cell32;
            for (int i = 0; i < kToolbarImageCount; ++i)
                Put(sheet, ToolbarImage(i, size), kGap + (i % kColumns) * cell, y + (i / kColumns) * cell, mag);
            y += rows * cell;
        }
        Put(sheet, MarkerImage(1), kGap, y, mag);
        Put(sheet, MarkerImage(2), kGap + kMarkerSize * mag + kGap, y, mag);
    }
    std::ofstream out(argv[1], std::ios::binary);
    const std::string bytes = EncodeBmp24(sheet);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
