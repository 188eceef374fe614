// Saved settings: the table of rows, and reading and writing it.
#include "settings.h"

#include "ini.h"
#include "platform.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <variant>
#include <vector>

uint8_t EffectsVolume = 90;
uint8_t MusicVolume = 100;
uint8_t WeaponKindsOpen = 0;
uint8_t LevelsOpen = 0;
bool TextureFlagSetting = false;
bool ShowFps = true;
bool FullScreen = true;
uint8_t MapAlpha = 255;
std::optional<Language> ChosenLanguage;
void (*ShowSaveError)(const std::string& text) = nullptr;

namespace {

// The section and key names are part of the file format, trailing blanks included. A language row has no
// default: none is chosen until the player chooses.
struct SettingRow {
    platform::IniKey name;
    std::variant<uint8_t*, bool*, std::optional<Language>*> value;
    int32_t defaultValue;
};

// In the order the file is read; writing uses the same rows.
const SettingRow kRows[] = {
    {{"00^123$", "12 10 70 "}, &EffectsVolume, 90},   {{"00^123$", "64 26 12 "}, &MusicVolume, 100},
    {{"eax$%d3", "uscQD "}, &WeaponKindsOpen, 0},     {{"prA(*@)", "BH5sj "}, &LevelsOpen, 0},
    {{"00^123$", "/*-+() "}, &TextureFlagSetting, 0}, {{"00^123$", "!)^^:; "}, &ShowFps, 1},
    {{"00^123$", "Vft4DS "}, &FullScreen, 1},         {{"Drelmont", "Language"}, &ChosenLanguage, 0},
};

// Never written by the game; a player may put it in the file to stop marks being baked into the ground.
const platform::IniKey kStampKey{"OPTIONS", "SMOOTH "};
constexpr int32_t kStampDefault = 255;

// The stamp setting as last read, and which version of which file it was read from.
struct StampCache {
    std::string path;
    std::optional<platform::FileStamp> stamp;
    int32_t value = kStampDefault;
    bool filled = false;
};
StampCache stampCache;

// A missing file or key, or a value that is not an integer, gives the default.
int32_t IntegerOr(const std::optional<std::string>& text, int32_t defaultValue) {
    return text ? platform::IniParseInteger(*text).value_or(defaultValue) : defaultValue;
}

// Integers keep their low 8 bits (300 reads as 44); booleans are true when not 0; a language is its code,
// and anything else is no choice. Nothing read gives the row's default.
void Assign(const SettingRow& row, const std::optional<std::string>& text) {
    if (auto* language = std::get_if<std::optional<Language>*>(&row.value)) {
        **language = text ? LanguageOfCode(*text) : std::nullopt;
        return;
    }
    const int32_t number = IntegerOr(text, row.defaultValue);
    if (auto* byte = std::get_if<uint8_t*>(&row.value)) {
        **byte = static_cast<uint8_t>(number);
    } else {
        *std::get<bool*>(row.value) = number != 0;
    }
}

// Integers in decimal, booleans as "1" and "0", a language as its code. A language not chosen is not written,
// so the line a player may have put there stays as it was.
std::optional<std::string> Written(const SettingRow& row) {
    if (auto* byte = std::get_if<uint8_t*>(&row.value)) return std::to_string(**byte);
    if (auto* flag = std::get_if<bool*>(&row.value)) return **flag ? "1" : "0";
    const std::optional<Language> language = *std::get<std::optional<Language>*>(row.value);
    if (!language) return std::nullopt;
    return LanguageCode(*language);
}

// A missing or unreadable file reads as an empty one, which holds nothing but defaults.
std::string ReadSettingsText(const std::string& path) {
    std::string text;
    platform::ReadRegularFile(path, &text);
    return text;
}

// The home folder as "~", so that the usual place fits on the screen in the message's large letters.
std::string PathForScreen(const std::string& path) {
    const char* home = std::getenv("HOME");
    const std::string prefix = home && *home ? std::string(home) + "/" : std::string();
    if (prefix.size() > 1 && path.starts_with(prefix)) return "~/" + path.substr(prefix.size());
    return path;
}

void ReportUnsavedSettings(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "Unable to write to %s (%s)\n", path.c_str(), why.c_str());
    if (ShowSaveError) ShowSaveError(Text(TextKey::UnableToWrite) + PathForScreen(path));
}

} // namespace

void ResetSettingsGlobals() {
    for (const SettingRow& row : kRows)
        Assign(row, std::nullopt);
    MapAlpha = 255;
    stampCache = StampCache();
}

void LoadSettings() {
    std::vector<platform::IniKey> keys;
    for (const SettingRow& row : kRows)
        keys.push_back(row.name);
    const auto values = platform::IniFind(ReadSettingsText(platform::ResolvePath(kSettingsFile)), keys);
    for (size_t i = 0; i < keys.size(); ++i)
        Assign(kRows[i], values[i]);
    MapAlpha = 255;
}

int32_t ReadStampSetting() {
    const std::string path = platform::ResolvePath(kSettingsFile);
    std::optional<platform::FileStamp> stamp = platform::StampOf(path);
    if (!stampCache.filled || stampCache.path != path || stampCache.stamp != stamp) {
        // Stamped before reading: a change made while reading shows as a new stamp next time.
        const auto values = platform::IniFind(ReadSettingsText(path), {kStampKey});
        stampCache = {path, std::move(stamp), IntegerOr(values[0], kStampDefault), true};
    }
    return stampCache.value;
}

bool SaveSettings() {
    const std::string path = platform::ResolvePath(kSettingsFile);
    std::vector<platform::IniEntry> entries;
    for (const SettingRow& row : kRows)
        if (auto value = Written(row)) entries.push_back({row.name.section, row.name.key, std::move(*value)});
    if (path.empty()) {
        ReportUnsavedSettings(kSettingsFile,
                              "no home folder to keep it in: HOME is not set, and the password "
                              "database has no home for this user");
        return false;
    }
    // The file is read again right before it is replaced, so keys the game does not know, and edits made
    // while it ran, are kept. A file that is there but cannot be read is not replaced.
    std::string text, why;
    const bool saved = platform::ReadRegularFile(path, &text, &why) != platform::FileRead::kUnreadable &&
                       platform::WriteFileAtomically(path, platform::IniSet(text, entries), &why);
    if (!saved) ReportUnsavedSettings(path, why);
    return saved;
}
