// Late-bound automation over IDispatch: GetIDsOfNames for the member, Invoke with the arguments
// in reverse order as IDispatch wants them. Failures become EOleException when the server
// describes them itself, EOleSysError with the system's text otherwise.
#include "output/excel_automation_win.h"

#include <oleauto.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/com_win.h"
#include "platform/system_error_win.h"
#include "platform/win_handles_win.h"

namespace kavlo {

namespace {

std::wstring Wide(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}
std::string Narrow(const wchar_t* w) {
    if (!w || !*w) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return s;
}

[[noreturn]] void ThrowResult(HRESULT hr) { throw EOleSysError(SystemErrorText(static_cast<unsigned long>(hr)), hr); }

// The server's own description of a failed call; the system's text for its code otherwise.
[[noreturn]] void ThrowException(EXCEPINFO& info, HRESULT hr) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    UniqueBstr description, source, help;
    *description.put() = info.bstrDescription;
    *source.put() = info.bstrSource;
    *help.put() = info.bstrHelpFile;
    const HRESULT code = info.scode ? info.scode : hr;
    std::string text = Narrow(description.get());
    if (text.empty()) ThrowResult(code);
    throw EOleException(text, code);
}

void SetText(VARIANT& v, std::string_view text) {
    const std::wstring w = Wide(text);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    if (!v.bstrVal) ThrowResult(E_OUTOFMEMORY);
}

// A two-dimensional array of VARIANTs, rows by columns from 1, each cell a text as SetText
// makes it. A SAFEARRAY keeps its first dimension running fastest: cell (r, c) of n rows is
// element c × n + r.
void SetBlock(VARIANT& v, const TextBlock& block) {
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(block.rows), 1}, {static_cast<ULONG>(block.columns), 1}};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    if (!array) ThrowResult(E_OUTOFMEMORY);
    v.vt = VT_ARRAY | VT_VARIANT;  // from here the caller's UniqueVariant frees the array
    v.parray = array;
    VARIANT* cells = nullptr;
    HRESULT hr = SafeArrayAccessData(array, reinterpret_cast<void**>(&cells));
    if (FAILED(hr)) ThrowResult(hr);
    try {
        for (int r = 0; r < block.rows; ++r)
            for (int c = 0; c < block.columns; ++c)
                SetText(cells[static_cast<size_t>(c * block.rows + r)],
                        block.cells[static_cast<size_t>(r * block.columns + c)]);
    } catch (...) {
        SafeArrayUnaccessData(array);
        throw;
    }
    SafeArrayUnaccessData(array);
}

void SetVariant(VARIANT& v, const AutomationValue& value) {
    if (const bool* b = std::get_if<bool>(&value)) {
        v.vt = VT_BOOL;
        v.boolVal = *b ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const int* i = std::get_if<int>(&value)) {
        v.vt = VT_I4;
        v.lVal = *i;
    } else if (const std::string* text = std::get_if<std::string>(&value)) {
        SetText(v, *text);
    } else {
        SetBlock(v, std::get<TextBlock>(value));
    }
}

class DispatchObject final : public AutomationObject {
public:
    explicit DispatchObject(ComPtr<IDispatch> d) : d_(std::move(d)) {}

    std::unique_ptr<AutomationObject> Get(std::string_view name, std::initializer_list<AutomationValue> args) override {
        UniqueVariant result;
        Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr, result.put());
        VARIANT& v = result.get();
        if (v.vt != VT_DISPATCH || !v.pdispVal) ThrowResult(DISP_E_TYPEMISMATCH);
        return std::make_unique<DispatchObject>(ComPtr<IDispatch>::Share(v.pdispVal));
    }
    void Put(std::string_view name, std::initializer_list<AutomationValue> args,
             const AutomationValue& value) override {
        Invoke(name, DISPATCH_PROPERTYPUT, args, &value, nullptr);
    }
    void Call(std::string_view name) override {
        UniqueVariant ignored;
        Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, nullptr, ignored.put());
    }

private:
    void Invoke(std::string_view name, WORD flags, std::initializer_list<AutomationValue> args,
                const AutomationValue* value, VARIANT* result) {
        std::wstring wname = Wide(name);
        LPOLESTR names[] = {wname.data()};
        DISPID id = 0;
        HRESULT hr = d_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) ThrowResult(hr);
        // IDispatch takes the arguments last first; a property's new value goes first of all.
        std::vector<UniqueVariant> held(args.size() + (value ? 1 : 0));
        size_t k = 0;
        if (value) SetVariant(held[k++].get(), *value);
        for (auto a = std::rbegin(args); a != std::rend(args); ++a) SetVariant(held[k++].get(), *a);
        std::vector<VARIANT> argv;
        argv.reserve(held.size());
        for (UniqueVariant& v : held) argv.push_back(v.get());  // borrowed: `held` frees them
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{argv.data(), value ? &putId : nullptr, static_cast<UINT>(argv.size()), value ? 1u : 0u};
        EXCEPINFO info{};
        UINT badArg = 0;
        hr = d_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &info, &badArg);
        if (hr == DISP_E_EXCEPTION) ThrowException(info, hr);
        if (FAILED(hr)) ThrowResult(hr);
    }

    ComPtr<IDispatch> d_;
};

}  // namespace

std::string ReadProgIdClsid(const std::string& progId) {
    UniqueHKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, (progId + "\\CLSID").c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::string value(size, '\0');
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    value.resize(std::min<size_t>(size, value.size()));
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

bool ExcelInstalled() { return !ReadProgIdClsid("Excel.Application").empty(); }

std::unique_ptr<AutomationObject> ComExcelHost::CreateApplication() {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(L"Excel.Application", &clsid);
    if (FAILED(hr)) ThrowResult(hr);
    ComPtr<IDispatch> app;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(app.put()));
    if (FAILED(hr)) ThrowResult(hr);
    return std::make_unique<DispatchObject>(std::move(app));
}

void ComExcelHost::BringToFront() {
    HWND excel = FindWindowA(kExcelMainWindowClass, nullptr);
    if (!excel) return;
    if (IsIconic(excel)) ShowWindow(excel, SW_RESTORE);
    SetForegroundWindow(excel);
}

}  // namespace kavlo
