// Test support: every test program starts headless, on OpenAL's silent device, knowing where the build is.
#include <cstdlib>

namespace {

// Runs before main, so before the first engine or OpenAL call; values already set by the caller win.
const bool kEnvironmentReady = [] {
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ZORBEL_HEADLESS", "1", 0);
    setenv("DRELMONT_BUILD", DRELMONT_BUILD_DIR, 0);
    return true;
}();

} // namespace
