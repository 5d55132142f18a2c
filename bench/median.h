// The median of several timed runs with their spread, shared by the native benchmarks and the
// Windows ones (bench/win): on a shared machine one slow run then decides nothing.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kavlo::bench {

// The wall-clock seconds of several runs: the median, which one slow run on a shared machine
// does not move, and the fastest and slowest run as the spread.
struct Spread {
    double median = 0, min = 0, max = 0;
    int runs = 0;
};

// The median, fastest and slowest of some timings (at least one).
inline Spread SpreadOf(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    const size_t n = t.size();
    const double median = n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
    return {median, t.front(), t.back(), static_cast<int>(n)};
}

// `before`, when given, runs untimed ahead of each run.
inline Spread MedianSeconds(int runs, const std::function<void()>& f, const std::function<void()>& before = {}) {
    std::vector<double> t;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        if (before) before();
        const auto t0 = std::chrono::steady_clock::now();
        f();
        t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return SpreadOf(std::move(t));
}

// "12.3 ms (11.9-14.0)": the median and the spread, in milliseconds.
inline std::string Ms(const Spread& s) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f ms (%.1f-%.1f)", s.median * 1e3, s.min * 1e3, s.max * 1e3);
    return buf;
}

}  // namespace kavlo::bench
