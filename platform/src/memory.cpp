#include "platform.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReleaseFreeMemory() {
#if defined(__GLIBC__)
    // glibc keeps the pages of freed blocks for reuse, and big freed copies raise its threshold for mapping
    // blocks of their own, so without this a long session holds on to the most it ever needed at once.
    malloc_trim(0);
#endif
}

} // namespace platform
