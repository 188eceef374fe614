// The languages the game speaks: which one a run uses, and every text the game draws from its code in each.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class Language : uint8_t { Russian, English };

// The language of this run, chosen once at start (ChooseLanguage). Until then the game speaks Russian, its
// own language.
extern Language GameLanguage;

// "ru", "en": how a language is named in the settings file and in DRELMONT_LANG.
const char* LanguageCode(Language language);
// The language a code names, without regard to ASCII case; nothing for any other text.
std::optional<Language> LanguageOfCode(std::string_view code);

// DRELMONT_LANG=en|ru first (for tests and for a player who wants the other language once), then the choice
// saved from the options screen, then the system locale: Russian when the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty starts with "ru", English otherwise. Another DRELMONT_LANG value is said on
// stderr and passed over.
Language ChooseLanguage(std::optional<Language> saved);

// The texts the game draws from its code.
enum class TextKey : uint8_t {
    SlowDownLabel, // the slow-down bonus bar
    DefenceLabel,  // the defence bonus bar
    ControlsHint,  // level 1, bottom left
    TargetHint,    // while the soldier waits to be set down
    FpsPrefix,     // before the frame rate
    YouWin,        // the end of the campaign
    On,            // an options value
    Off,
    LanguageName,     // a language's own name for itself, the options value of the language line
    UnableToWrite,    // before the settings file's name when a save fails
    ScreenshotSaved,  // after F12
    ScreenshotFailed, // after F12, when the picture could not be written
    Count
};

// A text in the language of this run, or in the one given.
const char* Text(TextKey key);
const char* Text(TextKey key, Language language);
