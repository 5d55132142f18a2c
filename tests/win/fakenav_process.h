// tools/fakenav as a separate process for the marking tests: started with its options, its main
// window found, its handled keys counted and its state read back, and closed at the end.
#pragma once
#include <windows.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace kavlo {

class FakeNavProcess {
public:
    // `arguments` as fakenav takes them (see tools/fakenav/fakenav_win.cpp).
    FakeNavProcess(const std::string& stateFile, const std::string& arguments) : stateFile_(stateFile) {
        char exe[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string path(exe, n);
        path = path.substr(0, path.find_last_of("\\/") + 1) + "fakenav.exe";
        std::string command = "\"" + path + "\" --state \"" + stateFile + "\" " + arguments;
        STARTUPINFOA si{sizeof si};
        if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
            return;
        WaitForInputIdle(pi_.hProcess, 10000);
        for (int i = 0; i < 200 && !main_; ++i) {
            EnumWindows(
                [](HWND h, LPARAM p) -> BOOL {
                    auto* self = reinterpret_cast<FakeNavProcess*>(p);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(h, &pid);
                    char cls[64];
                    if (pid == self->pi_.dwProcessId && GetClassNameA(h, cls, sizeof cls) &&
                        std::string(cls) == "C/SIDE Application" && IsWindowVisible(h)) {
                        self->main_ = h;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
            if (!main_) Sleep(50);
        }
    }
    ~FakeNavProcess() {
        if (!pi_.hProcess) return;
        if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    FakeNavProcess(const FakeNavProcess&) = delete;
    FakeNavProcess& operator=(const FakeNavProcess&) = delete;

    HWND Window() const { return main_; }
    // The key downs it has handled so far.
    int Keys() const { return static_cast<int>(SendMessageA(main_, WM_APP + 1, 0, 0)); }
    // Waits until it has handled at least `n` key downs (keys are queued, so they may still be
    // on their way when the sender is done); false after 20 s.
    bool WaitForKeys(int n) const {
        for (int i = 0; i < 400; ++i) {
            if (Keys() >= n) return true;
            Sleep(50);
        }
        return false;
    }
    // The state file's values by name ("marked", "filter", "key", "menu"…), written now.
    std::map<std::string, std::vector<std::string>> State() const {
        SendMessageA(main_, WM_APP + 2, 0, 0);
        std::map<std::string, std::vector<std::string>> state;
        std::ifstream in(stateFile_);
        for (std::string line; std::getline(in, line);) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos) state[line.substr(0, eq)].push_back(line.substr(eq + 1));
        }
        return state;
    }
    std::string Marked() const {
        const auto s = State();
        const auto it = s.find("marked");
        return it == s.end() || it->second.empty() ? std::string("?") : it->second.front();
    }

private:
    std::string stateFile_;
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

}  // namespace kavlo
