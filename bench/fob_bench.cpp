// Loading binary object files of 10,000 and 100,000 objects, against reading the same file once
// into memory in the same run.
//   fob_bench            (files go to KAVLO_BENCH_DIR or /tmp and are removed afterwards)
#include <cstdio>
#include <filesystem>
#include <numeric>

#include "bench_util.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"

using namespace kavlo;

int main() {
    testing::FixedRegional regional;
    std::printf("| objects | file size | plain read | load | load / read |\n|---:|---:|---:|---:|---:|\n");
    for (int count : {10000, 100000}) {
        testing::FobFile f;
        f.objects = testing::RealisticObjects(count, 42);
        // The leading block carries the objects' data; a whole database holds a few hundred MB.
        const uint64_t blobs = std::accumulate(f.objects.begin(), f.objects.end(), uint64_t{0},
                                               [](uint64_t s, const testing::FobObject& o) { return s + o.blobSize; });
        f.leadingLength = static_cast<uint32_t>(std::min<uint64_t>(blobs, uint64_t{256} << 20));
        for (auto& o : f.objects) o.longClosing = o.id % 3 == 0, o.closingSkip = static_cast<uint8_t>(o.id % 40);
        const std::string path = bench::TempPath("kavlo-bench-" + std::to_string(count) + ".fob");
        testing::WriteBytes(path, testing::WriteFob(f));
        const double size = static_cast<double>(std::filesystem::file_size(path));

        bench::PlainRead(path);  // warm the page cache for both
        const bench::Spread read = bench::MedianSeconds(7, [&] { bench::PlainRead(path); });
        int loaded = 0;
        const bench::Spread load = bench::MedianSeconds(7, [&] {
            TFob fob;
            LoadObjectFile(fob, 1, path, regional.Get());
            loaded = fob.Count();
        });
        if (loaded != count) std::fprintf(stderr, "loaded %d of %d\n", loaded, count);
        std::printf("| %d | %.1f MB | %s | %s | %.2f |\n", count, size / 1e6, bench::Ms(read).c_str(),
                    bench::Ms(load).c_str(), load.median / read.median);
        std::filesystem::remove(path);
    }
    return 0;
}
