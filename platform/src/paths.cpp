// Data folders and Windows-style file names mapped onto the real file system.
#include "platform.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

bool IsDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of dir whose name matches name ignoring case; the exact spelling wins when it exists.
std::string MatchEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, name)) return entry;
    }
    return name;
}

} // namespace

std::string ExecutableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

std::vector<std::string> DataDirCandidates() {
    if (const char* env = std::getenv("DRELMONT_DATA"); env && *env) return {env};
    std::vector<std::string> candidates;
    if (const fs::path exeDir = ExecutableDir(); !exeDir.empty()) {
        candidates.push_back(exeDir.string());
        candidates.push_back(fs::weakly_canonical(exeDir / ".." / "share" / "drelmont").string());
        // Installed: the program in PREFIX/lib/drelmont, its data in PREFIX/share/games/drelmont.
        candidates.push_back(
            fs::weakly_canonical(exeDir / ".." / ".." / "share" / "games" / "drelmont").string());
    }
    std::error_code ec;
    candidates.push_back(fs::current_path(ec).string());
    return candidates;
}

std::string DataDir() {
    if (const char* env = std::getenv("DRELMONT_DATA"); env && *env) return env;
    static const std::string found = [] {
        const std::vector<std::string> candidates = DataDirCandidates();
        for (const std::string& dir : candidates)
            if (IsDir(fs::path(dir) / "PICTURE")) return dir;
        return candidates.back();
    }();
    return found;
}

std::string MissingData() {
    if (IsDir(fs::path(DataDir()) / "PICTURE")) return {};
    std::string places;
    for (const std::string& dir : DataDirCandidates())
        places += (places.empty() ? "" : ", ") + dir;
    return "the game's data was not found: no PICTURE folder in " + places;
}

std::string UserDataDir() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return std::string(xdg) + "/drelmont";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/drelmont";
}

std::string ResolvePath(const std::string& windowsName) {
    std::string name = windowsName;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (!name.empty() && name.front() == '/') return name;

    std::vector<std::string> parts;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find('/', start), name.size());
        if (end > start) parts.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    fs::path path = DataDir();
    size_t first = 0;
    if (!parts.empty() && SameIgnoringCase(parts[0], "SAVES")) {
        path = UserDataDir();
        first = 1;
    }
    for (size_t i = first; i < parts.size(); ++i) {
        if (parts[i] != ".") path /= MatchEntry(path, parts[i]);
    }
    return path.string();
}

bool FileExists(const std::string& windowsName) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(windowsName), ec);
}

} // namespace platform
