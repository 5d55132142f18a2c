// The probe scan, the analysis images and the pixel read.
#include "marking/mark_probe.h"

#include <cstdint>

#include "platform/file.h"
#include "raster/canvas.h"

namespace kavlo {

namespace {

constexpr Color kPurple = 0x800080, kRed = 0x0000FF, kGreen = 0x008000, kAqua = 0xFFFF00, kBlue = 0xFF0000;
constexpr Color kUnreadable = 0x010203;

// The row on which a run of 9 black pixels in column x (from row 10 down) ends, or -1.
int VerticalRunEnd(const Pixels& p, int x) {
    if (x < 0 || x >= p.width) return -1;
    int count = 0;
    for (int y = 10; y < p.height; ++y) {
        count = p.At(x, y) == kBlack ? count + 1 : 0;
        if (count == 9) return y;
    }
    return -1;
}

}  // namespace

bool IsSaveAnalyzeSwitch(std::string_view a) {
    constexpr std::string_view kName = "saveanalyze";
    if (a.size() != kName.size() + 1 || (a[0] != '-' && a[0] != '/')) return false;
    for (size_t i = 0; i < kName.size(); ++i) {
        char c = a[i + 1];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kName[i]) return false;
    }
    return true;
}

bool HasSaveAnalyzeSwitch(const std::vector<std::string>& arguments) {
    for (const std::string& a : arguments)
        if (IsSaveAnalyzeSwitch(a)) return true;
    return false;
}

std::optional<ScreenPoint> ScanMarkProbe(Pixels& p, const SaveImageFn& save) {
    int x = 17;
    if (save) {
        p.Set(17, 10, kPurple);
        save(kAnalysisImage1, p);
    }
    int y = VerticalRunEnd(p, x);
    if (y < 0) {
        x = 13;
        if (save) {
            p.Set(13, 10, kRed);
            save(kAnalysisImage2, p);
        }
        y = VerticalRunEnd(p, x);
    }
    if (y < 0) return std::nullopt;
    if (save) p.Set(x, y, kGreen);
    y -= 4;  // the middle of the nine
    int count = 0;
    for (; x < p.width; ++x) {
        if (p.At(x, y) == kBlack) ++count;
        if (count == 5) break;
    }
    if (count < 5) return std::nullopt;
    if (save) {
        p.Set(x - 4, y, kAqua);
        p.Set(x - 9, y, kBlue);
        save(kAnalysisImage3, p);
    }
    return ScreenPoint{x - 9, y};
}

std::optional<ScreenPoint> FindMarkProbe(Desktop& d, const ScreenRect& area, const ProbeOptions& options) {
    try {
        std::optional<Pixels> pixels = d.Capture(area);
        if (!pixels) return std::nullopt;
        SaveImageFn save;
        if (options.saveAnalyze)
            save = [&](const char* name, const Pixels& p) { WriteWholeFile(options.folder + name, EncodeBmp24(p)); };
        const std::optional<ScreenPoint> at = ScanMarkProbe(*pixels, save);
        if (!at) return std::nullopt;
        return ScreenPoint{area.left + at->x, area.top + at->y};
    } catch (...) {
        return std::nullopt;  // a failed image write is a failed analysis, never an error shown
    }
}

Color ScreenPixel(Desktop& d, ScreenPoint p) { return d.Pixel(p).value_or(kUnreadable); }

std::string EncodeBmp24(const Pixels& p) {
    // Screen colours are 0x00BBGGRR; the raster image holds opaque 0xAARRGGBB.
    Image image(p.width, p.height);
    for (size_t k = 0; k < p.colors.size(); ++k) {
        const Color c = p.colors[k];
        image.argb[k] = Opaque((c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF));
    }
    return EncodeBmp24(image);
}

}  // namespace kavlo
