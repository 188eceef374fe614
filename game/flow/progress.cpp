// Level end and progression: the quota, points for score, regeneration, and the end-screen buttons.
#include "progress.h"

#include "BONUS.h"
#include "Battle.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "assets.h"
#include "level.h"
#include "settings.h"

#include <algorithm>

namespace {

// Score (in hundreds) at which the k-th upgrade point of a level is paid.
constexpr int32_t kPointThresholds[30] = {
    200,     500,     700,     1000,    2000,    4000,    6000,    10000,   15000,   25000,
    45000,   80000,   120000,  160000,  220000,  300000,  600000,  1100000, 1500000, 1900000,
    2400000, 2900000, 3500000, 5000000, 5600000, 6000000, 6800000, 7500000, 8300000, 9000000,
};

void DiscardPresses() {
    Mouse_Press(0);
    Mouse_Press(1);
}

void LeaveLevelEnd() {
    DiscardPresses();
    LevelWon = false;
    PlayerDead = false;
    GameSuspended = false;
}

} // namespace

void CheckProgress() {
    if (MonstersTotal == KillCount && ScreenState == Screen::Play) LevelWon = true;
    if (PlayerDead) return;
    for (int k = 1; k <= 30; ++k) {
        if (Score >= kPointThresholds[k - 1] && PointsAwarded < k) {
            ++PointsAwarded;
            ++UpgradePoints;
            PlayEffect(SndNewLevel);
        }
    }
}

namespace {

// Level 15's strike: once per play, when three quarters of the level's quota lie dead and the soldier lives.
bool ScriptedStrikeDue() {
    return Level == 15 && !ScriptedStrikeDone && !PlayerDead && MonstersTotal > 0 &&
           int64_t{KillCount} * 4 >= int64_t{MonstersTotal} * 3;
}

} // namespace

void StepScriptedStrike() {
    if (!ScriptedStrikeDue()) return;
    ScriptedStrikeDone = true;
    NuclearStrike(680, 100);
    PlayEffect(SndFindBonus);
    for (TMonster* z : Monsters()) {
        z->Health = 0;
        const int32_t x = z->X + static_cast<int32_t>(Random(32)) - 16;
        const int32_t y = z->Y + static_cast<int32_t>(Random(32)) - 16;
        SpawnTrace(x, y, 82, static_cast<uint8_t>(Random(360)), 82);
    }
    LevelWon = true;
}

void RegenerateHealth() {
    RegenPhase = RegenPhase + 1 == 4 ? 0 : static_cast<uint8_t>(RegenPhase + 1);
    if (Paused || RegenPhase != 1 || PlayerDead) return;
    // The cap is tested before the step, so health may pass it by one step.
    float& health = Player()->Health;
    switch (RegenLevel) {
    case 1:
        if (health <= 50.0f) health += 0.05f;
        break;
    case 2:
        if (health <= 100.0f) health += 0.09f;
        break;
    case 3:
        if (health <= 200.0f) health += 0.13f;
        break;
    default:
        break;
    }
}

void NextLevelButton() {
    LeaveLevelEnd();
    SetupLevel(static_cast<uint8_t>(Level + 1));
    PlayEffect(SndMenu);
    MenuAlpha = 255;
    Mouse_Lock();
    Paused = true;
    // Level now names the level just started: the one before it is the one completed.
    if (LevelsOpen < Level - 1) LevelsOpen = static_cast<uint8_t>(Level - 1);
}

void CompleteMainMenuButton() {
    LeaveLevelEnd();
    ScreenState = Screen::MainMenu;
    PlayEffect(SndMenu);
    LoadMainMenuBack();
    MenuAlpha = 255;
    LoadMenuCursor();
    Mouse_Lock();
    Paused = true;
    LevelsOpen = std::max(LevelsOpen, Level);
}

void PlayAgainButton() {
    DiscardPresses();
    PlayEffect(SndMenu);
    RestartLevel(Level);
}
