// fakenav: a stand-in Navision client for testing marking by hand and in the window tests.
//
//   fakenav [--caption TEXT] [--designer TEXT] [--type-filter TEXT] [--id-filter TEXT]
//           [--objects TYPE:ID[*],...] [--designer-delay MS] [--filter-delay MS]
//           [--pos X,Y,W,H] [--state FILE]
//
// A top-level window of class "C/SIDE Application" with the caption, its "MDIClient" area, and
// in it three "C/SIDE Form" windows with the captions given: the Object Designer (Shift+F12)
// and the Type and ID field filter windows (F7 in their column), each shown after its delay.
// "*" after an object marks it at start. Every key is handled in the message loop itself, so
// that Alt and F10 never put the window into menu mode, and every key down is counted and
// logged with the modifiers held. The state (filters, marks, menu keys, keys) is written to the
// state file on request and at exit. Messages for the tests:
//   WM_APP + 1  returns the number of key downs handled so far
//   WM_APP + 2  writes the state file now; returns 1
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "nav_model.h"

namespace {

constexpr UINT kWmKeyCount = WM_APP + 1, kWmWriteState = WM_APP + 2;
constexpr UINT_PTR kTimerDesigner = 1, kTimerFilter = 2;

struct Options {
    std::string caption = "Navision Client (fakenav)";
    std::string designer = "Object Designer", typeFilter = "Type - Field Filter", idFilter = "ID - Field Filter";
    std::vector<fakenav::NavObject> objects;
    int designerDelay = 300, filterDelay = 150;
    int x = 0, y = 0, w = 600, h = 240;
    std::string stateFile;
};

Options g_options;
fakenav::NavModel* g_model = nullptr;
HWND g_main = nullptr, g_mdi = nullptr, g_designer = nullptr, g_typeFilter = nullptr, g_idFilter = nullptr;
std::vector<std::string> g_keys;

std::vector<fakenav::NavObject> ParseObjects(const std::string& text) {
    std::vector<fakenav::NavObject> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        const size_t colon = item.find(':');
        if (colon != std::string::npos)
            out.push_back({std::atoi(item.substr(0, colon).c_str()), std::atoi(item.c_str() + colon + 1),
                           item.back() == '*'});
        start = end + 1;
    }
    return out;
}

Options ParseArguments(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--caption") o.caption = value;
        else if (name == "--designer") o.designer = value;
        else if (name == "--type-filter") o.typeFilter = value;
        else if (name == "--id-filter") o.idFilter = value;
        else if (name == "--objects") o.objects = ParseObjects(value);
        else if (name == "--designer-delay") o.designerDelay = std::atoi(value.c_str());
        else if (name == "--filter-delay") o.filterDelay = std::atoi(value.c_str());
        else if (name == "--state") o.stateFile = value;
        else if (name == "--pos") std::sscanf(value.c_str(), "%d,%d,%d,%d", &o.x, &o.y, &o.w, &o.h);
    }
    return o;
}

void WriteState() {
    if (g_options.stateFile.empty()) return;
    std::ofstream out(g_options.stateFile, std::ios::trunc);
    out << "keys=" << g_keys.size() << "\n";
    out << "type-filter=" << g_model->TypeFilter() << "\n";
    out << "id-filter=" << g_model->IdFilter() << "\n";
    for (const std::string& f : g_model->FilterLog()) out << "filter=" << f << "\n";
    out << "menu=" << g_model->MenuKeys() << "\n";
    std::string marked;
    for (const fakenav::NavObject& o : g_model->Objects())
        if (o.marked) marked += (marked.empty() ? "" : ",") + std::to_string(o.type) + ":" + std::to_string(o.id);
    out << "marked=" << marked << "\n";
    for (const std::string& k : g_keys) out << "key=" << k << "\n";
}

HWND FilterWindow(fakenav::Window w) { return w == fakenav::Window::TypeFilter ? g_typeFilter : g_idFilter; }

void Repaint() {
    for (HWND h : {g_designer, g_typeFilter, g_idFilter}) InvalidateRect(h, nullptr, FALSE);
}

// A key down: counted and logged, and then what the Object Designer does with it.
void HandleKey(UINT vk) {
    unsigned mods = 0;
    if (GetKeyState(VK_SHIFT) < 0) mods |= fakenav::kShift;
    if (GetKeyState(VK_CONTROL) < 0) mods |= fakenav::kCtrl;
    if (GetKeyState(VK_MENU) < 0) mods |= fakenav::kAlt;
    const auto key = static_cast<uint8_t>(vk);
    const bool modifier = vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
    g_keys.push_back(fakenav::KeyName(key, modifier ? 0 : mods));
    if (modifier) return;
    const fakenav::NavModel::Change c = g_model->Key(key, mods);
    if (c.closed != fakenav::Window::None) ShowWindow(FilterWindow(c.closed), SW_HIDE);
    if (c.opened == fakenav::Window::Designer) SetTimer(g_main, kTimerDesigner, static_cast<UINT>(g_options.designerDelay), nullptr);
    if (c.opened == fakenav::Window::TypeFilter || c.opened == fakenav::Window::IdFilter)
        SetTimer(g_main, kTimerFilter, static_cast<UINT>(g_options.filterDelay), nullptr);
    Repaint();
}

void PaintDesigner(HWND hwnd, HDC dc) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const int w = r.right, h = r.bottom;
    if (w <= 0 || h <= 0) return;
    std::vector<uint32_t> colors(static_cast<size_t>(w) * static_cast<size_t>(h));
    g_model->Render(colors.data(), w, h);
    // COLORREF is 0x00BBGGRR, a 32-bit DIB pixel 0x00RRGGBB.
    for (uint32_t& c : colors) c = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(h),
                      colors.data(), &info, DIB_RGB_COLORS);
    // The records' texts right of the drawn marks, for a person watching.
    SetBkMode(dc, TRANSPARENT);
    const std::string title = "Object Designer   Type " + g_model->TypeFilter() + "   ID " + g_model->IdFilter();
    TextOutA(dc, 4, 4, title.c_str(), static_cast<int>(title.size()));
    const std::vector<size_t> shown = g_model->Filtered();
    for (size_t k = 0; k < shown.size(); ++k) {
        const fakenav::NavObject& o = g_model->Objects()[shown[k]];
        const std::string line = std::to_string(o.type) + "   " + std::to_string(o.id);
        TextOutA(dc, 150, 56 + 18 * static_cast<int>(k) + 2, line.c_str(), static_cast<int>(line.size()));
    }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (hwnd == g_designer) {
            PaintDesigner(hwnd, dc);
        } else {
            RECT r{};
            GetClientRect(hwnd, &r);
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
            char caption[300];
            GetWindowTextA(hwnd, caption, sizeof caption);
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, 4, 4, caption, lstrlenA(caption));
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kWmKeyCount: return static_cast<LRESULT>(g_keys.size());
        case kWmWriteState:
            WriteState();
            return 1;
        case WM_TIMER:
            KillTimer(hwnd, wParam);
            if (wParam == kTimerDesigner && g_model->DesignerOpen()) ShowWindow(g_designer, SW_SHOWNA);
            if (wParam == kTimerFilter && g_model->FilterOpen() != fakenav::Window::None)
                ShowWindow(FilterWindow(g_model->FilterOpen()), SW_SHOWNA);
            return 0;
        case WM_SIZE:
            if (g_mdi) MoveWindow(g_mdi, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_CLOSE:
            WriteState();
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void Register(const char* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

}  // namespace

int main(int argc, char** argv) {
    g_options = ParseArguments(argc, argv);
    fakenav::NavModel model(g_options.objects);
    g_model = &model;

    // The client's own "MDIClient" class: a plain area, so that the forms in it are ordinary
    // child windows that FindWindowEx finds.
    Register("C/SIDE Application", MainProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    Register("MDIClient", DefWindowProcA, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    Register("C/SIDE Form", FormProc, nullptr);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    g_main = CreateWindowExA(0, "C/SIDE Application", g_options.caption.c_str(), WS_OVERLAPPEDWINDOW, g_options.x,
                             g_options.y, g_options.w, g_options.h, nullptr, nullptr, instance, nullptr);
    RECT client{};
    GetClientRect(g_main, &client);
    g_mdi = CreateWindowExA(0, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                            client.bottom, g_main, nullptr, instance, nullptr);
    g_designer = CreateWindowExA(0, "C/SIDE Form", g_options.designer.c_str(), WS_CHILD | WS_CLIPSIBLINGS, 8, 8,
                                 380, std::max(100, static_cast<int>(client.bottom) - 16), g_mdi, nullptr, instance, nullptr);
    g_typeFilter = CreateWindowExA(0, "C/SIDE Form", g_options.typeFilter.c_str(), WS_CHILD | WS_BORDER, 400, 8, 170,
                                   40, g_mdi, nullptr, instance, nullptr);
    g_idFilter = CreateWindowExA(0, "C/SIDE Form", g_options.idFilter.c_str(), WS_CHILD | WS_BORDER, 400, 56, 170,
                                 40, g_mdi, nullptr, instance, nullptr);
    ShowWindow(g_main, SW_SHOWNORMAL);
    UpdateWindow(g_main);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Keys never reach DefWindowProc: Alt or F10 there would open the system menu's mode.
        switch (msg.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN: HandleKey(static_cast<UINT>(msg.wParam)); continue;
            case WM_KEYUP:
            case WM_SYSKEYUP:
            case WM_CHAR:
            case WM_SYSCHAR: continue;
            default: break;
        }
        DispatchMessageA(&msg);
    }
    return 0;
}
