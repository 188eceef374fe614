// Where the menu, end and upgrade pictures put their buttons: every rectangle the game tests, in one table.
#pragma once

#include <array>
#include <cstddef>

namespace artgen::ui {

// The menu pointer is a 48 x 48 picture drawn at (cursor - 24); its tip sits at pixel (12, 12), so the tip
// shows 12 px up and left of the cursor point. The options, mission-list and upgrade screens test exactly
// that point (cursor - 12), the game-over screen cursor - 5, the main menu and level-complete screens the
// cursor itself. A button is drawn where the tip must be for it to react; with the tip there, the highlight
// bars, level lights and check marks the game draws at its own rectangles land exactly on the drawn buttons.
inline constexpr int kPointerTip = 12;
inline constexpr int kCursorSize = 48;
// How far up and left of the cursor point the tip shows.
inline constexpr int kTipOffset = kCursorSize / 2 - kPointerTip;

struct Rect {
    float x = 0, y = 0, w = 0, h = 0;
};

enum class Spot {
    Button,   // drawn as a button
    Unlisted, // tested by the game but opens a side file a normal installation lacks: not drawn
    Mark,     // a place the game draws into (check marks): no pointer shift
};

struct ButtonSpot {
    const char* picture; // file under PICTURE/
    const char* line;    // which line of the screen
    Spot kind;
    Rect tested;          // the rectangle the game tests, screen pixels
    int pointShift;       // the tested point is cursor - pointShift
    int originX, originY; // where the picture's top-left sits on screen (relative to the camera)
};

// The rectangle inside the picture where the button is drawn.
constexpr Rect Drawn(const ButtonSpot& s) {
    const float shift = s.kind == Spot::Mark ? 0.0f : static_cast<float>(s.pointShift - kTipOffset);
    return {s.tested.x + shift - static_cast<float>(s.originX),
            s.tested.y + shift - static_cast<float>(s.originY), s.tested.w, s.tested.h};
}

struct PictureSize {
    const char* picture;
    int w, h;
};

// The options screen's language line is a picture of its own, laid over the background at (0, 195).
inline constexpr int kLanguageLinePictureW = 800, kLanguageLinePictureH = 50, kLanguageLinePictureY = 195;
// The field where the game centres the language's name.
inline constexpr float kLanguageValueMiddle = 736, kLanguageFieldHalf = 64;

inline constexpr std::array<PictureSize, 8> kButtonPictures{{
    {"MAIN_MENU.jpg", 800, 600},
    {"CREATED.jpg", 800, 600},
    {"OPTIONS.jpg", 800, 600},
    {"OPTIONS_LANGUAGE.TGA", kLanguageLinePictureW, kLanguageLinePictureH},
    {"MISSION.jpg", 800, 600},
    {"COMPLETE.bmp", 340, 280},
    {"GAME_OVER_M.bmp", 320, 152},
    {"LEVEL.bmp", 298, 366},
}};

inline constexpr std::size_t kButtonCount = 7 + 1 + 1 + 1 + 6 + 1 + 1 + 30 + 2 + 1 + 10 + 30;

constexpr std::array<ButtonSpot, kButtonCount> MakeButtonTable() {
    std::array<ButtonSpot, kButtonCount> t{};
    std::size_t i = 0;
    // Main menu: tested at the cursor itself.
    t[i++] = {"MAIN_MENU.jpg", "new game", Spot::Button, {0, 165, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "continue", Spot::Button, {0, 214, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "options", Spot::Button, {0, 263, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "more games (side file)", Spot::Unlisted, {0, 313, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "tell a friend (side file)", Spot::Unlisted, {0, 363, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "subscribe (side file)", Spot::Unlisted, {0, 413, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "exit", Spot::Button, {0, 462, 240, 40}, 0, 0, 0};
    t[i++] = {"MAIN_MENU.jpg", "logo corner", Spot::Button, {550, 520, 250, 80}, 0, 0, 0};
    // Credits: in and out with the mouse, tested at the cursor itself like the main menu.
    t[i++] = {"MAIN_MENU.jpg", "credits", Spot::Button, {0, 520, 200, 32}, 0, 0, 0};
    t[i++] = {"CREATED.jpg", "back", Spot::Button, {320, 548, 160, 32}, 0, 0, 0};
    // Options: five settings across the screen, then save and back.
    const char* settings[5] = {"show fps", "texture filtering", "full screen", "music volume",
                               "effects volume"};
    for (int k = 0; k < 5; ++k)
        t[i++] = {"OPTIONS.jpg",
                  settings[k],
                  Spot::Button,
                  {0, 250.0f + 50.0f * static_cast<float>(k), 800, 40},
                  12,
                  0,
                  0};
    t[i++] = {"OPTIONS.jpg", "save and back", Spot::Button, {0, 500, 240, 40}, 12, 0, 0};
    t[i++] = {"OPTIONS_LANGUAGE.TGA", "language", Spot::Button, {0, 200, 800, 40}, 12, 0,
              kLanguageLinePictureY};
    // Mission list: three columns of ten levels, then back.
    t[i++] = {"MISSION.jpg", "back", Spot::Button, {12, 559, 160, 32}, 12, 0, 0};
    const float columns[3] = {-49, 245, 530};
    const char* levels[30] = {"level 1",  "level 2",  "level 3",  "level 4",  "level 5",  "level 6",
                              "level 7",  "level 8",  "level 9",  "level 10", "level 11", "level 12",
                              "level 13", "level 14", "level 15", "level 16", "level 17", "level 18",
                              "level 19", "level 20", "level 21", "level 22", "level 23", "level 24",
                              "level 25", "level 26", "level 27", "level 28", "level 29", "level 30"};
    for (int n = 0; n < 30; ++n)
        t[i++] = {"MISSION.jpg",
                  levels[n],
                  Spot::Button,
                  {columns[n / 10], 192.0f + 35.0f * static_cast<float>(n % 10), 300, 30},
                  12,
                  0,
                  0};
    // Level complete, drawn at camera + (245, 150).
    t[i++] = {"COMPLETE.bmp", "next level", Spot::Button, {280, 378, 131, 30}, 0, 245, 150};
    t[i++] = {"COMPLETE.bmp", "main menu", Spot::Button, {421, 378, 130, 30}, 0, 245, 150};
    // Game over, drawn at camera + (240, 225).
    t[i++] = {"GAME_OVER_M.bmp", "play again", Spot::Button, {268, 330, 267, 25}, 5, 240, 225};
    // Upgrade panel, drawn at (0, 70): ten lines, then three check-mark columns per line.
    const char* upgrades[10] = {"damage", "fire rate",     "ammunition", "regeneration", "armour",
                                "speed",  "random weapon", "mines",      "healing",      "fragment ring"};
    for (int n = 0; n < 10; ++n)
        t[i++] = {
            "LEVEL.bmp", upgrades[n], Spot::Button, {9, 114.0f + 22.0f * static_cast<float>(n), 181, 21}, 12,
            0,           70};
    const char* marks[3] = {"mark 1", "mark 2", "mark 3"};
    for (int n = 0; n < 10; ++n)
        for (int c = 0; c < 3; ++c)
            t[i++] = {
                "LEVEL.bmp",
                marks[c],
                Spot::Mark,
                {204.0f + 19.0f * static_cast<float>(c), 118.0f + 22.0f * static_cast<float>(n), 13, 13},
                0,
                0,
                70};
    return t;
}

inline constexpr std::array<ButtonSpot, kButtonCount> kButtons = MakeButtonTable();

// Glow sprites the game draws over the pictures (additive), screen pixels.
inline constexpr Rect kLogoGlow{553, 525, 215, 63};
inline constexpr std::array<float, 7> kMenuLightY{134, 183, 232, 282, 332, 382, 431};
inline constexpr float kMenuLightW = 194, kMenuLightH = 78;
// The level-list light of level n (1..30): exactly the level's rectangle.
constexpr Rect LevelLight(int n) {
    const float columns[3] = {-49, 245, 530};
    return {columns[(n - 1) / 10], 192.0f + 35.0f * static_cast<float>((n - 1) % 10), 300, 30};
}

// The first row of the table that belongs to `picture` and names `line`; stops the build on a typo.
constexpr const ButtonSpot& Find(const char* picture, const char* line) {
    auto same = [](const char* a, const char* b) {
        while (*a && *a == *b)
            ++a, ++b;
        return *a == *b;
    };
    for (const auto& s : kButtons)
        if (same(s.picture, picture) && same(s.line, line)) return s;
    throw "no such button";
}

} // namespace artgen::ui
