// The progress report that the output commands share: called once per data row with the row's
// index (1 to the last row) before the row is handled. The window moves its status-bar
// progress bar; kavlo and the tests implement it as they need.
#pragma once

namespace kavlo {

class ProgressCallback {
public:
    virtual ~ProgressCallback() = default;
    virtual void Progress(int row) = 0;
};

}  // namespace kavlo
