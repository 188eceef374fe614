// The game's languages: the choice made at start, and one table of texts with a column per language.
#include "language.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>

Language GameLanguage = Language::Russian;

namespace {

struct TextRow {
    TextKey key;
    const char* russian;
    const char* english;
};

// clang-format off
constexpr TextRow kTexts[] = {
    {TextKey::SlowDownLabel, "ЗАДЕРЖКА", "SLOWDOWN"},
    {TextKey::DefenceLabel, "СКОРОСТЬ", "SPEED"},
    {TextKey::ControlsHint, " W,A,S,D + МЫШЬ", " W,A,S,D + MOUSE"},
    {TextKey::TargetHint, "  Направьте курсор в нужное место и нажмите левую кнопку мыши",
                          "  Point at the spot to land on and click the left mouse button"},
    {TextKey::FpsPrefix, "FPS: ", "FPS: "},
    // The campaign has always ended in English, whatever the language of the rest; both columns keep it.
    {TextKey::YouWin, "You WIN!!!", "You WIN!!!"},
    {TextKey::On, "ВКЛ.", "ON"},
    {TextKey::Off, "ВЫКЛ.", "OFF"},
    {TextKey::LanguageName, "РУССКИЙ", "ENGLISH"},
    {TextKey::UnableToWrite, "Не удалось записать ", "Unable to write to "},
    {TextKey::ScreenshotSaved, "Снимок экрана сохранён", "Screenshot saved"},
    {TextKey::ScreenshotFailed, "Не удалось сохранить снимок экрана", "Unable to save the screenshot"},
};
// clang-format on

constexpr bool RowsFollowTheKeys() {
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        if (static_cast<std::size_t>(kTexts[i].key) != i) return false;
    return std::size(kTexts) == static_cast<std::size_t>(TextKey::Count);
}
static_assert(RowsFollowTheKeys(), "one row per text key, in the keys' order");

// The first of the locale variables that is set and not empty decides, as the C library's own choice would.
bool SystemLocaleIsRussian() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::string_view(value).starts_with("ru");
    }
    return false;
}

} // namespace

const char* LanguageCode(Language language) {
    return language == Language::Russian ? "ru" : "en";
}

std::optional<Language> LanguageOfCode(std::string_view code) {
    auto same = [&](std::string_view name) {
        if (code.size() != name.size()) return false;
        for (std::size_t i = 0; i < code.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(code[i])) != name[i]) return false;
        return true;
    };
    for (Language language : {Language::Russian, Language::English})
        if (same(LanguageCode(language))) return language;
    return std::nullopt;
}

Language ChooseLanguage(std::optional<Language> saved) {
    if (const char* forced = std::getenv("DRELMONT_LANG"); forced && *forced) {
        if (const auto language = LanguageOfCode(forced)) return *language;
        std::fprintf(stderr,
                     "drelmont: DRELMONT_LANG=%s: expected en or ru; the setting and the locale decide\n",
                     forced);
    }
    if (saved) return *saved;
    return SystemLocaleIsRussian() ? Language::Russian : Language::English;
}

const char* Text(TextKey key) {
    return Text(key, GameLanguage);
}

const char* Text(TextKey key, Language language) {
    const TextRow& row = kTexts[static_cast<std::size_t>(key)];
    return language == Language::Russian ? row.russian : row.english;
}
