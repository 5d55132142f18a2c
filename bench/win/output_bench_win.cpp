// Printing and the Excel export, timed under Wine on the test run's printer and stand-in:
//  - rows printed on the default printer (the test print queue of tools/setup-env.sh,
//    start_print_queue): the time from the start of the document to its end, as the user
//    waits for it; the PDF that CUPS makes afterwards is not counted;
//  - rows exported to tools/fakeexcel (registered for the run, removed afterwards): the
//    automation calls, each a round trip to the server's process, and the time.
// Both are also given per 1,000 rows. Each is the median of several runs, with the fastest
// and slowest (bench/median.h). Built with the Windows build; run with the queue up:
//   tools/wine-run.sh build/win/output_bench.exe [print rows] [export rows] [export runs]
// (2,000, 1,000 and 3 by default).
#include <windows.h>
#include <objbase.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_list_win.h"
#include "median.h"
#include "gui/printer_canvas_win.h"
#include "listing/visible_list.h"
#include "output/excel_automation_win.h"
#include "output/print_list.h"

using namespace kavlo;

namespace {

constexpr int kPrintRuns = 5;

// Counts the automation calls that pass through it.
class CountingObject final : public AutomationObject {
public:
    CountingObject(std::unique_ptr<AutomationObject> inner, long& calls) : inner_(std::move(inner)), calls_(calls) {}
    std::unique_ptr<AutomationObject> Get(std::string_view name, std::initializer_list<AutomationValue> args) override {
        ++calls_;
        return std::make_unique<CountingObject>(inner_->Get(name, args), calls_);
    }
    void Put(std::string_view name, std::initializer_list<AutomationValue> args,
             const AutomationValue& value) override {
        ++calls_;
        inner_->Put(name, args, value);
    }
    void Call(std::string_view name) override {
        ++calls_;
        inner_->Call(name);
    }

private:
    std::unique_ptr<AutomationObject> inner_;
    long& calls_;
};
struct CountingHost final : ExcelHost {
    ComExcelHost com;
    long calls = 0;
    std::unique_ptr<AutomationObject> CreateApplication() override {
        return std::make_unique<CountingObject>(com.CreateApplication(), calls);
    }
    void BringToFront() override {}
};

bool RunWait(std::string command) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int printRows = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int exportRows = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int exportRuns = argc > 3 ? std::atoi(argv[3]) : 3;
    const TVisibleList printed = MakeBenchList(printRows);
    char printer[256] = {};
    DWORD size = sizeof printer;
    if (GetDefaultPrinterA(printer, &size)) {
        const bench::Spread t = bench::MedianSeconds(kPrintRuns, [&] {
            TPrinterCanvas canvas(UniqueDc(CreateDCA(nullptr, printer, nullptr, nullptr)));
            PrintList(canvas, printed, "C:\\objects\\one.fob", "C:\\objects\\two.fob", "  09-12-26 - 06:00:00");
        });
        std::printf("print: %d rows on %s in %.2f s (%.2f-%.2f, %d runs), %.2f s per 1,000 rows\n", printRows,
                    printer, t.median, t.min, t.max, t.runs, t.median * 1000 / printRows);
    } else {
        std::printf("print: no default printer (start the test print queue first)\n");
    }

    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir = exe;
    dir = dir.substr(0, dir.find_last_of("\\/"));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string fake = "\"" + dir + "\\fakeexcel.exe\"";
    if (!RunWait(fake + " /regserver --out \"" + std::string(temp) + "\"")) return 1;
    OleInitialize(nullptr);
    const TVisibleList exported = MakeBenchList(exportRows);
    CountingHost excel;
    // Each run starts without a stand-in window from the run before.
    const auto closeExcel = [] {
        if (HWND w = FindWindowA(kExcelMainWindowClass, nullptr)) {
            PostMessageA(w, WM_CLOSE, 0, 0);
            Sleep(500);
        }
    };
    bool failed = false;
    const bench::Spread t = bench::MedianSeconds(
        exportRuns,
        [&] {
            try {
                ExportToExcel(exported, FormatSettings{}, excel);
            } catch (const std::exception& e) {
                std::printf("export failed: %s\n", e.what());
                failed = true;
            }
        },
        [&] {
            closeExcel();
            excel.calls = 0;
        });
    if (!failed)
        std::printf("export: %d rows, %ld calls in %.2f s (%.2f-%.2f, %d runs); per 1,000 rows %.0f calls, %.2f s\n",
                    exportRows, excel.calls, t.median, t.min, t.max, t.runs, excel.calls * 1000.0 / exportRows,
                    t.median * 1000 / exportRows);
    closeExcel();
    OleUninitialize();
    RunWait(fake + " /unregserver");
    DeleteFileA((std::string(temp) + "calls.txt").c_str());
    DeleteFileA((std::string(temp) + "sheet.txt").c_str());
    return 0;
}
