// The clipboard's text: the memory block goes to the clipboard, or back to the system when the
// clipboard does not take it.
#include "gui/clipboard_win.h"

#include <cstring>

#include "base/errors.h"
#include "platform/win_handles_win.h"

namespace kavlo {

namespace {

// OpenClipboard and CloseClipboard.
class ClipboardGuard {
public:
    explicit ClipboardGuard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardGuard() {
        if (open_) CloseClipboard();
    }
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

void SetClipboardText(HWND owner, const std::string& text) {
    ClipboardGuard clipboard(owner);
    if (!clipboard.open()) throw EKavloError("Cannot open clipboard");
    EmptyClipboard();
    UniqueGlobalMemory mem(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!mem) return;
    if (void* p = GlobalLock(mem.get())) {
        std::memcpy(p, text.c_str(), text.size() + 1);
        GlobalUnlock(mem.get());
        if (SetClipboardData(CF_TEXT, mem.get())) mem.release();  // the clipboard owns it now
    }
}

}  // namespace kavlo
