// Sizes for the screen's pixel density: every size the program is designed with is in pixels at
// 96 dots per inch (100 %), and is scaled by the screen's DPI; fonts are chosen by point size.
#pragma once
#include <windows.h>

#include "gui/gdi_handles_win.h"

namespace kavlo {

inline constexpr int kDesignDpi = 96;

// The screen's dots per inch (LOGPIXELSY); the program is DPI-aware, so this is the real one.
int ScreenDpi();
// The DPI of the window's monitor where the system tells it per window (Windows 10 1607 on),
// else the screen's; the screen's for a null window.
int WindowDpi(HWND hwnd);
// A design size (pixels at 96 DPI) in pixels at `dpi`, rounded to the nearest pixel.
inline int ScaleToDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, kDesignDpi); }
// Pixels at `dpi` back in design pixels (for what is stored, so that it means the same at any DPI).
inline int UnscaleFromDpi(int pixels, int dpi) { return MulDiv(pixels, kDesignDpi, dpi); }
// The LOGFONT height of a font of `points` points at `dpi` (negative: the character height).
inline int FontHeightForPoints(int points, int dpi) { return -MulDiv(points, dpi, 72); }
// The system's message font face at `points` points for `dpi`, regular or bold.
UniqueFont CreateMessageFont(int points, int dpi, bool bold = false);
// The height of a font's cell (ascent plus descent) in pixels.
int FontHeight(HFONT font);

}  // namespace kavlo
