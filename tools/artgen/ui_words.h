// The words lettered into the menu, end, panel and HUD pictures, one set per language the game speaks.
#pragma once

#include <array>

namespace artgen::ui {

struct Words {
    const char* folder; // under PICTURE/: empty for Russian, whose pictures keep the game's own names
    struct {
        const char *tagline, *title;
        std::array<const char*, 7> lines; // nil for the side-file lines, which are not drawn
        const char* credits;
        std::array<const char*, 6> report; // monospaced: the values line up under each other
        const char* version;
    } mainMenu;
    struct {
        const char *title, *subtitle;
        std::array<const char*, 5> lines;
        const char* save;
        std::array<const char*, 2> hint;
        const char *language, *fromNextStart;
    } options;
    struct {
        const char *title, *subtitle;
        std::array<const char*, 3> sectors;
        const char* mission; // printf format of a level button's caption
        const char *back, *footer;
    } missions;
    struct {
        const char *title, *subtitle;
        std::array<const char*, 4> roles, names;
        const char *thanks, *back, *orEsc;
    } credits;
    struct {
        const char *title, *score, *praise, *next, *menu;
    } complete;
    struct {
        const char *title, *subtitle, *again;
    } gameOver;
    struct {
        const char* title;
        std::array<const char*, 10> lines;
        std::array<const char*, 3> help;
    } upgrades;
    const char *newUpgrade, *loading;
};

extern const Words kRussian, kEnglish;
inline const std::array<const Words*, 2> kLanguages{&kRussian, &kEnglish};

} // namespace artgen::ui
