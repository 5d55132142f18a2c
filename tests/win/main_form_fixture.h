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
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "app/main_messages.h"
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

// Runs `act` once a window of the class and caption appears (a modal dialog's loop dispatches
// the timer), e.g. to answer a dialog as a user would.
class WhenShown {
public:
    WhenShown(const char* caption, std::function<void(HWND)> act) {
        Current() = this;
        caption_ = caption;
        act_ = std::move(act);
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~WhenShown() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    bool Done() const { return done_; }

private:
    static WhenShown*& Current() {
        static WhenShown* w = nullptr;
        return w;
    }
    friend class MainFormTest;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WhenShown* w = Current();
        if (!w || w->done_) return;
        HWND dlg = FindWindowA("#32770", w->caption_);
        if (!dlg || !IsWindowVisible(dlg)) return;
        w->done_ = true;
        w->act_(dlg);
    }
    const char* caption_;
    std::function<void(HWND)> act_;
    UINT_PTR timer_;
    bool done_ = false;
};

class MainFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        // The comparison settings live for the process: each test starts from their start values.
        TheCompareSettings() = CompareSettings{};
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
        TheCompareSettings() = CompareSettings{};
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
        o.chooseSaveFile = [this](HWND, const std::string& start) -> std::optional<std::string> {
            saveDialogStart_.push_back(start);
            if (saveAnswers_.empty()) return std::nullopt;
            std::optional<std::string> a = saveAnswers_.front();
            saveAnswers_.erase(saveAnswers_.begin());
            return a;
        };
        form_->Create(std::move(o));
        form_->Show(SW_SHOWNORMAL);
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

    int Rows() const { return form_->Built().List.AddedRowCount(); }
    std::string Cell(int row, int col) const { return std::string(form_->Built().List.Cell(row, col)); }

    // Makes the grid show exactly `rows` data rows.
    void ShowDataRows(int rows) {
        RECT wr{}, gr{};
        GetWindowRect(form_->Handle(), &wr);
        GetClientRect(form_->Grid().Handle(), &gr);
        const int want = kGridRowHeight + rows * (kGridRowHeight + kGridLineWidth) + 4;
        SetWindowPos(form_->Handle(), nullptr, 0, 0, wr.right - wr.left, (wr.bottom - wr.top) + (want - gr.bottom),
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        ASSERT_EQ(ComputeScrollMetrics(form_->ScrollState()).fitRows, rows);
    }

    testing::TempDir dir_;
    std::string file1_, file2_;
    MemoryRegistry registry_;
    std::unique_ptr<TMainForm> form_;
    std::vector<std::string> errors_, messages_;
    std::vector<int> editFieldFilter_;
    // What the save dialog answers, in turn (nullopt: Cancel), and the names it started from.
    std::vector<std::optional<std::string>> saveAnswers_;
    std::vector<std::string> saveDialogStart_;
    ErrorReporter previous_;
};

}  // namespace kavlo
