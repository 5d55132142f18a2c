// The whole kavlo process on large text exports, against `wc -l` and a plain read (`cat`) of the
// same files, timed by hyperfine in one run (median of the runs, with the fastest and slowest):
//  - `kavlo list` of a 75 MB whole-database export, and of the same export ten times over
//    (754 MB), against `wc -l` and `cat` of each;
//  - comparing the 75 MB export with a 61 MB later version of it, in the modes all, equal and
//    different.
//  - with --folders instead: `kavlo list` of the 75 MB export split into one file per object
//    (8,917 files), and of its first 1,900 objects, against `cp -r` of the same folder (a
//    fresh copy each run).
// Each listing's object count is checked against what was written.
//   cli_bench [--kavlo PATH] [--runs N] [--keep] [--folders]   (PATH: the kavlo to time, by
//       default the one beside this program; files go to KAVLO_BENCH_DIR or /tmp, and are
//       removed afterwards unless --keep is given)
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_util.h"
#include "exports.h"
#include "objfile/object_types.h"

using namespace kavlo;

namespace {

using Written = bench::WrittenExport;

Written Repeat(const std::string& from, const std::string& to, int times, Written one) {
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < times; ++i) {
        std::ifstream in(from, std::ios::binary);
        out << in.rdbuf();
    }
    if (!out) throw std::runtime_error("cannot write " + to);
    return {one.bytes * static_cast<uint64_t>(times), one.objects * times};
}

std::string Run(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    if (::pclose(p) != 0) throw std::runtime_error("failed: " + command);
    return out;
}

// The "count" of file 1 in kavlo's JSON listing.
int ListedCount(const std::string& kavlo, const std::string& path) {
    const std::string json = Run(kavlo + " list '" + path + "' --format json | head -c 400");
    const size_t at = json.find("\"count\":");
    return at == std::string::npos ? -1 : std::stoi(json.substr(at + 8));
}

struct Timed {
    std::string what;
    bench::Spread time;
};

// Times the commands with hyperfine, each `runs` times after two warm-up runs; `prepare`, when
// given, holds a command for each that runs before each of its runs, untimed.
std::vector<Timed> Hyperfine(const std::vector<std::pair<std::string, std::string>>& commands, int runs,
                             const std::vector<std::string>& prepare = {}) {
    const std::string csv = bench::TempPath("kavlo_cli_bench.csv");
    std::string cmd = "hyperfine -N --style none --warmup 2 --runs " + std::to_string(runs) + " --export-csv '" + csv + "'";
    for (const std::string& p : prepare) cmd += " --prepare '" + p + "'";
    for (const auto& c : commands) cmd += " '" + c.second + "'";
    Run(cmd + " >/dev/null");
    // command,mean,stddev,median,user,system,min,max
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);
    std::vector<Timed> out;
    for (const auto& c : commands) {
        if (!std::getline(in, line)) throw std::runtime_error("hyperfine gave no figures for " + c.second);
        std::vector<std::string> f;
        std::stringstream ss(line);
        for (std::string cell; std::getline(ss, cell, ',');) f.push_back(cell);
        // The command itself may hold commas; the seven figures are the last seven cells.
        const size_t n = f.size();
        if (n < 8) throw std::runtime_error("hyperfine's figures unreadable: " + line);
        out.push_back({c.first, {std::stod(f[n - 5]), std::stod(f[n - 2]), std::stod(f[n - 1]), runs}});
    }
    std::filesystem::remove(csv);
    return out;
}

void Table(const std::string& title, const std::vector<Timed>& rows, double baseline, const char* against = "wc -l") {
    std::printf("\n%s\n\n| command | median | fastest – slowest | / %s |\n|---|---:|---:|---:|\n", title.c_str(), against);
    for (const Timed& t : rows)
        std::printf("| %s | %.3f s | %.3f – %.3f s | %.2f |\n", t.what.c_str(), t.time.median, t.time.min, t.time.max,
                    t.time.median / baseline);
    std::fflush(stdout);
}

// The export's first `count` objects (all when 0), one file each, named as the development
// environment's split names them (TAB18.TXT), into a fresh folder.
Written WriteObjectFolder(const std::string& folder, size_t count) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::vector<testing::TxtObject>& all = bench::DatabaseObjects();
    Written w;
    for (size_t i = 0; i < all.size() && (count ? i < count : w.bytes < 75e6); ++i) {
        testing::TxtFile one;
        one.objects = {all[i]};
        const std::string text = testing::WriteTxt(one);
        std::ofstream out(folder + "/" + ObjectFileName(FobTypeIndex(all[i].type), all[i].id), std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) throw std::runtime_error("cannot write into " + folder);
        w.bytes += text.size();
        ++w.objects;
    }
    return w;
}

// kavlo list of a folder of one file per object, against a fresh `cp -r` of it.
void Folders(const std::string& kavlo, int runs, bool keep) {
    const std::string copy = bench::TempPath("kavlo_cli_copy");
    for (const size_t count : {size_t{0}, size_t{1900}}) {
        const std::string folder = bench::TempPath("kavlo_cli_folder_" + std::to_string(count));
        const Written w = WriteObjectFolder(folder, count);
        const int listed = ListedCount(kavlo, folder);
        std::printf("%s: %.1f MB in %d files, %d listed%s\n", folder.c_str(), w.bytes / 1e6, w.objects, listed,
                    listed == w.objects ? "" : "  <-- DIFFERS");
        const auto rows = Hyperfine({{"cp -r", "cp -r " + folder + " " + copy}, {"kavlo list", kavlo + " list " + folder}},
                                    runs, {"rm -rf " + copy, "true"});
        char title[96];
        std::snprintf(title, sizeof title, "A folder of %d object files, %.1f MB", w.objects, w.bytes / 1e6);
        Table(title, rows, rows[0].time.median, "cp -r");
        std::filesystem::remove_all(copy);
        if (!keep) std::filesystem::remove_all(folder);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string kavlo = bench::ProgramDir() + "/kavlo";
    int runs = 10;
    bool keep = false, folders = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--keep") keep = true;
        else if (a == "--folders") folders = true;
        else if (a == "--kavlo" && i + 1 < argc) kavlo = argv[++i];
        else if (a == "--runs" && i + 1 < argc) runs = std::max(3, std::atoi(argv[++i]));
    }
    try {
        if (folders) {
            std::printf("kavlo: %s; %d runs each after 2 warm-up runs, warm page cache\n", kavlo.c_str(), runs);
            Folders(kavlo, runs, keep);
            return 0;
        }
        const std::string e75 = bench::TempPath("kavlo_cli_75.txt"), e61 = bench::TempPath("kavlo_cli_61.txt"),
                          e754 = bench::TempPath("kavlo_cli_754.txt");
        const Written w75 = bench::WriteDatabaseExport(e75, 75, false);
        const Written w61 = bench::WriteDatabaseExport(e61, 61, true);
        const Written w754 = Repeat(e75, e754, 10, w75);
        for (const auto& [path, w] : {std::pair{e75, w75}, std::pair{e61, w61}, std::pair{e754, w754}}) {
            const int listed = ListedCount(kavlo, path);
            std::printf("%s: %.1f MB, %d objects written, %d listed%s\n", path.c_str(), w.bytes / 1e6, w.objects,
                        listed, listed == w.objects ? "" : "  <-- DIFFERS");
        }
        std::printf("kavlo: %s; %d runs each after 2 warm-up runs, warm page cache\n", kavlo.c_str(), runs);

        for (const auto& [path, mb] : {std::pair{e75, w75.bytes / 1e6}, std::pair{e754, w754.bytes / 1e6}}) {
            const auto rows = Hyperfine({{"wc -l", "wc -l " + path},
                                         {"cat (plain read)", "cat " + path},
                                         {"kavlo list", kavlo + " list " + path}},
                                        runs);
            char title[96];
            std::snprintf(title, sizeof title, "One export of %.1f MB", mb);
            Table(title, rows, rows[0].time.median);
        }
        std::vector<std::pair<std::string, std::string>> compare = {{"wc -l both", "wc -l " + e75 + " " + e61},
                                                                    {"cat both", "cat " + e75 + " " + e61}};
        for (const char* mode : {"all", "equal", "different"})
            compare.push_back({std::string("kavlo list --mode ") + mode,
                               kavlo + " list " + e75 + " " + e61 + " --mode " + mode});
        const auto rows = Hyperfine(compare, runs);
        Table("Comparing the 75 MB export with the 61 MB one", rows, rows[0].time.median);
        if (!keep)
            for (const std::string& p : {e75, e61, e754}) std::filesystem::remove(p);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cli_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
