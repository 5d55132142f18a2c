// kavlo: the listing and comparison of Kavlodex for scripts and build pipelines.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "cli/command_options.h"
#include "cli/diff_output.h"
#include "cli/list_output.h"
#include "cli/merge_command.h"
#include "cli/split_command.h"
#include "cli/terminal_text.h"
#include "listing/field_filter.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "objfile/object_types.h"
#include "output/text_list.h"
#include "platform/code_page.h"
#include "platform/command_line.h"
#include "platform/file.h"
#include "platform/regional.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using namespace kavlo;

namespace {

using cli::kExitError;
using cli::kExitUsage;
constexpr int kExitListed = 3;  // --exit-code: the list is not empty; diff: anything differs

const char kUsage[] =
    "Usage: kavlo list FILE [FILE2] [options]\n"
    "       kavlo diff FILE1 FILE2 [options]\n"
    "       kavlo split EXPORT.txt FOLDER [--force] [--types ...] [--hide-system] [--filter ...]\n"
    "       kavlo join FOLDER --output FILE.txt [--ignore-other-files]\n"
    "       kavlo merge ORIGINAL MODIFIED TARGET [--output RESULT] [options]\n"
    "       kavlo --help\n"
    "       kavlo --version\n"
    "\n"
    "Lists the objects of a Navision object file (.fob, .fbk, .txt, .xml), or compares two.\n"
    "A folder of text files (one or more objects each) reads as the text export they make.\n"
    "diff shows what changed inside the objects that both files hold.\n"
    "\n"
    "Options of list:\n"
    "  --mode MODE[,MODE...]     all, equal, different, added (in FILE2), deleted (from FILE2);\n"
    "                            may be repeated; the sections follow in that order (default all)\n"
    "  --types TYPE[,TYPE...]    object types to list: TableData, Table, Form, Report, Dataport,\n"
    "                            Codeunit, XMLport, MenuSuite, Page, Query (default all)\n"
    "  --hide-system             leave out system objects (ID 2000000000 and above)\n"
    "  --filter COLUMN=PATTERN   field filter on a column, by title or number 0-9; * and ? are\n"
    "                            wildcards, a leading @ ignores case; may be repeated\n"
    "  --compare FIELD[,FIELD...] fields that equal objects share besides type and ID: name,\n"
    "                            version, date, time, blobsize (default all; none for only\n"
    "                            type and ID); content: their contents too (the text without\n"
    "                            its OBJECT-PROPERTIES, or the stored data of binary files)\n"
    "  --sort-by-file            equal and different: all rows of FILE before those of FILE2\n"
    "  --only-both               different: leave out objects that only one file holds\n"
    "  --exit-code               exit with 3 when anything is listed\n"
    "  --format json|text|grid   output format (default grid); text is the saved-list file\n"
    "  --date-format PICTURE     short date picture, Windows-style (e.g. dd-MM-yy)\n"
    "  --time-format PICTURE     long time picture, Windows-style (e.g. HH:mm:ss)\n"
    "  --oem-codepage N          code page of the file's texts: 437, 850 or 865\n"
    "  --tz-bias MINUTES         time-zone bias, positive west of Greenwich\n"
    "  --output FILE             write to FILE instead of standard output\n"
    "  --ignore-other-files      a folder: read its *.txt files, pass over the others\n"
    "\n"
    "Options of diff (and --types, --hide-system, --filter, --oem-codepage, --output,\n"
    "--ignore-other-files as above):\n"
    "  --object TYPE:ID          only this object (e.g. Table:18); may be repeated\n"
    "  --context N               unchanged lines around each change (default 3)\n"
    "  --with-properties         compare the OBJECT-PROPERTIES (date, time, version list) too\n"
    "  --stat                    one line per object: lines added and removed\n"
    "  --full                    the whole text of added and deleted objects\n"
    "\n"
    "split writes each object of a text export into its own file in FOLDER (TAB18.TXT, ...),\n"
    "its bytes as the export holds them; --types, --hide-system and --filter choose objects as\n"
    "for list. An existing file of an object's name stops the split before anything is\n"
    "written; --force replaces such files. join writes the objects of FOLDER's files back\n"
    "into one text export, in type and ID order: a split joined gives the export back.\n"
    "\n"
    "Exit codes: 0 done, 1 error, 2 usage error, 3 listed objects with --exit-code, or\n"
    "differences found by diff.\n";

using cli::UsageError;

struct Options {
    std::vector<std::string> files;
    std::string format = "grid";
    std::optional<std::string> dateFormat, timeFormat, output;
    std::optional<int> codePage, tzBias;
    BuildMode mode;
    bool anyMode = false;
    TypeSwitches types = kAllTypes;
    bool hideSystem = false;
    FilterTexts filters;
    CompareSettings compare;  // the field switches; SortByFile and OnlyShowBoth below
    bool sortByFile = false, onlyBoth = false, exitCode = false;
    LoadOptions load;
    bool diff = false;  // the command is diff
    cli::DiffOptions diffOptions;  // its own options; types, filters and system objects above
};

using cli::SplitList;

void AddModes(Options& o, const std::string& value) {
    const std::vector<std::string> items = SplitList(value);
    if (items.empty()) throw UsageError{"--mode needs a mode"};
    for (const std::string& item : items) {
        const std::string m = LowerAscii(item);
        if (m == "all") o.mode.CompareOff = true;
        else if (m == "equal") o.mode.CompareEqual = true;
        else if (m == "different") o.mode.CompareDifferent = true;
        else if (m == "added") o.mode.CompareAdded = true;
        else if (m == "deleted") o.mode.CompareDeleted = true;
        else throw UsageError{"--mode is all, equal, different, added or deleted, not \"" + item + "\""};
    }
    o.anyMode = true;
}

void SetCompared(Options& o, const std::string& value) {
    CompareSettings& cs = o.compare;
    cs.CompareName = cs.CompareVersion = cs.CompareDate = cs.CompareTime = cs.CompareBlobSize = false;
    for (const std::string& item : SplitList(value)) {
        const std::string f = LowerAscii(item);
        if (f == "name") cs.CompareName = true;
        else if (f == "version") cs.CompareVersion = true;
        else if (f == "date") cs.CompareDate = true;
        else if (f == "time") cs.CompareTime = true;
        else if (f == "blobsize") cs.CompareBlobSize = true;
        else if (f == "content") cs.CompareContent = true;
        else if (f != "none")
            throw UsageError{"--compare takes name, version, date, time, blobsize, content or none, not \"" + item +
                             "\""};
    }
}

int ParseInt(const std::string& option, const std::string& value) {
    try {
        size_t used = 0;
        const int v = std::stoi(value, &used);
        if (used == value.size()) return v;
    } catch (const std::exception&) {
    }
    throw UsageError{option + " takes a whole number, not \"" + value + "\""};
}

// "Table:18" or "1:18": a type by name (any case) or number, and an ID.
std::pair<int, int> ParseObject(const std::string& value) {
    const size_t colon = value.find(':');
    if (colon != std::string::npos) {
        const std::string type = value.substr(0, colon);
        int t = -1;
        for (int k = 0; k < kObjectTypeCount; ++k)
            if (LowerAscii(type) == LowerAscii(ObjectTypeNames[static_cast<size_t>(k)]) || type == std::to_string(k)) t = k;
        if (t >= 0) return {t, ParseInt("--object", value.substr(colon + 1))};
    }
    throw UsageError{"--object takes TYPE:ID (such as Table:18), not \"" + value + "\""};
}

// The options of one command only; the other's are usage errors.
void CheckCommand(const Options& o, const std::string& option, bool diffOnly) {
    if (o.diff != diffOnly) throw UsageError{option + " is an option of " + (diffOnly ? "diff" : "list")};
}

// args: the arguments after the command. Texts that meet the records' texts (filter patterns,
// and the pictures whose literal texts stand in dates) are converted to ANSI; file names are
// not.
Options ParseOptions(const std::vector<std::string>& args, bool diff) {
    Options o;
    o.diff = diff;
    const size_t argc = args.size();
    for (size_t i = 0; i < argc; ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (a == "--format") {
            CheckCommand(o, a, false);
            o.format = value();
            if (o.format != "json" && o.format != "text" && o.format != "grid")
                throw UsageError{"--format is json, text or grid"};
        } else if (a == "--date-format") {
            o.dateFormat = ArgumentText(value());
        } else if (a == "--time-format") {
            o.timeFormat = ArgumentText(value());
        } else if (a == "--oem-codepage") {
            o.codePage = ParseInt(a, value());
            if (!HasOemTable(*o.codePage)) throw UsageError{"--oem-codepage is 437, 850 or 865"};
        } else if (a == "--tz-bias") {
            o.tzBias = ParseInt(a, value());
        } else if (a == "--output") {
            o.output = value();
        } else if (a == "--ignore-other-files") {
            o.load.IgnoreOtherFiles = true;
        } else if (a == "--mode") {
            CheckCommand(o, a, false);
            AddModes(o, value());
        } else if (a == "--types") {
            o.types = cli::ParseTypes(value());
        } else if (a == "--hide-system") {
            o.hideSystem = true;
        } else if (a == "--filter") {
            cli::AddFilter(o.filters, value());
        } else if (a == "--compare") {
            CheckCommand(o, a, false);
            SetCompared(o, value());
        } else if (a == "--sort-by-file") {
            CheckCommand(o, a, false);
            o.sortByFile = true;
        } else if (a == "--only-both") {
            CheckCommand(o, a, false);
            o.onlyBoth = true;
        } else if (a == "--exit-code") {
            CheckCommand(o, a, false);
            o.exitCode = true;
        } else if (a == "--object") {
            CheckCommand(o, a, true);
            o.diffOptions.Objects.push_back(ParseObject(value()));
        } else if (a == "--context") {
            CheckCommand(o, a, true);
            o.diffOptions.Context = ParseInt(a, value());
            if (o.diffOptions.Context < 0) throw UsageError{"--context takes a number of lines, 0 or more"};
        } else if (a == "--with-properties") {
            CheckCommand(o, a, true);
            o.diffOptions.WithProperties = true;
        } else if (a == "--stat") {
            CheckCommand(o, a, true);
            o.diffOptions.Stat = true;
        } else if (a == "--full") {
            CheckCommand(o, a, true);
            o.diffOptions.Full = true;
        } else if (a.starts_with("--")) {
            throw UsageError{"unknown option " + a};
        } else {
            o.files.push_back(a);
        }
    }
    if (diff && o.files.size() != 2) throw UsageError{"diff takes two files"};
    if (o.files.empty() || o.files.size() > 2) throw UsageError{"list takes one or two files"};
    if (!o.anyMode) o.mode = BuildMode::Off();
    return o;
}

// A picture's separator is its first character that is no field letter: the dates that the
// text export reads and the saved list writes use it.
char SeparatorOf(const std::string& picture, const char* letters, char fallback) {
    for (char c : picture)
        if (c != '\'' && c != ' ' && !std::strchr(letters, c)) return c;
    return fallback;
}

// A pipeline must learn that its output is incomplete (a full disk, a closed stdout): the
// failure is raised as that of --output is.
void WriteStdout(std::string_view bytes) {
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    if (std::fflush(stdout) != 0 || !written || std::ferror(stdout)) {
        const int err = errno;
        throw EKavloError("Cannot write to standard output. " +
                          std::string(err ? std::strerror(err) : "Write error"));
    }
}

void WriteOut(const Options& o, const std::string& bytes) {
    if (o.output) {
        WriteWholeFile(*o.output, bytes);
        return;
    }
#ifdef _WIN32
    // The saved-list text ends its lines in CR LF itself; no translation on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    WriteStdout(bytes);
}

// The regional settings of the run: the system's, with what the options change.
struct RunRegional {
    SystemRegional system;
    Regional regional;
    std::unique_ptr<OemCodePage> codePage;
    std::unique_ptr<TimeZoneSource> zone;
};

void SetUpRegional(const Options& o, RunRegional& run) {
    Regional& regional = run.regional;
    regional = run.system.Get();
    std::unique_ptr<OemCodePage>& codePage = run.codePage;
    std::unique_ptr<TimeZoneSource>& zone = run.zone;
    if (o.dateFormat) {
        regional.format.shortDateFormat = *o.dateFormat;
        regional.format.dateSeparator = SeparatorOf(*o.dateFormat, "dMyg", regional.format.dateSeparator);
    }
    if (o.timeFormat) {
        regional.format.longTimeFormat = *o.timeFormat;
        regional.format.timeSeparator = SeparatorOf(*o.timeFormat, "hHmst", regional.format.timeSeparator);
    }
    if (o.codePage) {
        codePage = std::make_unique<TableOemCodePage>(*o.codePage);
        regional.oem = codePage.get();
    }
    if (o.tzBias) {
        zone = std::make_unique<FixedTimeZone>(*o.tzBias);
        regional.timeZone = zone.get();
    }
}

// Loads the files given, up to the first that fails; the error's text, or "".
std::string LoadFiles(const Options& o, const Regional& regional, TFob (&fobs)[2]) {
    for (size_t i = 0; i < o.files.size(); ++i) {
        try {
            if (!IsFolder(o.files[i])) TFob::CheckFileType(o.files[i]);
            LoadObjectFile(fobs[i], static_cast<int>(i) + 1, o.files[i], regional, o.load);
        } catch (const EOtherFilesError& e) {
            const std::string text = std::string(e.what()) + "; --ignore-other-files reads the object files alone";
            return o.files.size() > 1 ? o.files[i] + ": " + text : text;
        } catch (const EKavloError& e) {
            // Of two files, the user must learn which one is damaged.
            return o.files.size() > 1 ? o.files[i] + ": " + e.what() : e.what();
        }
    }
    return {};
}

int List(const Options& o) {
    RunRegional run;
    SetUpRegional(o, run);
    const Regional& regional = run.regional;

    TFob fobs[2];
    cli::Listing listing;
    std::string error = LoadFiles(o, regional, fobs);
    for (size_t i = 0; i < o.files.size(); ++i) {
        cli::FileSummary& summary = i == 0 ? listing.file1 : listing.file2;
        summary.present = true;
        summary.name = o.files[i];
        summary.count = fobs[i].Count();
    }

    // kavlo's own comparison settings: the fields the options chose and the two sorting switches.
    CompareSettings cs = o.compare;
    cs.SortByFile = o.sortByFile;
    cs.OnlyShowBoth = o.onlyBoth;
    FilterTexts filters = o.filters;
    NormaliseFilters(filters);
    TBuiltList built;
    try {
        BuildList(o.mode, ListSources{fobs[0], fobs[1], o.types, o.hideSystem, cs, filters}, built);
    } catch (const EKavloError& e) {
        // Contents are read back while the list is built; a file may have changed meanwhile.
        std::fprintf(stderr, "%s\n", e.what());
        return kExitError;
    }
    if (!built.ContentNote.empty()) std::fprintf(stderr, "kavlo: %s.\n", built.ContentNote.c_str());
    listing.count = built.Listed;
    listing.list = std::move(built.List);

    std::string writeError;
    try {
        if (o.format == "text") {
            WriteOut(o, ListAsText(listing.list, regional.format));
        } else {
            WriteOut(o, o.format == "json" ? cli::RenderJson(listing)
                                           : cli::RenderGrid(listing, !o.output && StdoutIsTerminal()));
        }
    } catch (const EKavloError& e) {
        writeError = e.what();
    }
    if (!error.empty() || !writeError.empty()) {
        for (const std::string* e : {&error, &writeError})
            if (!e->empty()) std::fprintf(stderr, "%s\n", e->c_str());
        return kExitError;
    }
    return o.exitCode && listing.list.HasRows() ? kExitListed : 0;
}

int Diff(const Options& o) {
    RunRegional run;
    SetUpRegional(o, run);
    TFob fobs[2];
    if (const std::string error = LoadFiles(o, run.regional, fobs); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitError;
    }
    cli::DiffOptions options = o.diffOptions;
    options.Types = o.types;
    options.HideSystem = o.hideSystem;
    options.Filters = o.filters;
    NormaliseFilters(options.Filters);
    // An object asked for by name that neither file holds is a mistake, not "no difference".
    bool missing = false;
    for (const auto& [type, id] : options.Objects) {
        if (fobs[0].FindFob(type, id) >= 0 || fobs[1].FindFob(type, id) >= 0) continue;
        std::fprintf(stderr, "%s %d is in neither file\n", std::string(ObjectTypeNames[static_cast<size_t>(type)]).c_str(), id);
        missing = true;
    }
    if (missing) return kExitError;
    cli::DiffResult result;
    try {
        result = cli::RenderDiff(fobs[0], fobs[1], options);
        if (!result.Note.empty()) std::fprintf(stderr, "kavlo: %s.\n", result.Note.c_str());
        // On a terminal control characters are shown, not sent; elsewhere the bytes of the
        // exports are written back as they stand, those that are no valid UTF-8 included.
        WriteOut(o, !o.output && StdoutIsTerminal() ? cli::EscapeUtf8Controls(result.Text) : RawBytes(result.Text));
    } catch (const EKavloError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kExitError;
    }
    return result.AnyDifference ? kExitListed : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args = ProgramArguments(argc, argv);
        if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
            WriteStdout(std::string(kUsage) + "\n" + cli::kMergeUsage);
            return 0;
        }
        if (args.size() == 1 && args[0] == "--version") {
            WriteStdout("kavlo " KAVLO_VERSION "\n");
            return 0;
        }
        if (!args.empty() && args[0] == "split") return cli::Split(std::vector<std::string>(args.begin() + 1, args.end()));
        if (!args.empty() && args[0] == "join") return cli::Join(std::vector<std::string>(args.begin() + 1, args.end()));
        if (!args.empty() && args[0] == "merge") return cli::RunMerge(std::vector<std::string>(args.begin() + 1, args.end()));
        if (args.empty() || (args[0] != "list" && args[0] != "diff")) throw UsageError{"expected a command"};
        const bool diff = args[0] == "diff";
        const Options o = ParseOptions(std::vector<std::string>(args.begin() + 1, args.end()), diff);
        return diff ? Diff(o) : List(o);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "kavlo: %s\n\n%s", e.text.c_str(), kUsage);
        return kExitUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kExitError;
    }
}
