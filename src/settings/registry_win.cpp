// The registry seam on the Win32 registry: keys under one root, values read and written raw.
#include "settings/registry_win.h"

#include <limits>

#include "platform/system_error_win.h"

namespace kavlo {

static_assert(static_cast<DWORD>(RegType::Sz) == REG_SZ);
static_assert(static_cast<DWORD>(RegType::ExpandSz) == REG_EXPAND_SZ);
static_assert(static_cast<DWORD>(RegType::Binary) == REG_BINARY);
static_assert(static_cast<DWORD>(RegType::DWord) == REG_DWORD);
static_assert(static_cast<DWORD>(RegType::MultiSz) == REG_MULTI_SZ);
static_assert(static_cast<DWORD>(RegType::QWord) == REG_QWORD);
static_assert(kKeyReadWrite == (KEY_READ | KEY_WRITE));

namespace {

[[noreturn]] void Fail(const char* what, std::string_view name, LONG code) {
    throw ERegistryError(std::string(what) + " \"" + std::string(name) + "\". " +
                         SystemErrorText(static_cast<unsigned long>(code)));
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(UniqueHKey key) : key_(std::move(key)) {}

    std::optional<RegValue> Query(std::string_view name) override {
        const std::string n(name);
        DWORD type = 0, size = 0;
        LONG r = RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, nullptr, &size);
        if (r == ERROR_FILE_NOT_FOUND) return std::nullopt;
        if (r != ERROR_SUCCESS) Fail("Cannot read registry value", name, r);
        // The value may grow between asking its size and reading it; ask again until it fits.
        RegValue v;
        for (;;) {
            v.data.resize(size);
            DWORD got = size;
            r = RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(v.data.data()), &got);
            if (r == ERROR_MORE_DATA) {
                size = got > size ? got : size * 2 + 16;
                continue;
            }
            if (r == ERROR_FILE_NOT_FOUND) return std::nullopt;
            if (r != ERROR_SUCCESS) Fail("Cannot read registry value", name, r);
            v.data.resize(got);
            break;
        }
        v.type = static_cast<RegType>(type);
        return v;
    }

    void Set(std::string_view name, RegType type, std::string_view data) override {
        if (data.size() > std::numeric_limits<DWORD>::max())
            Fail("Cannot write registry value", name, ERROR_INVALID_PARAMETER);
        const std::string n(name);
        const LONG r = RegSetValueExA(key_.get(), n.c_str(), 0, static_cast<DWORD>(type),
                                      reinterpret_cast<const BYTE*>(data.data()),
                                      static_cast<DWORD>(data.size()));
        if (r != ERROR_SUCCESS) Fail("Cannot write registry value", name, r);
    }

private:
    UniqueHKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreateKey(std::string_view keyPath,
                                                            uint32_t access) {
    // Key paths are written from the root ("\Software\..."); the API wants them relative.
    while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
    const std::string path(keyPath);
    UniqueHKey key;
    const LONG r = RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   access, nullptr, key.put(), nullptr);
    if (r != ERROR_SUCCESS) Fail("Cannot open registry key", keyPath, r);
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace kavlo
