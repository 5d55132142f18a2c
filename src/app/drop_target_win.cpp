// Files dropped on the main window: the OLE drop target and the paths of a shell data object.
#include "app/drop_target_win.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include "gui/window_base_win.h"

namespace kavlo {

namespace {

class DropTarget final : public IDropTarget {
public:
    explicit DropTarget(DropHandler handler) : handler_(std::move(handler)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        accept_ = HasFiles(data);
        *effect = Effect(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = Effect(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        accept_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        *effect = Effect(*effect);
        if (*effect == DROPEFFECT_NONE) return S_OK;
        // Nothing may leave through COM: an error is shown here.
        Guarded(nullptr, [&] { handler_(TDropPIDLTarget::PathsOf(data)); });
        return S_OK;
    }

private:
    // Copy or link, never move: the dropped file stays where it is.
    DWORD Effect(DWORD allowed) const {
        if (!accept_) return DROPEFFECT_NONE;
        if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
        if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
        return DROPEFFECT_NONE;
    }
    static bool HasFiles(IDataObject* data) {
        FORMATETC hdrop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        FORMATETC idlist{static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array")), nullptr,
                         DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return data->QueryGetData(&idlist) == S_OK || data->QueryGetData(&hdrop) == S_OK;
    }

    ULONG refs_ = 1;
    bool accept_ = false;
    DropHandler handler_;
};

}  // namespace

std::vector<std::string> TDropPIDLTarget::PathsOf(IDataObject* data) {
    std::vector<std::string> paths;
    FORMATETC idlist{static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array")), nullptr, DVASPECT_CONTENT,
                     -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&idlist, &medium) == S_OK) {
        // A CIDA: the parent folder's item list, then one relative item list per item.
        if (auto* cida = static_cast<CIDA*>(GlobalLock(medium.hGlobal))) {
            auto at = [cida](UINT i) {
                return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(cida) + cida->aoffset[i]);
            };
            for (UINT i = 1; i <= cida->cidl; ++i) {
                LPITEMIDLIST full = ILCombine(at(0), at(i));
                char path[MAX_PATH] = {};
                if (full && SHGetPathFromIDListA(full, path)) paths.emplace_back(path);
                if (full) ILFree(full);
            }
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
        if (!paths.empty()) return paths;
    }
    FORMATETC hdrop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (data->GetData(&hdrop, &medium) == S_OK) {
        auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
        if (drop) {
            const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < n; ++i) {
                char path[MAX_PATH * 4] = {};
                DragQueryFileA(drop, i, path, sizeof path);
                paths.emplace_back(path);
            }
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
    }
    return paths;
}

TDropPIDLTarget TDropPIDLTarget::Register(HWND hwnd, DropHandler handler) {
    auto target = ComPtr<IDropTarget>::Attach(new DropTarget(std::move(handler)));
    TDropPIDLTarget registered;
    if (RegisterDragDrop(hwnd, target.get()) != S_OK) return registered;
    registered.hwnd_ = hwnd;
    registered.target_ = std::move(target);
    return registered;
}

TDropPIDLTarget::TDropPIDLTarget(TDropPIDLTarget&& o) noexcept
    : hwnd_(std::exchange(o.hwnd_, nullptr)), target_(std::move(o.target_)) {}

TDropPIDLTarget& TDropPIDLTarget::operator=(TDropPIDLTarget&& o) noexcept {
    if (this != &o) {
        Revoke();
        hwnd_ = std::exchange(o.hwnd_, nullptr);
        target_ = std::move(o.target_);
    }
    return *this;
}

void TDropPIDLTarget::Revoke() {
    if (target_) RevokeDragDrop(hwnd_);
    hwnd_ = nullptr;
    target_.reset();
}

}  // namespace kavlo
