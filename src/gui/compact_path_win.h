// A file path made to fit a width on a device context, for the status bar's file panels and the
// printed list's header alike.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace kavlo {

// The path as it fits `width` pixels in the font selected into `dc`: when it is too wide, the
// middle of its folders gives way to "..." ("C:\Projects\...\objects.fob"), so that the file's
// own name stays in view; a file name too wide by itself is cut at its end with "...".
std::string CompactPathToWidth(HDC dc, std::string_view path, int width);

}  // namespace kavlo
