// Small helpers the benchmarks share: timing (median.h), the baselines that the figures are
// ratios against, and peak memory.
#pragma once
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "median.h"
#include "platform/file.h"

namespace kavlo::bench {

// The whole file in memory, read in large reads into one fresh buffer: what the readers did
// before they read through a reused buffer, and still the baselines below.
inline std::string WholeFile(const std::string& path) {
    auto file = InputFile::Open(path);
    std::string bytes(static_cast<size_t>(file->Size()), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t got = file->ReadAt(done, bytes.data() + done, std::min<size_t>(bytes.size() - done, size_t{1} << 24));
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

// Baseline: read the whole file once into memory.
inline size_t PlainRead(const std::string& path) { return WholeFile(path).size(); }

// Baseline: read the file into memory and count its lines, as `wc -l` does.
inline size_t ReadAndCountLines(const std::string& path) {
    const std::string bytes = WholeFile(path);
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

// The folder of this benchmark's program, where the kavlo it times is built too.
inline std::string ProgramDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

}  // namespace kavlo::bench
