// The registry seam on the Win32 registry.
#pragma once
#include <windows.h>

#include "platform/win_handles_win.h"
#include "settings/registry.h"

namespace kavlo {

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
