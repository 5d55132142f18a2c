// The modal dialog base: binding, DPI-scaled sizing and centring over the owner, the OK and
// Cancel contract, the key preview of the controls, and the exception barrier of each message.
#include "gui/modal_dialog_win.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/dpi_win.h"
#include "gui/gdi_handles_win.h"
#include "gui/window_base_win.h"

namespace kavlo {

namespace {

constexpr UINT_PTR kKeyPreviewId = 0x4b50;  // "KP"

}  // namespace

INT_PTR TModalDialog::ShowModal(HWND owner) {
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId_), owner, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

void TModalDialog::SizeAndCentre() {
    dpi_ = ScreenDpi();
    // The design size scaled for the DPI; never smaller than the template's own size, which
    // grows with the dialog font, so that a wider font cannot push a control out of view.
    if (clientWidth_ > 0 && clientHeight_ > 0) {
        RECT now{};
        GetClientRect(hwnd_, &now);
        RECT r{0, 0, std::max<int>(Scale(clientWidth_), now.right), std::max<int>(Scale(clientHeight_), now.bottom)};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    // Over the owner, or over the work area when there is none.
    RECT o{}, d{};
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &o)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
    GetWindowRect(hwnd_, &d);
    const int w = d.right - d.left, h = d.bottom - d.top;
    SetWindowPos(hwnd_, nullptr, o.left + ((o.right - o.left) - w) / 2, o.top + ((o.bottom - o.top) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TModalDialog::PreviewKeys() {
    // Every descendant: controls on child dialogs (a tab's pages) included.
    EnumChildWindows(
        hwnd_,
        [](HWND child, LPARAM self) {
            SetWindowSubclass(child, KeyPreviewProc, kKeyPreviewId, static_cast<DWORD_PTR>(self));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

LRESULT CALLBACK TModalDialog::KeyPreviewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) {
    if (msg == WM_KEYUP) {
        auto* self = reinterpret_cast<TModalDialog*>(data);
        bool handled = false;
        Guarded(self->hwnd_, [&] { handled = self->OnKeyUp(wParam); });
        if (handled) return 0;
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, KeyPreviewProc, kKeyPreviewId);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

INT_PTR TModalDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SizeAndCentre();
        return OnInit() ? TRUE : FALSE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        Accept();
        return TRUE;
    }
    LRESULT result = 0;
    if (!Crack(msg, wParam, lParam, result)) {
        if (msg != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return FALSE;
        End(IDCANCEL);
        return TRUE;
    }
    // A dialog procedure answers these by what it returns, every other message through
    // DWLP_MSGRESULT.
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK TModalDialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TModalDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<TModalDialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<TModalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = TRUE;  // a handler that failed has handled its message
    Guarded(hwnd, [&] { result = self->Dispatch(msg, wParam, lParam); });
    if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
    return result;
}

}  // namespace kavlo
