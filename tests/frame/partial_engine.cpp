// Test support: an engine library that exports only a few operations, with a version chosen at build time.
#include "zorbel_api.h"

#include <cmath>

extern "C" __attribute__((visibility("default"))) int32_t ZB_Version(void) {
    return PARTIAL_ENGINE_VERSION;
}
extern "C" __attribute__((visibility("default"))) int32_t M_Round(float value) {
    return static_cast<int32_t>(std::lrintf(value));
}
