// The document of one run of the window's Three-Way Merge: the four paths, the three loaded
// files and the options the run merged with (kept, so that an object's three versions can be
// shown afterwards), and the report; the Merge window's rows, their filter by status, the counts
// and the list of conflicts for marking and saving. No window: tested without one.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/progress.h"
#include "listing/visible_list.h"
#include "merge/merge.h"
#include "objfile/fob.h"
#include "platform/regional.h"

namespace kavlo {

struct MergePaths {
    std::string Original, Modified, Target, Result;
    bool ResultFolder = false;  // RESULT as one file per object in the folder Result
};

class TMergeDocument {
public:
    TMergeDocument() = default;
    TMergeDocument(const TMergeDocument&) = delete;
    TMergeDocument& operator=(const TMergeDocument&) = delete;

    // Loads the three inputs, merges them and writes RESULT. Each path must be given (an input
    // that cannot be read gives the reader's error, after its name); XML exports, object files and backups are refused as kavlo merge refuses
    // them; RESULT may not be an input. Raises EKavloError (ECancelled when `progress` throws it)
    // with RESULT not written and an existing one as it was. `progress` sees 0 to 100.
    void Run(const MergePaths& paths, const Regional& regional, ProgressCallback* progress = nullptr);
    // Run's checks that need no reading: each path given ("Choose the Modified file or
    // folder"), no input of a kind that does not merge. Raises EKavloError.
    static void CheckPaths(const MergePaths& paths);

    const MergePaths& Paths() const { return paths_; }
    // ORIGINAL, MODIFIED and TARGET as loaded (file numbers 1, 2 and 3).
    const TFob& Original() const { return fobs_[0]; }
    const TFob& Modified() const { return fobs_[1]; }
    const TFob& Target() const { return fobs_[2]; }
    const MergeOptions& Options() const { return options_; }
    const MergeReport& Report() const { return report_; }

    // The objects that are not unchanged, conflicts first, then by type and ID; only those of
    // `status` when one is given.
    std::vector<MergeEntry> Rows(std::optional<MergeStatus> status = std::nullopt) const;
    // The statuses the rows hold, in the order of MergeStatus (for the filter).
    std::vector<MergeStatus> RowStatuses() const;
    // "3 conflicts, 12 merged, 1 inserted": each status the rows hold, with its count.
    std::string CountsText() const;
    // The conflicts as the main window lists objects (TARGET's record, else MODIFIED's, else
    // ORIGINAL's), for marking them in the Object Designer and saving them as text.
    TVisibleList ConflictList() const;

private:
    MergePaths paths_;
    std::array<TFob, 3> fobs_;
    MergeOptions options_;
    MergeReport report_;
};

}  // namespace kavlo
