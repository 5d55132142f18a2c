// What the windows that show objects' lines in panes of their own share: the wide text of a
// line, the fonts, the pane's header, gutter number and line drawing (one cell a character),
// the back buffer, scroll bars, wheel and scroll-bar steps, the tints of a side's changes, and
// the cascaded placement of a new window.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"
#include "listing/char_diff.h"

namespace kavlo {

// The tints: the blue/orange pair of the Okabe-Ito palette, which stays apart for every common
// kind of colour blindness (never red against green). Orange marks what only the left side (file
// 1, MODIFIED) has, blue what only the right side (file 2, TARGET) has; a changed line is a paler
// orange on the left and a paler blue on the right. Colour is never the only sign: the gutter
// shows a sign beside every such line.
inline const COLORREF kRemovedBack = RGB(255, 207, 140);   // from orange #E69F00
inline const COLORREF kAddedBack = RGB(176, 216, 246);     // from sky blue #56B4E9
inline const COLORREF kChangedBack1 = RGB(255, 233, 200);  // paler orange
inline const COLORREF kChangedBack2 = RGB(216, 236, 251);  // paler blue
inline const COLORREF kBlankBack = RGB(228, 228, 228);     // where another side has a line and this none
inline const COLORREF kGutterBack = RGB(244, 244, 244);
inline const COLORREF kGutterText = RGB(96, 96, 96);
inline const COLORREF kCurrentChangeBar = RGB(0, 114, 178);  // Okabe-Ito blue

// The marks of a changed line's changed characters: a stronger tint of the line's own over them;
// where only the other version has characters, and at the pane's edge for changes scrolled out
// of view, a bar in a full colour.
struct CharMarkColours {
    COLORREF chars, bar;
};
inline const CharMarkColours kChangedChars1{RGB(255, 196, 110), RGB(230, 159, 0)};   // orange #E69F00
inline const CharMarkColours kChangedChars2{RGB(150, 204, 242), RGB(86, 180, 233)};  // sky blue #56B4E9

// Text of ours as UTF-16: UTF-8 when it is, otherwise Windows-1252, as the line's characters
// are counted (LineChars).
std::wstring WideText(std::string_view text);
// The index in `wide` of character `n`; a surrogate pair is one character.
size_t WideIndex(const std::wstring& wide, int n);

// The headers' and status bar's font, and the lines' fixed-pitch font, so that a character
// column is the same width in every pane; and the lines' height and a character's width.
UniqueFont MakeUiFont(int dpi);
UniqueFont MakeTextFont(int dpi);
void MeasureTextFont(HFONT font, int dpi, int& lineHeight, int& charWidth);

// The decimal digits of n.
int Digits(size_t n);

// A window that came up on a monitor of another DPI than `dpi` (the system's): resized to its
// monitor's, which `dpi` becomes.
void FitToWindowDpi(HWND hwnd, int& dpi);

// A status bar part's text.
std::string StatusBarText(HWND status, int part);

// A pane drawn into a bitmap first, copied to the pane's dirty rectangle at the end: no flicker
// while scrolling. Empty (dc() null) when the pane has no area.
class PaneBuffer {
public:
    PaneBuffer(HWND pane, HDC target, const RECT& dirty);
    ~PaneBuffer();
    PaneBuffer(const PaneBuffer&) = delete;
    PaneBuffer& operator=(const PaneBuffer&) = delete;
    HDC dc() const { return mem_.get(); }
    const RECT& client() const { return client_; }

private:
    HDC target_;
    RECT dirty_, client_{};
    UniqueDc mem_;
    UniqueBitmap bmp_;
    HGDIOBJ old_ = nullptr;
};

// The pane's header over `head`: its text in `font`, a line below it.
void PaintPaneHeader(HDC dc, const RECT& head, HFONT font, std::string_view text, int dpi);
// The gutter of a row over `gutter`: the line number (none for 0) right-aligned at `numberRight`.
void PaintGutterNumber(HDC dc, const RECT& gutter, int numberRight, int charWidth, int line);
// A rectangle filled with a colour.
void FillWith(HDC dc, const RECT& rect, COLORREF colour);
// The current row's frame around its text: the focus rectangle in the pane with the focus.
void PaintCurrentRow(HDC dc, const RECT& text, bool focused);
// The characters of `line` from `leftCol` on, `visible` + 1 of them at most, from x in the row
// `rect`, one cell a character whatever width the face (or the face that stands in for a
// missing glyph) gives it, so that the columns of the panes stay in line.
void PaintLineChars(HDC dc, const RECT& rect, int x, std::string_view line, int leftCol, int visible, int charWidth);
// The marks of a line's changed characters `ranges` in the row `rect`, whose first column in
// view, `leftCol`, starts at x (`visible` columns in view, one cell a character): a range in view
// over its characters, an empty one (where only the other version has characters) as a bar
// `bar` wide at its place, and one out of view as such a bar at the pane's edge on its side.
void PaintCharMarks(HDC dc, const RECT& rect, int x, const std::vector<CharRange>& ranges, int leftCol, int visible,
                    int charWidth, CharMarkColours colours, int bar);

// A pane's scroll bars: `rows` rows with `pageRows` in view from `top`, `columns` columns with
// `pageColumns` in view from `left`.
void SetPaneScrollBars(HWND pane, int rows, int pageRows, int top, int columns, int pageColumns, int left);
// Where a scroll bar's `code` takes position `pos` of a bar paging by `page`; `pos` unchanged
// for a code that does not move.
int ScrolledPosition(HWND pane, int bar, int code, int pos, int page);
// The rows a wheel turn of `delta` moves the top row by (a turn towards the user, negative
// delta, moves it down), or horizontal the columns it moves the first column by; `remainder`
// keeps the part of a notch not yet moved.
int WheelStep(int& remainder, int delta, bool horizontal, int pageRows);

class TLinesForm;

// A pane of lines of a TLinesForm: its painting, focus, keys, mouse, wheel and scroll bars go to
// the form, which draws it whole.
class TLinePane : public TWindow {
public:
    void Create(TLinesForm* form, int pane);

protected:
    bool OnPaint() override;
    bool OnEraseBackground() override { return true; }  // painted whole by OnPaint
    LRESULT OnGetDlgCode() override { return DLGC_WANTALLKEYS; }
    bool OnFocus(bool gained) override;
    bool OnKey(WPARAM vk) override;
    bool OnMouseDown(MouseButton button, int x, int y) override;
    bool OnMouseWheel(int delta, WPARAM keys, bool horizontal) override;
    bool OnScroll(int bar, int code, HWND control) override;

private:
    TLinesForm* form_ = nullptr;
    int pane_ = 0;
};

// The frame of a window of panes of lines over a status bar: its creation with a wide caption,
// fonts, focus kept on the last pane that had it, bringing to front, DPI changes, its minimum
// size, and its size told as it closes.
class TLinesForm : public TWindow {
public:
    // Called as the window closes with its normal (restored) size in 96-DPI pixels.
    using ClosedSize = std::function<void(int width, int height)>;
    static constexpr int kMaxPanes = 4;

    // Restores the window when it is minimized and activates it, once the input that asked
    // for it (a key or a double click in another window) has been handled.
    void BringToFront();
    std::string StatusText(int part) const { return StatusBarText(status_, part); }
    HWND Pane(int pane) const { return panes_[static_cast<size_t>(pane)].Handle(); }

protected:
    friend class TLinePane;
    // Creates the window of class `className` over `rect` (screen pixels) with `panes` panes
    // and shows it; `minimum` is its smallest size at 96 DPI.
    void CreateFrame(const char* className, std::string_view caption, const RECT& rect, SIZE minimum,
                     ClosedSize closed, int panes);
    void Activate();
    void MakeFonts();
    // Sizes the status bar along the window's bottom: its first part takes what `rightWidths`
    // (96-DPI pixels, the parts after it) leave. Returns the client area above it.
    RECT PlaceStatusBar(std::initializer_list<int> rightWidths);
    int Scaled(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }

    // What the derived window does: lays out its parts, fills its status bar, paints a pane,
    // and takes a pane's input.
    virtual void FormResize() = 0;
    virtual void UpdateStatus() = 0;
    virtual void PaintPane(int pane, HDC dc, const RECT& dirty) = 0;
    virtual void KeyDown(int pane, WPARAM vk) = 0;
    virtual void MouseDown(int pane, int y) = 0;
    virtual void Wheel(int pane, int delta, bool horizontal) = 0;
    virtual void Scroll(int pane, int bar, int code) = 0;

    bool OnCreate() override;
    bool OnSize(int width, int height) override;
    bool OnGetMinMaxInfo(MINMAXINFO& info) override;
    bool OnDpiChanged(int dpi, const RECT& suggested) override;
    bool OnFocus(bool gained) override;
    bool OnAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

    std::array<TLinePane, kMaxPanes> panes_;
    int paneCount_ = 0;
    HWND status_ = nullptr;
    UniqueFont font_, uiFont_;  // the lines' fixed-pitch font, the headers' and status bar's
    int dpi_ = kDesignDpi;
    int lineHeight_ = 16, charWidth_ = 8;
    int focusPane_ = 0;
    SIZE minimum_{};
    ClosedSize closed_;
};

}  // namespace kavlo
