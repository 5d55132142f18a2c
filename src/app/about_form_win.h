// The about box: the program's name, version and date, the rights and the author, two link
// labels (e-mail and web site) and the program's icon.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "gui/gdi_handles_win.h"
#include "gui/modal_dialog_win.h"

namespace kavlo {

class TAboutForm : public TModalDialog {
public:
    // The build's version and date (ReadOwnVersion); an empty one leaves its placeholder.
    // `openLink` opens an address (ShellExecuteA "open" when empty).
    TAboutForm(const std::string& fileVersion, const std::string& date,
               std::function<void(const std::string& address)> openLink = {});
    // The name shown, and "About " + the name as the caption.
    void SetAppName(const std::string& name) { appName_ = name; }
    void Show(HWND owner) { ShowModal(owner); }

    // The labels, while the box is shown: the name, the version, the date, the e-mail and web
    // links in this order; and the colour a label's text is drawn in now.
    enum Label { LabelName, LabelVersion, LabelDate, LabelEmail, LabelWebSite };
    HWND LabelWindow(Label label) const;
    COLORREF TextColor(HWND label) const;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    HBRUSH OnCtlColorStatic(HDC dc, HWND control) override;
    bool OnMouseMove(int x, int y) override;
    void OnDestroy() override;

private:
    // A label, which hears the pointer: a link label turns blue while the pointer is over it
    // and shows the hand cursor; the pointer leaving it, for another label, the box or another
    // window, gives it the window-text colour again.
    class TLabel : public TSubclass {
    public:
        TLabel() = default;
        TAboutForm* form = nullptr;
        bool link = false;
        bool hover = false;

    protected:
        bool OnSetCursor(int hitTest) override;
        bool OnMouseMove(int x, int y) override;
        bool OnMouseLeave() override;
    };
    void AddLabel(int id, int left, int top, const std::string& text, bool link);
    TLabel* Find(HWND hwnd);
    const TLabel* Find(HWND hwnd) const;
    void LinkClick(TLabel& label);
    void SetHover(HWND over);  // the link label under the pointer, or none

    std::string version_, date_, appName_ = "#Name";
    std::function<void(const std::string&)> openLink_;
    UniqueFont font_, linkFont_;
    UniqueIcon icon_;  // the application's icon at one of its own sizes
    std::array<TLabel, 11> labels_;
    int labelCount_ = 0;
};

}  // namespace kavlo
