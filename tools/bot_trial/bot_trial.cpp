// Tries the campaign bot at one level on the fake battlefield, many times over: bot_trial LEVEL TRIALS
// [FRAME_MS]. Prints the report rows of every trial and the share won; with BOT_TRIAL_WOUNDS=1 also every
// frame in which the soldier lost health, with what stood around him.
#include "Bot.h"
#include "Field.h"
#include "RUN_GAME.h"
#include "bot_world.h"
#include "Field.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include <cmath>

#include <cmath>
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
    const bool wounds = std::getenv("BOT_TRIAL_WOUNDS") != nullptr;
    int won = 0;
    for (int t = 0; t < trials; ++t) {
        fake::Engine& engine = botworld::AtMainMenu(static_cast<uint8_t>(level - 1));
        engine.time = 1000.0 + 137.0 * t; // a different start, different dice
        bot::Settings settings;
        settings.report = (dir / "report.csv").string();
        settings.levels = 1;
        settings.attempts = 1;
        bot::Controller bot(settings);
        float lastHealth = 0;
        auto look = [&] {
            bot.Frame();
            if (!wounds || ScreenState != Screen::Play) return;
            const bot::Field f = bot::ReadField();
            if (f.health < lastHealth) {
                int near = 0, biting = 0, charging = 0;
                for (const bot::Foe& foe : f.foes) {
                    const bool close = std::hypot(foe.x - f.x, foe.y - f.y) < 100;
                    near += close;
                    biting += foe.biting;
                    charging += foe.charging && close;
                }
                std::printf(
                    "  %.0f ms: health %.1f at (%.0f, %.0f), %zu monsters, %d within 100 px, %d biting, "
                    "%d charging, upgrades %d%d%d%d%d%d%d%d%d%d\n",
                    engine.time, f.health, f.x, f.y, f.foes.size(), near, biting, charging, f.upgrades[0],
                    f.upgrades[1], f.upgrades[2], f.upgrades[3], f.upgrades[4], f.upgrades[5], f.upgrades[6],
                    f.upgrades[7], f.upgrades[8], f.upgrades[9]);
            }
            lastHealth = f.health;
        };
        botworld::Run(engine, look, 400000, frameMs, [&] { return engine.quits > 0; });
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
