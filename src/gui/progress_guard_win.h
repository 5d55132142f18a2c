// The hourglass and the status-bar progress bar of a long command: shown for the guard's life
// and put back in every case, error or not. The guard is the command's ProgressCallback.
//
// A command that can be cancelled names its window: the guard then keeps that window alive
// while the work runs on its thread. At each row it lets the queue's harmless messages through
// (painting, timers, what other windows get), so that the window repaints and is never shown as
// not responding; it drops mouse and keyboard input to the window, so that no command can start
// inside this one, except Escape, which cancels: Progress then throws ECancelled. Requests that
// must wait (a close, a system command, the window's own posted messages) are kept and posted
// again when the guard goes.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "base/progress.h"
#include "gui/gdi_handles_win.h"

namespace kavlo {

// The main window's ShowProgress: shown or hidden, the range, the position; a position of 0 or
// less (re)starts the bar with the range.
using ShowProgressFn = std::function<void(bool visible, int minimum, int maximum, int position)>;

class ProgressGuard final : public ProgressCallback {
public:
    // The bar runs from 0 to `rows`. With a window, Escape cancels and the window stays alive.
    ProgressGuard(ShowProgressFn show, int rows, HWND cancellable = nullptr);
    ~ProgressGuard() override;
    ProgressGuard(const ProgressGuard&) = delete;
    ProgressGuard& operator=(const ProgressGuard&) = delete;
    void Progress(int row) override;

private:
    // Handles what is queued now; true when Escape was pressed.
    bool PumpMessages();
    bool Ours(HWND hwnd) const { return hwnd && (hwnd == window_ || IsChild(window_, hwnd)); }

    HourglassGuard hourglass_;
    ShowProgressFn show_;
    HWND window_;
    std::vector<MSG> held_;  // posted again, in order, when the guard goes
    bool quit_ = false;
    WPARAM quitCode_ = 0;
};

}  // namespace kavlo
