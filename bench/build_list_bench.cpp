// Building the visible list in every mode over two object files of 100,000 objects each,
// against two baselines measured in the same run: the same build with the counterparts looked
// up by the walk from the first record, and loading the two files.
//   build_list_bench [--no-walk]   (files go to KAVLO_BENCH_DIR or /tmp and are removed
//                                   afterwards; --no-walk leaves out the minutes of the walk)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "bench_util.h"
#include "listing/list_builder.h"
#include "objfile/load_object_file.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"

using namespace kavlo;

namespace {

constexpr int kObjects = 100000;

// File 2 as a later version of file 1: about 2% of the objects changed, 1% removed, 1% added.
std::vector<testing::FobObject> LaterVersion(std::vector<testing::FobObject> objs, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<testing::FobObject> out;
    out.reserve(objs.size() + objs.size() / 100);
    for (size_t i = 0; i < objs.size(); ++i) {
        testing::FobObject o = objs[i];
        const unsigned roll = rng() % 100;
        if (roll == 0) continue;  // removed
        if (roll <= 2) {
            o.version += ",KAV1.0";
            o.blobSize += 100;
            o.modified = true;
        }
        out.push_back(o);
        // IDs of the generator step by at least 1, so one between two neighbours may be free.
        if (roll == 3 && i + 1 < objs.size() && objs[i + 1].type == o.type && objs[i + 1].id > o.id + 1) {
            testing::FobObject added = o;
            added.id = o.id + 1;
            added.name = "Kavlo Addition";
            out.push_back(added);
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool walkToo = !(argc > 1 && std::string(argv[1]) == "--no-walk");
    testing::FixedRegional regional;
    const std::vector<testing::FobObject> base = testing::RealisticObjects(kObjects, 42);
    testing::FobFile first, second;
    first.objects = base;
    second.objects = LaterVersion(base, 7);
    const std::string path1 = bench::TempPath("kavlo-build-bench-1.fob");
    const std::string path2 = bench::TempPath("kavlo-build-bench-2.fob");
    testing::WriteBytes(path1, testing::WriteFob(first));
    testing::WriteBytes(path2, testing::WriteFob(second));

    TFob f1, f2;
    const auto loadBoth = [&] {
        f1.Clear();
        f2.Clear();
        LoadObjectFile(f1, 1, path1, regional.Get());
        LoadObjectFile(f2, 2, path2, regional.Get());
    };
    loadBoth();  // warm the page cache
    const bench::Spread loadSpread = bench::MedianSeconds(7, loadBoth);
    const double load = loadSpread.median;
    std::printf("files: %d and %d objects; loading both: %s (median of 7, fastest-slowest)\n\n", f1.Count(),
                f2.Count(), bench::Ms(loadSpread).c_str());

    struct Case {
        const char* name;
        BuildMode mode;
        bool sortByFile, onlyBoth;
    };
    const Case cases[] = {
        {"Off (all objects)", BuildMode::Off(), false, false},
        {"Equal", BuildMode::Equal(), false, false},
        {"Equal, sort by file", BuildMode::Equal(), true, false},
        {"Different (merge)", BuildMode::Different(), false, false},
        {"Different, only both (merge)", BuildMode::Different(), false, true},
        {"Different, sort by file", BuildMode::Different(), true, false},
        {"Added", BuildMode::Added(), false, false},
        {"Deleted", BuildMode::Deleted(), false, false},
        {"All five sections", BuildMode{true, true, true, true, true}, true, false},
    };
    const FilterTexts noFilters;
    // All indexed builds first, then the walks, so that minutes of walking do not stand
    // between the indexed figures and the loading they are compared with.
    struct Result {
        int rows = 0;
        bench::Spread build;
        double walk = 0;
    };
    std::vector<Result> results(std::size(cases));
    size_t offBytes = 0;
    int offRows = 0;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1 && !walkToo) break;
        for (size_t k = 0; k < std::size(cases); ++k) {
            const Case& c = cases[k];
            Result& res = results[k];
            CompareSettings cs;
            cs.SortByFile = c.sortByFile;
            cs.OnlyShowBoth = c.onlyBoth;
            const ListSources src{f1, f2, kAllTypes, false, cs, noFilters};
            TBuiltList built;
            if (pass == 0) {
                // The lookup index is made by the first lookup after a load; each timed build
                // starts without one, so its cost is counted.
                res.build = bench::MedianSeconds(7, [&] { BuildList(c.mode, src, built); },
                                                 [&] {
                                                     // loaded again, outside the timing, as a
                                                     // load leaves them: no index yet
                                                     loadBoth();
                                                 });
                res.rows = built.Listed;
                if (c.mode == BuildMode::Off()) {
                    offBytes = built.List.MemoryBytes();
                    offRows = res.rows;
                }
            } else {
                // The walk takes seconds per build; one run of it is enough.
                res.walk = bench::MedianSeconds(1, [&] { BuildList(c.mode, src, built, LookupMethod::LinearWalk); }).median;
                if (built.Listed != res.rows)
                    std::fprintf(stderr, "%s: %d rows by the walk, %d indexed\n", c.name, built.Listed, res.rows);
            }
        }
    }
    std::printf("| mode | rows | build | walk build | walk / build | build / load |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Result& r = results[k];
        std::printf("| %s | %d | %s | %.1f ms | %.0fx | %.2f |\n", cases[k].name, r.rows, bench::Ms(r.build).c_str(),
                    r.walk * 1e3, r.walk / r.build.median, r.build.median / load);
    }
    std::printf("\nvisible list of the Off build: %.1f MB for %d rows, %.0f bytes a row\n", offBytes / 1e6, offRows,
                static_cast<double>(offBytes) / offRows);
    std::filesystem::remove(path1);
    std::filesystem::remove(path2);
    return 0;
}
