// The whole `kavlo merge` process on three whole-database exports (bench/exports.h's objects,
// about 70 MB each), against listing the same three files with `kavlo list`, in one run:
// wall time (median of the runs, with the fastest and slowest) and peak resident memory.
// ORIGINAL is the database; TARGET changes the version list of every 40th object and the
// documentation of every 60th, and drops every 200th; MODIFIED documents every 30th object,
// drops every 500th and adds an object after every 250th. So most objects are unchanged, some
// are merged and the objects both document conflict, as in a real update.
//   merge_bench [--kavlo PATH] [--runs N] [--keep]   (PATH: the kavlo to time, by default the
//       one beside this program; files go to KAVLO_BENCH_DIR or /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_util.h"
#include "exports.h"
#include "median.h"

using namespace kavlo;

namespace {

struct Written {
    uint64_t bytes = 0;
    int objects = 0;
};

// The three exports, object by object, until ORIGINAL reaches `megabytes`.
void WriteTriple(const std::string& o, const std::string& m, const std::string& t, double megabytes,
                 Written (&w)[3]) {
    const std::vector<testing::TxtObject>& all = bench::DatabaseObjects();
    std::ofstream out[3] = {std::ofstream(o, std::ios::binary), std::ofstream(m, std::ios::binary),
                            std::ofstream(t, std::ios::binary)};
    const auto put = [&](int k, const testing::TxtObject& x) {
        testing::TxtFile one;
        one.objects = {x};
        const std::string text = testing::WriteTxt(one);
        out[k].write(text.data(), static_cast<std::streamsize>(text.size()));
        w[k].bytes += text.size();
        ++w[k].objects;
    };
    for (size_t i = 0; i < all.size() && static_cast<double>(w[0].bytes) < megabytes * 1e6; ++i) {
        put(0, all[i]);
        testing::TxtObject mine = all[i], update = all[i];
        if (i % 30 == 0) mine.code.push_back("#CUST" + std::to_string(i) + " customer change");
        if (i % 40 == 0) update.version += ",NAVW17.10";
        if (i % 60 == 0) update.code.push_back("#UPD" + std::to_string(i) + " update");
        if (i % 500 != 7) put(1, mine);
        if (i % 250 == 3) {
            testing::TxtObject added = all[i];
            added.id += 50000000;
            put(1, added);
        }
        if (i % 200 != 11) put(2, update);
    }
    for (auto& f : out)
        if (!f) throw std::runtime_error("cannot write the exports");
}

struct Measured {
    bench::Spread time;
    long maxRssKb = 0;  // the largest of the runs
};

// Runs the command (no shell) `runs` times, its output thrown away; exit codes in `ok`.
Measured RunTimed(const std::vector<std::string>& argv, int runs, std::vector<int> ok = {0}) {
    std::vector<double> times;
    Measured m;
    for (int r = 0; r < runs; ++r) {
        std::fflush(stdout);  // the child's own stdout must not take this process's buffer along
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            if (!freopen("/dev/null", "w", stdout)) _exit(126);
            execv(args[0], args.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) throw std::runtime_error("cannot run " + argv[0]);
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (std::find(ok.begin(), ok.end(), code) == ok.end())
            throw std::runtime_error(argv[0] + " " + argv[1] + " exited with " + std::to_string(code));
        m.maxRssKb = std::max(m.maxRssKb, usage.ru_maxrss);
    }
    m.time = bench::SpreadOf(times);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    std::string kavlo = bench::ProgramDir() + "/kavlo";
    int runs = 5;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--keep") keep = true;
        else if (a == "--kavlo" && i + 1 < argc) kavlo = argv[++i];
        else if (a == "--runs" && i + 1 < argc) runs = std::max(3, std::atoi(argv[++i]));
    }
    try {
        const std::string o = bench::TempPath("kavlo_merge_o.txt"), m = bench::TempPath("kavlo_merge_m.txt"),
                          t = bench::TempPath("kavlo_merge_t.txt"), r = bench::TempPath("kavlo_merge_r.txt");
        Written w[3];
        WriteTriple(o, m, t, 70, w);
        const char* names[3] = {"ORIGINAL", "MODIFIED", "TARGET"};
        for (int k = 0; k < 3; ++k)
            std::printf("%s: %.1f MB, %d objects\n", names[k], w[k].bytes / 1e6, w[k].objects);
        std::printf("kavlo: %s; %d runs each after 1 warm-up run, warm page cache\n\n", kavlo.c_str(), runs);

        const std::string files[3] = {o, m, t};
        Measured lists[3];
        for (int k = 0; k < 3; ++k) {
            RunTimed({kavlo, "list", files[k]}, 1);
            lists[k] = RunTimed({kavlo, "list", files[k]}, runs);
        }
        const std::vector<std::string> merge = {kavlo, "merge", o, m, t, "--output", r};
        RunTimed(merge, 1, {0, 3});
        const Measured merged = RunTimed(merge, runs, {0, 3});

        double listSum = 0;
        long rssMax = 0;
        std::printf("| command | median | fastest – slowest | max RSS |\n|---|---:|---:|---:|\n");
        for (int k = 0; k < 3; ++k) {
            listSum += lists[k].time.median;
            rssMax = std::max(rssMax, lists[k].maxRssKb);
            std::printf("| kavlo list %s | %.3f s | %.3f – %.3f s | %.1f MB |\n", names[k], lists[k].time.median,
                        lists[k].time.min, lists[k].time.max, lists[k].maxRssKb / 1024.0);
        }
        std::printf("| kavlo merge | %.3f s | %.3f – %.3f s | %.1f MB |\n", merged.time.median, merged.time.min,
                    merged.time.max, merged.maxRssKb / 1024.0);
        const double inputs = (w[0].bytes + w[1].bytes + w[2].bytes) / 1e6;
        std::printf("\nmerge / (the three lists): %.2f; merge's max RSS / the three files (%.0f MB): %.2f\n",
                    merged.time.median / listSum, inputs, merged.maxRssKb / 1024.0 * 1.048576 / inputs);
        if (!keep)
            for (const std::string& p : {o, m, t, r}) std::filesystem::remove(p);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "merge_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
