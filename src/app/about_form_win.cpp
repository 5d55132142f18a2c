// The about box: its labels placed in pixels in bold Times New Roman, the link labels (blue
// under the pointer, the hand cursor, opened on a click), and the icon.
#include "app/about_form_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "app/about_text.h"
#include "gui/window_base_win.h"
#include "res/resource.h"

namespace kavlo {

namespace {

constexpr int kAboutClientWidth = 342, kAboutClientHeight = 250;
constexpr int kFirstLabelId = 610, kIconId = 630;
constexpr COLORREF kLinkHover = RGB(0, 0, 255);

void OpenWithShell(const std::string& address) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// Of the sizes that the icon's group holds, the one nearest to `want` pixels: the icon is shown
// as it was drawn at one of its own sizes, never stretched or shrunk from another. The group's
// directory is a 6-byte header (its count at offset 4) and 14-byte entries, each starting with
// its width (0 for 256).
int NearestIconSize(int iconId, int want) {
    HRSRC group = FindResourceA(AppInstance(), MAKEINTRESOURCEA(iconId), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    const auto* dir = group ? static_cast<const BYTE*>(LockResource(LoadResource(AppInstance(), group))) : nullptr;
    if (!dir) return want;
    const int count = dir[4] | dir[5] << 8;
    int nearest = 0;
    for (int i = 0; i < count; ++i) {
        const int size = dir[6 + 14 * i] ? dir[6 + 14 * i] : 256;
        if (nearest == 0 || std::abs(size - want) < std::abs(nearest - want)) nearest = size;
    }
    return nearest ? nearest : want;
}

}  // namespace

TAboutForm::TAboutForm(const std::string& fileVersion, const std::string& date,
                       std::function<void(const std::string&)> openLink)
    : TModalDialog(IDD_ABOUT, kAboutClientWidth, kAboutClientHeight),
      version_(ShortenVersion(fileVersion)),
      date_(date),
      openLink_(openLink ? std::move(openLink) : OpenWithShell) {}

void TAboutForm::AddLabel(int id, int left, int top, const std::string& text, bool link) {
    HWND h = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX,
                             Scale(left), Scale(top), 10, 10, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(), nullptr);
    HFONT font = link ? linkFont_.get() : font_.get();
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // As wide and high as its text (an auto-sized label).
    SIZE extent{};
    {
        const WindowDc dc(h);
        SelectGuard f(dc.get(), font);
        GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    }
    SetWindowPos(h, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TLabel& label = labels_[static_cast<size_t>(labelCount_++)];
    label.form = this;
    label.link = link;
    label.hover = false;
    label.Attach(h);
}

bool TAboutForm::OnInit() {
    // Bold Times New Roman, 16 pixels high; the links underlined too.
    const int height = -Scale(16);
    font_.reset(CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, "Times New Roman"));
    linkFont_.reset(CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, "Times New Roman"));
    labelCount_ = 0;
    SetWindowTextA(hwnd_, ("About " + appName_).c_str());
    int id = kFirstLabelId;
    AddLabel(id++, 16, 16, appName_, false);
    AddLabel(id++, 88, 40, version_.empty() ? "#Version" : version_, false);
    AddLabel(id++, 88, 64, date_.empty() ? "#Date" : date_, false);
    AddLabel(id++, 127, 136, std::string(kAboutEmail), true);
    AddLabel(id++, 127, 160, std::string(kAboutWebSite), true);
    AddLabel(id++, 16, 40, "Version", false);
    AddLabel(id++, 16, 64, "Date", false);
    AddLabel(id++, 16, 88, std::string(kAboutRights), false);
    AddLabel(id++, 15, 112, std::string(kAboutAuthor), false);
    AddLabel(id++, 15, 136, "E-mail:", false);
    AddLabel(id++, 15, 160, "Website:", false);

    HWND icon = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE,
                                Scale(256), Scale(32), 0, 0, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIconId)), AppInstance(), nullptr);
    const int size = NearestIconSize(IDI_KAVLODEX, Scale(48));
    icon_.reset(static_cast<HICON>(
        LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDI_KAVLODEX), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);

    HWND ok = CreateWindowExA(0, "BUTTON", "&OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              Scale(128), Scale(200), Scale(75), Scale(25), hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), AppInstance(), nullptr);
    SendMessageA(ok, WM_SETFONT, SendMessageA(hwnd_, WM_GETFONT, 0, 0), FALSE);
    SetFocus(ok);
    return false;
}

HWND TAboutForm::LabelWindow(Label label) const {
    return label < labelCount_ ? labels_[static_cast<size_t>(label)].Handle() : nullptr;
}

TAboutForm::TLabel* TAboutForm::Find(HWND hwnd) {
    for (int i = 0; i < labelCount_; ++i)
        if (labels_[static_cast<size_t>(i)].Handle() == hwnd) return &labels_[static_cast<size_t>(i)];
    return nullptr;
}
const TAboutForm::TLabel* TAboutForm::Find(HWND hwnd) const { return const_cast<TAboutForm*>(this)->Find(hwnd); }

COLORREF TAboutForm::TextColor(HWND label) const {
    const TLabel* l = Find(label);
    return l && l->link && l->hover ? kLinkHover : GetSysColor(COLOR_WINDOWTEXT);
}

void TAboutForm::LinkClick(TLabel& label) {
    openLink_(LinkTarget(WindowText(label.Handle()), WindowText(hwnd_)));
}

bool TAboutForm::OnCommand(int id, int code, HWND) {
    if (id == IDCANCEL) {  // the one button is both default and cancel: Escape closes with OK
        End(IDOK);
        return true;
    }
    if (code == STN_CLICKED) {
        TLabel* label = Find(GetDlgItem(hwnd_, id));
        if (label && label->link) LinkClick(*label);
        return true;
    }
    return false;
}

HBRUSH TAboutForm::OnCtlColorStatic(HDC dc, HWND control) {
    SetTextColor(dc, TextColor(control));
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

bool TAboutForm::OnMouseMove(int, int) {
    SetHover(nullptr);
    return false;
}

void TAboutForm::OnDestroy() { labelCount_ = 0; }

void TAboutForm::SetHover(HWND over) {
    for (int i = 0; i < labelCount_; ++i) {
        TLabel& l = labels_[static_cast<size_t>(i)];
        const bool hover = l.link && l.Handle() == over;
        if (hover == l.hover) continue;
        l.hover = hover;
        InvalidateRect(l.Handle(), nullptr, TRUE);
        if (hover) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, l.Handle(), 0};
            TrackMouseEvent(&track);
        }
    }
}

bool TAboutForm::TLabel::OnSetCursor(int) {
    if (!link) return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

bool TAboutForm::TLabel::OnMouseMove(int, int) {
    form->SetHover(Handle());
    return false;
}

bool TAboutForm::TLabel::OnMouseLeave() {
    if (hover) form->SetHover(nullptr);
    return false;
}

}  // namespace kavlo
