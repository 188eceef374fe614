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

    // Starts the file with its header; false (with the reason in `error`) when it cannot be written.
    bool Open(const std::string& path, std::string& error);
    // Appends a row and flushes it, so that a run cut short keeps every finished attempt.
    void Add(const Attempt& a);

  private:
    FILE* file = nullptr;
};

} // namespace bot
