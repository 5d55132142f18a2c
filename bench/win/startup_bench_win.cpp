// From the program's start to the first painted list, with two whole-database text exports of
// 75 and 61 MB on the command line, as the window opens them; then where the time goes: each
// file's load through the Win32 file code, the Different build, and one paint of the window.
// Each figure is the median of five runs, with the fastest and slowest. Built with the Windows
// build; run under Wine on a display:
//   tools/wine-run.sh build/win/startup_bench.exe   (files go to KAVLO_BENCH_DIR or %TEMP%)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "app/update_check_ui_win.h"
#include "exports.h"
#include "listing/list_builder.h"
#include "objfile/load_object_file.h"
#include "median.h"
#include "settings/registry_memory.h"
#include "support/fixed_regional.h"

using namespace kavlo;

namespace {

constexpr int kRuns = 5;

std::string BenchDir() {
    if (const char* dir = std::getenv("KAVLO_BENCH_DIR"); dir && *dir) return dir;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// Dispatches what is queued, paint messages included, as the program's message loop does.
void Pump(TMainForm& form) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        try {
            if (form.PreTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } catch (const std::exception& e) {
            std::printf("(message %u: %s)\n", msg.message, e.what());
        }
    }
}

void Row(const char* what, const bench::Spread& s) {
    std::printf("| %s | %.0f ms | %.0f-%.0f ms |\n", what, s.median * 1e3, s.min * 1e3, s.max * 1e3);
    std::fflush(stdout);
}

// The loaded file again without the lookup index that a build makes, so that a timed build
// pays for its own; the copy is made outside the timing.
void DropLookupIndex(TFob& fob) {
    TFobBuilder copy(fob.FileNo(), fob.FileName(), fob.FileExt());
    copy.Fobs() = fob.Fobs();
    copy.Content() = fob.Content();
    fob = copy.Finish();
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);

    const std::string dir = BenchDir();
    const std::string file1 = dir + "\\kavlo_startup_75.txt", file2 = dir + "\\kavlo_startup_61.txt";
    const bench::WrittenExport w1 = bench::WriteDatabaseExport(file1, 75, false);
    const bench::WrittenExport w2 = bench::WriteDatabaseExport(file2, 61, true);
    std::printf("files: %.1f MB (%d objects) and %.1f MB (%d objects)\n\n", w1.bytes / 1e6, w1.objects,
                w2.bytes / 1e6, w2.objects);
    std::printf("| step | median | fastest-slowest |\n|---|---:|---:|\n");

    MemoryRegistry registry;
    std::vector<double> create, startup, whole, repaint;
    for (int run = 0; run < kRuns; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        TMainForm form;
        TMainForm::Options o;
        o.arguments = {file1, file2};
        o.registry = &registry;
        o.settingsKey = "\\Software\\Brenvik\\KavloStartupBench";
        o.showMessage = [](HWND, const std::string&) {};
        o.updateCheck = [](HWND owner) {
            UpdateCheckEnv env = SystemUpdateCheckEnv(owner);
            env.networkPresent = [] { return false; };
            return env;
        };
        form.Create(std::move(o));
        form.Show(SW_SHOWNORMAL);
        const auto t1 = std::chrono::steady_clock::now();
        // WM_STARTUP loads both files and builds the list; the paint comes after it.
        Pump(form);
        const auto t2 = std::chrono::steady_clock::now();
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const auto t3 = std::chrono::steady_clock::now();
        create.push_back(std::chrono::duration<double>(t1 - t0).count());
        startup.push_back(std::chrono::duration<double>(t2 - t1).count());
        whole.push_back(std::chrono::duration<double>(t2 - t0).count());
        repaint.push_back(std::chrono::duration<double>(t3 - t2).count());
    }
    Row("start to the first painted list", bench::SpreadOf(whole));
    Row("  creating and showing the window", bench::SpreadOf(create));
    Row("  loading both files, the build and the first paint", bench::SpreadOf(startup));
    Row("painting the whole window again", bench::SpreadOf(repaint));

    const testing::FixedRegional regional;
    TFob f1, f2;
    Row("load file 1",
        bench::MedianSeconds(kRuns, [&] { LoadObjectFile(f1, 1, file1, regional.Get()); }, [&] { f1.Clear(); }));
    Row("load file 2",
        bench::MedianSeconds(kRuns, [&] { LoadObjectFile(f2, 2, file2, regional.Get()); }, [&] { f2.Clear(); }));
    TBuiltList built;
    const ListSources src{f1, f2, kAllTypes, false, CompareSettings{}, FilterTexts{}};
    Row("all objects build", bench::MedianSeconds(kRuns, [&] { BuildList(BuildMode::Off(), src, built); },
                                                   [&] { DropLookupIndex(f1), DropLookupIndex(f2); }));
    Row("Different build", bench::MedianSeconds(kRuns, [&] { BuildList(BuildMode::Different(), src, built); },
                                                 [&] { DropLookupIndex(f1), DropLookupIndex(f2); }));
    std::printf("\n%d objects loaded, %d rows Different\n", f1.Count() + f2.Count(), built.Listed);
    DeleteFileA(file1.c_str());
    DeleteFileA(file2.c_str());
    OleUninitialize();
    return 0;
}
