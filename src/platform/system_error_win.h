// The system's own text for a Win32 error code, as FormatMessage gives it, without the
// trailing line break and full stop handling left to the caller.
#pragma once
#include <string>

namespace kavlo {
std::string SystemErrorText(unsigned long code);
}
