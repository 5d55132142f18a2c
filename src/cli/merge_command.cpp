// kavlo merge ORIGINAL MODIFIED TARGET: loads the three exports, merges them object by object
// (merge/merge.h), streams RESULT to --output or to one file per object in --output-dir, and
// reports every object's status on standard output.
#include "cli/merge_command.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>
#include <tuple>

#include "base/errors.h"
#include "cli/command_options.h"
#include "cli/list_output.h"
#include "listing/columns.h"
#include "listing/field_filter.h"
#include "merge/merge.h"
#include "merge/merge_output.h"
#include "objfile/conversions.h"
#include "objfile/object_types.h"
#include "platform/code_page.h"
#include "platform/command_line.h"
#include "platform/regional.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace kavlo::cli {

const char kMergeUsage[] =
    "Options of merge (RESULT = MODIFIED's changes of ORIGINAL carried onto TARGET; each input a\n"
    "text export or a folder of object files):\n"
    "  --output FILE             write RESULT to FILE (written whole, or not at all)\n"
    "  --output-dir DIR          write RESULT as one file per object (TAB18.TXT) instead;\n"
    "                            with neither, only the report is written\n"
    "  --format text|json        the report on standard output (default text)\n"
    "  --conflicts-only          report only the objects in conflict\n"
    "  --types, --filter         only these objects are merged, reported and written\n"
    "  --date-time later|target|modified|now    Date and Time of merged objects (default later)\n"
    "  --modified-flag either|target|modified|clear  Modified=Yes of merged objects (default\n"
    "                            either)\n"
    "  --version-list merge|target|modified     Version List of merged objects (default merge:\n"
    "                            TARGET's tags, each at the higher version, then MODIFIED's own)\n"
    "  --documentation conflict|modified-first|target-first  lines both sides added to the\n"
    "                            documentation trigger: a conflict, or both in this order\n"
    "merge exits with 0 when nothing conflicts, 3 when something does.\n";

namespace {

constexpr int kExitConflicts = 3;

struct MergeArgs {
    std::vector<std::string> files;
    std::optional<std::string> output, outputDir;
    bool json = false, conflictsOnly = false;
    TypeSwitches types = kAllTypes;
    FilterTexts filters;
    MergeOptions options;
};

// One of the words, by its index.
int Choice(const std::string& option, const std::string& value, std::initializer_list<std::string_view> words) {
    int i = 0;
    for (std::string_view w : words) {
        if (LowerAscii(value) == w) return i;
        ++i;
    }
    std::string all;
    for (std::string_view w : words) all += (all.empty() ? "" : ", ") + std::string(w);
    throw UsageError{option + " is one of " + all + ", not \"" + value + "\""};
}

MergeArgs ParseMergeArgs(const std::vector<std::string>& args) {
    MergeArgs a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) throw UsageError{o + " needs a value"};
            return args[++i];
        };
        PropertyRules& rules = a.options.Properties;
        if (o == "--output") a.output = value();
        else if (o == "--output-dir") a.outputDir = value();
        else if (o == "--format") a.json = Choice(o, value(), {"text", "json"}) == 1;
        else if (o == "--conflicts-only") a.conflictsOnly = true;
        else if (o == "--types") a.types = ParseTypes(value());
        else if (o == "--filter") AddFilter(a.filters, value());
        else if (o == "--date-time")
            rules.DateTime = static_cast<DateTimeRule>(Choice(o, value(), {"later", "target", "modified", "now"}));
        else if (o == "--modified-flag")
            rules.ModifiedFlag = static_cast<ModifiedRule>(Choice(o, value(), {"either", "target", "modified", "clear"}));
        else if (o == "--version-list")
            rules.Version = static_cast<VersionRule>(Choice(o, value(), {"merge", "target", "modified"}));
        else if (o == "--documentation")
            a.options.Documentation = static_cast<DocumentationRule>(
                Choice(o, value(), {"conflict", "modified-first", "target-first"}));
        else if (o.starts_with("--")) throw UsageError{"unknown option " + o + " of merge"};
        else a.files.push_back(o);
    }
    if (a.files.size() != 3) throw UsageError{"merge takes three files: ORIGINAL MODIFIED TARGET"};
    if (a.output && a.outputDir) throw UsageError{"--output and --output-dir exclude each other"};
    return a;
}

std::string TypeName(int type) { return std::string(ObjectTypeNames[static_cast<size_t>(type)]); }

std::string RenderMergeJson(const MergeArgs& a, const MergeReport& r) {
    std::string out = "{\"original\":" + JsonString(a.files[0]) + ",\"modified\":" + JsonString(a.files[1]) +
                      ",\"target\":" + JsonString(a.files[2]) + ",\"objects\":[";
    bool first = true;
    for (const MergeEntry& e : r.Objects) {
        if (a.conflictsOnly && e.Status != MergeStatus::Conflict) continue;
        out += first ? "" : ",";
        first = false;
        out += "{\"type\":" + JsonString(TypeName(e.Type)) + ",\"id\":" + std::to_string(e.Id) +
               ",\"name\":" + JsonString(AnsiToUtf8(e.Name)) + ",\"status\":" +
               JsonString(MergeStatusName(e.Status)) + ",\"conflicts\":" + std::to_string(e.Conflicts);
        if (e.LongVersionList) out += ",\"versionListTooLong\":true";
        out += "}";
    }
    out += "],\"counts\":{";
    for (int s = 0; s < kMergeStatusCount; ++s)
        out += (s ? ",\"" : "\"") + std::string(MergeStatusName(static_cast<MergeStatus>(s))) +
               "\":" + std::to_string(r.Counts[static_cast<size_t>(s)]);
    return out + "}}\n";
}

std::string Padded(std::string s, size_t width) {
    while (Utf8Length(s) < width) s += ' ';
    return s + ' ';
}

// The objects that are not unchanged (or only the conflicts), then the counts.
std::string RenderMergeText(const MergeArgs& a, const MergeReport& r) {
    std::string out;
    for (const MergeEntry& e : r.Objects) {
        if (e.Status == MergeStatus::Unchanged || (a.conflictsOnly && e.Status != MergeStatus::Conflict)) continue;
        if (out.empty()) out = Padded("Type", 9) + Padded("ID", 10) + Padded("Name", 30) + Padded("Status", 9) + "Conflicts\n";
        out += Padded(TypeName(e.Type), 9) + Padded(std::to_string(e.Id), 10) + Padded(AnsiToUtf8(e.Name), 30) +
               Padded(std::string(MergeStatusName(e.Status)), 9) + (e.Conflicts ? std::to_string(e.Conflicts) : "");
        if (e.LongVersionList)
            out += (e.Conflicts ? "  " : "   ") + std::string("Version List longer than ") +
                   std::to_string(kVersionListLimit) + " characters";
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += '\n';
    }
    if (!out.empty()) out += '\n';
    for (int s = 0; s < kMergeStatusCount; ++s)
        out += (s ? ", " : "") + std::string(MergeStatusName(static_cast<MergeStatus>(s))) + " " +
               std::to_string(r.Counts[static_cast<size_t>(s)]);
    return out + "\n";
}

}  // namespace

int RunMerge(const std::vector<std::string>& args) {
    MergeArgs a;
    try {
        a = ParseMergeArgs(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "kavlo: %s\n\nUsage: kavlo merge ORIGINAL MODIFIED TARGET [options]\n%s", e.text.c_str(),
                     kMergeUsage);
        return kExitUsage;
    }
    try {
        for (const std::string& in : a.files) CheckMergeable(in);
        SystemRegional system;
        const Regional regional = system.Get();
        TFob fobs[3];
        for (int k = 0; k < 3; ++k) LoadMergeInput(fobs[k], k + 1, a.files[static_cast<size_t>(k)], regional);
        std::tie(a.options.NowDate, a.options.NowTime) = MergeNowTexts(regional.format);

        NormaliseFilters(a.filters);
        const PreparedFilters filters = PrepareFilters(a.filters);
        const auto selected = [&](const TFobRec& rec) {
            return IncludedByType(rec, a.types, false) && FilterPasses(filters, rec);
        };
        MergeReport report;
        if (a.output) {
            MergeFileSink sink(*a.output, a.files);
            report = MergeFiles(fobs[0], fobs[1], fobs[2], a.options, sink, selected);
            sink.Commit();
        } else if (a.outputDir) {
            MergeFolderSink sink(*a.outputDir, a.files);
            report = MergeFiles(fobs[0], fobs[1], fobs[2], a.options, sink, selected);
            sink.Commit();
        } else {
            struct NoSink final : MergeSink {
                void Begin(std::string_view, bool) override {}
                void Object(int, int, std::string_view) override {}
            } sink;
            report = MergeFiles(fobs[0], fobs[1], fobs[2], a.options, sink, selected);
        }
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        const std::string text = a.json ? RenderMergeJson(a, report) : RenderMergeText(a, report);
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
            throw EKavloError("Cannot write to standard output");
        return report.Conflicts() ? kExitConflicts : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kExitError;
    }
}

}  // namespace kavlo::cli
