// The cores a benchmark runs on: the CPU affinity it was started with (`taskset -c 0` gives 1), which the
// programs it starts inherit.
#pragma once

#include <sched.h>

inline int CoresUsed() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
}
