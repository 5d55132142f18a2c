// The print canvas on a printer's device context: GDI fonts, text output and the spooler's
// document and pages.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "base/print_canvas.h"
#include "gui/gdi_handles_win.h"

namespace kavlo {

class TPrinterCanvas final : public PrintCanvas {
public:
    explicit TPrinterCanvas(UniqueDc printerDc);
    // A document still open (its end failed) is aborted.
    ~TPrinterCanvas() override;
    TPrinterCanvas(const TPrinterCanvas&) = delete;
    TPrinterCanvas& operator=(const TPrinterCanvas&) = delete;

    int PixelsPerInchX() override;
    int PixelsPerInchY() override;
    int PageHeight() override;
    void SetFont(std::string_view name, int points, bool bold) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    std::string CompactPath(std::string_view path, int width) override;
    void WriteText(int x, int y, std::string_view text) override;
    void WriteClippedText(int left, int top, int right, int bottom, int x, int y, std::string_view text) override;
    void BeginDoc(std::string_view title) override;
    void NewPage() override;
    void EndDoc() override;
    void AbortDoc() override;

private:
    SIZE Extent(std::string_view text);
    void StartPage();
    void EndPage();

    UniqueDc dc_;
    // The fonts made so far, by face, size and weight: a list uses three, over and over.
    std::map<std::tuple<std::string, int, bool>, UniqueFont> fonts_;
    HFONT current_ = nullptr;
    std::optional<SelectGuard> selected_;  // puts the DC's own font back before the fonts go
    bool docOpen_ = false, pageOpen_ = false;
};

}  // namespace kavlo
