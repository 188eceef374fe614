// The battlefield state every unit of the game reads: the screen, the tick's clock and dice, the view, the
// bonus timers, the strike's flash and shake, the centred message and the level being fought. Plain data with
// start values; the rules that change a value live in the units that own those rules, and assigning a fresh
// block (`Battle.bonuses = {}`) puts it back to its start.
#pragma once

#include "zorbel_api.h"

#include <cstdint>
#include <string>

// The screens of the game. Play and the three screens over it show the battlefield.
enum class Screen : uint8_t { MainMenu, Missions, Options, Credits, Play, UpgradePanel, GameOver, Complete };

// The name traces and the state digest give a screen: "1", "3", "OPTIONS", "CREATED", "0", "NAV1",
// "GAME_OVER", "COMPLETE".
const char* ScreenName(Screen screen);
// Play, the upgrade panel and the two end screens.
bool OnBattlefieldScreen(Screen screen);

// Which screen shows, and how the way between the menu and the battlefield looks.
struct ScreenBlock {
    Screen current = Screen::MainMenu;
    uint8_t menuAlpha = 0;      // opacity of the menu picture
    uint8_t fadeLevel = 0;      // the start-up fade into the menu
    bool gameSuspended = false; // a game left with Escape can be resumed from the main menu
    bool upgradePanelOpen = false;
    uint8_t upgradePanelAlpha = 0; // fade of the upgrade panel picture
    uint8_t endPictureAlpha = 0;   // opacity of the level-complete and game-over pictures
    bool targetMode = false;       // the next primary click places the soldier
};

// The tick's timer, whether it moves the sprites, and the draws it makes for the sprites' moves.
struct TickBlock {
    ZB_Timer* timer = nullptr;
    uint8_t interval = 16;             // ms between ticks
    bool paused = true;                // sprites do not move
    bool clearField = false;           // every sprite but the player removes itself on its next Move
    uint8_t random30 = 0, random5 = 0; // Random(30) and Random(5), drawn anew every tick
};

// The cameras, and where the main one drifts to.
struct ViewBlock {
    ZB_Camera* mainCamera = nullptr;
    ZB_Camera* secondCamera = nullptr;
    int32_t targetX = 0, targetY = 0;
};

// The timed bonuses: ticks left, their bars on the HUD, and the pitch the slow-down bends the sounds to.
struct BonusBlock {
    uint16_t slowDownTimer = 0, defenceTimer = 0;
    uint16_t slowDownBarTime = 0, defenceBarTime = 0;
    uint8_t iconFrame = 1; // 1 .. 17
    uint16_t soundFrequency = 44100;
};

// What a nuclear strike does to the view: the white flash and the shaking.
struct StrikeBlock {
    uint8_t nukeFlash = 0; // opacity of the white flash
    bool screenShake = false;
    int32_t shakeTicks = 0;
};

// The centred message on the screen.
struct MessageBlock {
    std::string text;
    uint16_t time = 0; // ticks it has left
    bool wins = false; // the level counts as won when it runs out
};

// One spawn group of the level: whether it sends monsters, from which edges, and the time between passes.
struct SpawnGroup {
    bool spawn = false, fromTop = false, fromBottom = false, fromLeft = false, fromRight = false;
    uint16_t interval = 0; // ms
};

// The level being fought and what has been done in it.
struct LevelBlock {
    uint8_t number = 0;
    SpawnGroup zombies, aliens, spiders, mixed; // the fourth group brings a monster of a random kind
    uint16_t monstersLeft = 0;                  // monsters the director may still create this level
    uint16_t monstersTotal = 0;                 // kills that win the level
    int32_t killCount = 0;                      // corpses stamped this level
    int32_t monstersKilled = 0;                 // kills of the whole game
    int32_t score = 0;                          // in hundreds
    int8_t upgradePoints = 0;
    bool won = false;
    uint8_t regenLevel = 0;
    uint8_t regenPhase = 0;          // regeneration acts on every fourth tick
    uint8_t pointsAwarded = 0;       // score thresholds already paid out as upgrade points this game
    bool secondBlastLine = false;    // level 19: blood sprays in two lines
    bool scriptedStrikeDone = false; // level 15's strike goes off once per play of the level
};

struct BattleState {
    ScreenBlock screens;
    TickBlock tick;
    ViewBlock view;
    BonusBlock bonuses;
    StrikeBlock strike;
    MessageBlock message;
    LevelBlock level;
};

extern BattleState Battle;

// Shows text in the middle of the screen for duration ticks: fully for all but the last 255, then fading.
// With wins set, the level counts as won when the message runs out.
void ShowMessage(bool wins, const std::string& text, uint16_t duration);
// One tick of the message's time, on every screen.
void StepMessage();

// The names the game's rules use for the values above.
inline Screen& ScreenState = Battle.screens.current;
inline uint8_t& MenuAlpha = Battle.screens.menuAlpha;
inline uint8_t& FadeLevel = Battle.screens.fadeLevel;
inline bool& GameSuspended = Battle.screens.gameSuspended;
inline bool& UpgradePanelOpen = Battle.screens.upgradePanelOpen;
inline uint8_t& UpgradePanelAlpha = Battle.screens.upgradePanelAlpha;
inline bool& TargetMode = Battle.screens.targetMode;
inline uint8_t& EndPictureAlpha = Battle.screens.endPictureAlpha;

inline ZB_Timer*& TickTimer = Battle.tick.timer;
inline uint8_t& TickInterval = Battle.tick.interval;
inline bool& Paused = Battle.tick.paused;
inline bool& ClearField = Battle.tick.clearField;
inline uint8_t& TickRandom30 = Battle.tick.random30;
inline uint8_t& TickRandom5 = Battle.tick.random5;

inline ZB_Camera*& MainCamera = Battle.view.mainCamera;
inline ZB_Camera*& SecondCamera = Battle.view.secondCamera;
inline int32_t& CameraTargetX = Battle.view.targetX;
inline int32_t& CameraTargetY = Battle.view.targetY;

inline uint16_t& SlowDownTimer = Battle.bonuses.slowDownTimer;
inline uint16_t& DefenceTimer = Battle.bonuses.defenceTimer;
inline uint16_t& SlowDownBarTime = Battle.bonuses.slowDownBarTime;
inline uint16_t& DefenceBarTime = Battle.bonuses.defenceBarTime;
inline uint8_t& BonusIconFrame = Battle.bonuses.iconFrame;
inline uint16_t& SoundFrequency = Battle.bonuses.soundFrequency;

inline uint8_t& NukeFlash = Battle.strike.nukeFlash;
inline bool& ScreenShake = Battle.strike.screenShake;
inline int32_t& ShakeTicks = Battle.strike.shakeTicks;

inline std::string& MessageText = Battle.message.text;
inline uint16_t& MessageTime = Battle.message.time;
inline bool& MessageWins = Battle.message.wins;

inline uint8_t& Level = Battle.level.number;
inline uint16_t& MonstersLeft = Battle.level.monstersLeft;
inline uint16_t& MonstersTotal = Battle.level.monstersTotal;
inline int32_t& KillCount = Battle.level.killCount;
inline int32_t& MonstersKilled = Battle.level.monstersKilled;
inline int32_t& Score = Battle.level.score;
inline int8_t& UpgradePoints = Battle.level.upgradePoints;
inline bool& LevelWon = Battle.level.won;
inline uint8_t& RegenLevel = Battle.level.regenLevel;
inline uint8_t& RegenPhase = Battle.level.regenPhase;
inline uint8_t& PointsAwarded = Battle.level.pointsAwarded;
inline bool& SecondBlastLine = Battle.level.secondBlastLine;
inline bool& ScriptedStrikeDone = Battle.level.scriptedStrikeDone;

inline bool& ZombieSpawn = Battle.level.zombies.spawn;
inline bool& ZombieFromTop = Battle.level.zombies.fromTop;
inline bool& ZombieFromBottom = Battle.level.zombies.fromBottom;
inline bool& ZombieFromLeft = Battle.level.zombies.fromLeft;
inline bool& ZombieFromRight = Battle.level.zombies.fromRight;
inline uint16_t& ZombieInterval = Battle.level.zombies.interval;
inline bool& AlienSpawn = Battle.level.aliens.spawn;
inline bool& AlienFromTop = Battle.level.aliens.fromTop;
inline bool& AlienFromBottom = Battle.level.aliens.fromBottom;
inline bool& AlienFromLeft = Battle.level.aliens.fromLeft;
inline bool& AlienFromRight = Battle.level.aliens.fromRight;
inline uint16_t& AlienInterval = Battle.level.aliens.interval;
inline bool& SpiderSpawn = Battle.level.spiders.spawn;
inline bool& SpiderFromTop = Battle.level.spiders.fromTop;
inline bool& SpiderFromBottom = Battle.level.spiders.fromBottom;
inline bool& SpiderFromLeft = Battle.level.spiders.fromLeft;
inline bool& SpiderFromRight = Battle.level.spiders.fromRight;
inline uint16_t& SpiderInterval = Battle.level.spiders.interval;
inline bool& MixedSpawn = Battle.level.mixed.spawn;
inline bool& MixedFromTop = Battle.level.mixed.fromTop;
inline bool& MixedFromBottom = Battle.level.mixed.fromBottom;
inline bool& MixedFromLeft = Battle.level.mixed.fromLeft;
inline bool& MixedFromRight = Battle.level.mixed.fromRight;
inline uint16_t& MixedInterval = Battle.level.mixed.interval;
