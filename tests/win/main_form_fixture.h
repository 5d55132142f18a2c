// The fixture of the window tests: the real main window on an in-memory registry, a message
// pump like the program's, a data object for drops, and a way to answer dialogs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/about_form_win.h"
#include "app/filter_form_win.h"
#include "app/main_form_win.h"
#include "app/main_messages.h"
#include "app/settings_form_win.h"
#include "app/update_check_ui_win.h"
#include "settings/registry_memory.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"

namespace kavlo {

using testing::FobFile;
using testing::FobObject;

// A minimal data object carrying files as CF_HDROP, as the file manager offers them.
class FileDrop final : public IDataObject {
public:
    explicit FileDrop(const std::vector<std::string>& paths) {
        size_t chars = 1;
        for (const auto& p : paths) chars += p.size() + 1;
        global_ = GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
        auto* df = static_cast<DROPFILES*>(GlobalLock(global_));
        df->pFiles = sizeof(DROPFILES);
        char* at = reinterpret_cast<char*>(df + 1);
        for (const auto& p : paths) {
            memcpy(at, p.c_str(), p.size() + 1);
            at += p.size() + 1;
        }
        GlobalUnlock(global_);
    }
    ~FileDrop() { GlobalFree(global_); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        const SIZE_T size = GlobalSize(global_);
        HGLOBAL copy = GlobalAlloc(GHND, size);
        memcpy(GlobalLock(copy), GlobalLock(global_), size);
        GlobalUnlock(copy);
        GlobalUnlock(global_);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = copy;
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return f->cfFormat == CF_HDROP && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    HGLOBAL global_;
};

// Real keyboard input: key events through the system's input queue, which the window with the
// keyboard focus receives as it receives a user's typing.
inline void SendKeyEvent(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
}
// Presses and releases `vk` while holding the modifiers (VK_CONTROL, VK_SHIFT, VK_MENU).
inline void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
    for (WORD m : modifiers) SendKeyEvent(m, false);
    SendKeyEvent(vk, false);
    SendKeyEvent(vk, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) SendKeyEvent(*m, true);
}
// Types a text character by character, as a keyboard with every character on it would.
inline void TypeText(const std::string& text) {
    for (unsigned char c : text) {
        INPUT in[2] = {};
        for (INPUT& i : in) {
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = c;
            i.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u);
    }
}

// The real pointer to a point on the screen, with a left click there when asked: a move of 0
// after the jump, so that the window under the pointer hears it as a user's move.
inline void MovePointer(POINT screen, bool click = false) {
    SetCursorPos(screen.x, screen.y);
    INPUT in[3] = {};
    for (INPUT& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(click ? 3u : 1u, in, sizeof(INPUT)), click ? 3u : 1u);
}

// The clipboard's text (CF_TEXT).
inline std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

// The pixels of a pane as drawn.
class PanePixels {
public:
    explicit PanePixels(HWND pane) : pane_(pane), dc_(GetDC(pane)) { UpdateWindow(pane); }
    ~PanePixels() { ReleaseDC(pane_, dc_); }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // Whether every pixel of the rectangle has the colour.
    bool All(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != colour) return false;
        return true;
    }

private:
    HWND pane_;
    HDC dc_;
};

// Runs `act` once a window of the class and caption appears (a modal dialog's loop dispatches
// the timer), e.g. to answer a dialog as a user would. Given several steps, runs one per tick,
// so that the dialog handles the input of one step before the next looks at it.
class WhenShown {
public:
    using Step = std::function<void(HWND)>;
    using Steps = std::vector<Step>;
    WhenShown(const char* caption, Step act) : WhenShown(caption, Steps{std::move(act)}) {}
    WhenShown(const char* caption, Steps steps) : caption_(caption) {
        for (Step& s : steps) steps_.push_back([s = std::move(s)](HWND h) { s(h); return true; });
        timer_ = SetTimer(nullptr, 0, 50, Tick);
        Active().push_back(this);
    }
    ~WhenShown() {
        KillTimer(nullptr, timer_);
        std::erase(Active(), this);
    }
    bool Done() const { return next_ == steps_.size(); }
    // A step that waits, tick after tick, until `ready` holds, then acts; after 10 s it fails the
    // test and acts all the same, so that a dialog is never left open.
    void AddWhen(std::function<bool()> ready, Step act) {
        steps_.push_back([ready = std::move(ready), act = std::move(act), ticks = 0](HWND h) mutable {
            if (!ready() && ++ticks < 200) return false;
            if (ticks >= 200) ADD_FAILURE() << "waited 10 s in vain";
            act(h);
            return true;
        });
    }

private:
    // Several may watch at once (a dialog and the message box it opens), each on its own timer.
    static std::vector<WhenShown*>& Active() {
        static std::vector<WhenShown*> active;
        return active;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        for (WhenShown* w : Active()) {
            if (w->timer_ != id) continue;
            HWND dlg = FindWindowA("#32770", w->caption_);
            if (!dlg || !IsWindowVisible(dlg)) return;
            if (w->Done()) {
                // A dialog still open 10 s after its last step would hold the test forever.
                if (++w->idle_ == 200) {
                    ADD_FAILURE() << "\"" << w->caption_ << "\" still open after its last step";
                    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                }
                return;
            }
            // Keys go to the active window: give a dialog that is not active yet a moment.
            if (GetForegroundWindow() != dlg && ++w->waited_ < 10) return;
            w->waited_ = 0;
            if (w->steps_[w->next_](dlg)) ++w->next_;
            return;
        }
    }
    const char* caption_;
    std::vector<std::function<bool(HWND)>> steps_;
    size_t next_ = 0;
    int waited_ = 0, idle_ = 0;
    UINT_PTR timer_;
};

// Posts Escape to a window, as a key pressed there, when the progress bar reaches a position:
// a long command that reads its messages then sees it before its next row.
class EscapeAtProgress {
public:
    EscapeAtProgress(HWND progressBar, HWND target, int position) {
        State() = {progressBar, target, position, false};
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
    }
    ~EscapeAtProgress() { UnhookWindowsHookEx(hook_); }
    bool Posted() const { return State().posted; }

private:
    struct Watched {
        HWND progressBar, target;
        int position;
        bool posted;
    };
    static Watched& State() {
        static Watched watched;
        return watched;
    }
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        Watched& w = State();
        if (code == HC_ACTION && m->hwnd == w.progressBar && m->message == PBM_SETPOS &&
            static_cast<int>(m->wParam) == w.position && !w.posted) {
            PostMessageA(w.target, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(w.target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            w.posted = true;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

class MainFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        previous_ = SetErrorReporter([this](HWND, const std::string& text) { errors_.push_back(text); });
        file1_ = dir_.File("one.fob");
        file2_ = dir_.File("two.fob");
        FobFile a;
        a.objects = testing::RealisticObjects(30, 1);
        FobFile b = a;
        b.objects[3].version += ",KAV";      // different
        b.objects.erase(b.objects.begin() + 10);  // deleted in file 2
        testing::WriteBytes(file1_, testing::WriteFob(a));
        testing::WriteBytes(file2_, testing::WriteFob(b));
    }
    void TearDown() override {
        form_.reset();
        Pump();
        SetErrorReporter(previous_);
    }

    // Clicks Different and goes through the comparison dialog with the steps.
    void ClickDifferentThrough(WhenShown::Steps steps) {
        WhenShown dialog("Compare", std::move(steps));
        form_->Click(ToolButtonCompareDifferent);
        EXPECT_TRUE(dialog.Done());
    }

    void Start(std::vector<std::string> args = {}) {
        form_ = std::make_unique<TMainForm>();
        TMainForm::Options o;
        o.arguments = std::move(args);
        o.registry = &registry_;
        o.settingsKey = "\\Software\\Brenvik\\KavloWindowTest";
        o.languageId = 0x0409;
        o.showMessage = [this](HWND, const std::string& text) { messages_.push_back(text); };
        o.openWebsite = [this] { ++websiteOpened_; };
        // No test reaches the real web site: the checks go to a server of the test's, or find
        // no network.
        o.updateCheck = [this](HWND owner) {
            UpdateCheckEnv env = SystemUpdateCheckEnv(owner);
            env.networkPresent = [] { return false; };
            env.openWebsite = [this] { ++websiteOpened_; };
            if (updateSite_) {
                env.site = *updateSite_;
                env.networkPresent = [] { return true; };  // whatever this machine's addresses are
            }
            return env;
        };
        o.openLink = [this](const std::string& address) { linksOpened_.push_back(address); };
        o.desktop = desktop_;
        o.openMergeObject = openMergeObject_;
        form_->Create(std::move(o));
        form_->Show(SW_SHOWNORMAL);
        SetForegroundWindow(form_->Handle());  // the keyboard's input goes to this window
        Pump();
    }

    // Dispatches what is queued, as the program's message loop does.
    void Pump(int rounds = 3) {
        for (int r = 0; r < rounds; ++r) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == kWmEditFieldFilter && form_ && msg.hwnd == form_->Handle())
                    editFieldFilter_.push_back(static_cast<int>(msg.wParam));
                if (form_ && form_->PreTranslate(msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(5);
        }
    }

    // The toolbar's image lists, for enabled and for disabled buttons: one image per button, of that size.
    void ExpectToolbarImages(int size) const {
        for (UINT get : {TB_GETIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
            auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(Form().ToolBar().Handle(), get, 0, 0));
            ASSERT_NE(list, nullptr) << get;
            int cx = 0, cy = 0;
            ImageList_GetIconSize(list, &cx, &cy);
            EXPECT_EQ(cx, size);
            EXPECT_EQ(cy, size);
            EXPECT_EQ(ImageList_GetImageCount(list), kToolButtonCount);
        }
    }

    // Ctrl+Shift+M, the Three-Way Merge dialog filled by keyboard (each row reached by its
    // mnemonic: Original, Modified, Target, Result) and Enter; `after` follows (Escape for a
    // dialog that stays open).
    void MergeByKeyboard(const std::array<std::string, 4>& paths, WhenShown::Steps after = {}) {
        WhenShown::Steps steps;
        for (size_t row = 0; row < 4; ++row)
            steps.push_back([&paths, row](HWND) {
                PressKey(static_cast<WORD>("OMTR"[row]), {VK_MENU});
                TypeText(paths[row]);
            });
        steps.push_back([](HWND) { PressKey(VK_RETURN); });
        for (WhenShown::Step& s : after) steps.push_back(std::move(s));
        WhenShown dialog("Three-Way Merge", std::move(steps));
        SetForegroundWindow(form_->Handle());
        PressKey('M', {VK_CONTROL, VK_SHIFT});
        Pump();
        EXPECT_TRUE(dialog.Done());
    }

    TMainForm& Form() const { return *form_; }

    int Rows() const { return Form().Session().Built().List.AddedRowCount(); }
    std::string Cell(int row, int col) const { return std::string(Form().Session().Built().List.Cell(row, col)); }

    // Makes the grid show exactly `rows` data rows.
    void ShowDataRows(int rows) {
        RECT wr{}, gr{};
        GetWindowRect(form_->Handle(), &wr);
        GetClientRect(Form().Grid().Handle(), &gr);
        const int want = kGridRowHeight + rows * (kGridRowHeight + kGridLineWidth) + 4;
        SetWindowPos(form_->Handle(), nullptr, 0, 0, wr.right - wr.left, (wr.bottom - wr.top) + (want - gr.bottom),
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        ASSERT_EQ(ComputeScrollMetrics(Form().Grid().ScrollState()).fitRows, rows);
    }

    testing::TempDir dir_;
    std::string file1_, file2_;
    MemoryRegistry registry_;
    std::unique_ptr<TMainForm> form_;
    std::vector<std::string> errors_, messages_;
    std::vector<int> editFieldFilter_;
    int websiteOpened_ = 0;
    std::optional<std::string> updateSite_;  // host:port of the test's web site
    std::vector<std::string> linksOpened_;
    Desktop* desktop_ = nullptr;  // what marking drives; the real desktop when null
    decltype(TMainForm::Options::openMergeObject) openMergeObject_;  // a Merge window's Enter
    ErrorReporter previous_;
};

}  // namespace kavlo
