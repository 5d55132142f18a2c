// The system's own path shortening (the shell's, as Explorer shows long paths), measured in the
// device context's font.
#include "gui/compact_path_win.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace kavlo {

std::string CompactPathToWidth(HDC dc, std::string_view path, int width) {
    // The shell works in a buffer of at least MAX_PATH characters and shortens it in place.
    std::vector<char> buffer(path.begin(), path.end());
    buffer.resize(std::max<size_t>(path.size(), MAX_PATH) + 1, '\0');
    PathCompactPathA(dc, buffer.data(), static_cast<UINT>(std::max(width, 1)));
    return buffer.data();
}

}  // namespace kavlo
