// The registry seam on the Win32 registry, and the handle that keeps an open key.
#pragma once
#include <windows.h>

#include <utility>

#include "settings/registry.h"

namespace kavlo {

// An open registry key, closed when it goes out of scope. Move-only: a copy would close the
// same handle twice.
class UniqueHKey {
public:
    UniqueHKey() = default;
    explicit UniqueHKey(HKEY key) : key_(key) {}
    ~UniqueHKey() { Reset(); }
    UniqueHKey(UniqueHKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    UniqueHKey& operator=(UniqueHKey&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.key_, nullptr));
        return *this;
    }
    UniqueHKey(const UniqueHKey&) = delete;
    UniqueHKey& operator=(const UniqueHKey&) = delete;

    HKEY Get() const { return key_; }
    // For the functions that return a new key through a pointer; any key held is closed.
    HKEY* Put() {
        Reset();
        return &key_;
    }
    void Reset(HKEY key = nullptr) {
        if (key_) RegCloseKey(key_);
        key_ = key;
    }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

// Keys below one root key (the current user's hive for the settings).
class Win32Registry final : public Registry {
public:
    explicit Win32Registry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
    std::unique_ptr<RegistryKey> OpenOrCreateKey(std::string_view keyPath,
                                                 uint32_t access) override;

private:
    HKEY root_;
};

}  // namespace kavlo
