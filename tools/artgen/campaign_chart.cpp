// Draws the campaign bot's balance report as a chart: campaign_chart REPORT.csv CHART.png. Each level gets a
// bar of the ticks played there, the winning attempt stacked on the lost ones, with the number of attempts
// above it; the totals go to the standard output.
#include "canvas.h"
#include "ui_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace artgen;

constexpr const char* kHeader = "level,attempt,won,ticks,kills,score,points,lowest_health";
constexpr int kLevels = 30;

struct Level {
    int attempts = 0;
    bool won = false;
    double lostTicks = 0, wonTicks = 0;
};

// A whole number from a field of a row, all of it digits.
bool WholeField(const std::string& field, long long least, long long most, long long& value) {
    if (field.empty()) return false;
    const char* end = field.c_str() + field.size();
    const std::from_chars_result r = std::from_chars(field.c_str(), end, value);
    return r.ec == std::errc() && r.ptr == end && value >= least && value <= most;
}

bool NumberField(const std::string& field) {
    char* end = nullptr;
    const double value = std::strtod(field.c_str(), &end);
    return !field.empty() && end == field.c_str() + field.size() && std::isfinite(value);
}

// Reads the report into one entry per level (index 0 unused). A row that is not the bot's, or a report
// without rows, is refused: a chart drawn from half a file would show a campaign that was not played.
bool ReadReport(const std::string& path, std::vector<Level>& levels, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    auto chomp = [](std::string& line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
    };
    std::string line;
    if (!std::getline(in, line) || (chomp(line), line != kHeader)) {
        error = path + " does not start with the header " + kHeader;
        return false;
    }
    levels.assign(kLevels + 1, Level{});
    int rows = 0;
    for (int number = 2; std::getline(in, line); ++number) {
        chomp(line);
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::istringstream split(line + ",");
        for (std::string field; std::getline(split, field, ',');)
            fields.push_back(field);
        long long level = 0, attempt = 0, won = 0, ticks = 0, count = 0;
        if (fields.size() != 8 || !WholeField(fields[0], 1, kLevels, level) ||
            !WholeField(fields[1], 1, 1000000, attempt) || !WholeField(fields[2], 0, 1, won) ||
            !WholeField(fields[3], 0, 1LL << 50, ticks) || !WholeField(fields[4], 0, 1LL << 50, count) ||
            !WholeField(fields[5], 0, 1LL << 50, count) || !WholeField(fields[6], 0, 1LL << 50, count) ||
            !NumberField(fields[7])) {
            error = path + ":" + std::to_string(number) + ": not a row of the report: " + line;
            return false;
        }
        Level& l = levels[static_cast<size_t>(level)];
        l.attempts = std::max(l.attempts, static_cast<int>(attempt));
        if (won) {
            l.won = true;
            l.wonTicks += static_cast<double>(ticks);
        } else {
            l.lostTicks += static_cast<double>(ticks);
        }
        ++rows;
    }
    if (rows == 0) {
        error = path + " has no attempts in it";
        return false;
    }
    return true;
}

// A round step for the value axis, about a fifth of the top.
double NiceStep(double top) {
    const double raw = top / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * power) return m * power;
    return 10.0 * power;
}

std::string Thousands(double ticks) {
    char text[32];
    std::snprintf(text, sizeof text, ticks >= 1000 && std::fmod(ticks, 1000.0) == 0 ? "%.0fk" : "%.1fk",
                  ticks / 1000.0);
    return ticks == 0 ? "0" : text;
}

void Rect(Image& img, float x0, float y0, float x1, float y1, Color c) {
    img.FillShape(Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}), c);
}

Image Draw(const std::vector<Level>& levels) {
    constexpr int kW = 960, kH = 480;
    constexpr float kLeft = 70, kRight = 20, kTop = 64, kBottom = 56;
    const Color background = Hex(0x1d2126), grid = Hex(0x3a4048), text = Hex(0xd8dde3);
    const Color wonColor = Hex(0x5cb85c), lostColor = Hex(0xd9534f);
    Image img(kW, kH, background);
    const FontFace face("DejaVuSans.ttf"), bold("DejaVuSans-Bold.ttf");
    auto style = [&](float px, Color c) {
        TextStyle s;
        s.px = px;
        s.top = s.bottom = c;
        return s;
    };

    double top = 1;
    for (int n = 1; n <= kLevels; ++n)
        top = std::max(top, levels[n].lostTicks + levels[n].wonTicks);
    const double step = NiceStep(top);
    top = std::ceil(top / step) * step;
    const float plotW = kW - kLeft - kRight, plotH = kH - kTop - kBottom;
    auto yOf = [&](double ticks) { return kTop + plotH - static_cast<float>(ticks / top) * plotH; };

    DrawText(img, bold, "Campaign bot: ticks and attempts per level", kLeft, 16, Align::Left,
             style(18, text));
    for (double v = 0; v <= top + 0.5; v += step) {
        const float y = yOf(v);
        img.Line({kLeft, y}, {kW - kRight, y}, 1, grid);
        DrawTextCentered(img, face, Thousands(v), kLeft - 8, y, Align::Right, style(12, text));
    }
    DrawText(img, face, "ticks", 12, kTop - 26, Align::Left, style(12, text));

    const float slot = plotW / kLevels, bar = slot * 0.66f;
    for (int n = 1; n <= kLevels; ++n) {
        const Level& l = levels[static_cast<size_t>(n)];
        const float x0 = kLeft + slot * static_cast<float>(n - 1) + (slot - bar) / 2, x1 = x0 + bar;
        const float lostTop = yOf(l.lostTicks), allTop = yOf(l.lostTicks + l.wonTicks);
        if (l.lostTicks > 0) Rect(img, x0, lostTop, x1, yOf(0), lostColor);
        if (l.wonTicks > 0) Rect(img, x0, allTop, x1, lostTop, wonColor);
        const float middle = (x0 + x1) / 2;
        DrawText(img, face, std::to_string(n), middle, kH - kBottom + 8, Align::Center, style(12, text));
        if (l.attempts > 0)
            DrawText(img, bold, std::to_string(l.attempts), middle, allTop - 18, Align::Center,
                     style(12, l.won ? text : lostColor));
    }
    DrawText(img, face, "level (the number above a bar: attempts)", kLeft + plotW / 2, kH - 24, Align::Center,
             style(12, text));
    // Legend.
    const float lx = kW - kRight - 300;
    Rect(img, lx, 22, lx + 14, 36, wonColor);
    DrawText(img, face, "the attempt that won", lx + 20, 21, Align::Left, style(12, text));
    Rect(img, lx + 160, 22, lx + 174, 36, lostColor);
    DrawText(img, face, "attempts lost", lx + 180, 21, Align::Left, style(12, text));
    return img;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: campaign_chart REPORT.csv CHART.png\n");
        return 2;
    }
    std::vector<Level> levels;
    std::string error;
    if (!ReadReport(argv[1], levels, error)) {
        std::fprintf(stderr, "campaign_chart: %s\n", error.c_str());
        return 1;
    }
    try {
        if (!WritePng(argv[2], Draw(levels))) {
            std::fprintf(stderr, "campaign_chart: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) { // the font is read from the system's DejaVu folder
        std::fprintf(stderr, "campaign_chart: %s\n", e.what());
        return 1;
    }
    int won = 0, attempts = 0;
    double ticks = 0;
    for (int n = 1; n <= kLevels; ++n) {
        won += levels[static_cast<size_t>(n)].won;
        attempts += levels[static_cast<size_t>(n)].attempts;
        ticks += levels[static_cast<size_t>(n)].lostTicks + levels[static_cast<size_t>(n)].wonTicks;
    }
    std::printf("levels_won=%d attempts=%d ticks=%.0f\n", won, attempts, ticks);
    return 0;
}
