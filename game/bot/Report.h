// The balance report: one CSV row per level attempt, written and flushed as the attempt ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace bot {

struct Attempt {
    int level = 0;
    int attempt = 0; // 1 for the first try at the level
    bool won = false;
    int64_t ticks = 0; // game ticks the attempt was played
    int32_t kills = 0;
    int64_t score = 0; // as the top bar shows it
    int points = 0;    // upgrade points the score paid
    float lowestHealth = 200;
};

constexpr const char* kReportHeader = "level,attempt,won,ticks,kills,score,points,lowest_health";

// The row of an attempt, without its line end.
std::string ReportRow(const Attempt& a);

class Report {
  public:
    Report() = default;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;
    ~Report();

    // Starts the file with its header. When it cannot be written, says so on stderr with the reason.
    void Open(const std::string& path);
    // Appends a row and flushes it, so that a run cut short keeps every finished attempt. The first write
    // that fails is told on stderr with its reason, and nothing more is written.
    void Add(const Attempt& a);
    // The report was asked for and is not whole.
    bool Failed() const { return failed; }

  private:
    // Writes and flushes the line, or tells why not and closes the file.
    void WriteLine(const std::string& line);

    FILE* file = nullptr;
    std::string path;
    bool failed = false;
};

} // namespace bot
