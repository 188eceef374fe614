// The balance report's CSV file.
#include "Report.h"

#include <cerrno>
#include <cstring>

namespace bot {

std::string ReportRow(const Attempt& a) {
    char health[32];
    std::snprintf(health, sizeof health, "%.1f", static_cast<double>(a.lowestHealth));
    return std::to_string(a.level) + "," + std::to_string(a.attempt) + "," + (a.won ? "1" : "0") + "," +
           std::to_string(a.ticks) + "," + std::to_string(a.kills) + "," + std::to_string(a.score) + "," +
           std::to_string(a.points) + "," + health;
}

Report::~Report() {
    if (file) std::fclose(file);
}

bool Report::Open(const std::string& path, std::string& error) {
    file = std::fopen(path.c_str(), "w");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::fprintf(file, "%s\n", kReportHeader);
    std::fflush(file);
    return true;
}

void Report::Add(const Attempt& a) {
    if (!file) return;
    std::fprintf(file, "%s\n", ReportRow(a).c_str());
    std::fflush(file);
}

} // namespace bot
