// The version of Windows the program runs on.
#pragma once

namespace kavlo {

// True on Windows major.minor or later.
bool WindowsVersionAtLeast(unsigned major, unsigned minor);

}  // namespace kavlo
