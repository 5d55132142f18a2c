// The version of Windows the program runs on, as GetVersionEx reports it to a program whose
// manifest names no later system.
#include "platform/windows_version_win.h"

#include <windows.h>

namespace kavlo {

bool WindowsVersionAtLeast(unsigned major, unsigned minor) {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&vi)) return false;
#pragma GCC diagnostic pop
    return vi.dwMajorVersion > major || (vi.dwMajorVersion == major && vi.dwMinorVersion >= minor);
}

}  // namespace kavlo
