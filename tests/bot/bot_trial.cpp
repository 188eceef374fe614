// Tries the campaign bot at one level on the fake battlefield, many times over: bot_trial LEVEL TRIALS
// [FRAME_MS]. Prints the report rows of every trial and the share won.
#include "Bot.h"
#include "bot_world.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bot_trial LEVEL TRIALS [FRAME_MS]\n");
        return 2;
    }
    const int level = std::atoi(argv[1]), trials = std::atoi(argv[2]);
    const double frameMs = argc > 3 ? std::atof(argv[3]) : 50.0;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "drelmont_bot_trial";
    std::filesystem::create_directories(dir);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    int won = 0;
    for (int t = 0; t < trials; ++t) {
        fake::Engine& engine = botworld::AtMainMenu(static_cast<uint8_t>(level - 1));
        engine.time = 1000.0 + 137.0 * t; // a different start, different dice
        bot::Settings settings;
        settings.report = (dir / "report.csv").string();
        settings.levels = 1;
        settings.attempts = 1;
        bot::Controller bot(settings);
        botworld::Run(
            engine, [&] { bot.Frame(); }, 400000, frameMs, [&] { return engine.quits > 0; });
        std::ifstream in(settings.report);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            std::printf("%s\n", line.c_str());
            won += line.find(std::to_string(level) + ",1,1,") == 0;
        }
        std::fflush(stdout);
    }
    std::printf("level %d: won %d of %d\n", level, won, trials);
    return 0;
}
