// One run of the window's Three-Way Merge and what the Merge window shows of it.
#include "app/merge_document.h"

#include <algorithm>
#include <tuple>

#include "base/errors.h"
#include "listing/list_builder.h"
#include "merge/merge_output.h"

namespace kavlo {

namespace {

// The order the counts and the filter name the statuses in: what needs a look first.
constexpr MergeStatus kShownOrder[] = {MergeStatus::Conflict, MergeStatus::Merged,   MergeStatus::Both,
                                       MergeStatus::Modified, MergeStatus::Inserted, MergeStatus::Deleted,
                                       MergeStatus::Target};

// Moves the progress from `from` towards `to` percent as the objects are written.
class ProgressSink final : public MergeSink {
public:
    ProgressSink(MergeSink& sink, ProgressCallback* progress, int objects, int from, int to)
        : sink_(sink), progress_(progress), objects_(std::max(objects, 1)), from_(from), to_(to) {}
    void Begin(std::string_view lineEnd, bool bom) override { sink_.Begin(lineEnd, bom); }
    void Object(int type, int id, std::string_view text) override {
        sink_.Object(type, id, text);
        ++written_;
        if (progress_) progress_->Progress(from_ + (to_ - from_) * std::min(written_, objects_) / objects_);
    }

private:
    MergeSink& sink_;
    ProgressCallback* progress_;
    int objects_, from_, to_, written_ = 0;
};

}  // namespace

void TMergeDocument::CheckPaths(const MergePaths& paths) {
    const std::pair<const char*, const std::string*> rows[] = {
        {"Original", &paths.Original}, {"Modified", &paths.Modified}, {"Target", &paths.Target}, {"Result", &paths.Result}};
    for (const auto& [role, path] : rows)
        if (path->empty()) throw EKavloError(std::string("Choose the ") + role + " file or folder");
    for (const std::string* input : {&paths.Original, &paths.Modified, &paths.Target}) CheckMergeable(*input);
}

void TMergeDocument::Run(const MergePaths& paths, const Regional& regional, ProgressCallback* progress) {
    CheckPaths(paths);
    paths_ = paths;
    const std::vector<std::string> files = {paths.Original, paths.Modified, paths.Target};
    for (int k = 0; k < 3; ++k) {
        if (progress) progress->Progress(10 * k);
        LoadMergeInput(fobs_[static_cast<size_t>(k)], k + 1, files[static_cast<size_t>(k)], regional);
    }
    options_ = MergeOptions{};
    std::tie(options_.NowDate, options_.NowTime) = MergeNowTexts(regional.format);
    const int objects = std::max({Original().Count(), Modified().Count(), Target().Count()});
    if (paths.ResultFolder) {
        MergeFolderSink sink(paths.Result, files);
        ProgressSink counted(sink, progress, objects, 30, 100);
        report_ = MergeFiles(Original(), Modified(), Target(), options_, counted);
        sink.Commit();
    } else {
        MergeFileSink sink(paths.Result, files);
        ProgressSink counted(sink, progress, objects, 30, 100);
        report_ = MergeFiles(Original(), Modified(), Target(), options_, counted);
        sink.Commit();
    }
}

std::vector<MergeEntry> TMergeDocument::Rows(std::optional<MergeStatus> status) const {
    std::vector<MergeEntry> rows;
    for (const MergeEntry& e : report_.Objects)
        if (e.Status != MergeStatus::Unchanged && (!status || e.Status == *status)) rows.push_back(e);
    // The report is in type and ID order already.
    std::stable_partition(rows.begin(), rows.end(), [](const MergeEntry& e) { return e.Status == MergeStatus::Conflict; });
    return rows;
}

std::vector<MergeStatus> TMergeDocument::RowStatuses() const {
    std::vector<MergeStatus> statuses;
    for (MergeStatus s : kShownOrder)
        if (report_.Counts[static_cast<size_t>(s)] > 0) statuses.push_back(s);
    return statuses;
}

std::string TMergeDocument::CountsText() const {
    std::string text;
    for (MergeStatus s : RowStatuses()) {
        const int n = report_.Counts[static_cast<size_t>(s)];
        text += (text.empty() ? "" : ", ") + std::to_string(n) + " " + std::string(MergeStatusName(s)) +
                (s == MergeStatus::Conflict && n != 1 ? "s" : "");
    }
    return text.empty() ? "No changes" : text;
}

TVisibleList TMergeDocument::ConflictList() const {
    TVisibleList list;
    for (const MergeEntry& e : Rows(MergeStatus::Conflict))
        for (const TFob* fob : {&Target(), &Modified(), &Original()})
            if (const int index = fob->FindFob(e.Type, e.Id); index >= 0) {
                AddFobRow(list, *fob, index);
                break;
            }
    return list;
}

}  // namespace kavlo
