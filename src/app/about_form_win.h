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
    bool OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct TLabel {
        HWND hwnd = nullptr;
        bool link = false;
        bool hover = false;
    };
    void AddLabel(int id, int left, int top, const std::string& text, bool link);
    TLabel* Find(HWND hwnd);
    const TLabel* Find(HWND hwnd) const;
    void LinkClick(TLabel& label);
    void SetHover(HWND over);  // the link label under the pointer, or none
    static LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    std::string version_, date_, appName_ = "#Name";
    std::function<void(const std::string&)> openLink_;
    UniqueFont font_, linkFont_;
    UniqueIcon icon_;  // the application's icon at one of its own sizes
    std::array<TLabel, 11> labels_{};
    int labelCount_ = 0;
};

}  // namespace kavlo
