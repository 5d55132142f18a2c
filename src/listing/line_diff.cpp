// DiffLines over the dtl library: the lines are numbered by their text first, so that the
// library compares numbers rather than strings, and each change is put in the order a reader
// expects (its removed lines before its added ones).
#include "listing/line_diff.h"

#include <dtl/dtl.hpp>

#include <string_view>
#include <unordered_map>

namespace kavlo {

std::vector<DiffLine> DiffLines(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    // Equal lines get equal numbers; the number stands for the text in the comparison.
    std::unordered_map<std::string_view, int> numbers;
    numbers.reserve(a.size() + b.size());
    const auto numbered = [&](const std::vector<std::string>& lines) {
        std::vector<int> out;
        out.reserve(lines.size());
        for (const std::string& l : lines) out.push_back(numbers.try_emplace(l, static_cast<int>(numbers.size())).first->second);
        return out;
    };
    const std::vector<int> na = numbered(a);
    const std::vector<int> nb = numbered(b);

    std::vector<DiffLine> script;
    script.reserve(a.size() + b.size());
    if (na.empty() || nb.empty()) {
        // The library needs no help here, but a side without lines is a plain list.
        for (size_t i = 0; i < na.size(); ++i) script.push_back({DiffOp::Removed, static_cast<int>(i + 1), 0});
        for (size_t j = 0; j < nb.size(); ++j) script.push_back({DiffOp::Added, 0, static_cast<int>(j + 1)});
        return script;
    }
    // No onHuge(): it only reserves room for two million path points (48 MB) before every
    // comparison; the path grows as it needs and is bounded the same without it.
    dtl::Diff<int, std::vector<int>> diff(na, nb);
    diff.compose();

    // Within each run of changes the removed lines go first, the added ones after, each in
    // their own order: still a shortest script, and the way a unified diff reads.
    std::vector<DiffLine> added;
    const auto flush = [&] {
        script.insert(script.end(), added.begin(), added.end());
        added.clear();
    };
    for (const auto& [elem, info] : diff.getSes().getSequence()) {
        switch (info.type) {
            case dtl::SES_COMMON:
                flush();
                script.push_back({DiffOp::Equal, static_cast<int>(info.beforeIdx), static_cast<int>(info.afterIdx)});
                break;
            case dtl::SES_DELETE:
                script.push_back({DiffOp::Removed, static_cast<int>(info.beforeIdx), 0});
                break;
            default:
                added.push_back({DiffOp::Added, 0, static_cast<int>(info.afterIdx)});
                break;
        }
    }
    flush();
    return script;
}

DiffCounts CountChanges(const std::vector<DiffLine>& script) {
    DiffCounts c;
    for (const DiffLine& d : script) {
        if (d.Op == DiffOp::Added) ++c.Added;
        if (d.Op == DiffOp::Removed) ++c.Removed;
    }
    return c;
}

}  // namespace kavlo
