// fakeexcel: a stand-in for the "Excel.Application" automation server, so that the export can
// be tested against a real COM local server in a process of its own. It implements only the
// members the export uses, reached through IDispatch by name (no type library), records every
// call, keeps the sheet it is given, and can be told to fail at a given call.
//
//   fakeexcel /regserver --out DIR [--fail-at N]  registers the class under HKEY_CLASSES_ROOT
//                                                 with the ProgID "Excel.Application"
//   fakeexcel /unregserver                        removes that registration
//   fakeexcel --out DIR [--fail-at N] -Embedding  as COM starts it (one instance per client)
//
// DIR\calls.txt gets one line per automation call: the object, get/put/call, the member, its
// arguments and the value put, texts in double quotes ("Worksheet put Cells(2, 1) = \"1\"", a
// block of values as its size, "Range(A1:J500) put Value = <array 500 x 10>").
// DIR\sheet.txt gets the sheet whenever Visible or UserControl is set: one line per cell that
// holds anything, "A1<TAB>value<TAB>type<TAB>number format<TAB>alignment<TAB>bold", where the
// type is that of the value the cell was given ("text", "number", "bool", "empty"; a cell
// never given one has none), a block's cells each as a single cell's would; then "autofit<TAB>"
// and the letters of the fitted columns. Call N (counted from 1) fails with
// DISP_E_EXCEPTION and the description "Stand-in failure at call N".
//
// Like Excel, the server stays alive while the user controls it (UserControl true), until its
// window of class "XLMAIN" is closed; otherwise it ends with the last reference. So that a
// forgotten instance cannot hold a test run's output open forever, it ends after 60 s anyway.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/com_win.h"
#include "platform/win_handles_win.h"

namespace {

using kavlo::UniqueBstr;
using kavlo::UniqueHKey;

// {6B1E3C52-7A4D-4F0E-9C1B-2D5A8E7F3A10}: the stand-in's own class id.
const CLSID kClsid = {0x6b1e3c52, 0x7a4d, 0x4f0e, {0x9c, 0x1b, 0x2d, 0x5a, 0x8e, 0x7f, 0x3a, 0x10}};
const char kClsidText[] = "{6B1E3C52-7A4D-4F0E-9C1B-2D5A8E7F3A10}";
const char kProgId[] = "Excel.Application";
const char kWindowClass[] = "XLMAIN";
constexpr UINT kLifetimeMs = 60000;

enum Member : DISPID {
    Workbooks = 1, Add, ActiveWorkbook, ActiveSheet, Range, Cells, NumberFormatLocal, HorizontalAlignment,
    Font, Bold, EntireColumn, AutoFit, Visible, UserControl, Value
};
// The members by name as Excel spells them; names are found without regard to letter case.
const std::map<Member, std::string> kMemberNames = {
    {Workbooks, "Workbooks"}, {Add, "Add"}, {ActiveWorkbook, "ActiveWorkbook"}, {ActiveSheet, "ActiveSheet"},
    {Range, "Range"}, {Cells, "Cells"}, {NumberFormatLocal, "NumberFormatLocal"},
    {HorizontalAlignment, "HorizontalAlignment"}, {Font, "Font"}, {Bold, "Bold"}, {EntireColumn, "EntireColumn"},
    {AutoFit, "AutoFit"}, {Visible, "Visible"}, {UserControl, "UserControl"}, {Value, "Value"}};
std::string MemberName(DISPID id) {
    const auto m = kMemberNames.find(static_cast<Member>(id));
    return m == kMemberNames.end() ? "#" + std::to_string(id) : m->second;
}
DISPID MemberId(const wchar_t* name) {
    for (const auto& [id, spelled] : kMemberNames) {
        const std::wstring w(spelled.begin(), spelled.end());
        if (_wcsicmp(w.c_str(), name) == 0) return id;
    }
    return DISPID_UNKNOWN;
}

std::string Narrow(const wchar_t* w, size_t n) {
    if (!w || n == 0) return {};
    const int len = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(n), s.data(), len, nullptr, nullptr);
    return s;
}

struct CellState {
    std::string value, type, format = "General";
    int alignment = 1;  // xlGeneral
    bool bold = false;
};

// What one server instance holds: the sheet, the call count, the log and its window.
struct Server {
    std::string outDir;
    int failAt = 0, calls = 0;
    bool workbookAdded = false, userControl = false;
    std::map<std::pair<int, int>, CellState> cells;  // (row, column), from 1
    std::set<int> autofit;
    HWND window = nullptr;
    FILE* log = nullptr;
    long liveObjects = 0;

    void WriteSheet() const {
        FILE* f = std::fopen((outDir + "\\sheet.txt").c_str(), "wb");
        if (!f) return;
        for (const auto& [at, c] : cells)
            std::fprintf(f, "%c%d\t%s\t%s\t%s\t%d\t%d\n", 'A' + at.second - 1, at.first, c.value.c_str(),
                         c.type.c_str(), c.format.c_str(), c.alignment, c.bold ? 1 : 0);
        std::fprintf(f, "autofit\t");
        for (int col : autofit) std::fputc('A' + col - 1, f);
        std::fprintf(f, "\n");
        std::fclose(f);
    }
    void ObjectGone() {
        if (--liveObjects == 0 && !userControl) PostQuitMessage(0);
    }
};
Server g;

// A range of cells; rows 0 to 0 stand for whole columns.
struct Area {
    int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
    bool WholeColumns() const { return row1 == 0; }
    std::string Name() const {
        auto col = [](int c) { return std::string(1, static_cast<char>('A' + c - 1)); };
        if (WholeColumns()) return col(col1) + ":" + col(col2);
        std::string s = col(col1) + std::to_string(row1);
        if (row2 != row1 || col2 != col1) s += ":" + col(col2) + std::to_string(row2);
        return s;
    }
};

// "A1" or "A1:J1", columns A to Z.
bool ParseAddress(const std::string& text, Area& a) {
    auto one = [](const std::string& s, int& row, int& col) {
        if (s.size() < 2 || s[0] < 'A' || s[0] > 'Z') return false;
        col = s[0] - 'A' + 1;
        char* end = nullptr;
        row = static_cast<int>(std::strtol(s.c_str() + 1, &end, 10));
        return *end == '\0' && row > 0;
    };
    const size_t colon = text.find(':');
    if (!one(text.substr(0, colon), a.row1, a.col1)) return false;
    if (colon == std::string::npos) {
        a.row2 = a.row1;
        a.col2 = a.col1;
        return true;
    }
    return one(text.substr(colon + 1), a.row2, a.col2);
}

enum class Kind { Application, Workbooks, Workbook, Worksheet, Range, Font };

class Failure {
public:
    Failure(HRESULT hr, std::string text = {}) : hr(hr), text(std::move(text)) {}
    HRESULT hr;
    std::string text;
};

std::string ValueText(const VARIANT& v) {
    if (v.vt == (VT_ARRAY | VT_VARIANT) && v.parray && SafeArrayGetDim(v.parray) == 2) {
        LONG r1 = 0, r2 = 0, c1 = 0, c2 = 0;
        SafeArrayGetLBound(v.parray, 1, &r1);
        SafeArrayGetUBound(v.parray, 1, &r2);
        SafeArrayGetLBound(v.parray, 2, &c1);
        SafeArrayGetUBound(v.parray, 2, &c2);
        return "<array " + std::to_string(r2 - r1 + 1) + " x " + std::to_string(c2 - c1 + 1) + ">";
    }
    switch (v.vt) {
        case VT_BSTR: return "\"" + Narrow(v.bstrVal, SysStringLen(v.bstrVal)) + "\"";
        case VT_I4: return std::to_string(v.lVal);
        case VT_I2: return std::to_string(v.iVal);
        case VT_BOOL: return v.boolVal ? "true" : "false";
        default: return "<vt " + std::to_string(v.vt) + ">";
    }
}
// What a cell keeps of a value it is given: its text and its type.
void SetCellValue(CellState& cell, const VARIANT& v) {
    switch (v.vt) {
        case VT_BSTR:
            cell.value = Narrow(v.bstrVal, SysStringLen(v.bstrVal));
            cell.type = "text";
            return;
        case VT_I2:
        case VT_I4:
        case VT_R8:
            cell.value = ValueText(v);
            cell.type = "number";
            return;
        case VT_BOOL:
            cell.value = ValueText(v);
            cell.type = "bool";
            return;
        case VT_EMPTY:
            cell.value.clear();
            cell.type = "empty";
            return;
        default: throw Failure(DISP_E_TYPEMISMATCH);
    }
}

int IntArg(const VARIANT& v) {
    VARIANT c;
    VariantInit(&c);
    if (FAILED(VariantChangeType(&c, const_cast<VARIANT*>(&v), 0, VT_I4))) throw Failure(DISP_E_TYPEMISMATCH);
    return c.lVal;
}
std::string TextArg(const VARIANT& v) {
    if (v.vt != VT_BSTR) throw Failure(DISP_E_TYPEMISMATCH);
    return Narrow(v.bstrVal, SysStringLen(v.bstrVal));
}
bool BoolArg(const VARIANT& v) {
    if (v.vt != VT_BOOL) throw Failure(DISP_E_TYPEMISMATCH);
    return v.boolVal != VARIANT_FALSE;
}

class Object final : public IDispatch {
public:
    Object(Kind kind, Area area = {}) : kind_(kind), area_(area) { ++g.liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long n = InterlockedDecrement(&refs_);
        if (n == 0) {
            delete this;
            g.ObjectGone();
        }
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i)
            if ((ids[i] = MemberId(names[i])) == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        // The arguments come last first; a put's value is the one named DISPID_PROPERTYPUT.
        std::vector<VARIANT> args;
        const VARIANT* value = nullptr;
        if (put) {
            if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || params->cArgs < 1)
                return Log(id, put, args, value, DISP_E_PARAMNOTOPTIONAL);
            value = &params->rgvarg[0];
        } else if (params->cNamedArgs != 0) {
            return Log(id, put, args, value, DISP_E_NONAMEDARGS);
        }
        for (UINT i = params->cArgs; i > (put ? 1u : 0u); --i) args.push_back(params->rgvarg[i - 1]);
        std::string line = Line(id, put, args, value);
        if (++g.calls == g.failAt) {
            Append(line + "  -> failed");
            if (info) {
                *info = EXCEPINFO{};
                info->bstrSource = SysAllocString(L"Stand-in Excel");
                const std::wstring d = L"Stand-in failure at call " + std::to_wstring(g.calls);
                info->bstrDescription = SysAllocString(d.c_str());
                info->scode = E_FAIL;
            }
            return DISP_E_EXCEPTION;
        }
        try {
            Dispatch(static_cast<Member>(id), flags, put, args, value, result);
        } catch (const Failure& f) {
            Append(line + "  -> error " + std::to_string(static_cast<long>(f.hr)) +
                   (f.text.empty() ? "" : " " + f.text));
            if (f.text.empty() || !info) return f.hr;
            *info = EXCEPINFO{};
            const std::wstring d(f.text.begin(), f.text.end());
            info->bstrSource = SysAllocString(L"Stand-in Excel");
            info->bstrDescription = SysAllocString(d.c_str());
            info->scode = f.hr;
            return DISP_E_EXCEPTION;
        }
        Append(line);
        return S_OK;
    }

private:
    ~Object() = default;

    std::string Name() const {
        switch (kind_) {
            case Kind::Application: return "Application";
            case Kind::Workbooks: return "Workbooks";
            case Kind::Workbook: return "Workbook";
            case Kind::Worksheet: return "Worksheet";
            case Kind::Range: return "Range(" + area_.Name() + ")";
            case Kind::Font: return "Font(" + area_.Name() + ")";
        }
        return "?";
    }
    std::string Line(DISPID id, bool put, const std::vector<VARIANT>& args, const VARIANT* value) const {
        std::string s = Name() + (put ? " put " : id == Add || id == AutoFit ? " call " : " get ") + MemberName(id);
        if (!args.empty()) {
            s += "(";
            for (size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + ValueText(args[i]);
            s += ")";
        }
        if (value) s += " = " + ValueText(*value);
        return s;
    }
    HRESULT Log(DISPID id, bool put, const std::vector<VARIANT>& args, const VARIANT* value, HRESULT hr) const {
        Append(Line(id, put, args, value) + "  -> error " + std::to_string(static_cast<long>(hr)));
        return hr;
    }
    static void Append(const std::string& line) {
        if (!g.log) return;
        std::fprintf(g.log, "%s\n", line.c_str());
        std::fflush(g.log);
    }
    static void Return(VARIANT* result, IDispatch* object) {
        if (!result) {
            object->Release();
            return;
        }
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
    }
    template <typename F>
    void EachCell(F&& f) const {
        for (int r = area_.row1; r <= area_.row2; ++r)
            for (int c = area_.col1; c <= area_.col2; ++c) f(g.cells[{r, c}]);
    }

    void Dispatch(Member m, WORD flags, bool put, const std::vector<VARIANT>& args, const VARIANT* value,
                  VARIANT* result) {
        const bool get = !put && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD));
        auto want = [&](bool ok, size_t argc) {
            if (!ok) throw Failure(DISP_E_MEMBERNOTFOUND);
            if (args.size() != argc) throw Failure(DISP_E_BADPARAMCOUNT);
        };
        switch (kind_) {
            case Kind::Application:
                if (m == Workbooks) return want(get, 0), Return(result, new Object(Kind::Workbooks));
                if (m == ActiveWorkbook) {
                    want(get, 0);
                    if (!g.workbookAdded) throw Failure(E_FAIL, "No workbook is open.");
                    return Return(result, new Object(Kind::Workbook));
                }
                if (m == Visible) {
                    want(put, 0);
                    const bool shown = BoolArg(*value);
                    ShowWindow(g.window, shown ? SW_SHOWNORMAL : SW_HIDE);
                    g.WriteSheet();
                    return;
                }
                if (m == UserControl) {
                    want(put, 0);
                    g.userControl = BoolArg(*value);
                    g.WriteSheet();
                    return;
                }
                break;
            case Kind::Workbooks:
                if (m == Add) {
                    want(get, 0);
                    g.workbookAdded = true;
                    return Return(result, new Object(Kind::Workbook));
                }
                break;
            case Kind::Workbook:
                if (m == ActiveSheet) return want(get, 0), Return(result, new Object(Kind::Worksheet));
                break;
            case Kind::Worksheet:
                if (m == Range) {
                    want(get, 1);
                    Area a;
                    if (!ParseAddress(TextArg(args[0]), a)) throw Failure(E_FAIL, "Range: bad address.");
                    return Return(result, new Object(Kind::Range, a));
                }
                if (m == Cells) {
                    want(get || put, 2);
                    const int row = IntArg(args[0]), col = IntArg(args[1]);
                    if (row < 1 || col < 1 || col > 26) throw Failure(E_FAIL, "Cells: out of range.");
                    if (get) return Return(result, new Object(Kind::Range, Area{row, col, row, col}));
                    SetCellValue(g.cells[{row, col}], *value);
                    return;
                }
                break;
            case Kind::Range:
                if (m == NumberFormatLocal) {
                    want(put, 0);
                    const std::string f = TextArg(*value);
                    return EachCell([&](CellState& c) { c.format = f; });
                }
                if (m == HorizontalAlignment) {
                    want(put, 0);
                    const int a = IntArg(*value);
                    return EachCell([&](CellState& c) { c.alignment = a; });
                }
                if (m == Font) return want(get, 0), Return(result, new Object(Kind::Font, area_));
                if (m == Value) {
                    want(put, 0);
                    return PutValues(*value);
                }
                if (m == EntireColumn)
                    return want(get, 0), Return(result, new Object(Kind::Range, Area{0, area_.col1, 0, area_.col2}));
                if (m == AutoFit) {
                    want(get, 0);
                    if (!area_.WholeColumns()) throw Failure(E_FAIL, "AutoFit method of Range class failed");
                    for (int c = area_.col1; c <= area_.col2; ++c) g.autofit.insert(c);
                    return;
                }
                break;
            case Kind::Font:
                if (m == Bold) {
                    want(put, 0);
                    const bool b = BoolArg(*value);
                    return EachCell([&](CellState& c) { c.bold = b; });
                }
                break;
        }
        throw Failure(DISP_E_MEMBERNOTFOUND);
    }

    // Range.Value: one value for every cell, or an array of the range's size whose element
    // (r, c) goes to the range's r-th row and c-th column, both counted from the lower bound.
    void PutValues(const VARIANT& value) const {
        if (area_.WholeColumns()) throw Failure(E_FAIL, "Value: whole columns are not kept.");
        if (!(value.vt & VT_ARRAY)) return EachCell([&](CellState& c) { SetCellValue(c, value); });
        SAFEARRAY* a = value.parray;
        if (value.vt != (VT_ARRAY | VT_VARIANT) || !a || SafeArrayGetDim(a) != 2) throw Failure(DISP_E_TYPEMISMATCH);
        LONG r1 = 0, r2 = 0, c1 = 0, c2 = 0;
        SafeArrayGetLBound(a, 1, &r1);
        SafeArrayGetUBound(a, 1, &r2);
        SafeArrayGetLBound(a, 2, &c1);
        SafeArrayGetUBound(a, 2, &c2);
        if (r2 - r1 != area_.row2 - area_.row1 || c2 - c1 != area_.col2 - area_.col1)
            throw Failure(E_FAIL, "Value: the array is not the size of the range.");
        for (LONG r = r1; r <= r2; ++r)
            for (LONG c = c1; c <= c2; ++c) {
                LONG at[2] = {r, c};
                VARIANT v;
                VariantInit(&v);
                if (FAILED(SafeArrayGetElement(a, at, &v))) throw Failure(DISP_E_BADINDEX);
                try {
                    SetCellValue(g.cells[{area_.row1 + (r - r1), area_.col1 + (c - c1)}], v);
                } catch (...) {
                    VariantClear(&v);
                    throw;
                }
                VariantClear(&v);
            }
    }

    long refs_ = 1;
    Kind kind_;
    Area area_;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Object* app = new Object(Kind::Application);
        const HRESULT hr = app->QueryInterface(iid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

bool SetDefault(HKEY root, const std::string& path, const std::string& value) {
    UniqueHKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

int Register(const std::string& outDir, int failAt) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = "\"" + std::string(exe) + "\" --out \"" + outDir + "\"";
    if (failAt > 0) command += " --fail-at " + std::to_string(failAt);
    const std::string clsidKey = std::string("CLSID\\") + kClsidText;
    const bool ok = SetDefault(HKEY_CLASSES_ROOT, kProgId, "Stand-in Excel automation server") &&
                    SetDefault(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\CLSID", kClsidText) &&
                    SetDefault(HKEY_CLASSES_ROOT, clsidKey, "Stand-in Excel") &&
                    SetDefault(HKEY_CLASSES_ROOT, clsidKey + "\\ProgID", kProgId) &&
                    SetDefault(HKEY_CLASSES_ROOT, clsidKey + "\\LocalServer32", command);
    return ok ? 0 : 1;
}

int Unregister() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kProgId);
    const std::string clsidKey = std::string("CLSID\\") + kClsidText;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, clsidKey.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, clsidKey.c_str());
    return 0;
}

int Serve() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    g.log = std::fopen((g.outDir + "\\calls.txt").c_str(), "ab");
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    // Hidden until the client sets Visible, as Excel's own window is.
    g.window = CreateWindowExA(0, kWindowClass, "Stand-in Excel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 480, 320, nullptr, nullptr, wc.hInstance, nullptr);
    SetTimer(g.window, 1, kLifetimeMs, nullptr);
    static Factory factory;
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(kClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie))) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CoRevokeClassObject(cookie);
    g.WriteSheet();
    if (g.log) std::fclose(g.log);
    CoUninitialize();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bool reg = false, unreg = false;
    for (int i = 1; i < __argc; ++i) {
        const std::string a = __argv[i];
        if (a == "/regserver" || a == "-regserver") reg = true;
        else if (a == "/unregserver" || a == "-unregserver") unreg = true;
        else if (a == "--out" && i + 1 < __argc) g.outDir = __argv[++i];
        else if (a == "--fail-at" && i + 1 < __argc) g.failAt = std::atoi(__argv[++i]);
        // anything else, as the -Embedding that COM adds, is ignored
    }
    if (unreg) return Unregister();
    if (reg) return Register(g.outDir, g.failAt);
    if (g.outDir.empty()) return 2;
    return Serve();
}
