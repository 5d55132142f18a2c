// The toolbar images and file markers, drawn in code on the raster canvas.
#include "app/toolbar_art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

// Every image is drawn on a 16-unit grid and rendered at 16 or 32 pixels (one or two pixels per
// unit); outlines are one device pixel at both sizes, text comes from the pixel fonts at an
// integer scale. The style is flat: a fill and a darker outline of the same hue, white paper,
// and small badges in the bottom-right corner for "file 1/2", "add" and "clear".

namespace kavlo {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Palette.
constexpr uint32_t kPaper = 0xFFFFFFFF;
constexpr uint32_t kPaperLine = 0xFF6E7784;
constexpr uint32_t kTextGrey = 0xFF9AA3AE;
constexpr uint32_t kSteel = 0xFF7B8694;
constexpr uint32_t kSteelDark = 0xFF3F4852;
constexpr uint32_t kFolderBack = 0xFFE0A82E;
constexpr uint32_t kFolderFront = 0xFFF8D266;
constexpr uint32_t kFolderLine = 0xFF99700F;
constexpr uint32_t kGreen = 0xFF2E9E44;
constexpr uint32_t kRed = 0xFFD93030;
constexpr uint32_t kFunnel = 0xFF5B8FD6;
constexpr uint32_t kSheetGreen = 0xFF1F7A45;
constexpr uint32_t kSheetGreenLight = 0xFF8CCBA5;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// One colour per object type, in type order: TableData, Table, Form, Report, Dataport,
// Codeunit, XMLport, MenuSuite, Page, Query.
constexpr uint32_t kTypeColours[10] = {0xFF00838F, 0xFF1565C0, 0xFF6A1B9A, 0xFFC62828, 0xFFEF6C00,
                                       0xFF455A64, 0xFFD81B60, 0xFF827717, 0xFF2E7D32, 0xFF795548};
constexpr const char* kTypeMarks[10] = {"TD", "T", "F", "R", "D", "C", "X", "M", "P", "Q"};

constexpr const char* kNames[kToolbarImageCount] = {
    "Clear",           "Open File 1",       "Open File 2",   "Open Folder 1",   "Open Folder 2",
    "TableData",       "Table",             "Form",          "Report",          "Dataport",
    "Codeunit",        "XMLport",           "MenuSuite",     "Page",            "Query",
    "Compare Equal",   "Compare Different", "Compare Off",   "Compare Added",   "Compare Deleted",
    "Add Filter",      "Clear Filters",     "Save",          "Print",           "Excel",
    "Mark Objects",    "Filter String",     "Three-Way Merge", "Settings",      "About"};

// Drawing context: the canvas and the integer pixels per unit (1 or 2).
struct Art {
    Canvas c;
    int s;
    explicit Art(int size) : c(size, size), s(size / 16) {}
    int P(double units) const { return static_cast<int>(std::lround(units * s)); }  // units to pixels
};

// Clears the corner from (x0, y0) units to the bottom-right edge, so that a badge drawn there
// stands clear of what is behind it.
void ClearCorner(Art& a, double x0, double y0) {
    a.c.ClearPixels(a.P(x0), a.P(y0), a.c.Width(), a.c.Height());
}

// The bold digit of the file markers, 6 × 10.
const PixelFont kMarkerDigits{10, {
    {'1', {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"}},
    {'2', {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "##....", "######"}},
}};

void DrawMarker(Canvas& c, int x, int y, int fileNo) {
    const uint32_t colour = fileNo == 1 ? kFile1Blue : kFile2Red;
    c.FillPixels(x, y, x + kMarkerSize, y + kMarkerSize, colour);
    c.Text(x + 4, y + 2, fileNo == 1 ? "1" : "2", kMarkerDigits, kWhite);
}

// The file badge: at 32 pixels the marker itself, at 16 a 7 × 7 square with a small digit.
void FileBadge(Art& a, int fileNo) {
    const int size = a.c.Width();
    if (a.s >= 2) {
        a.c.ClearPixels(size - kMarkerSize - 1, size - kMarkerSize - 1, size, size);
        DrawMarker(a.c, size - kMarkerSize, size - kMarkerSize, fileNo);
    } else {
        ClearCorner(a, 8, 8);
        a.c.FillPixels(9, 9, 16, 16, fileNo == 1 ? kFile1Blue : kFile2Red);
        a.c.Text(11, 10, fileNo == 1 ? "1" : "2", kFont3x5, kWhite);
    }
}

void Paper(Art& a, double x0, double y0, double x1, double y1, uint32_t line = kPaperLine) {
    a.c.Rect(x0, y0, x1, y1, kPaper, line);
}

void Eraser(Art& a) {
    // A block lying from bottom-left to top-right: a pink rubber tip and a blue sleeve.
    const Point centre{8.5, 7.5};
    const Point d{std::cos(kPi / 4), -std::sin(kPi / 4)};
    const Point n{-d.y, d.x};
    auto box = [&](double from, double to, double half) {
        return std::vector<Point>{{centre.x + d.x * from - n.x * half, centre.y + d.y * from - n.y * half},
                                  {centre.x + d.x * to - n.x * half, centre.y + d.y * to - n.y * half},
                                  {centre.x + d.x * to + n.x * half, centre.y + d.y * to + n.y * half},
                                  {centre.x + d.x * from + n.x * half, centre.y + d.y * from + n.y * half}};
    };
    a.c.Polygon(box(-2.0, 7.0, 3.6), 0xFF3D7BD9, 0xFF1F4F99);
    a.c.Polygon(box(-7.0, -2.0, 3.6), 0xFFF59AB0, 0xFFB0506A);
    a.c.Line(1, 15.2, 9, 15.2, 0.9, kTextGrey);
}

// An open folder; with `sheets`, two sheets of paper stand in it: a folder of object files.
void Folder(Art& a, int fileNo, bool sheets = false) {
    a.c.Polygon({{1, 2}, {6, 2}, {7.5, 3.5}, {15, 3.5}, {15, 13.5}, {1, 13.5}}, kFolderBack, kFolderLine);
    if (sheets) {
        Paper(a, 3, 0, 10, 9);
        a.c.Rect(4, 2, 9, 3, kTextGrey);
        Paper(a, 6, 1, 13, 9);
        a.c.Rect(7, 3, 12, 4, kTextGrey);
        a.c.Rect(7, 5, 10, 6, kTextGrey);
    }
    a.c.Polygon({{3.5, 6.5}, {16, 6.5}, {13.5, 13.5}, {1, 13.5}}, kFolderFront, kFolderLine);
    FileBadge(a, fileNo);
}

void TypeTile(Art& a, int type) {
    const uint32_t colour = kTypeColours[type];
    const uint32_t line = Shade(colour, -0.4);
    a.c.Polygon({{1, 1}, {11, 1}, {15, 5}, {15, 15}, {1, 15}}, colour, line);
    a.c.Polygon({{11, 1}, {11, 5}, {15, 5}}, Shade(colour, 0.55), line);
    // The mark, centred in the body below the folded corner.
    a.c.TextCentred(a.P(1), a.P(4), a.P(15), a.P(15), kTypeMarks[type], kFont5x7, kWhite, a.s);
}

// Two overlapping sheets (file 1 behind, blue edge; file 2 in front, red edge), and the mode's
// symbol on the front sheet. Symbols are 6 units wide with 2-unit strokes, centred on the
// front sheet's inside so that they stay sharp at 16 pixels.
void TwoSheets(Art& a) {
    Paper(a, 1, 0, 11, 12, kFile1Blue);
    a.c.Rect(2, 3, 9, 4, kTextGrey);
    a.c.Rect(2, 6, 5, 7, kTextGrey);
    Paper(a, 6, 4, 16, 16, kFile2Red);
}

void CompareSymbol(Art& a, int index) {
    constexpr double cx = 11, cy = 10;
    constexpr uint32_t kEqual = 0xFF1B7F3A, kDifferent = 0xFFC25A00;
    switch (index) {
    case kImageCompareEqual:
        a.c.Rect(cx - 3, cy - 3, cx + 3, cy - 1, kEqual);
        a.c.Rect(cx - 3, cy + 1, cx + 3, cy + 3, kEqual);
        break;
    case kImageCompareDifferent:
        a.c.Rect(cx - 3, cy - 3, cx + 3, cy - 1, kDifferent);
        a.c.Rect(cx - 3, cy + 1, cx + 3, cy + 3, kDifferent);
        a.c.Line(cx + 1.6, cy - 4, cx - 1.6, cy + 4, 1.5, kDifferent);
        break;
    case kImageCompareOff:
        a.c.TextCentred(a.P(6), a.P(4), a.P(16), a.P(16), "all", kFont3x5, kSteelDark, a.s);
        break;
    case kImageCompareAdded:
        a.c.Rect(cx - 3, cy - 1, cx + 3, cy + 1, kGreen);
        a.c.Rect(cx - 1, cy - 3, cx + 1, cy + 3, kGreen);
        break;
    case kImageCompareDeleted:
        a.c.Rect(cx - 3, cy - 1, cx + 3, cy + 1, kRed);
        break;
    }
}

void Funnel(Art& a) {
    a.c.Polygon({{0.5, 1.5}, {13.5, 1.5}, {8.5, 7.5}, {8.5, 14}, {5.5, 12.5}, {5.5, 7.5}}, kFunnel, 0xFF2C5A9A);
}

void PlusBadge(Art& a) {
    ClearCorner(a, 9, 9);
    a.c.Rect(12, 10, 14, 16, kGreen);
    a.c.Rect(10, 12, 16, 14, kGreen);
}

void CrossBadge(Art& a) {
    ClearCorner(a, 9, 9);
    a.c.Line(10.8, 10.8, 15.2, 15.2, 1.8, kRed);
    a.c.Line(15.2, 10.8, 10.8, 15.2, 1.8, kRed);
}

void Disk(Art& a) {
    const uint32_t body = 0xFF3A6EA5, line = 0xFF21466E;
    a.c.Polygon({{1, 1}, {13, 1}, {15, 3}, {15, 15}, {1, 15}}, body, line);
    a.c.Rect(4, 1, 12, 6, 0xFFC9D1DA, line);
    a.c.Rect(9, 2, 11, 5, body);
    a.c.Rect(3, 8, 13, 15, kPaper, line);
    a.c.Rect(5, 10, 11, 11, kTextGrey);
    a.c.Rect(5, 12, 11, 13, kTextGrey);
}

void Printer(Art& a) {
    Paper(a, 4, 1, 12, 6);
    a.c.Rect(1, 5, 15, 12, 0xFF8A94A1, kSteelDark);
    a.c.Rect(12, 7, 13.5, 8, kGreen);
    a.c.Rect(3, 10, 13, 11, kSteelDark);
    Paper(a, 4, 10, 12, 15.5);
    a.c.Rect(5.5, 12, 10.5, 13, kTextGrey);
}

void Spreadsheet(Art& a) {
    a.c.Rect(1, 2, 15, 14, kPaper, kSheetGreen);
    a.c.Rect(1, 2, 15, 5, kSheetGreen);
    const double px = a.c.OnePixel();
    for (double x : {5.0, 10.0}) a.c.Rect(x, 5, x + px, 14, kSheetGreenLight);
    for (double y : {8.0, 11.0}) a.c.Rect(1 + px, y, 15 - px, y + px, kSheetGreenLight);
    a.c.Rect(1, 2, 15, 14, 0, kSheetGreen);
}

void MarkWindow(Art& a) {
    a.c.Rect(1, 1, 15, 15, kPaper, kSteelDark);
    a.c.Rect(1, 1, 15, 4, 0xFF3D6FB6);
    for (int row = 0; row < 3; ++row) {
        const double y = 5.5 + row * 3.2;
        a.c.Rect(7, y + 0.5, 13, y + 1.5, kTextGrey);
        if (row != 1) {
            a.c.Line(2.6, y + 0.9, 3.7, y + 2.0, 1.1, kGreen);
            a.c.Line(3.7, y + 2.0, 5.6, y - 0.1, 1.1, kGreen);
        }
    }
}

void Clipboard(Art& a) {
    a.c.Rect(2, 2, 14, 15.5, 0xFFB07A3B, 0xFF6E4A1F);
    Paper(a, 4, 4, 12, 14);
    a.c.Rect(5.5, 1, 10.5, 4, 0xFF9AA3AE, kSteelDark);
    for (double y : {6.0, 8.5, 11.0}) a.c.Rect(5.5, y, 10.5, y + 1, 0xFF555E69);
}

// Two sheets (file 1's blue edge, file 2's red) whose lines meet in one green sheet below.
void MergeSheets(Art& a) {
    Paper(a, 0.5, 0.5, 6, 6, kFile1Blue);
    Paper(a, 10, 0.5, 15.5, 6, kFile2Red);
    a.c.Line(3.25, 6, 8, 10, 1.6, kSteelDark);
    a.c.Line(12.75, 6, 8, 10, 1.6, kSteelDark);
    a.c.Rect(7.2, 9.5, 8.8, 11.5, kSteelDark);
    Paper(a, 4.5, 11, 11.5, 15.5, kGreen);
}

void Gear(Art& a) {
    std::vector<Point> pts;
    const double rOut = 7.6, rIn = 5.4;
    for (int k = 0; k < 8; ++k) {
        const double t = k * 2 * kPi / 8;
        for (auto [r, da] : {std::pair{rIn, -0.36}, {rOut, -0.2}, {rOut, 0.2}, {rIn, 0.36}})
            pts.push_back({8 + r * std::cos(t + da), 8 + r * std::sin(t + da)});
    }
    a.c.Polygon(pts, kSteel, kSteelDark);
    a.c.Circle(8, 8, 3.3, 0, kSteelDark);
    a.c.EraseCircle(8, 8, 3.3 - a.c.OnePixel());
}

void Info(Art& a) {
    a.c.Circle(8, 8, 7.5, 0xFF2D7BD6, 0xFF1B5BA8);
    a.c.Circle(8, 4.6, 1.25, kWhite);
    a.c.Rect(7, 7, 9, 12.5, kWhite);
}

}  // namespace

const char* ToolbarImageName(int index) {
    if (index < 0 || index >= kToolbarImageCount) throw std::out_of_range("toolbar image index " + std::to_string(index));
    return kNames[index];
}

Image ToolbarImage(int index, int size) {
    if (index < 0 || index >= kToolbarImageCount) throw std::out_of_range("toolbar image index " + std::to_string(index));
    if (!IsToolbarImageSize(size)) throw std::invalid_argument("toolbar image size " + std::to_string(size));
    if (size % 16 != 0) return HalveImage(ToolbarImage(index, 2 * size));  // the art is drawn in 16ths
    Art a(size);
    switch (index) {
    case kImageClear: Eraser(a); break;
    case kImageOpenFile1: Folder(a, 1); break;
    case kImageOpenFile2: Folder(a, 2); break;
    case kImageOpenFolder1: Folder(a, 1, true); break;
    case kImageOpenFolder2: Folder(a, 2, true); break;
    case kImageCompareEqual:
    case kImageCompareDifferent:
    case kImageCompareOff:
    case kImageCompareAdded:
    case kImageCompareDeleted:
        TwoSheets(a);
        CompareSymbol(a, index);
        break;
    case kImageFilterAdd:
        Funnel(a);
        PlusBadge(a);
        break;
    case kImageFilterClear:
        Funnel(a);
        CrossBadge(a);
        break;
    case kImageSave: Disk(a); break;
    case kImagePrint: Printer(a); break;
    case kImageExcel: Spreadsheet(a); break;
    case kImageMarkObjectDesigner: MarkWindow(a); break;
    case kImageMakeFilterString: Clipboard(a); break;
    case kImageMerge: MergeSheets(a); break;
    case kImageSettings: Gear(a); break;
    case kImageAbout: Info(a); break;
    default: TypeTile(a, index - kImageTableData); break;
    }
    return a.c.Take();
}

Image DisabledImage(const Image& image) {
    Image out = image;
    for (uint32_t& p : out.argb) {
        const int grey = (RedOf(p) * 30 + GreenOf(p) * 59 + BlueOf(p) * 11) / 100;
        const uint32_t light = static_cast<uint32_t>(grey + (255 - grey) * 2 / 5);
        const uint32_t alpha = AlphaOf(p) == 0 ? 0 : static_cast<uint32_t>(std::max(1, AlphaOf(p) * 11 / 20));
        p = alpha == 0 ? 0 : (alpha << 24) | (light << 16) | (light << 8) | light;
    }
    return out;
}

Image MarkerImage(int fileNo) {
    if (fileNo != 1 && fileNo != 2) throw std::out_of_range("file number " + std::to_string(fileNo));
    Canvas c(kMarkerSize, kMarkerSize);
    DrawMarker(c, 0, 0, fileNo);
    return c.Take();
}

Image AppIconImage(int size) {
    Canvas c(size, size);
    const double px = std::max(1, size / 16);  // outlines one unit wide at every size
    // File 1: a blue sheet with two white lines of text.
    c.Rect(1, 1, 10, 12, kFile1Blue, Shade(kFile1Blue, -0.45), px);
    c.Line(3, 3.5, 8, 3.5, 1, 0xFFFFFFFF);
    c.Line(3, 5.5, 7, 5.5, 1, 0xFFFFFFFF);
    // File 2 in front: a white sheet with a folded corner and a red border.
    c.Polygon({{5, 4}, {12, 4}, {15, 7}, {15, 15}, {5, 15}}, 0xFFFFFFFF, kFile2Red, px);
    c.Polygon({{12, 4}, {12, 7}, {15, 7}}, Shade(kFile2Red, 0.55), kFile2Red, px);
    // Its lines of text, the middle one changed.
    c.Line(7.5, 9.5, 12.5, 9.5, 1, 0xFF707070);
    c.Line(7.5, 11.5, 12.5, 11.5, 1, kFile2Red);
    c.Line(7.5, 13.5, 10.5, 13.5, 1, 0xFF707070);
    return c.Take();
}

}  // namespace kavlo
