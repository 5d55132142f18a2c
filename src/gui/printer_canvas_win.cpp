// Printing on a printer's DC. Failures of the spooler raise EKavloError with the system's text.
#include "gui/printer_canvas_win.h"

#include "base/errors.h"
#include "gui/compact_path_win.h"
#include "platform/system_error_win.h"

namespace kavlo {

namespace {

[[noreturn]] void PrinterFailed(const char* call) {
    const DWORD code = GetLastError();
    throw EKavloError(code ? SystemErrorText(code) : std::string(call) + " failed.");
}

int Length(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace

TPrinterCanvas::TPrinterCanvas(UniqueDc printerDc) : dc_(std::move(printerDc)) { SetBkMode(dc_.get(), TRANSPARENT); }

TPrinterCanvas::~TPrinterCanvas() {
    if (docOpen_) ::AbortDoc(dc_.get());
}

int TPrinterCanvas::PixelsPerInchX() { return GetDeviceCaps(dc_.get(), LOGPIXELSX); }
int TPrinterCanvas::PixelsPerInchY() { return GetDeviceCaps(dc_.get(), LOGPIXELSY); }
int TPrinterCanvas::PageHeight() { return GetDeviceCaps(dc_.get(), VERTRES); }

void TPrinterCanvas::SetFont(std::string_view name, int points, bool bold) {
    UniqueFont& font = fonts_[{std::string(name), points, bold}];
    if (!font) {
        LOGFONTA lf{};
        lf.lfHeight = -MulDiv(points, PixelsPerInchY(), 72);
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        name.copy(lf.lfFaceName, LF_FACESIZE - 1);
        font.reset(CreateFontIndirectA(&lf));
        if (!font) PrinterFailed("CreateFontIndirect");
    }
    current_ = font.get();
    if (!selected_)
        selected_.emplace(dc_.get(), current_);
    else
        SelectObject(dc_.get(), current_);
}

SIZE TPrinterCanvas::Extent(std::string_view text) {
    SIZE size{};
    if (!GetTextExtentPoint32A(dc_.get(), text.data(), Length(text), &size)) PrinterFailed("GetTextExtentPoint32");
    return size;
}
int TPrinterCanvas::TextWidth(std::string_view text) { return Extent(text).cx; }
int TPrinterCanvas::TextHeight(std::string_view text) { return Extent(text).cy; }

std::string TPrinterCanvas::CompactPath(std::string_view path, int width) {
    return CompactPathToWidth(dc_.get(), path, width);
}

void TPrinterCanvas::WriteText(int x, int y, std::string_view text) {
    if (!TextOutA(dc_.get(), x, y, text.data(), Length(text))) PrinterFailed("TextOut");
}

void TPrinterCanvas::WriteClippedText(int left, int top, int right, int bottom, int x, int y, std::string_view text) {
    const RECT clip{left, top, right, bottom};
    if (!ExtTextOutA(dc_.get(), x, y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()), nullptr))
        PrinterFailed("ExtTextOut");
}

void TPrinterCanvas::BeginDoc(std::string_view title) {
    const std::string name(title);
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = name.c_str();
    if (StartDocA(dc_.get(), &info) <= 0) PrinterFailed("StartDoc");
    docOpen_ = true;
    StartPage();
}

void TPrinterCanvas::NewPage() {
    EndPage();
    StartPage();
}

void TPrinterCanvas::EndDoc() {
    if (!docOpen_) return;
    if (pageOpen_) EndPage();
    if (::EndDoc(dc_.get()) <= 0) PrinterFailed("EndDoc");
    docOpen_ = false;
}

void TPrinterCanvas::AbortDoc() {
    if (!docOpen_) return;
    docOpen_ = pageOpen_ = false;
    if (::AbortDoc(dc_.get()) <= 0) PrinterFailed("AbortDoc");
}

void TPrinterCanvas::StartPage() {
    if (::StartPage(dc_.get()) <= 0) PrinterFailed("StartPage");
    pageOpen_ = true;
    // A driver may reset the DC's attributes with a page: the font and mode are set again.
    if (current_) SelectObject(dc_.get(), current_);
    SetBkMode(dc_.get(), TRANSPARENT);
}

void TPrinterCanvas::EndPage() {
    pageOpen_ = false;
    if (::EndPage(dc_.get()) <= 0) PrinterFailed("EndPage");
}

}  // namespace kavlo
