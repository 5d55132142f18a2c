// The screen's DPI, the scaling of design sizes and fonts by point size.
#include "gui/dpi_win.h"

namespace kavlo {

int ScreenDpi() {
    const WindowDc dc(nullptr);
    const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : kDesignDpi;
    return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (hwnd && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

UniqueFont CreateMessageFont(int points, int dpi, bool bold) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONTA lf = ncm.lfMessageFont;  // its face; the size is ours
    lf.lfHeight = FontHeightForPoints(points, dpi);
    lf.lfWidth = 0;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return UniqueFont(CreateFontIndirectA(&lf));
}

int FontHeight(HFONT font) {
    const WindowDc dc(nullptr);
    SelectGuard select(dc.get(), font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight;
}

}  // namespace kavlo
