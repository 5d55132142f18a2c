// Memory hints on Linux: transparent huge pages on request (madvise).
#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace kavlo {

void AdviseLargePages(void* p, size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kLarge = uintptr_t{2} << 20;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kLarge - 1) & ~(kLarge - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kLarge - 1);
    // Only a hint: a system without them, or that refuses, reads as fast as before.
    if (end > begin) (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

}  // namespace kavlo
