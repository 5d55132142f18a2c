// The raster canvas: shapes with anti-aliased edges, lines, the pixel fonts, and the BMP and
// ICO encoders.
#include "raster/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kavlo {

namespace {

using Rows = std::vector<std::string>;

// 4 × 4 samples per pixel: enough for smooth edges on 16-pixel images.
constexpr int kSamples = 4;

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double SegmentDistance(double px, double py, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0;
    t = Clamp01(t);
    const double ex = a.x + t * dx - px, ey = a.y + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

bool InsidePolygon(const std::vector<Point>& pts, double x, double y) {
    // Non-zero winding rule.
    int winding = 0;
    for (size_t i = 0, n = pts.size(); i < n; ++i) {
        const Point a = pts[i], b = pts[(i + 1) % n];
        const double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && cross > 0) ++winding;
        } else if (b.y <= y && cross < 0) {
            --winding;
        }
    }
    return winding != 0;
}

void PutByte(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t GetLe(std::string_view s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
}

}  // namespace

uint32_t Shade(uint32_t color, double amount) {
    const double target = amount < 0 ? 0 : 255;
    const double t = std::fabs(amount);
    auto mix = [&](int c) { return static_cast<uint32_t>(std::lround(c + (target - c) * t)); };
    return (color & 0xFF000000u) | (mix(RedOf(color)) << 16) | (mix(GreenOf(color)) << 8) | mix(BlueOf(color));
}

uint32_t Over(uint32_t top, uint32_t bottom) {
    const double at = AlphaOf(top) / 255.0, ab = AlphaOf(bottom) / 255.0;
    const double a = at + ab * (1 - at);
    if (a <= 0) return 0;
    auto ch = [&](int t, int b) {
        return static_cast<uint32_t>(std::lround((t * at + b * ab * (1 - at)) / a));
    };
    return (static_cast<uint32_t>(std::lround(a * 255)) << 24) | (ch(RedOf(top), RedOf(bottom)) << 16) |
           (ch(GreenOf(top), GreenOf(bottom)) << 8) | ch(BlueOf(top), BlueOf(bottom));
}

const PixelGlyph* PixelFont::Find(char c) const {
    for (const PixelGlyph& g : glyphs)
        if (g.c == c) return &g;
    return nullptr;
}

int PixelFont::TextWidth(std::string_view text) const {
    int w = 0;
    for (char c : text) {
        const PixelGlyph* g = Find(c);
        if (g) w += g->Width() + 1;
    }
    return w > 0 ? w - 1 : 0;
}

const PixelFont kFont5x7{7, {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'i', {".#.", "...", "##.", ".#.", ".#.", ".#.", "###"}},
    {'l', {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
}};

const PixelFont kFont3x5{5, {
    {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'a', {"...", "##.", ".##", "#.#", "###"}},
    {'l', {"#", "#", "#", "#", "#"}},
}};

Canvas::Canvas(int width, int height, double unitsPerSide)
    : image_(width, height), scale_(width / unitsPerSide) {
    if (width <= 0 || height <= 0 || unitsPerSide <= 0) throw std::invalid_argument("Canvas: bad size");
}

template <class Inside, class EdgeDistance>
void Canvas::Shape(double x0, double y0, double x1, double y1, Inside inside, EdgeDistance edge, uint32_t fill,
                   uint32_t line, double linePx) {
    const int px0 = std::max(0, static_cast<int>(std::floor(x0 * scale_)) - 1);
    const int py0 = std::max(0, static_cast<int>(std::floor(y0 * scale_)) - 1);
    const int px1 = std::min(image_.width, static_cast<int>(std::ceil(x1 * scale_)) + 1);
    const int py1 = std::min(image_.height, static_cast<int>(std::ceil(y1 * scale_)) + 1);
    const double lineUnits = linePx / scale_;
    const bool hasLine = AlphaOf(line) > 0 && linePx > 0;
    for (int py = py0; py < py1; ++py) {
        for (int px = px0; px < px1; ++px) {
            // Premultiplied sums over the samples.
            double a = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double ux = (px + (sx + 0.5) / kSamples) / scale_;
                    const double uy = (py + (sy + 0.5) / kSamples) / scale_;
                    if (!inside(ux, uy)) continue;
                    const uint32_t c = hasLine && edge(ux, uy) < lineUnits ? line : fill;
                    const double ca = AlphaOf(c) / 255.0;
                    a += ca;
                    r += ca * RedOf(c);
                    g += ca * GreenOf(c);
                    b += ca * BlueOf(c);
                }
            }
            if (a <= 0) continue;
            const double n = kSamples * kSamples;
            const uint32_t cover = (static_cast<uint32_t>(std::lround(a / n * 255)) << 24) |
                                   (static_cast<uint32_t>(std::lround(r / a)) << 16) |
                                   (static_cast<uint32_t>(std::lround(g / a)) << 8) |
                                   static_cast<uint32_t>(std::lround(b / a));
            image_.At(px, py) = Over(cover, image_.At(px, py));
        }
    }
}

void Canvas::Rect(double x0, double y0, double x1, double y1, uint32_t fill, uint32_t line, double linePx) {
    Shape(
        x0, y0, x1, y1, [&](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; },
        [&](double x, double y) { return std::min(std::min(x - x0, x1 - x), std::min(y - y0, y1 - y)); }, fill, line,
        linePx);
}

void Canvas::Polygon(const std::vector<Point>& pts, uint32_t fill, uint32_t line, double linePx) {
    if (pts.size() < 3) return;
    double x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
    for (const Point& p : pts) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    Shape(
        x0, y0, x1, y1, [&](double x, double y) { return InsidePolygon(pts, x, y); },
        [&](double x, double y) {
            double d = 1e9;
            for (size_t i = 0; i < pts.size(); ++i) d = std::min(d, SegmentDistance(x, y, pts[i], pts[(i + 1) % pts.size()]));
            return d;
        },
        fill, line, linePx);
}

void Canvas::Circle(double cx, double cy, double r, uint32_t fill, uint32_t line, double linePx) {
    auto dist = [&](double x, double y) { return std::hypot(x - cx, y - cy); };
    Shape(
        cx - r, cy - r, cx + r, cy + r, [&](double x, double y) { return dist(x, y) <= r; },
        [&](double x, double y) { return r - dist(x, y); }, fill, line, linePx);
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, uint32_t color) {
    const double h = width / 2;
    const Point a{x0, y0}, b{x1, y1};
    Shape(
        std::min(x0, x1) - h, std::min(y0, y1) - h, std::max(x0, x1) + h, std::max(y0, y1) + h,
        [&](double x, double y) { return SegmentDistance(x, y, a, b) <= h; }, [](double, double) { return 1e9; },
        color, 0, 0);
}

void Canvas::EraseCircle(double cx, double cy, double r) {
    const int px0 = std::max(0, static_cast<int>(std::floor((cx - r) * scale_)));
    const int py0 = std::max(0, static_cast<int>(std::floor((cy - r) * scale_)));
    const int px1 = std::min(image_.width, static_cast<int>(std::ceil((cx + r) * scale_)) + 1);
    const int py1 = std::min(image_.height, static_cast<int>(std::ceil((cy + r) * scale_)) + 1);
    for (int py = py0; py < py1; ++py) {
        for (int px = px0; px < px1; ++px) {
            int in = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    in += std::hypot((px + (sx + 0.5) / kSamples) / scale_ - cx,
                                     (py + (sy + 0.5) / kSamples) / scale_ - cy) <= r;
            if (in == 0) continue;
            uint32_t& p = image_.At(px, py);
            const double keep = 1.0 - in / double(kSamples * kSamples);
            const uint32_t a = static_cast<uint32_t>(std::lround(AlphaOf(p) * keep));
            p = a == 0 ? 0 : ((a << 24) | (p & 0xFFFFFFu));
        }
    }
}

void Canvas::SetPixel(int x, int y, uint32_t color) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
    image_.At(x, y) = Over(color, image_.At(x, y));
}

void Canvas::FillPixels(int x0, int y0, int x1, int y1, uint32_t color) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) SetPixel(x, y, color);
}

void Canvas::ClearPixels(int x0, int y0, int x1, int y1) {
    for (int y = std::max(0, y0); y < std::min(y1, image_.height); ++y)
        for (int x = std::max(0, x0); x < std::min(x1, image_.width); ++x) image_.At(x, y) = 0;
}

void Canvas::Text(int x, int y, std::string_view text, const PixelFont& font, uint32_t color, int scale) {
    for (char c : text) {
        const PixelGlyph* g = font.Find(c);
        if (!g) throw std::invalid_argument(std::string("PixelFont has no glyph for '") + c + "'");
        for (int row = 0; row < font.height; ++row)
            for (int col = 0; col < g->Width(); ++col)
                if (g->rows[static_cast<size_t>(row)][static_cast<size_t>(col)] == '#')
                    FillPixels(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale, color);
        x += (g->Width() + 1) * scale;
    }
}

void Canvas::TextCentred(int x0, int y0, int x1, int y1, std::string_view text, const PixelFont& font,
                         uint32_t color, int scale) {
    const int w = font.TextWidth(text) * scale, h = font.height * scale;
    Text(x0 + (x1 - x0 - w) / 2, y0 + (y1 - y0 - h) / 2, text, font, color, scale);
}

void Canvas::TextWithHalo(int x, int y, std::string_view text, const PixelFont& font, uint32_t color,
                          uint32_t halo, int scale) {
    const int w = font.TextWidth(text) * scale, h = font.height * scale;
    Canvas ink(w + 2, h + 2);
    ink.Text(1, 1, text, font, 0xFF000000u, scale);
    const Image& m = ink.Peek();
    for (int iy = 0; iy < m.height; ++iy) {
        for (int ix = 0; ix < m.width; ++ix) {
            if (AlphaOf(m.At(ix, iy))) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = ix + dx, ny = iy + dy;
                    near = nx >= 0 && ny >= 0 && nx < m.width && ny < m.height && AlphaOf(m.At(nx, ny));
                }
            if (near) SetPixel(x - 1 + ix, y - 1 + iy, halo);
        }
    }
    Text(x, y, text, font, color, scale);
}

void Canvas::Blit(const Image& image, int x, int y) {
    for (int iy = 0; iy < image.height; ++iy)
        for (int ix = 0; ix < image.width; ++ix) SetPixel(x + ix, y + iy, image.At(ix, iy));
}

std::string EncodeBmp24(const Image& image, uint32_t matte) {
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
    const size_t pixels = stride * static_cast<size_t>(image.height);
    const size_t headers = 14 + 40;
    std::string out(headers + pixels, '\0');
    out[0] = 'B';
    out[1] = 'M';
    PutByte(out, 2, static_cast<uint32_t>(out.size()), 4);
    PutByte(out, 10, static_cast<uint32_t>(headers), 4);
    PutByte(out, 14, 40, 4);  // BITMAPINFOHEADER
    PutByte(out, 18, static_cast<uint32_t>(image.width), 4);
    PutByte(out, 22, static_cast<uint32_t>(image.height), 4);  // positive: bottom-up
    PutByte(out, 26, 1, 2);                                     // planes
    PutByte(out, 28, 24, 2);                                    // bits per pixel
    PutByte(out, 34, static_cast<uint32_t>(pixels), 4);
    PutByte(out, 38, 2835, 4);  // 72 dpi
    PutByte(out, 42, 2835, 4);
    const uint32_t base = matte | 0xFF000000u;
    for (int y = 0; y < image.height; ++y) {
        size_t at = headers + stride * static_cast<size_t>(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t c = Over(image.At(x, y), base);
            out[at++] = static_cast<char>(BlueOf(c));
            out[at++] = static_cast<char>(GreenOf(c));
            out[at++] = static_cast<char>(RedOf(c));
        }
    }
    return out;
}

std::string EncodeIco(const std::vector<Image>& images) {
    // The directory (6 bytes), one 16-byte entry per image, then each image as a DIB: a
    // BITMAPINFOHEADER of twice the height, 32-bit BGRA rows bottom-up, and the 1-bit AND mask
    // (rows padded to 32 bits) that marks the transparent pixels for systems that ignore alpha.
    std::string out(6 + 16 * images.size(), '\0');
    PutByte(out, 2, 1, 2);  // an icon
    PutByte(out, 4, static_cast<uint32_t>(images.size()), 2);
    for (size_t i = 0; i < images.size(); ++i) {
        const Image& image = images[i];
        const size_t w = static_cast<size_t>(image.width), h = static_cast<size_t>(image.height);
        const size_t maskStride = (w + 31) / 32 * 4;
        std::string dib(40 + w * h * 4 + maskStride * h, '\0');
        PutByte(dib, 0, 40, 4);
        PutByte(dib, 4, static_cast<uint32_t>(w), 4);
        PutByte(dib, 8, static_cast<uint32_t>(h * 2), 4);
        PutByte(dib, 12, 1, 2);
        PutByte(dib, 14, 32, 2);
        for (size_t y = 0; y < h; ++y) {
            const size_t row = h - 1 - y;
            for (size_t x = 0; x < w; ++x) {
                const uint32_t c = image.At(static_cast<int>(x), static_cast<int>(y));
                PutByte(dib, 40 + (row * w + x) * 4, c, 4);  // B, G, R, A in memory
                if (AlphaOf(c) < 128)
                    dib[40 + w * h * 4 + row * maskStride + x / 8] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        const size_t entry = 6 + 16 * i;
        out[entry] = static_cast<char>(w >= 256 ? 0 : w);  // 0 stands for 256
        out[entry + 1] = static_cast<char>(h >= 256 ? 0 : h);
        PutByte(out, entry + 4, 1, 2);   // planes
        PutByte(out, entry + 6, 32, 2);  // bits per pixel
        PutByte(out, entry + 8, static_cast<uint32_t>(dib.size()), 4);
        PutByte(out, entry + 12, static_cast<uint32_t>(out.size()), 4);
        out += dib;
    }
    return out;
}

Image DecodeBmp24(std::string_view s) {
    if (s.size() < 54 || s[0] != 'B' || s[1] != 'M') throw std::runtime_error("not a BMP file");
    const uint32_t offset = GetLe(s, 10, 4);
    const int width = static_cast<int32_t>(GetLe(s, 18, 4));
    const int rawHeight = static_cast<int32_t>(GetLe(s, 22, 4));
    if (GetLe(s, 14, 4) < 40 || GetLe(s, 28, 2) != 24 || GetLe(s, 30, 4) != 0 || width <= 0 || rawHeight == 0)
        throw std::runtime_error("not an uncompressed 24-bit BMP");
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (offset + stride * static_cast<size_t>(height) > s.size()) throw std::runtime_error("BMP file is truncated");
    Image img(width, height);
    for (int y = 0; y < height; ++y) {
        const int row = rawHeight > 0 ? height - 1 - y : y;
        size_t at = offset + stride * static_cast<size_t>(row);
        for (int x = 0; x < width; ++x, at += 3)
            img.At(x, y) = 0xFF000000u | (GetLe(s, at + 2, 1) << 16) | (GetLe(s, at + 1, 1) << 8) | GetLe(s, at, 1);
    }
    return img;
}

Image HalveImage(const Image& big) {
    Image out(big.width / 2, big.height / 2);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const uint32_t p = big.At(2 * x + dx, 2 * y + dy);
                    const double pa = AlphaOf(p);
                    a += pa;
                    r += pa * RedOf(p);
                    g += pa * GreenOf(p);
                    b += pa * BlueOf(p);
                }
            if (a == 0) continue;
            out.At(x, y) = (static_cast<uint32_t>(std::lround(a / 4)) << 24) | (static_cast<uint32_t>(std::lround(r / a)) << 16) |
                           (static_cast<uint32_t>(std::lround(g / a)) << 8) | static_cast<uint32_t>(std::lround(b / a));
        }
    return out;
}

}  // namespace kavlo
