// Reading and replacing whole files: only regular files are read, and a replacement is never seen half done.
#include "platform.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {
namespace {

void SetError(std::string* error, const std::string& why) {
    if (error) *error = why;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name no other writer uses: ".NAME.PID.COUNT.tmp", the process id and a count, created exclusively.
int CreateTemporaryBeside(const std::string& target, std::string* temp) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp = FolderOf(target) + "/." + NameOf(target) + "." + std::to_string(::getpid()) + "." +
                std::to_string(counter++) + ".tmp";
        const int fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Opens without blocking, and keeps the descriptor only for a regular file: a FIFO or a device may have been
// put in the file's place since it was looked at by name (a FIFO without a reader fails to open for writing).
int OpenIfRegular(const std::string& path, int flags, std::string* error) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        SetError(error, std::strerror(errno));
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        SetError(error, "not a regular file");
        return -1;
    }
    return fd;
}

// The process that made a temporary file of the target, if the entry is one: ".NAME.PID.COUNT.tmp".
std::optional<pid_t> WriterOf(std::string_view entry, const std::string& target) {
    const std::string prefix = "." + NameOf(target) + ".";
    if (!entry.starts_with(prefix) || !entry.ends_with(".tmp")) return std::nullopt;
    entry = entry.substr(prefix.size(), entry.size() - prefix.size() - 4);
    const char* end = entry.data() + entry.size();
    pid_t pid = 0;
    unsigned count = 0;
    const auto [afterPid, pidError] = std::from_chars(entry.data(), end, pid);
    if (pidError != std::errc() || pid <= 0 || afterPid == end || *afterPid != '.') return std::nullopt;
    const auto [afterCount, countError] = std::from_chars(afterPid + 1, end, count);
    if (countError != std::errc() || afterCount != end) return std::nullopt;
    return pid;
}

// Temporary files of the target that a writer killed in the middle of a save left behind: those of processes
// that no longer run. A save going on in another process keeps its own.
void RemoveLeftTemporaries(const std::string& target) {
    DIR* folder = ::opendir(FolderOf(target).c_str());
    if (!folder) return;
    while (const dirent* entry = ::readdir(folder)) {
        const std::optional<pid_t> writer = WriterOf(entry->d_name, target);
        if (writer && ::kill(*writer, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

} // namespace

int OpenRegularFile(const std::string& realPath, FileRead* outcome, std::string* error) {
    struct stat info {};
    if (::stat(realPath.c_str(), &info) != 0) {
        const int code = errno;
        SetError(error, std::strerror(code));
        *outcome = code == ENOENT || code == ENOTDIR ? FileRead::kMissing : FileRead::kUnreadable;
        return -1;
    }
    *outcome = FileRead::kUnreadable;
    if (!S_ISREG(info.st_mode)) {
        SetError(error, "not a regular file");
        return -1;
    }
    const int fd = OpenIfRegular(realPath, O_RDONLY, error);
    if (fd >= 0) *outcome = FileRead::kRead;
    return fd;
}

FileRead ReadRegularFile(const std::string& realPath, std::string* text, std::string* error) {
    text->clear();
    FileRead outcome = FileRead::kUnreadable;
    const int fd = OpenRegularFile(realPath, &outcome, error);
    if (fd < 0) return outcome;
    struct stat info {};
    if (::fstat(fd, &info) == 0) text->reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            SetError(error, std::strerror(errno));
            ::close(fd);
            text->clear();
            return FileRead::kUnreadable;
        }
        text->append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return FileRead::kRead;
}

int CreateRegularFile(const std::string& realPath, std::string* error) {
    struct stat info {};
    if (::stat(realPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        SetError(error, "not a regular file");
        return -1;
    }
    // Emptied only once it is known to be a regular file.
    const int fd = OpenIfRegular(realPath, O_WRONLY | O_CREAT, error);
    if (fd < 0) return -1;
    if (::ftruncate(fd, 0) != 0 || ::fcntl(fd, F_SETFL, 0) != 0) {
        SetError(error, std::strerror(errno));
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteFileAtomically(const std::string& realPath, std::string_view text, std::string* error) {
    // Never relative to the working folder, which is wherever the program happened to be started from.
    if (!realPath.starts_with('/')) {
        SetError(error, "not an absolute path");
        return false;
    }
    // Through a link to its target, so a save file kept elsewhere stays where its owner put it.
    std::string target = realPath;
    if (char* resolved = ::realpath(realPath.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        SetError(error, "not a regular file");
        return false;
    }
    // A file made read-only by its owner stays as it is, though the folder would let us replace it. Its own
    // write bits decide, as well as access(), which lets root write anything.
    if (exists && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        SetError(error, "the file is read-only");
        return false;
    }
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        SetError(error, std::strerror(errno));
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(FolderOf(target), ec);
    if (ec) {
        SetError(error, ec.message());
        return false;
    }

    std::string temp;
    const int fd = CreateTemporaryBeside(target, &temp);
    if (fd < 0) {
        SetError(error, std::strerror(errno));
        return false;
    }
    bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, text) && ::fsync(fd) == 0;
    int code = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        SetError(error, std::strerror(code));
        return false;
    }
    // The rename itself is on the disk only once the folder is (a folder that cannot be flushed says EINVAL).
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        SetError(error, std::strerror(errno));
        return false;
    }
    ok = ::fsync(folder) == 0 || errno == EINVAL;
    if (!ok) SetError(error, std::strerror(errno));
    ::close(folder);
    if (ok) RemoveLeftTemporaries(target);
    return ok;
}

std::optional<FileStamp> StampOf(const std::string& realPath) {
    struct stat info {};
    if (::stat(realPath.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                     static_cast<int64_t>(info.st_size), static_cast<int64_t>(info.st_mtim.tv_sec),
                     static_cast<int64_t>(info.st_mtim.tv_nsec)};
}

} // namespace platform
