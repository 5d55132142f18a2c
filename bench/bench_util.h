// Small helpers the benchmarks share: timing (median.h), the baselines that the figures are
// ratios against, and peak memory.
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

#include "median.h"
#include "platform/file.h"

namespace kavlo::bench {

// Baseline: read the whole file once in large reads into one reused buffer, as `cat` does.
inline size_t PlainRead(const std::string& path) {
    auto file = InputFile::Open(path);
    std::vector<char> block(size_t{1} << 18);
    size_t total = 0;
    for (size_t got; (got = file->ReadAt(total, block.data(), block.size())) > 0;) total += got;
    return total;
}

// Baseline: read the file in large reads and count its lines, as `wc -l` does.
inline size_t ReadAndCountLines(const std::string& path) {
    auto file = InputFile::Open(path);
    std::vector<char> block(size_t{1} << 18);
    size_t total = 0, lines = 0;
    for (size_t got; (got = file->ReadAt(total, block.data(), block.size())) > 0;) {
        lines += static_cast<size_t>(std::count(block.data(), block.data() + got, '\n'));
        total += got;
    }
    return lines;
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
