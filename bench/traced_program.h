// The real program started headless for a benchmark: its output thrown away, what it does told through its
// trace descriptor, and stopped if it falls silent, so a stalled program never holds the benchmark up.
#pragma once

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class TracedProgram {
  public:
    TracedProgram() = default;
    TracedProgram(const TracedProgram&) = delete;
    TracedProgram& operator=(const TracedProgram&) = delete;
    ~TracedProgram() { Finish(); }

    // Starts the program with this process's environment and `extra` ("NAME=value") on top.
    bool Start(const std::vector<std::string>& extra) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        env.insert(env.end(), extra.begin(), extra.end());
        env.push_back("DRELMONT_TRACE_FD=" + std::to_string(fds[1]));
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(DRELMONT), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
        const int rc = posix_spawn(&pid_, DRELMONT, &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (rc != 0) {
            close(fds[0]);
            pid_ = 0;
            return false;
        }
        trace_ = fds[0];
        return true;
    }

    // Waits up to silenceMs for more of the trace and adds it to Seen(); false once the trace has ended or
    // the program said nothing for that long (then Stalled()).
    bool ReadMore(int silenceMs) {
        if (trace_ < 0) return false;
        pollfd pfd{trace_, POLLIN, 0};
        if (poll(&pfd, 1, silenceMs) <= 0) {
            stalled_ = true;
            return false;
        }
        char buffer[512];
        const ssize_t n = read(trace_, buffer, sizeof buffer);
        if (n <= 0) return false;
        seen_.append(buffer, static_cast<size_t>(n));
        return true;
    }

    // Waits for the program to end (stopping it first if it stalled); true if it exited with status 0.
    bool Finish() {
        if (trace_ >= 0) close(trace_);
        trace_ = -1;
        if (pid_ == 0) return false;
        if (stalled_) kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    const std::string& Seen() const { return seen_; }
    bool Saw(const char* line) const { return seen_.find(line) != std::string::npos; }
    bool Stalled() const { return stalled_; }
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = 0;
    int trace_ = -1;
    bool stalled_ = false;
    std::string seen_;
};
