// Painting the object grid: the first page, and the last page after scrolling to the end, for
// a list of 100 rows and one of 1,000,000. The grid draws only the rows in view, so both cost
// the same. Built with the Windows build; run under Wine:
//   tools/wine-run.sh build/win/grid_paint_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench_list_win.h"
#include "app/object_grid_win.h"
#include "listing/visible_list.h"

using namespace kavlo;

namespace {

double PaintMs(TObjectGrid& grid, int topRow, int repeats) {
    grid.SetTopRow(topRow);
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) {
        InvalidateRect(grid.Handle(), nullptr, TRUE);
        UpdateWindow(grid.Handle());
    }
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count() / repeats;
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
    double first[2] = {}, last[2] = {};
    int k = 0;
    for (int rows : {100, 1000000}) {
        const auto t0 = std::chrono::steady_clock::now();
        TVisibleList list = MakeBenchList(rows);
        const double build = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        grid.SetList(&list);
        PaintMs(grid, 1, 5);  // warm up
        first[k] = PaintMs(grid, 1, 50);
        last[k] = PaintMs(grid, rows - grid.VisibleDataRowCount() + 1, 50);
        std::printf("| %d | %.1f ms | %.0f | %.2f ms | %.2f ms |\n", rows, build,
                    static_cast<double>(list.MemoryBytes()) / rows, first[k], last[k]);
        grid.SetList(nullptr);
        ++k;
    }
    std::printf("\nfirst page 1,000,000 / 100: %.2f; last page: %.2f (target within 1.5)\n", first[1] / first[0],
                last[1] / last[0]);
    DestroyWindow(frame);
    return 0;
}
