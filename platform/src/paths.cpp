// Data folders and Windows-style file names mapped onto the real file system.
#include "platform.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <filesystem>
#include <map>
#include <mutex>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
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

// What a search of a folder for a name found (the name itself when nothing matched), and the folder's stamp
// at the time. A folder's stamp changes whenever an entry is made, removed or renamed in it.
struct Search {
    FileStamp folder;
    std::string entry;
};
std::map<std::string, Search> gSearches; // by folder and name
// Pictures and sounds are looked for on two threads at once while the game loads.
std::mutex gSearchesLock;

// A search in a folder changed this recently could miss an entry made within the same tick of the folder's
// clock, which would leave its stamp as it was: such a search is not kept.
constexpr int64_t kSettledSeconds = 2;
// Far more names than the game asks for; past this the searches start again from none.
constexpr size_t kMaxSearches = 4096;

// The entry of dir whose name matches name ignoring case; the exact spelling wins when it exists.
std::string MatchEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return name;
    const std::optional<FileStamp> folder = StampOf(dir.string());
    if (!folder) return name;
    const std::string key = dir.string() + '\0' + name;
    {
        const std::lock_guard<std::mutex> hold(gSearchesLock);
        if (const auto kept = gSearches.find(key); kept != gSearches.end() && kept->second.folder == *folder)
            return kept->second.entry;
    }
    const int64_t searchedAt = static_cast<int64_t>(std::time(nullptr));
    std::string found = name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, name)) {
            found = entry;
            break;
        }
    }
    const std::lock_guard<std::mutex> hold(gSearchesLock);
    if (gSearches.size() >= kMaxSearches) gSearches.clear();
    if (folder->modifiedSeconds + kSettledSeconds < searchedAt)
        gSearches[key] = Search{*folder, found};
    else
        gSearches.erase(key);
    return found;
}

// $HOME, or the password database's home folder for this user when HOME is unset (as under `env -i` and some
// service managers) or not an absolute path; empty when neither gives one.
std::string HomeDir() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir == '/')
        return user->pw_dir;
    return {};
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
    const std::string home = HomeDir();
    return home.empty() ? std::string() : home + "/.local/share/drelmont";
}

namespace {

// The value of `XDG_PICTURES_DIR="$HOME/Pictures"` in the user-dirs file, where only an absolute path or one
// under $HOME is allowed; empty when the file does not say.
std::string PicturesDirOfUserDirs() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const fs::path file =
        (config && *config == '/' ? fs::path(config) : fs::path(HomeDir()) / ".config") / "user-dirs.dirs";
    std::string text;
    if (ReadRegularFile(file.string(), &text) != FileRead::kRead) return {};
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        constexpr std::string_view kKey = "XDG_PICTURES_DIR=\"";
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) continue;
        const size_t end = line.rfind('"');
        if (end <= start + kKey.size()) continue;
        std::string value;
        for (size_t i = start + kKey.size(); i < end; ++i)
            if (line[i] != '\\' || ++i < end) value += line[i];
        if (value == "$HOME" || value.starts_with("$HOME/")) value = HomeDir() + value.substr(5);
        if (value.starts_with('/')) return value;
    }
    return {};
}

} // namespace

std::string PicturesDir() {
    if (const char* xdg = std::getenv("XDG_PICTURES_DIR"); xdg && *xdg == '/') return xdg;
    if (std::string configured = PicturesDirOfUserDirs(); !configured.empty()) return configured;
    const std::string home = HomeDir();
    return home.empty() ? std::string() : home + "/Pictures";
}

std::string NewTimedFile(const std::string& folder, const std::string& extension, std::string* error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !IsDir(folder)) {
        if (error) *error = "cannot make the folder " + folder + (ec ? ": " + ec.message() : "");
        return {};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    for (int n = 1;; ++n) {
        const fs::path file = fs::path(folder) / (stamp + (n > 1 ? "_" + std::to_string(n) : "") + extension);
        if (!fs::exists(fs::symlink_status(file, ec))) return file.string();
    }
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
        if (path.empty()) return {};
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
