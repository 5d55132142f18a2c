// kavlo: the listing and comparison of Kavlodex for scripts and build pipelines.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/list_output.h"
#include "objfile/errors.h"
#include "objfile/fob.h"
#include "platform/file.h"
#include "platform/regional.h"

using namespace kavlo;

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: kavlo list FILE [FILE2] [options]\n"
    "       kavlo --help\n"
    "\n"
    "Lists the objects of a Navision object file (.fob, .fbk, .txt, .xml).\n"
    "\n"
    "Options:\n"
    "  --format json|text|grid   output format (default grid)\n"
    "  --date-format PICTURE     short date picture, Windows-style (e.g. dd-MM-yy)\n"
    "  --time-format PICTURE     long time picture, Windows-style (e.g. HH:mm:ss)\n"
    "  --oem-codepage N          code page of the file's texts: 437, 850 or 865\n"
    "  --tz-bias MINUTES         time-zone bias, positive west of Greenwich\n"
    "  --output FILE             write to FILE instead of standard output\n";

struct UsageError {
    std::string text;
};

struct Options {
    std::vector<std::string> files;
    std::string format = "grid";
    std::optional<std::string> dateFormat, timeFormat, output;
    std::optional<int> codePage, tzBias;
};

int ParseInt(const std::string& option, const std::string& value) {
    try {
        size_t used = 0;
        const int v = std::stoi(value, &used);
        if (used == value.size()) return v;
    } catch (const std::exception&) {
    }
    throw UsageError{option + " takes a whole number, not \"" + value + "\""};
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError{a + " needs a value"};
            return argv[++i];
        };
        if (a == "--format") {
            o.format = value();
            if (o.format != "json" && o.format != "text" && o.format != "grid")
                throw UsageError{"--format is json, text or grid"};
        } else if (a == "--date-format") {
            o.dateFormat = value();
        } else if (a == "--time-format") {
            o.timeFormat = value();
        } else if (a == "--oem-codepage") {
            o.codePage = ParseInt(a, value());
            if (!HasOemTable(*o.codePage)) throw UsageError{"--oem-codepage is 437, 850 or 865"};
        } else if (a == "--tz-bias") {
            o.tzBias = ParseInt(a, value());
        } else if (a == "--output") {
            o.output = value();
        } else if (a.starts_with("--")) {
            throw UsageError{"unknown option " + a};
        } else {
            o.files.push_back(a);
        }
    }
    if (o.files.empty() || o.files.size() > 2) throw UsageError{"list takes one or two files"};
    return o;
}

void AddRows(const TFob& fob, cli::Listing& listing) {
    for (int i = 0; i < fob.Count(); ++i) {
        const TFobRec& r = fob.Fob(i);
        cli::Row row;
        for (int c = 0; c < 10; ++c) row[static_cast<size_t>(c)] = GetFobString(r, c);
        row[0] = std::to_string(fob.FileNo);
        row[8] = r.Modified ? "1" : " ";
        row[9] = r.Compiled ? "1" : " ";
        listing.rows.push_back(std::move(row));
    }
}

int List(const Options& o) {
    SystemRegional system;
    Regional regional = system.Get();
    std::unique_ptr<OemCodePage> codePage;
    std::unique_ptr<TimeZoneSource> zone;
    if (o.dateFormat) regional.format.shortDateFormat = *o.dateFormat;
    if (o.timeFormat) regional.format.longTimeFormat = *o.timeFormat;
    if (o.codePage) {
        codePage = std::make_unique<TableOemCodePage>(*o.codePage);
        regional.oem = codePage.get();
    }
    if (o.tzBias) {
        zone = std::make_unique<FixedTimeZone>(*o.tzBias);
        regional.timeZone = zone.get();
    }

    TFob fobs[2];
    cli::Listing listing;
    std::string error;
    for (size_t i = 0; i < o.files.size() && error.empty(); ++i) {
        cli::FileSummary& summary = i == 0 ? listing.file1 : listing.file2;
        summary.present = true;
        summary.name = o.files[i];
        try {
            TFob::CheckFileType(o.files[i]);
            fobs[i].LoadFile(static_cast<int>(i) + 1, o.files[i], regional);
        } catch (const EKavloError& e) {
            error = e.what();
        }
        summary.count = fobs[i].Count();
    }
    for (const TFob& f : fobs) AddRows(f, listing);

    std::string out;
    if (o.format == "json") out = cli::RenderJson(listing);
    else out = cli::RenderGrid(listing);
    if (o.output) {
        WriteWholeFile(*o.output, out);
    } else {
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitError;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argc < 2 || std::strcmp(argv[1], "list") != 0) throw UsageError{"expected a command"};
        return List(ParseOptions(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "kavlo: %s\n\n%s", e.text.c_str(), kUsage);
        return kExitUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kExitError;
    }
}
