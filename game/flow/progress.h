// Level end and progression: the per-tick quota check, upgrade points for score, health regeneration, and
// what the buttons of the level-complete and game-over screens do.
#pragma once

// Once a tick on the battlefield screens: the level is won when the quota is met, and score pays points.
void CheckProgress();
// Once a tick during play: level 15's strike goes off once per play, when three quarters of its quota lie
// dead and the soldier lives; it kills every monster on the field and wins the level.
void StepScriptedStrike();
// Once a tick during play while a regeneration level is bought.
void RegenerateHealth();

// The buttons of the level-complete screen: on to the next level, or back to the main menu. Either leaves
// LevelsOpen at least at the level just completed.
void NextLevelButton();
void CompleteMainMenuButton();
// The button of the game-over screen: the same level again.
void PlayAgainButton();
