// Saved settings and campaign progress: "SAVES\SAVE.INI", one table row per value.
#pragma once

#include "language.h"

#include <cstdint>
#include <optional>
#include <string>

extern uint8_t EffectsVolume;   // 0 .. 100
extern uint8_t MusicVolume;     // 0 .. 100
extern uint8_t WeaponKindsOpen; // weapon kinds random drops may choose from
extern uint8_t LevelsOpen;      // highest campaign level completed
extern bool TextureFlagSetting; // picture-loading option
extern bool ShowFps;            // draw the frame rate
extern bool FullScreen;         // full-screen window
extern uint8_t MapAlpha;        // opacity of the ground tiles
// The language picked on the options screen for the next start; none until the player picks one, and then
// the locale decides. Kept in a section of our own, beside the original keys.
extern std::optional<Language> ChosenLanguage;

constexpr const char* kSettingsFile = "SAVES\\SAVE.INI";

// How a failed save reaches the player, besides stderr: the program points it at the on-screen message.
extern void (*ShowSaveError)(const std::string& text);

// Every setting back to its default, and the stamp setting forgotten.
void ResetSettingsGlobals();
// Reads every setting; missing or unreadable values take their defaults, integers keep their low 8 bits.
void LoadSettings();
// The stamp setting: marks are baked into the ground while it equals MapAlpha (255 unless the file says
// otherwise). Asked every frame, so it is read from the file only when the file has changed since.
int32_t ReadStampSetting();
// Writes every setting in one replacement of the file, keeping whatever else the file holds. Returns false
// (after telling the player) when the file cannot be written; the old file is then left as it was.
bool SaveSettings();
