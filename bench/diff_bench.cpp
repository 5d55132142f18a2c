// kavlo diff over two whole-database text exports of about 60 MB each, the second with a few
// hundred objects changed (code edited, objects re-stamped, some added and removed), against
// loading both files in this process: the diff, loading included, should cost at most 3 times
// the loading, and its peak memory should stay under 2.5 times the two files. kavlo runs as a
// child process, so that its time and peak memory are its own.
// The files go to KAVLO_BENCH_DIR (or /tmp) and are deleted afterwards.
//   diff_bench [--small]   (--small: a tenth of the size, for a quick look)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_util.h"
#include "median.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/txt_writer.h"

using namespace kavlo;
using namespace kavlo::bench;

namespace {

struct ChildRun {
    double seconds = 0;
    size_t peakBytes = 0;
    int exitCode = -1;
};

// Runs the command with its output to /dev/null; its wall time and its peak resident memory.
ChildRun Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);  // the child must not write this process's buffered output again
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    ChildRun r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.peakBytes = static_cast<size_t>(usage.ru_maxrss) * 1024;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

double Mb(uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    const bool small = argc > 1 && std::string(argv[1]) == "--small";
    const std::string kavlo = (std::filesystem::path(argv[0]).parent_path() / "kavlo").string();
    const int objects = small ? 700 : 7000;
    const std::string path1 = TempPath("kavlo_diff_bench1.txt"), path2 = TempPath("kavlo_diff_bench2.txt");

    testing::TxtFile one;
    one.objects = testing::RealisticTxtObjects(objects, 33, 235);
    testing::TxtFile two = one;
    // Every 20th object changed (350 of 7,000): a quarter only re-stamped, the rest with code
    // added or edited, a few of them re-stamped too; every 500th removed, a few added.
    int changed = 0;
    for (size_t i = 0; i < two.objects.size(); i += 20, ++changed) {
        testing::TxtObject& o = two.objects[i];
        if (changed % 4 != 0) o.code = {"Amount := Amount + 1;", "IF Amount > 100 THEN", "  ERROR(Text00" + std::to_string(changed % 10) + ");"};
        if (changed % 4 == 0 || changed % 4 == 3) {
            o.date = "01-02-24";
            o.version += ",KAV1.0";
        }
        if (changed % 4 == 2) o.bodyLines -= 7;
    }
    for (size_t i = two.objects.size(); i-- > 0;)
        if (i % 500 == 250) two.objects.erase(two.objects.begin() + static_cast<std::ptrdiff_t>(i));
    for (int k = 0; k < 5; ++k) two.objects.push_back(testing::SimpleTxtObject("Codeunit", 1900000000 + k, "Added"));
    testing::WriteBytes(path1, testing::WriteTxt(one));
    testing::WriteBytes(path2, testing::WriteTxt(two));
    one = two = {};
    const uint64_t size = std::filesystem::file_size(path1) + std::filesystem::file_size(path2);

    const testing::FixedRegional regional;
    const Spread loading = MedianSeconds(5, [&] {
        TFob a, b;
        LoadObjectFile(a, 1, path1, regional.Get());
        LoadObjectFile(b, 2, path2, regional.Get());
    });
    const double load = loading.median;
    std::printf("two text exports, %.1f MB together, %d objects each, %d changed\n", Mb(size), objects, changed);
    std::printf("loading both (in process, median of 5): %s\n", Ms(loading).c_str());
    for (const char* what : {"--stat", "(unified diff)"}) {
        std::vector<std::string> args = {kavlo, "diff", path1, path2, "--oem-codepage", "850"};
        if (std::string(what) == "--stat") args.push_back("--stat");
        // The median of five runs; the peak is the highest any run reached.
        std::vector<double> seconds;
        ChildRun last;
        uint64_t peak = 0;
        for (int i = 0; i < 5; ++i) {
            last = Run(args);
            seconds.push_back(last.seconds);
            peak = std::max<uint64_t>(peak, last.peakBytes);
        }
        const Spread run = SpreadOf(seconds);
        std::printf("kavlo diff %-15s %s  %.2fx loading  (target <= 3)  peak %.0f MB, %.2fx the files (target < 2.5)  exit %d\n",
                    what, Ms(run).c_str(), run.median / load, Mb(peak), static_cast<double>(peak) / static_cast<double>(size),
                    last.exitCode);
    }
    std::filesystem::remove(path1);
    std::filesystem::remove(path2);
    return 0;
}
