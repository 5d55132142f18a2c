// The hourglass and the status-bar progress bar of a long command: shown for the guard's life
// and put back in every case, error or not. The guard is the command's ProgressCallback.
#pragma once
#include <functional>

#include "gui/gdi_handles_win.h"
#include "output/progress.h"

namespace kavlo {

// The main window's ShowProgress: shown or hidden, the range, the position; a position of 0 or
// less (re)starts the bar with the range.
using ShowProgressFn = std::function<void(bool visible, int minimum, int maximum, int position)>;

class ProgressGuard final : public ProgressCallback {
public:
    // The bar runs from 0 to `rows`.
    ProgressGuard(ShowProgressFn show, int rows) : show_(std::move(show)) {
        if (show_) show_(true, 0, rows, 0);
    }
    ~ProgressGuard() override {
        if (show_) show_(false, 0, 0, 0);
    }
    ProgressGuard(const ProgressGuard&) = delete;
    ProgressGuard& operator=(const ProgressGuard&) = delete;
    void Progress(int row) override {
        if (show_) show_(true, 0, 0, row);
    }

private:
    HourglassGuard hourglass_;
    ShowProgressFn show_;
};

}  // namespace kavlo
