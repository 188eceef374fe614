// The aim centre and the buttons of every screen, told to the engine's gamepad.
#include "PadTargets.h"

#include "Battle.h"
#include "PLAYER.h"
#include "ZORBEL.h"
#include "settings.h"
#include "uMenu.h"

#include <vector>

namespace {

// Each button where the cursor must be for the screen to take it: a screen that tests a point up and left
// of the cursor has its buttons that far down and right.
class Targets {
  public:
    void Add(ZB_Rect button, float testedOffset = 0.0f) {
        button.X += testedOffset;
        button.Y += testedOffset;
        rects.push_back(button);
    }
    void Tell() const { Pad_SetTargets(rects.data(), static_cast<int32_t>(rects.size())); }

  private:
    std::vector<ZB_Rect> rects;
};

} // namespace

void TellPadTheScreen() {
    if (ScreenState == Screen::Play) {
        // The soldier turns toward the cursor from the middle of his 60-pixel picture.
        if (!PlayerDead)
            Pad_SetAim(static_cast<float>(Player()->X + 30) - MainCamera->X,
                       static_cast<float>(Player()->Y + 30) - MainCamera->Y);
        return;
    }
    Targets t;
    switch (ScreenState) {
    case Screen::MainMenu:
        t.Add(MainMenuLines[0]);
        if (GameSuspended) t.Add(MainMenuLines[1]);
        t.Add(MainMenuLines[2]);
        t.Add(MainMenuLines[6]);
        t.Add(CreditsButton);
        break;
    case Screen::Options:
        t.Add(LanguageLine, kPointerTip);
        for (const ZB_Rect& line : OptionsLines)
            t.Add(line, kPointerTip);
        break;
    case Screen::Credits:
        t.Add(CreditsBack);
        break;
    case Screen::Missions:
        for (int n = 1; n <= 30 && n <= LevelsOpen + 1; ++n)
            t.Add(LevelButton(n), kPointerTip);
        t.Add(ListBack, kPointerTip);
        break;
    case Screen::UpgradePanel:
        for (int n = 0; n < kUpgradeCount; ++n)
            t.Add(UpgradeLine(n), kPointerTip);
        break;
    case Screen::GameOver:
        t.Add(kPlayAgainButton, kGameOverPoint);
        break;
    case Screen::Complete:
        t.Add(kNextLevelButton);
        t.Add(kCompleteMainMenuButton);
        break;
    case Screen::Play:
        break;
    }
    t.Tell();
}
