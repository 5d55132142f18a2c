// libFuzzer target: the three-way merge of lines and of one object's text.
//
// Input: byte 0 picks the rules (bits 0-1 the documentation rule, 2-3 the date and time, 4-5
// the Modified flag, 6-7 the version list); the rest is ORIGINAL, MODIFIED and TARGET, parted
// by zero bytes, each split into lines at line feeds.
//
// Besides what the sanitizers catch: the chunks cover each side's lines once and in order; a
// side equal to ORIGINAL gives the other side, two equal sides give them; each conflict is one
// block; an object that merges without conflict has none.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_reader.h"
#include "merge/merge.h"

namespace kavlo::fuzz {
namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t eol = std::min(text.find('\n', at), text.size());
        lines.emplace_back(text.substr(at, eol - at));
        at = eol + 1;
    }
    return lines;
}

bool HasMarkers(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("<<<<<<<"); });
}

}  // namespace
}  // namespace kavlo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kavlo;
    using namespace kavlo::fuzz;
    if (size < 1) return 0;
    const uint8_t rules = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string> sides[3];
    for (int k = 0; k < 3; ++k) {
        const size_t zero = std::min(rest.find('\0'), rest.size());
        sides[k] = SplitLines(rest.substr(0, zero));
        rest.remove_prefix(std::min(zero + 1, rest.size()));
    }
    const auto& [o, m, t] = sides;

    size_t at[3] = {0, 0, 0};
    for (const Diff3Chunk& c : Diff3(o, m, t)) {
        const LineRange r[3] = {c.Original, c.Modified, c.Target};
        for (int k = 0; k < 3; ++k) {
            Require(r[k].Begin == at[k] && r[k].End >= r[k].Begin, "chunks cover each side in order");
            at[k] = r[k].End;
        }
    }
    for (int k = 0; k < 3; ++k) Require(at[k] == sides[k].size(), "chunks cover each side to its end");

    const MergedLines merged = MergeLines(o, m, t);
    if (m == o || m == t) Require(merged.Lines == t && merged.Conflicts == 0, "MODIFIED unchanged or alike gives TARGET");
    if (t == o) Require(merged.Lines == m && merged.Conflicts == 0, "TARGET unchanged gives MODIFIED");
    if (!HasMarkers(o) && !HasMarkers(m) && !HasMarkers(t))
        Require(std::count(merged.Lines.begin(), merged.Lines.end(), kConflictStart) == static_cast<std::ptrdiff_t>(merged.Conflicts),
                "one block per conflict");

    MergeOptions options;
    options.Documentation = static_cast<DocumentationRule>(rules % 3);
    options.Properties.DateTime = static_cast<DateTimeRule>((rules >> 2) & 3);
    options.Properties.ModifiedFlag = static_cast<ModifiedRule>((rules >> 4) & 3);
    options.Properties.Version = static_cast<VersionRule>(((rules >> 6) & 3) % 3);
    options.NowDate = "10-12-26";
    options.NowTime = "12:00:00";
    ObjectSide in[3];
    for (int k = 0; k < 3; ++k) {
        in[k].Present = !sides[k].empty();
        in[k].Lines = sides[k];
        in[k].Date = k;
    }
    const ObjectMerge r = MergeObject(in[0], in[1], in[2], options);
    Require(r.Status != MergeStatus::Merged || r.Conflicts == 0, "merged without conflicts");
    Require((r.Status == MergeStatus::Conflict) == (r.Conflicts > 0), "a conflict has conflicts");
    return 0;
}
