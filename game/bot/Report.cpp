// The balance report's CSV file.
#include "Report.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace bot {

std::string ReportRow(const Attempt& a) {
    char health[32];
    // The bite that fells the soldier may take his health below 0 until the next tick: he fell, at 0.
    std::snprintf(health, sizeof health, "%.1f", static_cast<double>(std::max(a.lowestHealth, 0.0f)));
    return std::to_string(a.level) + "," + std::to_string(a.attempt) + "," + (a.won ? "1" : "0") + "," +
           std::to_string(a.ticks) + "," + std::to_string(a.kills) + "," + std::to_string(a.score) + "," +
           std::to_string(a.points) + "," + health;
}

Report::~Report() {
    if (file) std::fclose(file);
}

void Report::Open(const std::string& reportPath) {
    path = reportPath;
    file = std::fopen(path.c_str(), "w");
    if (!file) {
        failed = true;
        std::fprintf(stderr, "drelmont: cannot write the bot's report %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return;
    }
    WriteLine(kReportHeader);
}

void Report::Add(const Attempt& a) {
    if (file) WriteLine(ReportRow(a));
}

void Report::WriteLine(const std::string& line) {
    if (std::fprintf(file, "%s\n", line.c_str()) >= 0 && std::fflush(file) == 0) return;
    failed = true;
    std::fprintf(stderr, "drelmont: cannot write the bot's report %s: %s\n", path.c_str(),
                 std::strerror(errno));
    std::fclose(file);
    file = nullptr;
}

} // namespace bot
