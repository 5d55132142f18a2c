// The seam of a printer: what the print layout (output) asks of one, its resolution and page
// height, fonts, text measures and output, and the document's pages. The window prints on a
// printer's device context (gui's printer canvas); the tests record the calls instead.
#pragma once
#include <string>
#include <string_view>

namespace kavlo {

class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;

    // Device pixels per inch across and down (the device's LOGPIXELSX and LOGPIXELSY).
    virtual int PixelsPerInchX() = 0;
    virtual int PixelsPerInchY() = 0;
    // The height of the printable part of a page, in device pixels.
    virtual int PageHeight() = 0;

    // The font of what follows, by face name, size in points and weight.
    virtual void SetFont(std::string_view name, int points, bool bold) = 0;
    // The extent of a text in the current font, in device pixels.
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight(std::string_view text) = 0;
    // A file path shortened to fit `width` device pixels in the current font: the middle of its
    // folders gives way to "...", so that the file's own name stays whole while it fits.
    virtual std::string CompactPath(std::string_view path, int width) = 0;
    // A text whose top left corner is at (x, y).
    virtual void WriteText(int x, int y, std::string_view text) = 0;
    // The same, with nothing drawn outside the rectangle from (left, top) to (right, bottom).
    virtual void WriteClippedText(int left, int top, int right, int bottom, int x, int y,
                                  std::string_view text) = 0;

    // Starts the document, with the title that the print queue shows, and its first page.
    virtual void BeginDoc(std::string_view title) = 0;
    // Ends the page and starts the next.
    virtual void NewPage() = 0;
    // Ends the last page and the document.
    virtual void EndDoc() = 0;
    // Ends the document without printing it: the job is dropped from the queue.
    virtual void AbortDoc() = 0;
};

}  // namespace kavlo
