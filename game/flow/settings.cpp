// Saved settings: the table of rows, and reading and writing it.
#include "settings.h"

#include "platform.h"

#include <cstdio>
#include <variant>

uint8_t EffectsVolume = 90;
uint8_t MusicVolume = 100;
uint8_t WeaponKindsOpen = 0;
uint8_t LevelsOpen = 0;
bool TextureFlagSetting = false;
bool ShowFps = true;
bool FullScreen = true;
uint8_t MapAlpha = 255;

namespace {

// The section and key names are part of the file format, trailing blanks included.
struct SettingRow {
    const char* section;
    const char* key;
    std::variant<uint8_t*, bool*> value;
    int32_t defaultValue;
};

// In the order the file is read; writing uses the same rows.
const SettingRow kRows[] = {
    {"00^123$", "12 10 70 ", &EffectsVolume, 90},   {"00^123$", "64 26 12 ", &MusicVolume, 100},
    {"eax$%d3", "uscQD ", &WeaponKindsOpen, 0},     {"prA(*@)", "BH5sj ", &LevelsOpen, 0},
    {"00^123$", "/*-+() ", &TextureFlagSetting, 0}, {"00^123$", "!)^^:; ", &ShowFps, 1},
    {"00^123$", "Vft4DS ", &FullScreen, 1},
};

} // namespace

void LoadSettings() {
    for (const SettingRow& row : kRows) {
        if (auto* byte = std::get_if<uint8_t*>(&row.value)) {
            // Only the low 8 bits survive: 300 reads as 44.
            **byte = static_cast<uint8_t>(
                platform::IniReadInteger(kSettingsFile, row.section, row.key, row.defaultValue));
        } else {
            *std::get<bool*>(row.value) =
                platform::IniReadBool(kSettingsFile, row.section, row.key, row.defaultValue != 0);
        }
    }
    MapAlpha = 255;
}

int32_t ReadStampSetting() {
    return platform::IniReadInteger(kSettingsFile, "OPTIONS", "SMOOTH ", 255);
}

bool SaveSettings() {
    for (const SettingRow& row : kRows) {
        const bool written =
            std::holds_alternative<uint8_t*>(row.value)
                ? platform::IniWriteInteger(kSettingsFile, row.section, row.key,
                                            *std::get<uint8_t*>(row.value))
                : platform::IniWriteBool(kSettingsFile, row.section, row.key, *std::get<bool*>(row.value));
        if (!written) {
            std::fprintf(stderr, "Unable to write to %s\n", platform::ResolvePath(kSettingsFile).c_str());
            return false;
        }
    }
    return true;
}
