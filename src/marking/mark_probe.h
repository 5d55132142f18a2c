// The screen check of marking: finding once per run the point where the Object Designer shows a
// record's mark, and reading one screen pixel. With the "saveanalyze" switch the analysed
// images are written, with marker pixels drawn in, as 24-bit BMP files.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marking/desktop.h"

namespace kavlo {

// Where the analysis area lies relative to the Object Designer window's top-left corner.
inline constexpr ScreenRect kProbeAreaOffset{114, 42, 141, 122};

// The analysis images and the colours of their marker pixels.
inline constexpr char kAnalysisImage1[] = "_test1w7.bmp";
inline constexpr char kAnalysisImage2[] = "_test2xp.bmp";
inline constexpr char kAnalysisImage3[] = "_test3.bmp";

struct ProbeOptions {
    bool saveAnalyze = false;
    // Where the analysis images go, ending in a path separator (the program's folder).
    std::string folder;
};

// "saveanalyze" after "-" or "/", in any letter case.
bool IsSaveAnalyzeSwitch(std::string_view argument);
bool HasSaveAnalyzeSwitch(const std::vector<std::string>& arguments);

// A vertical run of 9 black pixels from row 10 down in column 17 (else column 13), then on its
// middle row the fifth black pixel from that column rightwards; the probe lies 9 pixels left of
// it. Returns the probe point in the pixels' own coordinates. `save` is called with each image
// name and the pixels as they stand (markers drawn) when the images are wanted; it may throw.
using SaveImageFn = std::function<void(const char* name, const Pixels& pixels)>;
std::optional<ScreenPoint> ScanMarkProbe(Pixels& pixels, const SaveImageFn& save);

// Captures the area and scans it; the probe in screen coordinates, or nullopt when the capture,
// the scan or writing an image fails. Never throws.
std::optional<ScreenPoint> FindMarkProbe(Desktop& d, const ScreenRect& area, const ProbeOptions& options);

// The screen's colour at the point; 0x010203 (not black) when it cannot be read.
Color ScreenPixel(Desktop& d, ScreenPoint p);

// The pixels as a 24-bit BMP file (bottom-up rows, each padded to 4 bytes).
std::string EncodeBmp24(const Pixels& pixels);

}  // namespace kavlo
