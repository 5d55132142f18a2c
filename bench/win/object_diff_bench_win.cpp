// Opening the "Object Differences" window for one object of 1,000, 10,000 and 100,000 lines in
// two text exports, file 2 with every 100th line changed and a line added and one removed in
// every 1,000: the time from the request (Enter on the row) until both panes are painted,
// which is reading both objects back from their files, the diff, the layout, the window's
// creation and its first paint. Best of five, each window closed before the next. Built with
// the Windows build; run under Wine on a display:
//   tools/wine-run.sh build/win/object_diff_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/object_diff_form_win.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "platform/regional.h"
#include "support/fob_writer.h"
#include "support/txt_writer.h"

using namespace kavlo;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

// A text export of one codeunit whose code has `lines` lines; file 2's version is changed.
void WriteExport(const std::string& path, int lines, bool changed) {
    testing::TxtFile file;
    file.objects = {testing::SimpleTxtObject("Codeunit", 80, "Sales-Post")};
    std::vector<std::string>& code = file.objects[0].code;
    for (int i = 1; i <= lines; ++i) {
        if (changed && i % 1000 == 500) continue;  // removed
        std::string line =
            "IF SalesLine.\"Document No.\" <> '' THEN Total" + std::to_string(i) + " := " + std::to_string(i % 97) + ";";
        if (changed && i % 100 == 0) line += " // changed";
        code.push_back(line);
        if (changed && i % 1000 == 700) code.push_back("Inserted := TRUE;");  // added
    }
    testing::WriteBytes(path, testing::WriteTxt(file));
}

// The baseline: an empty top-level window of the same size, created, shown, brought to the
// front and painted the same way, and destroyed; what any window costs here.
double EmptyWindowMs() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "EmptyBenchWindow";
    RegisterClassA(&wc);
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto t0 = Clock::now();
        HWND w = CreateWindowExA(0, wc.lpszClassName, "Empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 1000,
                                 640, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(w, SW_SHOWNORMAL);
        SetForegroundWindow(w);
        UpdateWindow(w);
        best = std::min(best, Ms(t0));
        DestroyWindow(w);
    }
    return best;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kavlo-diff-bench";
    std::filesystem::create_directories(dir);
    const std::string path1 = (dir / "one.txt").string(), path2 = (dir / "two.txt").string();
    SystemRegional regional;
    const double empty = EmptyWindowMs();
    std::printf("An empty window opened the same way: %.1f ms\n\n", empty);
    std::printf("| lines | changes | read and diff | create and show | paint | whole open | open / empty window |\n"
                "|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int lines : {1000, 10000, 100000}) {
        WriteExport(path1, lines, false);
        WriteExport(path2, lines, true);
        TFob fob1, fob2;
        LoadObjectFile(fob1, 1, path1, regional.Get());
        LoadObjectFile(fob2, 2, path2, regional.Get());
        TVisibleList list;
        AddFobRow(list, fob1, 0);
        double diffBest = 1e9, showBest = 1e9, paintBest = 1e9, openBest = 1e9;
        size_t changes = 0;
        for (int run = 0; run < 5; ++run) {
            // The parts of an open, one by one.
            auto t0 = Clock::now();
            ObjectDiff d = MakeObjectDiff(fob1, 0, fob2, 0);
            diffBest = std::min(diffBest, Ms(t0));
            changes = d.View.ChangeStarts.size();
            {
                TObjectDiffForm form;
                t0 = Clock::now();
                form.Create(std::move(d), RECT{0, 0, 1000, 640}, {});
                showBest = std::min(showBest, Ms(t0));
                t0 = Clock::now();
                for (int side = 0; side < 2; ++side) UpdateWindow(form.Pane(side));
                paintBest = std::min(paintBest, Ms(t0));
            }
            // The whole open, as Enter on the row asks for it.
            TObjectDiffWindows windows;
            TSettings settings;
            t0 = Clock::now();
            windows.Open(fob1, fob2, list, 1, 0, GetDesktopWindow(), settings);
            const TObjectDiffForm& w = *windows.OpenWindows().at(0);
            UpdateWindow(w.Handle());
            for (int side = 0; side < 2; ++side) UpdateWindow(w.Pane(side));
            openBest = std::min(openBest, Ms(t0));
        }
        std::printf("| %d | %zu | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.2f |\n", lines, changes, diffBest, showBest,
                    paintBest, openBest, openBest / empty);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
