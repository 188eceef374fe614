// Level set-up: the 30-level table and the common reset of a new game.
#include "level.h"

#include "BONUS.h"
#include "Battle.h"
#include "Ground.h"
#include "PLAYER.h"
#include "Weapons.h"
#include "ZORBEL.h"
#include "assets.h"
#include "music.h"
#include "platform.h"
#include "settings.h"

#include <algorithm>
#include <string_view>

namespace {

// One spawn group of a level: the edges it comes from ("TBLR" letters) and the time between passes.
struct GroupRow {
    const char* edges;
    uint16_t interval;
};

struct LevelRow {
    GroupRow zombies, aliens, spiders, mixed;
    uint16_t count;
    Weapon weapon;
    uint8_t weaponKinds;
};

constexpr GroupRow kNone{"", 0};
constexpr Weapon kPistol = Weapon::Pistol, kAutomat = Weapon::Automat, kShotgun = Weapon::Shotgun,
                 kUzi = Weapon::Uzi, kLaser = Weapon::Laser, kBazooka = Weapon::Bazooka, kNano = Weapon::Nano;

// The campaign. The fourth group brings monsters of random kinds; it makes level 28 winnable at all.
constexpr LevelRow kLevels[kCampaignLevels] = {
    {{"TLR", 3000}, kNone, kNone, kNone, 15, kPistol, 0},
    {{"R", 1000}, kNone, kNone, kNone, 40, kPistol, 2},
    {{"TL", 500}, kNone, kNone, kNone, 80, kPistol, 2},
    {{"TBR", 400}, kNone, kNone, kNone, 100, kPistol, 3},
    {{"TBLR", 600}, kNone, kNone, kNone, 130, kShotgun, 3},
    {{"TB", 1500}, kNone, kNone, kNone, 100, kUzi, 4},
    {{"BL", 600}, kNone, kNone, kNone, 200, kBazooka, 4},
    {{"TBLR", 4000}, kNone, kNone, kNone, 60, kAutomat, 5},
    {{"TBL", 1000}, kNone, kNone, kNone, 200, kPistol, 5},
    {{"TBR", 2000}, {"BLR", 2000}, {"TBR", 2000}, kNone, 300, kNano, 6},
    {{"TBLR", 1550}, kNone, kNone, kNone, 300, kLaser, 7},
    {{"TBL", 1350}, kNone, kNone, kNone, 300, kBazooka, 8},
    {{"BLR", 1480}, {"TR", 1500}, kNone, kNone, 350, kUzi, 9},
    {{"TR", 890}, {"L", 890}, kNone, kNone, 300, kShotgun, 9},
    {{"LR", 1480}, {"TBL", 1480}, kNone, kNone, 400, kAutomat, 9},
    {{"TBLR", 1450}, {"TBL", 1650}, kNone, kNone, 350, kNano, 9},
    {{"TB", 1350}, {"LR", 1200}, kNone, kNone, 400, kBazooka, 9},
    {{"TB", 960}, {"TR", 960}, kNone, kNone, 500, kUzi, 9},
    {{"TL", 950}, {"BR", 950}, kNone, kNone, 450, kBazooka, 9},
    {kNone, {"TBLR", 1850}, {"BLR", 1400}, kNone, 300, kNano, 9},
    {{"TB", 1650}, kNone, {"TR", 1650}, kNone, 350, kPistol, 9},
    {{"TB", 2400}, {"BL", 2600}, {"TR", 2500}, kNone, 400, kPistol, 9},
    {{"BL", 3000}, {"BLR", 2600}, {"TBR", 2600}, kNone, 300, kPistol, 9},
    {kNone, {"BLR", 4600}, {"TBR", 5200}, kNone, 100, kPistol, 9},
    {{"BL", 3000}, {"BLR", 2200}, {"TBR", 2250}, kNone, 300, kPistol, 9},
    {{"BL", 5300}, {"BLR", 5500}, {"TBR", 5500}, kNone, 150, kPistol, 9},
    {kNone, {"BLR", 1900}, {"TBR", 2000}, {"T", 2700}, 300, kBazooka, 9},
    {kNone, kNone, kNone, {"TBLR", 1200}, 300, kAutomat, 9},
    {{"BL", 2600}, kNone, {"TBR", 1750}, {"LR", 1500}, 300, kPistol, 9},
    {kNone, {"TB", 1000}, {"LR", 1000}, kNone, 450, kPistol, 9},
};

SpawnGroup* const kGroups[4] = {&Battle.level.zombies, &Battle.level.aliens, &Battle.level.spiders,
                                &Battle.level.mixed};

void ClearSpawnSwitches() {
    for (SpawnGroup* g : kGroups)
        g->spawn = g->fromTop = g->fromBottom = g->fromLeft = g->fromRight = false;
}

void SetGroup(SpawnGroup& g, const GroupRow& row) {
    const std::string_view edges = row.edges;
    g.fromTop = edges.find('T') != std::string_view::npos;
    g.fromBottom = edges.find('B') != std::string_view::npos;
    g.fromLeft = edges.find('L') != std::string_view::npos;
    g.fromRight = edges.find('R') != std::string_view::npos;
    g.spawn = !edges.empty();
    g.interval = row.interval;
}

const char* MapPictureFor(uint8_t level) {
    return (level >= 11 && level <= 20) || level >= 31 ? "PICTURE\\MAP_4.jpg" : "PICTURE\\MAP_1.jpg";
}

} // namespace

void StartLevel() {
    PlayMusic(1);
    ClearUpgrades();
    Score = 0;
    MonstersKilled = 0;
    UpgradePoints = 0;
    PointsAwarded = 0;
    if (Level > 20 && Level <= 30) UpgradePoints = 7;
    SecondBlastLine = false;
    PlayerDead = false;
    TPLAYER* player = Player();
    player->Health = 200.0f;
    player->Alpha = 255;
    PlayerPosX = 900.0f;
    PlayerPosY = 0.0f;
    MessageTime = 0;
    ClearForNewGame();
    SlowDownTimer = 0;
    DefenceTimer = 0;
    PlayerSpeed = 1.1f;
    RegenLevel = 0;
    LevelWon = false;
    KillCount = 0;
    UpgradePanelOpen = false;
    ScriptedStrikeDone = false;
    ClearSpawnSwitches();
    MainCamera->X = static_cast<float>(ZB_Round(PlayerPosX - 400.0f));
    MainCamera->Y = static_cast<float>(ZB_Round(PlayerPosY - 300.0f));
    MainCamera->Switch = 0;
    LoadMap(MapPictureFor(Level));
    PaintIntoTiles(TexMap);
    MainCamera->Switch = 1;
    SecondCamera->Switch = 0;
    FreeApproachCells();
    PlayEffect(SndMenu);
    ScreenState = Screen::Play;
    Paused = false;
    MenuAlpha = 0;
    FadeLevel = 0;
    ClearField = true;
    LoadGameCursor();
    // The last level's pictures and copies are gone; what they took goes back to the system.
    platform::ReleaseFreeMemory();
}

void SetupLevel(uint8_t n) {
    if (n < 1 || n > 31) return;
    Level = n;
    StartLevel();
    if (n == 31) return; // the open field: no monsters, no weapon
    const LevelRow& row = kLevels[n - 1];
    const GroupRow* groups[4] = {&row.zombies, &row.aliens, &row.spiders, &row.mixed};
    for (int g = 0; g < 4; ++g)
        SetGroup(*kGroups[g], *groups[g]);
    MonstersLeft = MonstersTotal = row.count;
    WeaponKindsOpen = std::max(WeaponKindsOpen, row.weaponKinds);
    if (n == 16) Player()->Health = 50.0f;
    if (n == 19) SecondBlastLine = true;
    TWeaponPickup* pickup = CreateWeaponPickup(row.weapon);
    pickup->X = ZB_Round(PlayerPosX);
    pickup->Y = ZB_Round(PlayerPosY);
}

void RestartLevel(uint8_t n) {
    SetupLevel(n);
}
