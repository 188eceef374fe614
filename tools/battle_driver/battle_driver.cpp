// A headless battle for tests and demos: the real game on the real engine, started straight into a level.
// DRELMONT_LEVEL picks the level (1 by default); the engine's ZORBEL_* variables script input and
// screenshots. With DRELMONT_AUTOAIM=1 a simple soldier takes the controls while a monster lives: the cursor
// follows the nearest one, the trigger is held, and the soldier backs off from one that comes close.
// Staging a scene: DRELMONT_WEAPON=n hands the soldier weapon n (0 .. 7) instead of the level's,
// DRELMONT_UPGRADES=dddddddddd sets the ten upgrade levels, and DRELMONT_BONUS=KIND@FRAME[,KIND@FRAME...]
// lays a bonus (LIFES, SLOW, DEFENCE, SUN, NUKE) under the soldier's feet at a frame of the run.
#include "BONUS.h"
#include "GEngine.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "autopilot.h"
#include "level.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct BonusDrop {
    std::string kind;
    double frame;
    bool done = false;
};
std::vector<BonusDrop> gDrops;
ZB_Timer* gDropTimer = nullptr;

// Frames of the run are engine time: frame n starts at n x ZORBEL_FRAME_MS.
double FrameMs() {
    const char* ms = std::getenv("ZORBEL_FRAME_MS");
    return ms ? std::atof(ms) : 16.667;
}

TPickup* MakeBonus(const std::string& kind) {
    if (kind == "LIFES") return GameEngine->Add<TLIFES>();
    if (kind == "SLOW") return GameEngine->Add<TZAMEDL>();
    if (kind == "DEFENCE") return GameEngine->Add<TDEFENCE>();
    if (kind == "SUN") return GameEngine->Add<TSOLN>();
    if (kind == "NUKE") return GameEngine->Add<TNUKEBON>();
    std::fprintf(stderr, "battle_driver: unknown bonus %s\n", kind.c_str());
    std::exit(2);
}

void DropDueBonuses() {
    for (BonusDrop& drop : gDrops) {
        if (drop.done || U_GetTime() < drop.frame * FrameMs()) continue;
        drop.done = true;
        TPickup* bonus = MakeBonus(drop.kind);
        bonus->X = Player()->X + 10;
        bonus->Y = Player()->Y + 10;
    }
}

void ReadBonusDrops() {
    const char* spec = std::getenv("DRELMONT_BONUS");
    if (!spec) return;
    std::stringstream list(spec);
    std::string item;
    while (std::getline(list, item, ',')) {
        const size_t at = item.find('@');
        if (at == std::string::npos) {
            std::fprintf(stderr, "battle_driver: DRELMONT_BONUS wants KIND@FRAME, got %s\n", item.c_str());
            std::exit(2);
        }
        gDrops.push_back(BonusDrop{item.substr(0, at), std::atof(item.c_str() + at + 1)});
    }
    gDropTimer = Timer_Create(DropDueBonuses, 16, 5);
}

void StageScene() {
    if (const char* weapon = std::getenv("DRELMONT_WEAPON")) {
        TWeaponPickup* pickup = CreateWeaponPickup(WeaponAt(std::atoi(weapon)));
        if (pickup) {
            pickup->X = M_Round(PlayerPosX);
            pickup->Y = M_Round(PlayerPosY);
        }
    }
    if (const char* upgrades = std::getenv("DRELMONT_UPGRADES")) {
        for (size_t i = 0; i < 10 && upgrades[i] >= '0' && upgrades[i] <= '3'; ++i)
            Upgrades[i] = static_cast<uint8_t>(upgrades[i] - '0');
    }
    ReadBonusDrops();
}

void LoadAndStartLevel() {
    LoadProc();
    const char* autoAim = std::getenv("DRELMONT_AUTOAIM");
    if (autoAim && std::strcmp(autoAim, "1") == 0) autopilot::TakeControls();
    const char* level = std::getenv("DRELMONT_LEVEL");
    SetupLevel(static_cast<uint8_t>(level ? std::atoi(level) : 1));
    StageScene();
}

} // namespace

int main() {
    return RunGame(LoadAndStartLevel);
}
