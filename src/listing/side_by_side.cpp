// The side-by-side layout of a line diff, its changes, and stepping between them.
#include "listing/side_by_side.h"

#include <algorithm>

namespace kavlo {

namespace {

std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

SideBySide LayOutSideBySide(const std::vector<DiffLine>& script) {
    SideBySide view;
    view.Rows.reserve(script.size());
    std::vector<int> removed, added;  // the lines of the change being gathered
    auto flush = [&] {
        if (removed.empty() && added.empty()) return;
        view.ChangeStarts.push_back(static_cast<int>(view.Rows.size()));
        const size_t both = std::min(removed.size(), added.size());
        for (size_t k = 0; k < std::max(removed.size(), added.size()); ++k) {
            if (k < both) view.Rows.push_back({RowKind::Changed, removed[k], added[k]});
            else if (k < removed.size()) view.Rows.push_back({RowKind::Removed, removed[k], 0});
            else view.Rows.push_back({RowKind::Added, 0, added[k]});
        }
        removed.clear();
        added.clear();
    };
    for (const DiffLine& d : script) {
        switch (d.Op) {
            case DiffOp::Removed: removed.push_back(d.Line1); break;
            case DiffOp::Added: added.push_back(d.Line2); break;
            case DiffOp::Equal:
                flush();
                view.Rows.push_back({RowKind::Same, d.Line1, d.Line2});
                break;
        }
    }
    flush();
    const DiffCounts counts = CountChanges(script);
    view.LinesAdded = counts.Added;
    view.LinesRemoved = counts.Removed;
    return view;
}

int ChangeAt(const SideBySide& view, int row) {
    if (row < 0 || row >= static_cast<int>(view.Rows.size())) return -1;
    if (view.Rows[static_cast<size_t>(row)].Kind == RowKind::Same) return -1;
    const auto& s = view.ChangeStarts;
    return static_cast<int>(std::upper_bound(s.begin(), s.end(), row) - s.begin()) - 1;
}

int NextChangeRow(const SideBySide& view, int row) {
    const auto& s = view.ChangeStarts;
    const auto it = std::upper_bound(s.begin(), s.end(), row);
    return it == s.end() ? -1 : *it;
}

int PreviousChangeRow(const SideBySide& view, int row) {
    const auto& s = view.ChangeStarts;
    // The changes that start before `row`; the one that holds it does not count.
    auto end = std::lower_bound(s.begin(), s.end(), row);
    const int holding = ChangeAt(view, row);
    if (holding >= 0) end = s.begin() + holding;
    return end == s.begin() ? -1 : *(end - 1);
}

std::string ChangeSummary(const SideBySide& view) {
    return Counted(static_cast<int>(view.ChangeStarts.size()), "change", "changes") + ", " +
           Counted(view.LinesAdded, "line added", "lines added") + ", " +
           Counted(view.LinesRemoved, "line removed", "lines removed");
}

}  // namespace kavlo
