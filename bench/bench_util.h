// Small helpers the benchmarks share: timing (best of several runs), the baselines that the
// figures are ratios against, and peak memory.
#pragma once
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/file.h"

namespace kavlo::bench {

// Best wall-clock seconds of `runs` calls.
inline double BestSeconds(int runs, const std::function<void()>& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

// Baseline: read the whole file once into memory in large reads.
inline size_t PlainRead(const std::string& path) {
    auto file = InputFile::Open(path);
    return ReadWholeFile(*file).size();
}

// Baseline: read the file and count its lines, as `wc -l` does.
inline size_t ReadAndCountLines(const std::string& path) {
    auto file = InputFile::Open(path);
    const std::string bytes = ReadWholeFile(*file);
    return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// Peak resident memory of this process so far, in bytes (Linux: VmHWM).
inline size_t PeakRssBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    return 0;
}

// Resets the peak so that one step's own peak can be measured (Linux 4.0 and later).
inline void ResetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

inline std::string TempPath(const std::string& name) {
    const char* dir = std::getenv("KAVLO_BENCH_DIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

}  // namespace kavlo::bench
