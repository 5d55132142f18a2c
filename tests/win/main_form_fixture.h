// The fixture of the window tests: the real main window on an in-memory registry, a message
// pump like the program's, a data object for drops, and a way to answer dialogs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "app/main_messages.h"
#include "main_form_peer.h"
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

// Runs `act` once a window of the class and caption appears (a modal dialog's loop dispatches
// the timer), e.g. to answer a dialog as a user would. Given several steps, runs one per tick,
// so that the dialog handles the input of one step before the next looks at it.
class WhenShown {
public:
    WhenShown(const char* caption, std::function<void(HWND)> act) : WhenShown(caption, Steps{std::move(act)}) {}
    using Steps = std::vector<std::function<void(HWND)>>;
    WhenShown(const char* caption, Steps steps) : caption_(caption), steps_(std::move(steps)) {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~WhenShown() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    bool Done() const { return next_ == steps_.size(); }

private:
    static WhenShown*& Current() {
        static WhenShown* w = nullptr;
        return w;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WhenShown* w = Current();
        if (!w || w->Done()) return;
        HWND dlg = FindWindowA("#32770", w->caption_);
        if (!dlg || !IsWindowVisible(dlg)) return;
        w->steps_[w->next_++](dlg);
    }
    const char* caption_;
    Steps steps_;
    size_t next_ = 0;
    UINT_PTR timer_;
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

    void Start(std::vector<std::string> args = {}) {
        form_ = std::make_unique<TMainForm>();
        TMainForm::Options o;
        o.arguments = std::move(args);
        o.registry = &registry_;
        o.settingsKey = "\\Software\\Brenvik\\KavloWindowTest";
        o.languageId = 0x0409;
        o.showMessage = [this](HWND, const std::string& text) { messages_.push_back(text); };
        o.openWebsite = [this] { ++websiteOpened_; };
        // No test reaches the real web site: a check at start goes to a server of the test's.
        UpdateCheckEnv check;
        check.networkPresent = [] { return false; };
        o.updateCheck = updateCheck_ ? *updateCheck_ : check;
        o.desktop = desktop_;
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

    // The toolbar's image lists, for enabled and for disabled buttons: 27 images of that size.
    void ExpectToolbarImages(int size) const {
        for (UINT get : {TB_GETIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
            auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(Form().ToolBar(), get, 0, 0));
            ASSERT_NE(list, nullptr) << get;
            int cx = 0, cy = 0;
            ImageList_GetIconSize(list, &cx, &cy);
            EXPECT_EQ(cx, size);
            EXPECT_EQ(cy, size);
            EXPECT_EQ(ImageList_GetImageCount(list), 27);
        }
    }

    TMainFormPeer Form() const { return TMainFormPeer(*form_); }

    int Rows() const { return Form().Built().List.AddedRowCount(); }
    std::string Cell(int row, int col) const { return std::string(Form().Built().List.Cell(row, col)); }

    // Makes the grid show exactly `rows` data rows.
    void ShowDataRows(int rows) {
        RECT wr{}, gr{};
        GetWindowRect(form_->Handle(), &wr);
        GetClientRect(Form().Grid().Handle(), &gr);
        const int want = kGridRowHeight + rows * (kGridRowHeight + kGridLineWidth) + 4;
        SetWindowPos(form_->Handle(), nullptr, 0, 0, wr.right - wr.left, (wr.bottom - wr.top) + (want - gr.bottom),
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        ASSERT_EQ(ComputeScrollMetrics(Form().ScrollState()).fitRows, rows);
    }

    testing::TempDir dir_;
    std::string file1_, file2_;
    MemoryRegistry registry_;
    std::unique_ptr<TMainForm> form_;
    std::vector<std::string> errors_, messages_;
    std::vector<int> editFieldFilter_;
    int websiteOpened_ = 0;
    std::optional<UpdateCheckEnv> updateCheck_;
    Desktop* desktop_ = nullptr;  // what marking drives; the real desktop when null
    ErrorReporter previous_;
};

}  // namespace kavlo
