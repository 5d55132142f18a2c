// Reading a whole file into memory, the same on every platform.
#include "platform/file.h"

#include "base/errors.h"

namespace kavlo {

std::string ReadWholeFile(InputFile& file) {
    const uint64_t size = file.Size();
    if (size > SIZE_MAX / 2) throw EReadError();
    std::string bytes(static_cast<size_t>(size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t chunk = std::min<size_t>(bytes.size() - done, size_t{1} << 24);
        const size_t got = file.ReadAt(done, bytes.data() + done, chunk);
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace kavlo
