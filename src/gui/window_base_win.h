// One window base for every window of the program: a static window procedure, `this` bound at
// WM_NCCREATE (WM_INITDIALOG for dialogs) into GWLP_USERDATA, and every exception of a handler
// caught before it can cross into user32 and shown by ShowException.
#pragma once
#include <windows.h>

#include <exception>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

namespace kavlo {

// Shows the error as the application's standard error report: a message box with the title
// "Kavlodex", the error icon and OK. Tests replace the reporter to see the text instead.
using ErrorReporter = std::function<void(HWND owner, const std::string& text)>;
void ShowException(HWND owner, const std::exception& e);
void ShowErrorText(HWND owner, const std::string& message);
// Returns the previous reporter.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

class TWindow {
public:
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;
    HWND Handle() const { return hwnd_; }

protected:
    TWindow() = default;
    // Registers the class once per process.
    static void RegisterClassOnce(const char* className, UINT style, HBRUSH background, HICON icon);
    HWND CreateWindowOf(const char* className, DWORD exStyle, const char* caption, DWORD style, int x, int y,
                        int w, int h, HWND parent, HMENU id);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd_, msg, wParam, lParam); }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// A modal dialog from a resource template. The dialog edits the record it is given and
// returns IDOK or IDCANCEL; it never reaches into the main window.
class TModalDialog {
public:
    virtual ~TModalDialog() = default;
    INT_PTR ShowModal(HWND owner);
    HWND Handle() const { return hwnd_; }

protected:
    explicit TModalDialog(int templateId) : templateId_(templateId) {}
    virtual bool OnInit() { return true; }
    // Return true when handled.
    virtual bool OnCommand(int id, int code) { return false; }
    virtual INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return FALSE; }
    void End(INT_PTR result) { EndDialog(hwnd_, result); }
    void CenterOn(HWND owner);

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    int templateId_;
};

HINSTANCE AppInstance();

// A tooltip that shows a text at a given place on request (the grid's cell hints, the status
// bar's panel hints): `info` is filled as its one tool, with `id` for the tool's id.
HWND CreateTrackingTip(HWND owner, UINT_PTR id, TOOLINFOA& info);

// The common open or save dialog; the chosen name, or nothing when cancelled.
std::optional<std::string> RunFileDialog(HWND owner, const char* filter, const std::string& start,
                                         const std::string& initialDir, DWORD flags, bool save);

}  // namespace kavlo
