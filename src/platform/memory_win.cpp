// Memory hints on Windows: none. Large pages there need a privilege users do not have, and
// must be asked for when the memory is allocated.
#include "platform/memory.h"

namespace kavlo {

void AdviseLargePages(void*, size_t) {}

}  // namespace kavlo
