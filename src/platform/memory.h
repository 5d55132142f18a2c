// Hints to the system about how memory will be used. They change no result, only what the
// first touch of fresh memory costs.
#pragma once
#include <cstddef>

namespace kavlo {

// Asks for large pages over the whole 2 MB pages within [p, p + bytes), where the system
// gives them on request: an array filled from front to back then costs one page fault per
// 2 MB instead of one per 4 KB. Pages are taken only as they are touched, so room reserved and
// never written still costs no memory (beyond the rest of the 2 MB page touched last).
void AdviseLargePages(void* p, size_t bytes);

}  // namespace kavlo
