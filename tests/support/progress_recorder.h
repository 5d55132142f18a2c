// A progress callback that keeps every row it is told of, and can stop the work at one of them
// as a cancelled run does.
#pragma once
#include <vector>

#include "base/errors.h"
#include "base/progress.h"

namespace kavlo::testing {

struct ProgressRecorder : ProgressCallback {
    std::vector<int> rows;
    int throwAt = -1;  // the row whose Progress call throws
    void Progress(int row) override {
        rows.push_back(row);
        if (row == throwAt) throw EKavloError("stopped");
    }
};

}  // namespace kavlo::testing
