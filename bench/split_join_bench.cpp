// The whole `kavlo split` of a 75 MB whole-database export (bench/exports.h, about 8,900
// objects) into a fresh folder, and the whole `kavlo join` of that folder, against copying the
// same bytes with `cp -r` (the folder) and `cp` (the export), each the median of several runs
// with a warm page cache. Each run writes into a target removed beforehand (not timed). The
// join's output is checked to be the export byte for byte.
//   split_join_bench [--kavlo PATH] [--runs N]   (files go to KAVLO_BENCH_DIR or /tmp)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench_util.h"
#include "exports.h"

using namespace kavlo;

namespace {

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

}  // namespace

int main(int argc, char** argv) {
    std::string kavlo = bench::ProgramDir() + "/kavlo";
    int runs = 9;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--kavlo" && i + 1 < argc) kavlo = argv[++i];
        else if (a == "--runs" && i + 1 < argc) runs = std::max(3, std::atoi(argv[++i]));
    }
    const std::string exportFile = bench::TempPath("kavlo_split_75.txt"), folder = bench::TempPath("kavlo_split_75"),
                      copied = bench::TempPath("kavlo_split_copy"), joined = bench::TempPath("kavlo_join_75.txt");
    try {
        const bench::WrittenExport w = bench::WriteDatabaseExport(exportFile, 75, false);
        Shell("rm -rf '" + folder + "' && '" + kavlo + "' split '" + exportFile + "' '" + folder + "' 2>/dev/null");
        Shell("'" + kavlo + "' join '" + folder + "' --output '" + joined + "' 2>/dev/null");
        const size_t files = static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
        const bool same = bench::WholeFile(joined) == bench::WholeFile(exportFile);
        std::printf("%s: %.1f MB, %d objects; split into %zu files; joined %s\n", exportFile.c_str(), w.bytes / 1e6,
                    w.objects, files, same ? "byte for byte the export" : "DIFFERS from the export");

        const auto run = [&](const std::string& command) { return [command] { Shell(command); }; };
        const auto removing = [](const std::string& path) { return [path] { std::filesystem::remove_all(path); }; };
        const bench::Spread cpFile = bench::MedianSeconds(runs, run("cp '" + exportFile + "' '" + copied + "'"), removing(copied));
        const bench::Spread cpFolder = bench::MedianSeconds(runs, run("cp -r '" + folder + "' '" + copied + "'"), removing(copied));
        const bench::Spread split = bench::MedianSeconds(
            runs, run("'" + kavlo + "' split '" + exportFile + "' '" + copied + "' 2>/dev/null"), removing(copied));
        const bench::Spread join =
            bench::MedianSeconds(runs, run("'" + kavlo + "' join '" + folder + "' --output '" + copied + "' 2>/dev/null"), removing(copied));
        std::printf("\n%d runs each\n\n| command | median | fastest – slowest | / cp -r of the folder |\n|---|---:|---:|---:|\n",
                    runs);
        for (const auto& [what, s] : {std::pair{"cp of the export", cpFile}, std::pair{"cp -r of the folder", cpFolder},
                                      std::pair{"kavlo split (into a new folder)", split},
                                      std::pair{"kavlo join --output", join}})
            std::printf("| %s | %.3f s | %.3f – %.3f s | %.2f |\n", what, s.median, s.min, s.max, s.median / cpFolder.median);
        for (const std::string& p : {exportFile, folder, copied, joined}) std::filesystem::remove_all(p);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "split_join_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
