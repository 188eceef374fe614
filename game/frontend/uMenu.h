// The menu: the buttons of every screen but play, the glowing highlights behind the menu lines and level
// buttons, and the arms of the game crosshair.
#pragma once

#include "uSpriteEngine.h"

#include <array>
#include <cstdint>

// What only the menus keep: the pulse of the highlight under the pointer, the intro's fade into the main
// menu, and the slots of the menu's own sprites, which the load procedure puts right after the player and
// which are never removed.
struct MenuBlock {
    uint8_t pulse = 50; // swings between 50 and 90 for the menu highlight
    bool pulseFalling = false;
    bool introFading = false, introReady = false;
    std::array<int32_t, 4> crosshairSlots{};   // the arms of the visible crosshair
    std::array<int32_t, 7> menuLightSlots{};   // the glows behind the main-menu lines
    std::array<uint8_t, 30> levelLightSlots{}; // the glows behind the level buttons
};
extern MenuBlock Menu;

inline uint8_t& PulseValue = Menu.pulse;
inline bool& PulseFalling = Menu.pulseFalling;
inline bool& IntroFading = Menu.introFading;
inline bool& IntroReady = Menu.introReady;
inline std::array<int32_t, 4>& CrosshairSlots = Menu.crosshairSlots;
inline std::array<int32_t, 7>& MenuLightSlots = Menu.menuLightSlots;
inline std::array<uint8_t, 30>& LevelLightSlots = Menu.levelLightSlots;

// One tick of the highlight's pulse.
void StepMenuPulse();

// The glow behind a main-menu line: brightens under the pointer, then breathes between 100 and 180.
class TMENUS_LIGHT : public CSprite {
  public:
    uint8_t Glow = 0;
    bool Saturated = false;
    ZB_Rect HoverBox{};

    TMENUS_LIGHT();
    void Draw() override;
    void Move() override; // once a frame on the main menu
};

// The glow behind an open level's button on the mission list.
class TMENU_LINE_LIGHT : public CSprite {
  public:
    uint8_t Glow = 0;
    ZB_Rect HoverBox{};

    TMENU_LINE_LIGHT();
    void Draw() override;
    void Move() override; // once a frame on the mission list
};

// One arm of the crosshair around the cursor; the aiming spread pushes the arms apart.
class TPRIZEL_M : public CSprite {
  public:
    enum class Side { Top, Bottom, Left, Right };

    bool Active = false; // belongs to the visible crosshair; an inactive arm parks itself unseen
    bool SideTop = false, SideBottom = false, SideLeft = false, SideRight = false;

    TPRIZEL_M(bool active, Side side);
    void Draw() override; // in screen pixels
    void Move() override;
};

// Button rectangles (x, y, w, h in screen pixels), set once by InitMenuGeometry.
extern ZB_Rect MainMenuLines[7]; // new game, continue, options, three side files, exit
extern ZB_Rect LogoCorner;       // opens "website.url"; lit when the cursor is on it
extern ZB_Rect CreditsButton;    // on the main menu
extern ZB_Rect CreditsBack;      // on the credits screen
extern ZB_Rect OptionsLines[6];  // five settings, then save and back
extern ZB_Rect ListBack;         // mission list back
extern ZB_Rect LanguageLine;     // options: the language of the next start, above the five settings

// Where the language line's picture lies over the options background, and the middle of its value field.
inline constexpr ZB_Rect kLanguageLinePicture{0, 195, 800, 50};
inline constexpr float kLanguageValueMiddle = 736;

// The rectangle of level n (1 .. 30) on the mission list; its light covers exactly this.
ZB_Rect LevelButton(int n);
// The rectangle of upgrade line n (0 .. 9) on the panel; the line's check marks sit 4 px lower.
ZB_Rect UpgradeLine(int n);

// The options, mission and upgrade screens test the pointer's tip, drawn this far up and left of the cursor.
inline constexpr float kPointerTip = 12.0f;
// The game-over screen tests a point this far up and left of the cursor.
inline constexpr float kGameOverPoint = 5.0f;

// The buttons of the end screens. The level-complete screen tests the cursor itself, the game-over screen a
// point 5 px up and left of it.
inline constexpr ZB_Rect kNextLevelButton{280, 378, 131, 30};
inline constexpr ZB_Rect kCompleteMainMenuButton{421, 378, 130, 30};
inline constexpr ZB_Rect kPlayAgainButton{268, 330, 267, 25};

// What the program ends with once the engine's loop returns: 1 when the save at the exit line failed.
extern int ExitStatus;

// Called once by the load procedure: the crosshair arms and the menu glows, right after the player.
void CreateMenuSprites();
// Called once by the load procedure: the rectangles above, and the menu cursor.
void InitMenuGeometry();
// The options screen's language line, drawn with the background (under the cursor).
void DrawLanguageLine();
// Called by the frame procedure at the end of every frame on every screen but play; on the upgrade panel it
// spends the points.
void MenuLogic();
