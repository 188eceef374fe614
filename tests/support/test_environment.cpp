// Test support: every test program starts headless, on OpenAL's silent device, knowing where the build is,
// away from the player's own saved settings, and in Russian.
#include <cstdlib>
#include <filesystem>

namespace {

// Runs before main, so before the first engine or OpenAL call; values already set by the caller win.
const bool kEnvironmentReady = [] {
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ZORBEL_HEADLESS", "1", 0);
    setenv("DRELMONT_BUILD", DRELMONT_BUILD_DIR, 0);
    // A test that saves (the menu's exit line, say) must not overwrite the progress of whoever runs it.
    setenv("XDG_DATA_HOME", (std::filesystem::temp_directory_path() / "drelmont_tests_user").c_str(), 1);
    // The game as its tables and pictures name it, whatever the machine's locale; language tests choose.
    setenv("DRELMONT_LANG", "ru", 1);
    return true;
}();

} // namespace
