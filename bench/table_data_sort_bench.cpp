// The Different comparison of two backups of 160,000 table-data entries, whose merge sorts each
// file's table data, against loading one of them in the same run: with one (table, qualifier)
// twice, and with every one twice.
//   table_data_sort_bench   (files go to KAVLO_BENCH_DIR or /tmp and are removed afterwards)
#include <cstdio>
#include <filesystem>
#include <random>

#include "bench_util.h"
#include "listing/list_builder.h"
#include "objfile/load_object_file.h"
#include "support/fbk_writer.h"
#include "support/fixed_regional.h"

using namespace kavlo;

namespace {

constexpr int kEntries = 160000;

// Entries in a shuffled header order: distinct (table, qualifier) keys but for `twice` of them,
// which stand twice.
testing::FbkFile Backup(int twice, uint32_t seed, bool changed) {
    std::mt19937 rng(seed);
    testing::FbkFile f;
    const int distinct = kEntries - twice;
    for (int i = 0; i < distinct; ++i) {
        testing::FbkTableData td;
        td.id = 1 + i / 20;
        td.name = "Table " + std::to_string(td.id);
        td.qualifier = "Company " + std::to_string(i % 20);
        if (changed && i % 97 == 0) td.name += " (changed)";
        f.tableData.push_back(td);
    }
    for (int i = 0; i < twice; ++i) f.tableData.push_back(f.tableData[static_cast<size_t>(i)]);
    std::shuffle(f.tableData.begin(), f.tableData.end(), rng);
    return f;
}

}  // namespace

int main() {
    testing::FixedRegional regional;
    std::printf("| table data | load one | Different | Different / load |\n|---|---:|---:|---:|\n");
    for (const int twice : {1, kEntries / 2}) {
        const std::string path1 = bench::TempPath("kavlo-sort-bench-1.fbk");
        const std::string path2 = bench::TempPath("kavlo-sort-bench-2.fbk");
        testing::WriteBytes(path1, testing::WriteFbk(Backup(twice, 5, false)));
        testing::WriteBytes(path2, testing::WriteFbk(Backup(twice, 6, true)));
        TFob f1, f2;
        LoadObjectFile(f2, 2, path2, regional.Get());
        const bench::Spread load = bench::MedianSeconds(5, [&] {
            f1.Clear();
            LoadObjectFile(f1, 1, path1, regional.Get());
        });
        TBuiltList built;
        CompareSettings cs;
        cs.SortByFile = false;  // the merge, which sorts the table data
        const ListSources src{f1, f2, kAllTypes, false, cs, FilterTexts{}};
        const bench::Spread different =
            bench::MedianSeconds(5, [&] { BuildList(BuildMode::Different(), src, built); });
        std::printf("| %d entries, %s | %s | %s | %.2f |\n", f1.Count(), twice == 1 ? "one key twice" : "every key twice",
                    bench::Ms(load).c_str(), bench::Ms(different).c_str(), different.median / load.median);
        std::fprintf(stderr, "(%d rows listed)\n", built.Listed);
        std::filesystem::remove(path1);
        std::filesystem::remove(path2);
    }
    return 0;
}
