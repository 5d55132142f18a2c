// One window base for every window of the program, and the error barrier that every window
// procedure, dialog procedure, subclass procedure and COM callback puts between its handlers and
// the system: whatever a handler throws is shown by ShowException and goes no further.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace kavlo {

HINSTANCE AppInstance();

// A window's text (a control's caption, an edit's contents).
std::string WindowText(HWND hwnd);


// The application's standard error report: a message box with the title "Kavlodex", the error
// icon and OK. Tests replace the reporter to see the text instead.
using ErrorReporter = std::function<void(HWND owner, const std::string& text)>;
void ShowException(HWND owner, const std::exception& e);
void ShowErrorText(HWND owner, const std::string& message);
// Returns the previous reporter.
ErrorReporter SetErrorReporter(ErrorReporter reporter);
// The text shown for a failure that is no std::exception.
inline constexpr char kUnknownErrorText[] = "Unknown error";

// Runs `handler` and shows what it throws, anything at all; true when it returned normally.
template <typename F>
bool Guarded(HWND owner, F&& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ShowException(owner, e);
    } catch (...) {
        ShowErrorText(owner, kUnknownErrorText);
    }
    return false;
}

// A window of ours: one static window procedure binds `this` at WM_NCCREATE (into
// GWLP_USERDATA) and hands every message to HandleMessage behind the error barrier.
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

}  // namespace kavlo
