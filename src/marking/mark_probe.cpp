// The probe scan, the analysis images and the pixel read.
#include "marking/mark_probe.h"

#include <cstdint>

#include "platform/file.h"

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

void PutLE(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
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
    const uint32_t stride = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = stride * static_cast<uint32_t>(p.height);
    std::string s;
    s.reserve(54 + imageBytes);
    s += "BM";
    PutLE(s, 54 + imageBytes, 4);  // file size
    PutLE(s, 0, 4);
    PutLE(s, 54, 4);               // offset of the pixels
    PutLE(s, 40, 4);               // BITMAPINFOHEADER
    PutLE(s, static_cast<uint32_t>(p.width), 4);
    PutLE(s, static_cast<uint32_t>(p.height), 4);  // positive: bottom-up
    PutLE(s, 1, 2);
    PutLE(s, 24, 2);
    PutLE(s, 0, 4);  // BI_RGB
    PutLE(s, imageBytes, 4);
    PutLE(s, 2835, 4);  // 72 DPI
    PutLE(s, 2835, 4);
    PutLE(s, 0, 4);
    PutLE(s, 0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const Color c = p.At(x, y);
            s += static_cast<char>((c >> 16) & 0xFF);  // blue
            s += static_cast<char>((c >> 8) & 0xFF);   // green
            s += static_cast<char>(c & 0xFF);          // red
        }
        s.append(stride - static_cast<uint32_t>(p.width) * 3, '\0');
    }
    return s;
}

}  // namespace kavlo
