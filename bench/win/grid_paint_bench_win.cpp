// Painting the object grid: the first page, and the last page after scrolling to the end, for
// a list of 100 rows and one of 1,000,000. The grid draws only the rows in view, so both cost
// the same. Each figure is the median of 15 samples of 10 paints, with the fastest and slowest
// sample. Built with the Windows build; run under Wine:
//   tools/wine-run.sh build/win/grid_paint_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench_list_win.h"
#include "median.h"
#include "app/object_grid_win.h"
#include "listing/visible_list.h"

using namespace kavlo;

namespace {

// The time of one paint of the page at topRow: the median of 15 samples of 10 paints each, with
// the fastest and slowest sample, in milliseconds per paint.
bench::Spread PaintMs(TObjectGrid& grid, int topRow) {
    grid.SetTopRow(topRow);
    const bench::Spread s = bench::MedianSeconds(15, [&] {
        for (int i = 0; i < 10; ++i) {
            InvalidateRect(grid.Handle(), nullptr, TRUE);
            UpdateWindow(grid.Handle());
        }
    });
    return {s.median * 100, s.min * 100, s.max * 100, s.runs};
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HWND frame = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 820, 640, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    TObjectGrid grid;
    grid.Create(frame, 1, {});
    MoveWindow(grid.Handle(), 0, 0, 800, 600, TRUE);
    std::printf("| rows | build | list bytes per row | first page | last page |\n|---:|---:|---:|---:|---:|\n");
    bench::Spread first[2], last[2];
    int k = 0;
    for (int rows : {100, 1000000}) {
        const auto t0 = std::chrono::steady_clock::now();
        TVisibleList list = MakeBenchList(rows);
        const double build = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        grid.SetList(&list);
        PaintMs(grid, 1);  // warm up
        first[k] = PaintMs(grid, 1);
        last[k] = PaintMs(grid, rows - grid.VisibleDataRowCount() + 1);
        std::printf("| %d | %.1f ms | %.0f | %.2f ms (%.2f-%.2f) | %.2f ms (%.2f-%.2f) |\n", rows, build,
                    static_cast<double>(list.MemoryBytes()) / rows, first[k].median, first[k].min, first[k].max,
                    last[k].median, last[k].min, last[k].max);
        grid.SetList(nullptr);
        ++k;
    }
    std::printf("\nmedians, first page 1,000,000 / 100: %.2f; last page: %.2f (target within 1.5)\n",
                first[1].median / first[0].median, last[1].median / last[0].median);
    DestroyWindow(frame);
    return 0;
}
