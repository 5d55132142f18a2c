// The window system's owners and the dialog base, on the real user32 and COM.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/modal_dialog_win.h"
#include "gui/window_base_win.h"
#include "platform/com_win.h"
#include "res/resource.h"

namespace kavlo {
namespace {

class Counted final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        *out = riid == IID_IUnknown ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

TEST(WinComPtr, HoldsOneReferenceForEachOwner) {
    Counted object;
    {
        auto a = ComPtr<IUnknown>::Attach(&object);  // the creator's reference
        EXPECT_EQ(object.refs, 1u);
        ComPtr<IUnknown> b = a;                      // a copy takes one
        auto c = ComPtr<IUnknown>::Share(&object);   // so does sharing a raw pointer
        ComPtr<IUnknown> d = a.As<IUnknown>(IID_IUnknown);
        EXPECT_EQ(object.refs, 4u);
        ComPtr<IUnknown> e = std::move(b);           // a move takes none
        EXPECT_FALSE(b);
        EXPECT_EQ(object.refs, 4u);
        c.reset();
        EXPECT_EQ(object.refs, 3u);
        EXPECT_FALSE(c.As<IUnknown>(IID_IUnknown));  // nothing to ask
    }
    EXPECT_EQ(object.refs, 0u);
}

// A dialog that fails in the middle of its start, with a value written before the failure.
class FailingDialog final : public TRecordDialog<int> {
public:
    explicit FailingDialog(UINT close) : TRecordDialog(IDD_INPUTQUERY, 400, 200), close_(close) {}
    SIZE client{};

protected:
    bool OnInit() override {
        RECT r{};
        GetClientRect(hwnd_, &r);
        client = {r.right, r.bottom};
        value_ = 7;
        PostMessageA(hwnd_, WM_COMMAND, close_, 0);
        throw 42;  // not even a std::exception
    }

private:
    UINT close_;
};

TEST(WinRecordDialog, WritesTheRecordBackOnlyOnOkAndStopsEveryException) {
    std::vector<std::string> errors;
    const ErrorReporter previous = SetErrorReporter([&](HWND, const std::string& t) { errors.push_back(t); });
    int record = 1;
    FailingDialog cancelled(IDCANCEL);
    EXPECT_FALSE(cancelled.Edit(nullptr, record));
    EXPECT_EQ(record, 1);
    FailingDialog accepted(IDOK);
    EXPECT_TRUE(accepted.Edit(nullptr, record));
    EXPECT_EQ(record, 7);
    SetErrorReporter(previous);
    EXPECT_EQ(errors, (std::vector<std::string>{"Unknown error.", "Unknown error."}));
    // The design size (larger than the template's), at the screen's DPI (96 on the test display).
    EXPECT_EQ(accepted.client.cx, 400);
    EXPECT_EQ(accepted.client.cy, 200);
}

}  // namespace
}  // namespace kavlo
