// Owners of the system's kernel handles on the one UniqueHandle template: files (whose empty
// value is INVALID_HANDLE_VALUE) and folder listings, processes, threads and other kernel objects, registry keys,
// and memory that LocalFree or GlobalFree gives back.
#pragma once
#include <windows.h>

#include "base/unique_handle.h"

namespace kavlo {

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
// A folder listing of FindFirstFileEx, whose empty value is INVALID_HANDLE_VALUE too.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
struct KernelHandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct RegKeyCloser {
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct LocalMemoryCloser {
    void operator()(void* p) const { LocalFree(p); }
};
struct GlobalMemoryCloser {
    void operator()(HGLOBAL h) const { GlobalFree(h); }
};
// GDI's memory DCs and bitmaps, which the screen captures of marking need below the window
// layer; the window layer adds the rest of GDI's kinds.
struct GdiObjectCloser {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DcCloser {
    void operator()(HDC h) const { DeleteDC(h); }
};

using UniqueFileHandle = UniqueHandle<FileHandleTraits>;                             // CreateFile
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;                             // FindFirstFileEx
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, KernelHandleCloser>>;  // processes, threads
using UniqueHKey = UniqueHandle<NullHandleTraits<HKEY, RegKeyCloser>>;
template <typename T>
using UniqueLocalMemory = UniqueHandle<NullHandleTraits<T*, LocalMemoryCloser>>;
using UniqueGlobalMemory = UniqueHandle<NullHandleTraits<HGLOBAL, GlobalMemoryCloser>>;  // clipboard, print dialog
using UniqueDc = UniqueHandle<NullHandleTraits<HDC, DcCloser>>;  // of CreateCompatibleDC, CreateDC
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, GdiObjectCloser>>;

// A window's DC, released at the end of the scope: its client area's (GetDC; the screen's for
// a null window) or the whole window's (GetWindowDC).
class WindowDc {
public:
    enum Area { Client, Whole };
    explicit WindowDc(HWND hwnd, Area area = Client)
        : hwnd_(hwnd), dc_(area == Client ? GetDC(hwnd) : GetWindowDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

}  // namespace kavlo
