// How many processor cores this process may run on.
#include "platform.h"

#include <sched.h>

namespace platform {

int UsableCores() {
    // The affinity mask, not the machine's count: `taskset -c 0` or a container's CPU set means one core.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    const int count = CPU_COUNT(&set);
    return count > 0 ? count : 1;
}

} // namespace platform
