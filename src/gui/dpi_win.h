// Sizes for the screen's pixel density: every size the program is designed with is in pixels at
// 96 dots per inch (100 %), and is scaled by the screen's DPI; fonts are chosen by point size.
#pragma once
#include <windows.h>

#include "gui/gdi_handles_win.h"

namespace kavlo {

inline constexpr int kDesignDpi = 96;

// The screen's dots per inch (LOGPIXELSY); the program is DPI-aware, so this is the real one.
int ScreenDpi();
// A design size (pixels at 96 DPI) in pixels at `dpi`, rounded to the nearest pixel.
inline int ScaleToDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, kDesignDpi); }
// Pixels at `dpi` back in design pixels (for what is stored, so that it means the same at any DPI).
inline int UnscaleFromDpi(int pixels, int dpi) { return MulDiv(pixels, kDesignDpi, dpi); }
// The system's message font face at `points` points for `dpi`, regular or bold.
UniqueFont CreateMessageFont(int points, int dpi, bool bold = false);
// The height of a font's cell (ascent plus descent) in pixels.
int FontHeight(HFONT font);

}  // namespace kavlo
