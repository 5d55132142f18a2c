// The seam of a long piece of work's progress report. The output commands call it once per
// data row with the row's index (1 to the last row) before the row is handled; the window's
// progress guard (gui) moves its status-bar progress bar, kavlo and the tests do as they need.
#pragma once
#include <exception>

namespace kavlo {

class ProgressCallback {
public:
    virtual ~ProgressCallback() = default;
    // May throw ECancelled to stop the work: the user asked for it to end.
    virtual void Progress(int row) = 0;
};

// The user cancelled a long piece of work. Not a failure: the work ends as its own Part says
// (a print job is aborted, Excel is handed over with what it has), and nothing is reported as
// an error.
class ECancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Cancelled."; }
};

}  // namespace kavlo
