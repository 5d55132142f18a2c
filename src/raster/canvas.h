// A small raster canvas for drawing images in code: filled and outlined shapes with
// anti-aliased edges, lines, a proportional pixel font; and the image files it writes, 24-bit
// BMP (read back too) and ICO. The program's toolbar images, file markers and icon are drawn
// on it (app/toolbar_art).
//
// Shapes take coordinates in "units": the canvas maps `unitsPerSide` units onto its width, so
// one drawing (designed on a 16-unit grid) renders at 16 and 32 pixels. Outline widths are in
// device pixels, so a 1-pixel outline stays crisp at both sizes when edges lie on whole units.
// Pixels are straight (not premultiplied) 0xAARRGGBB.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // row-major, top row first, straight alpha

    Image() = default;
    Image(int w, int h) : width(w), height(h), argb(static_cast<size_t>(w) * static_cast<size_t>(h), 0) {}
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    uint32_t& At(int x, int y) { return argb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// The image at half its size: each 2 × 2 block averaged, colours weighted by their alpha.
Image HalveImage(const Image& big);

constexpr uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | (rgb & 0xFFFFFFu); }
constexpr int AlphaOf(uint32_t c) { return static_cast<int>(c >> 24); }
constexpr int RedOf(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(uint32_t c) { return static_cast<int>(c & 0xFF); }
// The colour mixed towards black (amount < 0) or white (amount > 0), alpha kept; |amount| <= 1.
uint32_t Shade(uint32_t color, double amount);
// `top` composited over `bottom` (straight alpha, the "over" operator).
uint32_t Over(uint32_t top, uint32_t bottom);

// A proportional bitmap font: each glyph is rows of '#' (ink) and '.' (none), all rows as
// wide as the glyph and `height` rows high; text advances by a glyph's width plus one.
struct PixelGlyph {
    char c;
    std::vector<std::string> rows;
    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
};
struct PixelFont {
    int height;
    std::vector<PixelGlyph> glyphs;
    const PixelGlyph* Find(char c) const;    // nullptr when the font lacks it
    int TextWidth(std::string_view text) const;  // in font pixels, without a trailing gap
};
extern const PixelFont kFont5x7;  // capitals, digits, and the lower-case letters the images use
extern const PixelFont kFont3x5;  // digits and the lower-case letters the 16-pixel images use

struct Point {
    double x, y;
};

class Canvas {
public:
    Canvas(int width, int height, double unitsPerSide = 16);

    int Width() const { return image_.width; }
    int Height() const { return image_.height; }
    double PixelsPerUnit() const { return scale_; }
    double OnePixel() const { return 1.0 / scale_; }  // one device pixel, in units

    // Shapes, in units. A colour with alpha 0 draws nothing; `line` is drawn inside the shape's
    // edge, `linePx` device pixels wide.
    void Rect(double x0, double y0, double x1, double y1, uint32_t fill, uint32_t line = 0, double linePx = 1);
    void Polygon(const std::vector<Point>& points, uint32_t fill, uint32_t line = 0, double linePx = 1);
    void Circle(double cx, double cy, double r, uint32_t fill, uint32_t line = 0, double linePx = 1);
    // A straight stroke with round ends, `width` units wide.
    void Line(double x0, double y0, double x1, double y1, double width, uint32_t color);
    // Makes a disc transparent again (a hole).
    void EraseCircle(double cx, double cy, double r);

    // Pixel-exact drawing, in device pixels.
    void SetPixel(int x, int y, uint32_t color);  // composited over what is there
    void FillPixels(int x0, int y0, int x1, int y1, uint32_t color);  // [x0,x1) × [y0,y1)
    void ClearPixels(int x0, int y0, int x1, int y1);  // makes them transparent
    // Text with its top-left corner at (x, y); each font pixel becomes scale × scale pixels.
    void Text(int x, int y, std::string_view text, const PixelFont& font, uint32_t color, int scale = 1);
    // The same text centred on the pixel rectangle [x0,x1) × [y0,y1).
    void TextCentred(int x0, int y0, int x1, int y1, std::string_view text, const PixelFont& font,
                     uint32_t color, int scale = 1);
    // Like Text, with every transparent pixel next to the ink (8-neighbourhood) painted `halo`.
    void TextWithHalo(int x, int y, std::string_view text, const PixelFont& font, uint32_t color, uint32_t halo,
                      int scale = 1);
    void Blit(const Image& image, int x, int y);  // composited

    const Image& Peek() const { return image_; }
    Image Take() { return std::move(image_); }

private:
    template <class Inside, class EdgeDistance>
    void Shape(double x0, double y0, double x1, double y1, Inside inside, EdgeDistance edge, uint32_t fill,
               uint32_t line, double linePx);

    Image image_;
    double scale_;
};

// The image as a 24-bit Windows bitmap file (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up
// rows padded to four bytes), every pixel composited over `matte`.
std::string EncodeBmp24(const Image& image, uint32_t matte = 0xFFFFFFFF);
// The images as a Windows icon file (.ico): 32-bit images with alpha and their AND masks, in
// the order given; sizes up to 256.
std::string EncodeIco(const std::vector<Image>& images);
// Reads back what EncodeBmp24 writes (24-bit, uncompressed, bottom-up or top-down); the result is
// opaque. Throws std::runtime_error on anything else.
Image DecodeBmp24(std::string_view bytes);

}  // namespace kavlo
