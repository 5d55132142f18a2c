// One window base for every window of the program, and the error barrier that every window
// procedure, dialog procedure, subclass procedure and COM callback puts between its handlers and
// the system: whatever a handler throws is shown by ShowException and goes no further.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

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

// The typed handlers of a window's messages, and the one place that cracks a message into the
// handler of its kind. A handler returns true when it handled the message; what no handler takes
// is left to the default procedure of whoever cracks it: a window of ours (TWindow), a dialog
// (TModalDialog) or a subclassed control (TSubclass). Each overrides only the handlers it needs.
class TMessageTarget {
public:
    virtual ~TMessageTarget() = default;
    TMessageTarget(const TMessageTarget&) = delete;
    TMessageTarget& operator=(const TMessageTarget&) = delete;
    HWND Handle() const { return hwnd_; }

protected:
    TMessageTarget() = default;

    // Which mouse button a press or release is of.
    enum class MouseButton { Left, Right, Middle };

    // The window's life. OnDestroy and OnNcDestroy are told; the default procedure runs after.
    virtual bool OnCreate() { return false; }
    virtual void OnDestroy() {}
    virtual void OnNcDestroy() {}
    // Size and place: the new client size; the sizes the frame may take; a frame being dragged
    // (`edge` the WMSZ_ side or corner); a move or size about to happen; the end of the user's
    // move or size; a new DPI with the rectangle the system suggests.
    virtual bool OnSize(int /*width*/, int /*height*/) { return false; }
    virtual bool OnGetMinMaxInfo(MINMAXINFO& /*info*/) { return false; }
    virtual bool OnSizing(WPARAM /*edge*/, RECT& /*frame*/) { return false; }  // handled: TRUE
    virtual bool OnWindowPosChanging(WINDOWPOS& /*pos*/) { return false; }
    virtual bool OnExitSizeMove() { return false; }
    virtual bool OnDpiChanged(int /*dpi*/, const RECT& /*suggested*/) { return false; }
    // Drawing: OnPaint begins and ends the painting itself; an erased background returns 1; an
    // owner-drawn control of this window drawn; the brush a static control's background is
    // painted with, its text colour set in `dc` (null leaves both to the default procedure).
    virtual bool OnPaint() { return false; }
    virtual bool OnEraseBackground() { return false; }
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual HBRUSH OnCtlColorStatic(HDC /*dc*/, HWND /*control*/) { return nullptr; }
    // Focus and activation: OnFocus for WM_SETFOCUS (true) and WM_KILLFOCUS (false); OnActivate
    // is told (the default procedure runs after, it moves the focus).
    virtual bool OnFocus(bool /*gained*/) { return false; }
    virtual void OnActivate(WPARAM /*state*/) {}
    // The keyboard: the dialog code (0 leaves it to the default procedure), a key pressed, a
    // character typed, a key released.
    virtual LRESULT OnGetDlgCode() { return 0; }
    virtual bool OnKey(WPARAM /*vk*/) { return false; }
    virtual bool OnChar(WPARAM /*ch*/) { return false; }
    virtual bool OnKeyUp(WPARAM /*vk*/) { return false; }
    // The mouse, in client coordinates (the wheel's in screen ones); `keys` are the MK_ flags.
    virtual bool OnMouseMove(int /*x*/, int /*y*/) { return false; }
    virtual bool OnMouseLeave() { return false; }
    virtual bool OnMouseDown(MouseButton /*button*/, int /*x*/, int /*y*/) { return false; }
    virtual bool OnMouseUp(MouseButton /*button*/, int /*x*/, int /*y*/) { return false; }
    virtual bool OnDoubleClick(int /*x*/, int /*y*/) { return false; }  // the left button's
    virtual bool OnMouseWheel(int /*delta*/, WPARAM /*keys*/, bool /*horizontal*/) { return false; }
    // The cursor over the window (`hitTest` the HT code); handled: the cursor is set.
    virtual bool OnSetCursor(int /*hitTest*/) { return false; }
    // A scroll bar: the window's own (control null) or a scroll-bar control; `bar` SB_HORZ or
    // SB_VERT, `code` the SB_ request.
    virtual bool OnScroll(int /*bar*/, int /*code*/, HWND /*control*/) { return false; }
    // Commands and notifications of menus and child controls.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool OnContextMenu(HWND /*clicked*/, POINT /*screen*/) { return false; }
    virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
    // The messages the program defines (WM_USER and above, WM_APP and above).
    virtual bool OnAppMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

    // Hands the message to its typed handler; true with the handler's `result` when it handled
    // the message, false when the default procedure is to have it.
    bool Crack(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND hwnd_ = nullptr;

private:
    // The button of a press or release message.
    static MouseButton ButtonOf(UINT msg);
};

// A window of ours: one static window procedure binds `this` at WM_NCCREATE (into
// GWLP_USERDATA) and cracks every message, behind the error barrier, into its typed handler;
// what no handler takes goes to the default window procedure.
class TWindow : public TMessageTarget {
public:
    ~TWindow() override;

protected:
    TWindow() = default;
    // Registers the class once per process.
    static void RegisterClassOnce(const char* className, UINT style, HBRUSH background, HICON icon);
    HWND CreateWindowOf(const char* className, DWORD exStyle, const char* caption, DWORD style, int x, int y,
                        int w, int h, HWND parent, HMENU id);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// The windows of a list (of the windows of one kind that a window opened) still open, in the
// list's order: `windowOf` gives an entry's window, which has no handle once it is closed.
template <typename Entries, typename WindowOf>
auto OpenWindowsOf(const Entries& entries, WindowOf windowOf) {
    std::vector<decltype(windowOf(*std::begin(entries)))> open;
    for (const auto& entry : entries)
        if (auto* window = windowOf(entry); window->Handle()) open.push_back(window);
    return open;
}

// A control of the system's (an edit, a label) subclassed by an object of ours: Attach hands
// each of its messages, behind the error barrier, to the typed handlers; what they leave goes to
// the control's own procedure. The subclass ends with the control.
class TSubclass : public TMessageTarget {
public:
    ~TSubclass() override;
    void Attach(HWND control);

protected:
    TSubclass() = default;
    // The control's own answer to the message being handled now.
    LRESULT Default() { return DefSubclassProc(hwnd_, now_.message, now_.wParam, now_.lParam); }

private:
    static LRESULT CALLBACK StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR data);
    MSG now_{};
};

}  // namespace kavlo
