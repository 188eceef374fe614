// The cores a benchmark ran with, printed on its lines as cores=N: the cores the process may use, by the
// same rule the engine follows when it spreads work over threads (so `taskset -c 0` prints 1).
#pragma once

#include "platform.h"

inline int CoresUsed() {
    return platform::UsableCores();
}
