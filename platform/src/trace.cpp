// Lines for a watching test or benchmark, written to a file descriptor the watcher hands the program.
#include "platform.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace platform {

void Trace(const std::string& line) {
    static const int fd = [] {
        const char* value = std::getenv("DRELMONT_TRACE_FD");
        if (!value || !*value) return -1;
        char* end = nullptr;
        const long n = std::strtol(value, &end, 10);
        return *end == '\0' && n >= 0 ? static_cast<int>(n) : -1;
    }();
    if (fd < 0) return;
    const std::string text = line + '\n';
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return; // the watcher has gone; the game goes on without it
        done += static_cast<size_t>(n);
    }
}

} // namespace platform
