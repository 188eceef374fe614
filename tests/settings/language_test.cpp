// The language of a run: the override, the saved choice and the locale in their order; and the text table.
#include "language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Choice {
    const char* forced; // DRELMONT_LANG; nil: unset
    std::optional<Language> saved;
    const char *lcAll, *lcMessages, *lang; // nil: unset
    Language expected;
};

class LanguageChoice : public ::testing::TestWithParam<Choice> {};

TEST_P(LanguageChoice, OverrideThenSavedChoiceThenLocale) {
    const Choice& c = GetParam();
    const std::pair<const char*, const char*> vars[] = {
        {"DRELMONT_LANG", c.forced}, {"LC_ALL", c.lcAll}, {"LC_MESSAGES", c.lcMessages}, {"LANG", c.lang}};
    for (const auto& [name, value] : vars)
        value ? setenv(name, value, 1) : unsetenv(name);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ChooseLanguage(c.saved), c.expected);
    const std::string err = ::testing::internal::GetCapturedStderr();
    // Only a value of the override that names no language is worth a word.
    const bool unknown = c.forced && *c.forced && !LanguageOfCode(c.forced);
    EXPECT_EQ(err.empty(), !unknown) << err;
}

constexpr auto ru = Language::Russian, en = Language::English;
INSTANTIATE_TEST_SUITE_P(
    Rows, LanguageChoice,
    ::testing::Values(Choice{nullptr, {}, nullptr, nullptr, nullptr, en}, // nothing says Russian
                      Choice{nullptr, {}, nullptr, nullptr, "C.UTF-8", en},
                      Choice{nullptr, {}, nullptr, nullptr, "ru_RU.UTF-8", ru},
                      Choice{nullptr, {}, nullptr, "en_GB.UTF-8", "ru_RU.UTF-8", en}, // messages before LANG
                      Choice{nullptr, {}, "ru_UA.UTF-8", "en_GB.UTF-8", "en_GB.UTF-8", ru}, // LC_ALL first
                      Choice{nullptr, {}, "", "ru_RU.UTF-8", "en_US.UTF-8", ru}, // empty counts as unset
                      Choice{nullptr, en, nullptr, nullptr, "ru_RU.UTF-8", en},  // the player's choice sticks
                      Choice{nullptr, ru, nullptr, nullptr, "en_US.UTF-8", ru},
                      Choice{"en", ru, nullptr, nullptr, "ru_RU.UTF-8", en}, // the override beats everything
                      Choice{"RU", en, nullptr, nullptr, nullptr, ru},
                      Choice{"", en, nullptr, nullptr, nullptr, en},
                      Choice{"de", ru, nullptr, nullptr, "en_US.UTF-8", ru})); // unknown: passed over

TEST(Texts, EveryTextExistsInBothLanguages) {
    for (int k = 0; k < static_cast<int>(TextKey::Count); ++k)
        for (Language language : {Language::Russian, Language::English}) {
            const char* text = Text(static_cast<TextKey>(k), language);
            EXPECT_TRUE(text && *text) << "text " << k << " in " << LanguageCode(language);
        }
    GameLanguage = Language::English;
    EXPECT_STREQ(Text(TextKey::On), "ON");
    GameLanguage = Language::Russian;
    EXPECT_STREQ(Text(TextKey::On), "ВКЛ.");
}

} // namespace
