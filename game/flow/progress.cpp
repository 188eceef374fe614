// Level end and progression: the quota, points for score, regeneration, and the end-screen buttons.
#include "progress.h"

#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "assets.h"
#include "level.h"
#include "settings.h"

#include <algorithm>

uint8_t RegenPhase = 0;

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

void ResetProgressGlobals() {
    RegenPhase = 0;
}

void CheckProgress() {
    if (MonstersTotal == KillCount && ScreenState == "0") LevelWon = true;
    if (PlayerDead) return;
    for (int k = 1; k <= 30; ++k) {
        if (Score >= kPointThresholds[k - 1] && PointsAwarded < k) {
            ++PointsAwarded;
            ++UpgradePoints;
            PlayEffect(SndNewLevel);
        }
    }
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
    ScreenState = "1";
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
