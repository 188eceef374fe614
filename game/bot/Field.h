// The campaign bot's eyes: what a player sees of the battlefield, read from the game without touching it.
#pragma once

#include "Battle.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "Weapons.h"

#include <cstdint>
#include <vector>

namespace bot {

// A living monster: where it is, where it is going, and whether it is after the soldier.
struct Foe {
    float x = 0, y = 0;   // centre, world pixels
    float vx = 0, vy = 0; // its step this tick
    float speed = 0;
    bool charging = false; // heads straight for the soldier (the end-of-wave frenzy, or the last yards)
    bool biting = false;   // stands at the soldier and bites
    MonsterKind kind = MonsterKind::Zombie;
    int16_t health = 0;
};

enum class ItemKind { Weapon, Life, SlowDown, Defence, Sun, Nuke };

// Something lying on the field to walk over.
struct Item {
    float x = 0, y = 0; // centre of its box, world pixels
    ItemKind kind = ItemKind::Weapon;
    Weapon weapon = Weapon::None; // the weapon of a weapon pickup
    int lifetime = 0;             // ticks before it is gone
};

// The weapon in hand and its state, as the top bar and the sound of the gun tell a player.
struct Gun {
    Weapon weapon = Weapon::None;
    int32_t clip = 0, clipSize = 0, bonusShots = 0;
    bool reloading = false;
    float reloadTimer = 0;
    int32_t reloadTime = 0;
    float shotTimer = 0;
    int32_t shotInterval = 1;
    float bulletSpeed = 10;
    uint16_t damage = 0;
    bool piercing = false;
    bool shotgun = false;
    uint8_t spread = 0; // the crosshair's opening
};

struct Field {
    float x = 0, y = 0;       // the soldier's centre, where he aims from
    float posX = 0, posY = 0; // his exact position (top-left of his picture)
    float speed = 1.1f;       // pixels a tick per held direction key
    float health = 200;
    bool dead = false;
    float camX = 0, camY = 0;             // the screen's top-left corner on the battlefield
    float camTargetX = 0, camTargetY = 0; // where the camera is drifting to, a pixel a tick
    uint8_t level = 0;
    uint8_t upgrades[kUpgradeCount] = {};
    int8_t points = 0;                  // unspent upgrade points
    float biteDamage = 0;               // what a monster's bite takes a tick on this level, before armour
    uint16_t slowDown = 0, defence = 0; // bonus ticks left
    Gun gun;
    std::vector<Foe> foes;
    std::vector<Item> items;
    int mines = 0; // mines lying in wait
    int32_t mineCharge = 0;
};

// The level of an upgrade the field shows.
inline uint8_t LevelOf(const Field& f, Upgrade upgrade) {
    return f.upgrades[static_cast<int>(upgrade)];
}

// Reads the battlefield as it stands. Reads only: the bot never changes the game.
Field ReadField();

// What a player sees of the screens around the battle: which one shows, whether the menu has faded in, how
// far the campaign is open, and the counters of the level being played.
struct ScreenView {
    Screen screen = Screen::MainMenu;
    bool menuReady = false; // the main menu shows at full strength, past the intro's fade
    uint8_t levelsOpen = 0;
    uint8_t level = 0;
    bool won = false;
    bool targetMode = false; // the next click places the soldier
    bool paused = false;
    int8_t upgradePoints = 0;
    uint8_t tickInterval = 16; // ms a game tick takes now
    float health = 0;
    bool dead = false;
    int32_t kills = 0;
    int32_t score = 0; // in hundreds, as the game keeps it
    uint8_t pointsAwarded = 0;
};
ScreenView ReadScreen();

// The box the soldier may walk in, as positions of his centre.
constexpr float kSoldierHalf = kSoldierSize / 2.0f;
constexpr float kFieldLeft = kSoldierLeft + kSoldierHalf, kFieldRight = kSoldierRight + kSoldierHalf,
                kFieldTop = kSoldierTop + kSoldierHalf, kFieldBottom = kSoldierBottom + kSoldierHalf;

} // namespace bot
